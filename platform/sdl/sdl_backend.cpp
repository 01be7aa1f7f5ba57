// The real window, keyboard, message box and sound through SDL2.
//
// Everything is drawn into a back-buffer texture of the game's own size; Flip
// copies it to the window, letterboxed by the renderer's logical size, so full
// screen needs no mode switch and grabs read exactly the game's pixels. The
// window can be resized or maximised: the picture keeps its aspect ratio,
// centred between black bars, and the game still lays itself out at its own
// size. Game controllers are opened as they are plugged in.
// The game's own main() is the entry point, on Windows too.
#define SDL_MAIN_HANDLED
#include <SDL.h>
#include <SDL_syswm.h>
#ifdef TUMBO_X11
#include <X11/Xlib.h>
#endif

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "platform/backend.h"
#include "platform/gamepad.h"
#include "platform/web/host.h"
#include "platform/silentclock.h"

static_assert(plat::PAD_A == SDL_CONTROLLER_BUTTON_A && plat::PAD_B == SDL_CONTROLLER_BUTTON_B &&
              plat::PAD_Y == SDL_CONTROLLER_BUTTON_Y && plat::PAD_START == SDL_CONTROLLER_BUTTON_START &&
              plat::PAD_DPAD_UP == SDL_CONTROLLER_BUTTON_DPAD_UP &&
              plat::PAD_DPAD_RIGHT == SDL_CONTROLLER_BUTTON_DPAD_RIGHT &&
              plat::PAD_BUTTONS == SDL_CONTROLLER_BUTTON_MAX &&
              plat::PAD_LEFTX == SDL_CONTROLLER_AXIS_LEFTX && plat::PAD_LEFTY == SDL_CONTROLLER_AXIS_LEFTY &&
              plat::PAD_AXES == SDL_CONTROLLER_AXIS_MAX);

namespace {

// Textures of one image: level 0 at full size, then halved copies used when
// the image is drawn small, so it stays smooth instead of aliasing. A level
// is made when first drawn from: a font's atlas is large, and most text only
// ever shows at one or two sizes.
struct sdltexture : plat::backendimage {
  std::weak_ptr<int> renderer;  // expires with the renderer that made them
  int version = -1;
  int flags = -1;
  std::vector<SDL_Texture*> levels;  // null until first needed
  std::vector<plat::image> halves;   // pixels of levels 1, 2, ... as far as made
  ~sdltexture() override {
    if (!renderer.expired())
      for (SDL_Texture* t : levels)
        if (t) SDL_DestroyTexture(t);
  }
};

// Halves an RGBA picture, weighting colours by their alpha so that clear
// (black) pixels do not darken the edges of what is visible.
plat::image halved(const plat::image& in) {
  plat::image out;
  out.w = std::max(1, in.w / 2);
  out.h = std::max(1, in.h / 2);
  out.rgba.resize(size_t(out.w) * out.h * 4);  // clear: what stays so needs no work
  for (int y = 0; y < out.h; y++) {
    const uint8_t* row[2] = {&in.rgba[size_t(std::min(y * 2, in.h - 1)) * in.w * 4],
                             &in.rgba[size_t(std::min(y * 2 + 1, in.h - 1)) * in.w * 4]};
    for (int x = 0; x < out.w; x++) {
      const int sx[2] = {std::min(x * 2, in.w - 1) * 4, std::min(x * 2 + 1, in.w - 1) * 4};
      const uint8_t* p[4] = {row[0] + sx[0], row[0] + sx[1], row[1] + sx[0], row[1] + sx[1]};
      const unsigned alpha = unsigned(p[0][3]) + p[1][3] + p[2][3] + p[3][3];
      if (alpha == 0) continue;
      unsigned sum[3] = {0, 0, 0};
      for (const uint8_t* q : p)
        for (int c = 0; c < 3; c++) sum[c] += q[c] * unsigned(q[3]);
      uint8_t* q = &out.rgba[(size_t(y) * out.w + x) * 4];
      for (int c = 0; c < 3; c++) q[c] = uint8_t(sum[c] / alpha);
      q[3] = uint8_t(alpha / 4);
    }
  }
  return out;
}

int keycode(SDL_Keycode k) {
  switch (k) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
      return KEY_ENTER;
    case SDLK_ESCAPE:
      return KEY_ESCAPE;
    case SDLK_SPACE:
      return KEY_SPACE;
    case SDLK_BACKSPACE:
      return KEY_BACKSPACE;
    case SDLK_LEFT:
      return KEY_LEFT;
    case SDLK_UP:
      return KEY_UP;
    case SDLK_RIGHT:
      return KEY_RIGHT;
    case SDLK_DOWN:
      return KEY_DOWN;
    default:
      break;
  }
  // Keys that only the level editor reads.
  switch (k) {
    case SDLK_TAB:
      return KEY_TAB;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
      return KEY_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
      return KEY_CONTROL;
    case SDLK_PAGEUP:
      return KEY_PAGEUP;
    case SDLK_PAGEDOWN:
      return KEY_PAGEDOWN;
    case SDLK_HOME:
      return KEY_HOME;
    case SDLK_END:
      return KEY_END;
    case SDLK_DELETE:
      return KEY_DELETE;
    default:
      break;
  }
  if (k >= SDLK_F1 && k <= SDLK_F12) return int(k - SDLK_F1) + KEY_F1;
  if (k >= SDLK_a && k <= SDLK_z) return int(k - SDLK_a) + 'A';
  if (k >= SDLK_0 && k <= SDLK_9) return int(k - SDLK_0) + '0';
  return -1;
}

