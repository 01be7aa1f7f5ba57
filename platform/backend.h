// Inside the platform layer: the records behind the public handles, the state
// every backend shares (drawing state, key tables, mixer), and the interface a
// backend implements. Only platform/ includes this file.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace plat {

// ---------------------------------------------------------------------------
// Images. A backend keeps its own copy of an image (a texture) behind this
// interface; it is made on first use and dropped with the image.
struct backendimage {
  virtual ~backendimage() = default;
};

// RGBA pixels, row after row, 4 bytes each.
struct image {
  int w = 0, h = 0;
  std::vector<uint8_t> rgba;
  std::unique_ptr<backendimage> cache;  // the backend's texture, if any
  int version = 0;                      // bumped whenever the pixels change
};

// Decodes a PNG file into RGBA; false when it is missing or damaged.
bool decode_png(const std::string& path, image& out);

// A number no other sprite of this run has had, so that a backend can tell
// sprites apart without comparing their names.
inline uint64_t next_serial() {
  static std::atomic<uint64_t> last{0};
  return ++last;
}

}  // namespace plat

struct spritedata {
  std::string name;  // file it came from ("" for created sprites)
  uint64_t serial = plat::next_serial();  // never shared by two sprites of one run
  int flags = 0;
  double hx = 0, hy = 0;  // handle
  plat::image pixels;
};

struct glyph {
  bool present = false;
  double advance = 0;     // pixels at the loaded size
  int left = 0, top = 0;  // bitmap offset from the pen (top: above the baseline)
  int w = 0, h = 0;       // bitmap size
  int ax = 0, ay = 0;     // position in the atlas
};

struct fontdata {
  int size = 0;
  int height = 0;
  int ascender = 0;
  int smooth = 0;
  std::array<glyph, 256> glyphs;  // indexed by the 8-bit character
  plat::image atlas;              // white, coverage in alpha
};

struct sounddata {
  std::vector<float> samples;  // interleaved stereo at the mixer rate
  // A long Ogg Vorbis sound keeps its file instead (already at the mixer
  // rate), and every channel decodes it as it plays: decoding a minute of
  // music at load would take longer than the rest of start-up.
  std::shared_ptr<const std::vector<uint8_t>> ogg;
  size_t length = 0;  // frames in ogg
  size_t frames() const { return ogg ? length : samples.size() / 2; }
};

struct oggdecoder;  // a channel's own reader of a streamed sound

struct channeldata {
  std::shared_ptr<sounddata> snd;
  size_t pos = 0;  // next frame to play
  float volume = 1;
  bool paused = true;
  bool stopped = false;
  std::shared_ptr<oggdecoder> decoder;  // made when a streamed sound is first heard
};

