// Window, frame, drawing state and drawing calls, clock, the message box and
// the end of the program, handed on to the selected backend.
#include <cmath>
#include <cstdlib>

#include "platform/backend.h"
#include "platform/gamepad.h"
#include "platform/headless/headless.h"

namespace plat {

namespace {
std::unique_ptr<backend> selected;
std::string title;
drawstate draw;
}  // namespace

drawstate& state() { return draw; }

backend& current() {
  // Until a program chooses, the harmless headless backend stands in.
  if (!selected) headless::install();
  return *selected;
}

void select(std::unique_ptr<backend> b) {
  // Sprites made for the old backend must not reach the new one's textures;
  // the old backend drops them as it goes.
  selected = std::move(b);
  draw = drawstate();
  reset_keyboard();
  reset_pads();
}

const std::string& app_title() { return title; }

transform current_transform() {
  constexpr double kRad = 3.14159265358979323846 / 180.0;
  double c = std::cos(draw.rotation * kRad), s = std::sin(draw.rotation * kRad);
  return {c * draw.sx, -s * draw.sy, s * draw.sx, c * draw.sy};
}

}  // namespace plat

using plat::current;
using plat::state;

void SetAppTitle(const std::string& text) {
  plat::title = text;
  current().set_title(text);
}

int OpenGraphics(int width, int height, int depth, int hertz) {
  if (width <= 0 || height <= 0) return 0;
  return current().open(width, height, depth, hertz > 0 ? hertz : 60) ? 1 : 0;
}

void CloseGraphics() { current().close(); }
int ResizeGraphics(int width, int height) {
  if (width <= 0 || height <= 0) return 0;
  return current().resize(width, height) ? 1 : 0;
}
void Cls() { current().cls(); }
void Flip(int sync) { current().flip(sync); }
void SetMouseVisible(int flag) { current().set_mouse_visible(flag); }

void SetColor(int r, int g, int b) {
  auto clamp = [](int v) { return v < 0 ? 0 : v > 255 ? 255 : v; };
  state().r = clamp(r);
  state().g = clamp(g);
  state().b = clamp(b);
}

void SetAlpha(double a) { state().alpha = std::isnan(a) ? 0 : a < 0 ? 0 : a > 1 ? 1 : a; }
void SetBlend(int mode) { state().blend = mode; }
void SetDrawScale(double sx, double sy) {
  state().sx = sx;
  state().sy = sy;
}
void SetDrawRotation(double degrees) { state().rotation = degrees; }

void DrawLine(double x1, double y1, double x2, double y2, int lastpixel) {
  plat::transform t = plat::current_transform();
  double u = x2 - x1, v = y2 - y1;
  current().line(x1, y1, x2, y2, x1 + u * t.ix + v * t.iy, y1 + u * t.jx + v * t.jy, lastpixel);
}

void DrawString(const std::string& text, double x, double y) {
  if (state().current) current().text(*state().current, text, x, y);
}

int StringWidth(const std::string& text) {
  const font& f = state().current;
  if (!f) return 0;
  double pen = 0;
  for (unsigned char c : text)
    if (f->glyphs[c].present) pen = double(int(pen + f->glyphs[c].advance));
  return int(pen);
}

int FontHeight() { return state().current ? state().current->height : 0; }

void DrawSprite(const sprite& s, double x, double y) {
  if (s) current().sprite(*s, x, y);
}

void SetFont(const font& f) { state().current = f; }

int32_t ClockMillis() { return current().clock(); }

int Proceed(const std::string& text, int serious) { return current().proceed(plat::title, text, serious); }

void EndProgram() {
  current().end_program();
  std::exit(0);  // not reached: every backend ends the program itself
}

bool SaveScreenshot(const std::string& path) { return current().screenshot(path); }