// The digit row goes by position, whatever the layout prints on it: on
// AZERTY the level skip's 8 and 2 would otherwise need Shift.
int keycode(const SDL_Keysym& k) {
  if (k.scancode >= SDL_SCANCODE_1 && k.scancode <= SDL_SCANCODE_9) return int(k.scancode - SDL_SCANCODE_1) + '1';
  if (k.scancode == SDL_SCANCODE_0) return '0';
  // Where no place is known (the browser's SDL reports some keys without
  // one), the key goes by what it types.
  return keycode(k.sym);
}

// Whether the system really made the window as large as SDL was told it is.
// Without a window manager (and on some remote desktops) a full-screen
// request is never carried out: SDL then lays the picture out for the whole
// desktop while the window stays at its first size, showing a clipped corner.
// On X11 the window's real size is asked of the server for up to a second;
// elsewhere SDL's word is taken.
bool window_as_large_as_told(SDL_Window* win) {
#ifdef TUMBO_X11
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(win, &info) || info.subsystem != SDL_SYSWM_X11) return true;
  for (int tries = 0; tries < 50; tries++) {
    SDL_PumpEvents();
    XSync(info.info.x11.display, False);
    XWindowAttributes a;
    int w = 0, h = 0;
    SDL_GetWindowSize(win, &w, &h);
    if (XGetWindowAttributes(info.info.x11.display, info.info.x11.window, &a) && a.width >= w && a.height >= h)
      return true;
    SDL_Delay(20);
  }
  return false;
#else
  (void)win;
  return true;
#endif
}

// The largest size of the game's shape that fits the usable part of the
// display (the screen less task bars and docks), never more than asked.
void fit_to_display(int display, int& width, int& height) {
  SDL_Rect usable;
  if (display < 0 || SDL_GetDisplayUsableBounds(display, &usable) != 0 || usable.w <= 0 || usable.h <= 0) return;
  if (width <= usable.w && height <= usable.h) return;
  const double scale = std::min(double(usable.w) / width, double(usable.h) / height);
  width = std::max(1, int(width * scale));
  height = std::max(1, int(height * scale));
}

// Vertical sync paces the picture only where the display runs at the game's
// own 60 frames a second; elsewhere it would change the game's speed, and
// the timer alone paces it.
// How close to the usable screen a window must come before the size of its
// frame is worth waiting for.
constexpr int kFrameRoom = 80;

bool display_runs_at(int display, int hertz) {
  SDL_DisplayMode mode;
  if (display < 0 || SDL_GetCurrentDisplayMode(display, &mode) != 0) return false;
  return mode.refresh_rate >= hertz - 1 && mode.refresh_rate <= hertz + 1;
}