namespace plat {

// ---------------------------------------------------------------------------
// Drawing state.
struct drawstate {
  int r = 255, g = 255, b = 255;
  double alpha = 1;
  int blend = BLEND_ALPHA;
  double sx = 1, sy = 1;
  double rotation = 0;
  font current;
  int autoflags = SPRITE_MASKED | SPRITE_FILTERED;
};
drawstate& state();

// The 2x2 transform made of scale and rotation: (u, v) relative to the anchor
// lands at anchor + (u*ix + v*iy, u*jx + v*jy).
struct transform {
  double ix, iy, jx, jy;
};
transform current_transform();

// Calls f(g, u, v) for every glyph of text that has an image, with (u, v) the
// top-left of its bitmap relative to the text's anchor, unscaled.
template <class F>
void layout(const fontdata& f, const std::string& text, F&& fn) {
  double pen = 0;
  for (unsigned char c : text) {
    const glyph& g = f.glyphs[c];
    if (!g.present) continue;
    if (g.w > 0 && g.h > 0) fn(g, pen + g.left, double(f.ascender - g.top));
    pen = double(int(pen + g.advance));
  }
}

// ---------------------------------------------------------------------------
// Keyboard tables, fed by the backends' events.
void key_down(int code);  // counts a press when the key was not held
void key_up(int code);
void key_hold(int code);  // held again without counting a press
void typed(int ch);       // queued while fewer than 256 wait
void reset_keyboard();

// Mouse state, fed by the backends' events.
void mouse_move(int x, int y);
void mouse_button(int button, bool down);
void mouse_wheel(int steps);
void reset_mouse();

// ---------------------------------------------------------------------------
// Mixer: every channel that still plays, mixed at 44100 Hz stereo. The audio
// thread calls mix; the game's thread changes channels under the same lock.
constexpr int kMixRate = 44100;
// Ogg Vorbis sounds of more frames than this are decoded while they play
// (about 10 seconds); shorter ones are decoded once at load.
extern size_t stream_frames;
class mixer {
 public:
  mixer();
  std::mutex lock;
  void add(const std::shared_ptr<channeldata>& c);  // caller holds lock
  // A playing-list entry for a new instance of the sound: a finished channel
  // that nobody holds is reused, so cueing a sound in play does not allocate.
  std::shared_ptr<channeldata> take(const std::shared_ptr<sounddata>& snd);
  // Adds frames of output to out (interleaved stereo) and advances every
  // playing channel; with out null it only advances.
  void mix(float* out, size_t frames);
  void clear();

 private:
  std::vector<std::shared_ptr<channeldata>> active_;
  std::vector<std::shared_ptr<channeldata>> spare_;  // finished, held by nobody
};
mixer& sounds();

// ---------------------------------------------------------------------------
// Window pacing: each frame the target moves on by 1000/hertz whole
// milliseconds and the remainder is spread one millisecond at a time, so that
// 60 frames take exactly 1000 ms. A target already passed is reset to now:
// a slow frame is not caught up.
struct pacer {
  int hertz = 60;
  int64_t target = 0;
  int spread = 0;
  void start(int hz, int64_t now) {
    hertz = hz > 0 ? hz : 60;
    target = now;
    spread = 0;
  }
  // The time the frame that has just been presented should end.
  int64_t next(int64_t now) {
    int step = 1000 / hertz;
    spread += 1000 % hertz;
    if (spread >= hertz) {
      spread -= hertz;
      step++;
    }
    target += step;
    if (target < now) target = now;
    return target;
  }
};

// ---------------------------------------------------------------------------
// A backend: what differs between the real window and the headless twin.
class backend {
 public:
  virtual ~backend() = default;
  virtual void set_title(const std::string& text) = 0;
  virtual bool open(int width, int height, int depth, int hertz) = 0;
  virtual void close() = 0;
  virtual void cls() = 0;
  virtual void flip(int sync) = 0;
  virtual void set_mouse_visible(int flag) = 0;
  // Handles pending window-system events before every input poll.
  virtual void pump() = 0;
  // True once after the user asked to close the window.
  virtual bool take_close_request() = 0;
  virtual int32_t clock() = 0;
  // Drawing, with the current drawing state. (ex, ey) is the transformed end.
  virtual void line(double x1, double y1, double x2, double y2, double ex, double ey, int lastpixel) = 0;
  virtual void text(fontdata& f, const std::string& text, double x, double y) = 0;
  virtual void sprite(spritedata& s, double x, double y) = 0;
  virtual void grab(spritedata& s, int x, int y) = 0;
  virtual int proceed(const std::string& title, const std::string& text, int serious) = 0;
  [[noreturn]] virtual void end_program() = 0;
  virtual bool screenshot(const std::string& path) = 0;
  // The backend's renderer (an SDL_Renderer), for the widget library that
  // tools draw with (platform/gui/); null where nothing is drawn.
  virtual void* native_renderer() { return nullptr; }
  // A back buffer of a new size in the window already open, keeping the
  // window and every image; false where the backend cannot.
  virtual bool resize(int /*width*/, int /*height*/) { return false; }
};

backend& current();
void select(std::unique_ptr<backend> b);
const std::string& app_title();

}  // namespace plat