void audio_callback(void*, Uint8* stream, int len) {
  static thread_local std::vector<float> mix;
  size_t frames = size_t(len) / (2 * sizeof(int16_t));
  mix.assign(frames * 2, 0.0f);
  plat::sounds().mix(mix.data(), frames);
  auto* out = reinterpret_cast<int16_t*>(stream);
  for (size_t i = 0; i < frames * 2; i++)
    out[i] = int16_t(std::lround(std::clamp(mix[i], -1.0f, 1.0f) * 32767.0f));
}

class sdl_backend : public plat::backend {
 public:
  sdl_backend() {
    SDL_SetMainReady();
    // Real pixels on Windows at any display scaling (the manifest says so
    // too): sharp, and a 1024 x 768 window stays 1024 x 768 pixels.
    SDL_SetHint(SDL_HINT_WINDOWS_DPI_AWARENESS, "permonitorv2");
    // A display that is there but busy (an X server just after another
    // client left it, on a loaded machine) can refuse a connection for a
    // moment, and SDL would then settle for its invisible offscreen driver.
    // Unless that was asked for, try again for up to two seconds.
    const bool screen = std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr;
    const bool chosen = std::getenv("SDL_VIDEODRIVER") != nullptr;
    for (int tries = 0;; tries++) {
      video_ = SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) == 0;
      const std::string driver = video_ ? SDL_GetCurrentVideoDriver() : "";
      const bool unseen = !video_ || (!chosen && (driver == "offscreen" || driver == "dummy"));
      if (!unseen || !screen || tries == 20) break;
      if (video_) SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
      SDL_Delay(100);
    }
    // Pads already plugged in arrive as "added" events on the first poll.
    pads_up_ = video_ && SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    open_audio();
    host::start();
  }
  ~sdl_backend() override {
    close();
    for (auto& [id, c] : controllers_) SDL_GameControllerClose(c);
    if (pads_up_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    if (audio_) SDL_CloseAudioDevice(audio_);
    if (audio_up_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    if (video_) SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
  }

  void set_title(const std::string& text) override {
    if (win_) SDL_SetWindowTitle(win_, text.c_str());
  }

  bool open(int width, int height, int depth, int hertz) override {
    close();
    if (!video_) return false;
    // Full screen takes the desktop's own mode, so it works on every display.
    Uint32 flags = SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE | (depth != 0 ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    flags = host::window_flags(flags, depth != 0);
    // A window larger than the screen opens at the largest size that fits;
    // the picture is letterboxed into it and the game keeps its own layout.
    int ww = width, wh = height;
    if (depth == 0) fit_to_display(0, ww, wh);
    win_ = SDL_CreateWindow(plat::app_title().c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, ww, wh, flags);
    if (!win_) return false;
    const int display = SDL_GetWindowDisplayIndex(win_);
    const Uint32 vsync = display_runs_at(display, hertz) ? SDL_RENDERER_PRESENTVSYNC : 0;
    ren_ = SDL_CreateRenderer(win_, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_TARGETTEXTURE | vsync);
    if (!ren_) ren_ = SDL_CreateRenderer(win_, -1, SDL_RENDERER_SOFTWARE);
    if (!ren_) {
      close();
      return false;
    }
    // Only now: SDL may make the window anew for the renderer it picks.
    SDL_Rect usable;
    if (depth == 0 && SDL_GetDisplayUsableBounds(display, &usable) == 0 &&
        (ww > usable.w - kFrameRoom || wh > usable.h - kFrameRoom)) {
      // Near the screen's size the frame that the window manager adds counts
      // too; it is known once the manager has framed the window.
      int top = 0, left = 0, bottom = 0, right = 0;
      for (int tries = 0; tries < 15; tries++) {
        SDL_PumpEvents();
        if (SDL_GetWindowBordersSize(win_, &top, &left, &bottom, &right) != 0) break;
        if (top + left + bottom + right > 0) break;
        SDL_Delay(20);
      }
      if (ww + left + right > usable.w || wh + top + bottom > usable.h) {
        const double scale =
            std::min(double(usable.w - left - right) / width, double(usable.h - top - bottom) / height);
        ww = std::max(1, int(width * scale));
        wh = std::max(1, int(height * scale));
        SDL_SetWindowSize(win_, ww, wh);
        SDL_SetWindowPosition(win_, SDL_WINDOWPOS_CENTERED_DISPLAY(display), SDL_WINDOWPOS_CENTERED_DISPLAY(display));
      }
    } else if (!window_as_large_as_told(win_)) {
      // Full screen was not carried out: a window of the chosen size instead.
      SDL_SetWindowFullscreen(win_, 0);
      fit_to_display(display, ww, wh);
      SDL_SetWindowSize(win_, ww, wh);
      SDL_SetWindowPosition(win_, SDL_WINDOWPOS_CENTERED_DISPLAY(display), SDL_WINDOWPOS_CENTERED_DISPLAY(display));
    }
    alive_ = std::make_shared<int>(0);
    w_ = width;
    h_ = height;
    SDL_RenderSetLogicalSize(ren_, width, height);
    back_ = SDL_CreateTexture(ren_, SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_TARGET, width, height);
    if (back_) {
      SDL_SetTextureScaleMode(back_, SDL_ScaleModeLinear);
      SDL_SetRenderTarget(ren_, back_);
    }
    cls();
    pace_.start(hertz, ticks());
    SDL_StartTextInput();
    return true;
  }

  bool resize(int width, int height) override {
    if (!ren_ || !back_) return false;
    SDL_Texture* back = SDL_CreateTexture(ren_, SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_TARGET, width, height);
    if (!back) return false;
    SDL_SetRenderTarget(ren_, nullptr);
    SDL_DestroyTexture(back_);
    back_ = back;
    SDL_SetTextureScaleMode(back_, SDL_ScaleModeLinear);
    w_ = width;
    h_ = height;
    SDL_RenderSetLogicalSize(ren_, width, height);
    SDL_SetRenderTarget(ren_, back_);
    cls();
    return true;
  }

  void close() override {
    if (ren_) {
      alive_.reset();  // textures of this renderer go with it
      SDL_DestroyRenderer(ren_);
    }
    if (win_) SDL_DestroyWindow(win_);
    ren_ = nullptr;
    win_ = nullptr;
    back_ = nullptr;
  }

  void cls() override {
    if (!ren_) return;
    SDL_SetRenderDrawBlendMode(ren_, SDL_BLENDMODE_NONE);
    SDL_SetRenderDrawColor(ren_, 0, 0, 0, 255);
    SDL_RenderClear(ren_);
  }

  void flip(int sync) override {
    if (ren_) {
      if (back_) {
        SDL_SetRenderTarget(ren_, nullptr);
        SDL_SetRenderDrawColor(ren_, 0, 0, 0, 255);
        SDL_RenderClear(ren_);
        SDL_RenderCopy(ren_, back_, nullptr, nullptr);
      }
      SDL_RenderPresent(ren_);
      if (back_) SDL_SetRenderTarget(ren_, back_);
    }
    worklog_.worked();
    if (sync != 0) {
      int64_t target = pace_.next(ticks());
      int64_t now = ticks();
      if (!host::wait_frame(target) && target > now) SDL_Delay(Uint32(target - now));
    } else {
      host::wait_frame(-1);
    }
    worklog_.waited();
    if (!audio_) advance_silent_sound();
    pump();
    hold_down_keys();
  }

  // A key still down after the tables were flushed (a restart with Right
  // held) is held again from the next frame on, without counting a press,
  // as the scripted backend does.
  void hold_down_keys() {
    if (!video_) return;
    int n = 0;
    const Uint8* down = SDL_GetKeyboardState(&n);
    for (int sc = 0; sc < n; sc++) {
      if (!down[sc]) continue;
      SDL_Keysym k = {};
      k.scancode = SDL_Scancode(sc);
      k.sym = SDL_GetKeyFromScancode(k.scancode);
      plat::key_hold(keycode(k));
    }
  }

  void set_mouse_visible(int flag) override { SDL_ShowCursor(flag ? SDL_ENABLE : SDL_DISABLE); }

  void pump() override {
    if (!video_) return;
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
      switch (e.type) {
        case SDL_QUIT:
          close_asked_ = true;
          break;
        case SDL_WINDOWEVENT:
          if (e.window.event == SDL_WINDOWEVENT_CLOSE) close_asked_ = true;
          break;
        case SDL_KEYDOWN: {
          int k = keycode(e.key.keysym);
          if (!e.key.repeat) plat::key_down(k);
          // Text input does not report these two; they are typed on every repeat.
          if (k == KEY_BACKSPACE || k == KEY_ENTER) plat::typed(k);
          break;
        }
        case SDL_KEYUP:
          plat::key_up(keycode(e.key.keysym));
          break;
        case SDL_TEXTINPUT:
          typed_utf8(e.text.text);
          break;
        // The mouse, for the level editor. With a logical size set, SDL
        // reports positions in the back buffer's pixels.
        case SDL_MOUSEMOTION:
          plat::mouse_move(e.motion.x, e.motion.y);
          break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
          const int b = e.button.button == SDL_BUTTON_LEFT    ? MOUSE_LEFT
                        : e.button.button == SDL_BUTTON_RIGHT  ? MOUSE_RIGHT
                        : e.button.button == SDL_BUTTON_MIDDLE ? MOUSE_MIDDLE
                                                               : 0;
          plat::mouse_move(e.button.x, e.button.y);
          plat::mouse_button(b, e.type == SDL_MOUSEBUTTONDOWN);
          break;
        }
        case SDL_MOUSEWHEEL:
          plat::mouse_wheel(e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y);
          break;
        case SDL_AUDIODEVICEADDED:
        case SDL_AUDIODEVICEREMOVED:
          audio_device_event(e.adevice);
          break;
        case SDL_CONTROLLERDEVICEADDED:
          open_controller(e.cdevice.which);
          break;
        case SDL_CONTROLLERDEVICEREMOVED: {
          auto it = controllers_.find(e.cdevice.which);
          if (it != controllers_.end()) {
            SDL_GameControllerClose(it->second);
            controllers_.erase(it);
          }
          plat::pad_removed(e.cdevice.which);
          break;
        }
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
          plat::pad_button(e.cbutton.which, e.cbutton.button, e.cbutton.state == SDL_PRESSED);
          break;
        case SDL_CONTROLLERAXISMOTION:
          plat::pad_axis(e.caxis.which, e.caxis.axis, e.caxis.value);
          break;
        default:
          break;
      }
    }
  }

  bool take_close_request() override {
    bool c = close_asked_;
    close_asked_ = false;
    return c;
  }

  int32_t clock() override { return int32_t(uint32_t(SDL_GetTicks64())); }

  void line(double x1, double y1, double, double, double ex, double ey, int) override {
    if (!ren_) return;
    const plat::drawstate& s = plat::state();
    SDL_SetRenderDrawBlendMode(ren_, s.blend == BLEND_LIGHT ? SDL_BLENDMODE_ADD : SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(ren_, Uint8(s.r), Uint8(s.g), Uint8(s.b), Uint8(std::lround(s.alpha * 255)));
    SDL_RenderDrawLineF(ren_, float(x1), float(y1), float(ex), float(ey));
  }

  void text(fontdata& f, const std::string& text, double x, double y) override {
    if (!ren_) return;
    int mip = f.smooth ? SPRITE_MIPMAPPED | SPRITE_FILTERED : 0;
    int level = 0;
    SDL_Texture* t = pick(f.atlas, mip, level);
    if (!t) return;
    plat::layout(f, text, [&](const glyph& g, double u, double v) {
      SDL_Rect src = {g.ax >> level, g.ay >> level, std::max(1, (g.w + (1 << level) - 1) >> level),
                      std::max(1, (g.h + (1 << level) - 1) >> level)};
      // The source was rounded up to whole pixels of the level; the drawn size follows it.
      quad(t, &src, x, y, u, v, double(src.w << level), double(src.h << level));
    });
  }

  void sprite(spritedata& s, double x, double y) override {
    if (!ren_) return;
    int level = 0;
    SDL_Texture* t = pick(s.pixels, s.flags, level);
    if (t) quad(t, nullptr, x, y, -s.hx, -s.hy, s.pixels.w, s.pixels.h);
  }

  void grab(spritedata& s, int x, int y) override {
    if (!ren_) return;
    plat::image& img = s.pixels;
    SDL_Rect want = {x, y, img.w, img.h}, screen = {0, 0, w_, h_}, got;
    std::fill(img.rgba.begin(), img.rgba.end(), 0);
    if (SDL_IntersectRect(&want, &screen, &got)) {
      std::vector<uint8_t> rows(size_t(got.w) * got.h * 4);
      if (SDL_RenderReadPixels(ren_, &got, SDL_PIXELFORMAT_RGBA32, rows.data(), got.w * 4) == 0)
        for (int r = 0; r < got.h; r++) {
          uint8_t* dst = &img.rgba[(size_t(got.y - y + r) * img.w + (got.x - x)) * 4];
          std::copy_n(&rows[size_t(r) * got.w * 4], size_t(got.w) * 4, dst);
          for (int i = 0; i < got.w; i++) dst[i * 4 + 3] = 255;
        }
    }
    img.version++;
  }

  int proceed(const std::string& title, const std::string& text, int serious) override {
    if (int answer = 0; host::proceed(title, text, answer)) return answer;
    const SDL_MessageBoxButtonData buttons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Yes"},
        {0, 0, "No"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, -1, "Cancel"},
    };
    SDL_MessageBoxData box = {};
    box.flags = Uint32(serious ? SDL_MESSAGEBOX_WARNING : SDL_MESSAGEBOX_INFORMATION);
    box.window = win_;
    box.title = title.c_str();
    box.message = text.c_str();
    box.numbuttons = 3;
    box.buttons = buttons;
    int id = -1;
    // When no box can be shown at all, the question counts as answered No
    // rather than as Cancel, which would end the game before it began.
    if (SDL_ShowMessageBox(&box, &id) != 0) return 0;
    return id == 1 ? 1 : id == 0 ? 0 : -1;
  }

  [[noreturn]] void end_program() override {
    host::ending();
    close();
    if (audio_) SDL_CloseAudioDevice(audio_);
    SDL_Quit();
    std::exit(0);
  }

  bool screenshot(const std::string& path) override {
    if (!ren_) return false;
    std::vector<uint8_t> px(size_t(w_) * h_ * 4);
    SDL_Rect all = {0, 0, w_, h_};
    if (SDL_RenderReadPixels(ren_, &all, SDL_PIXELFORMAT_RGBA32, px.data(), w_ * 4) != 0) return false;
    for (size_t i = 3; i < px.size(); i += 4) px[i] = 255;
    return WritePNG(path, w_, h_, px);
  }

  void* native_renderer() override { return ren_; }

 private:
  SDL_Window* win_ = nullptr;
  SDL_Renderer* ren_ = nullptr;
  SDL_Texture* back_ = nullptr;
  std::shared_ptr<int> alive_;
  int w_ = 0, h_ = 0;
  bool video_ = false, audio_up_ = false, close_asked_ = false;
  SDL_AudioDeviceID audio_ = 0;
  bool pads_up_ = false;
  std::map<SDL_JoystickID, SDL_GameController*> controllers_;  // by instance id
  plat::silentclock silent_;                                   // sound run by the clock while no device plays

  // With TUMBO_FRAME_LOG naming a file, each frame's work is written there in
  // milliseconds, one a line: the time from the end of one frame's wait to the
  // start of the next, the picture presented. The browser build keeps the same
  // figure in its page, so the two can be set side by side.
  struct framelog {
    std::FILE* file = nullptr;
    Uint64 from = 0;
    bool tried = false;
    void worked() {
      if (!tried) {
        tried = true;
        if (const char* path = std::getenv("TUMBO_FRAME_LOG")) file = std::fopen(path, "w");
      }
      if (!file || !from) return;
      const double ms = double(SDL_GetPerformanceCounter() - from) * 1000.0 / double(SDL_GetPerformanceFrequency());
      std::fprintf(file, "%.3f\n", ms);
      std::fflush(file);
    }
    void waited() { from = file ? SDL_GetPerformanceCounter() : 0; }
    ~framelog() {
      if (file) std::fclose(file);
    }
  } worklog_;
  plat::pacer pace_;

  static int64_t ticks() { return int64_t(SDL_GetTicks64()); }

  // "Added" names a device index; later events name the instance id.
  void open_controller(int index) {
    SDL_GameController* c = SDL_GameControllerOpen(index);
    if (!c) return;
    SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(c));
    if (controllers_.count(id)) {
      SDL_GameControllerClose(c);  // already open: SDL counts each open
      return;
    }
    controllers_[id] = c;
    plat::pad_added(id);
  }

  void open_audio() {
    audio_up_ = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    if (audio_up_) open_device();
  }

  void open_device() {
    SDL_AudioSpec want = {}, have = {};
    want.freq = plat::kMixRate;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 1024;
    want.callback = audio_callback;
    audio_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (audio_) SDL_PauseAudioDevice(audio_, 0);
  }

  // Without a device, channels still run for their sound's length.
  void advance_silent_sound() {
    const size_t frames = silent_.due(ticks());
    if (frames > 0) plat::sounds().mix(nullptr, frames);
  }

  // A device pulled out (headphones) is closed and the channels go on by
  // the clock; when an output device comes (back), the default one is
  // opened again.
  void audio_device_event(const SDL_AudioDeviceEvent& e) {
    if (e.iscapture || !audio_up_) return;
    if (e.type == SDL_AUDIODEVICEREMOVED && audio_ && e.which == audio_) {
      SDL_CloseAudioDevice(audio_);
      audio_ = 0;
      silent_.restart();
    } else if (e.type == SDL_AUDIODEVICEADDED && !audio_) {
      open_device();
    }
  }

  void typed_utf8(const char* s) {
    // Characters beyond 8 bits have no place in the game's text.
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(s); *p;) {
      unsigned c = *p;
      int extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
      if (c >= 0x80) c &= 0x3F >> extra;
      p++;
      for (int i = 0; i < extra && (*p & 0xC0) == 0x80; i++, p++) c = (c << 6) | (*p & 0x3F);
      if (c >= 32 && c < 256 && c != 127) plat::typed(int(c));
    }
  }

  // The texture level to draw img from at the current scale; made on demand.
  SDL_Texture* pick(plat::image& img, int flags, int& level) {
    if (img.w <= 0 || img.h <= 0) return nullptr;
    auto* cache = dynamic_cast<sdltexture*>(img.cache.get());
    if (!cache || cache->renderer.lock() != alive_ || cache->version != img.version ||
        cache->flags != flags) {
      auto made = std::make_unique<sdltexture>();
      made->renderer = alive_;
      made->version = img.version;
      made->flags = flags;
      // Halving down to a single pixel, at most 8 levels in all.
      int count = 1;
      if (flags & SPRITE_MIPMAPPED)
        for (int w = img.w, h = img.h; (w > 1 || h > 1) && count < 8; count++) {
          w = std::max(1, w / 2);
          h = std::max(1, h / 2);
        }
      made->levels.assign(size_t(count), nullptr);
      img.cache = std::move(made);
      cache = static_cast<sdltexture*>(img.cache.get());
    }
    // The nearest level at least as large as what is drawn.
    const plat::drawstate& s = plat::state();
    double scale = std::max(std::fabs(s.sx), std::fabs(s.sy));
    level = 0;
    while (level + 1 < int(cache->levels.size()) && scale > 0 && scale <= std::ldexp(1.0, -(level + 1)))
      level++;
    // A level that cannot be made falls back to the next larger one.
    while (!cache->levels[level] && !(cache->levels[level] = make_level(img, *cache, level))) {
      if (level == 0) return nullptr;
      level--;
    }
    SDL_Texture* t = cache->levels[level];
    SDL_SetTextureColorMod(t, Uint8(s.r), Uint8(s.g), Uint8(s.b));
    SDL_SetTextureAlphaMod(t, Uint8(std::lround(s.alpha * 255)));
    SDL_SetTextureBlendMode(t, s.blend == BLEND_LIGHT ? SDL_BLENDMODE_ADD : SDL_BLENDMODE_BLEND);
    return t;
  }

  SDL_Texture* make_level(const plat::image& img, sdltexture& cache, int level) {
    while (int(cache.halves.size()) < level)
      cache.halves.push_back(halved(cache.halves.empty() ? img : cache.halves.back()));
    const plat::image& src = level == 0 ? img : cache.halves[size_t(level) - 1];
    SDL_Texture* t = SDL_CreateTexture(ren_, SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_STATIC, src.w, src.h);
    if (!t) return nullptr;
    SDL_UpdateTexture(t, nullptr, src.rgba.data(), src.w * 4);
    SDL_SetTextureScaleMode(t, (cache.flags & SPRITE_FILTERED) ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
    return t;
  }

  // Draws the w x h region whose top-left lies at (u, v) from the anchor
  // (x, y): scaled, mirrored for negative scales, then turned clockwise about
  // the anchor.
  void quad(SDL_Texture* t, const SDL_Rect* src, double x, double y, double u, double v, double w, double h) {
    const plat::drawstate& s = plat::state();
    double x0 = u * s.sx, x1 = (u + w) * s.sx, y0 = v * s.sy, y1 = (v + h) * s.sy;
    SDL_FRect dst = {float(x + std::min(x0, x1)), float(y + std::min(y0, y1)), float(std::fabs(x1 - x0)),
                     float(std::fabs(y1 - y0))};
    // A broken world can ask for a sprite at no place or of no sensible size;
    // nothing on screen could show it, and the renderer must not try.
    constexpr float kLimit = 1e6f;
    if (!(std::fabs(dst.x) < kLimit && std::fabs(dst.y) < kLimit && dst.w < kLimit && dst.h < kLimit &&
          std::isfinite(s.rotation)))
      return;
    SDL_FPoint center = {float(x - dst.x), float(y - dst.y)};
    int flip = (s.sx < 0 ? SDL_FLIP_HORIZONTAL : 0) | (s.sy < 0 ? SDL_FLIP_VERTICAL : 0);
    SDL_RenderCopyExF(ren_, t, src, &dst, s.rotation, &center, SDL_RendererFlip(flip));
  }
};

}  // namespace

void UseSdlBackend() {
  // The real game and the editor decide here where their files live.
  ChooseFilePlaces();
  plat::select(std::make_unique<sdl_backend>());
}

namespace plat {

namespace {
SDL_Joystick* virtual_pad = nullptr;
}

bool attach_virtual_pad() {
  if (virtual_pad) return true;
  SDL_VirtualJoystickDesc desc = {};
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
  desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
  desc.naxes = PAD_AXES;
  desc.nbuttons = PAD_DPAD_RIGHT + 1;  // in SDL's order: A first, the d-pad last
  desc.name = "TUMBO virtual pad";
  int index = SDL_JoystickAttachVirtualEx(&desc);
  if (index < 0) return false;
  virtual_pad = SDL_JoystickOpen(index);
  return virtual_pad != nullptr;
}

void virtual_pad_button(int button, bool down) {
  if (virtual_pad) SDL_JoystickSetVirtualButton(virtual_pad, button, down ? SDL_PRESSED : SDL_RELEASED);
}

void virtual_pad_axis(int axis, int value) {
  if (virtual_pad) SDL_JoystickSetVirtualAxis(virtual_pad, axis, Sint16(std::clamp(value, -32768, 32767)));
}

void detach_virtual_pad() {
  if (!virtual_pad) return;
  SDL_JoystickID id = SDL_JoystickInstanceID(virtual_pad);
  SDL_JoystickClose(virtual_pad);
  virtual_pad = nullptr;
  for (int i = 0; i < SDL_NumJoysticks(); i++)
    if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
}

}  // namespace plat
