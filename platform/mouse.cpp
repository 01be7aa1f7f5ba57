// The mouse: position, buttons and wheel, filled by the backend's events.
// Only the level editor reads it.
#include <array>
#include <utility>

#include "platform/backend.h"

namespace {

int mx = 0, my = 0, wheel = 0;
std::array<int, 4> down{};
std::array<int, 4> hits{};

bool valid(int button) { return button >= MOUSE_LEFT && button <= MOUSE_MIDDLE; }

}  // namespace

namespace plat {

void mouse_move(int x, int y) {
  mx = x;
  my = y;
}

void mouse_button(int button, bool pressed) {
  if (!valid(button)) return;
  if (pressed && !down[button]) hits[button]++;
  down[button] = pressed ? 1 : 0;
}

void mouse_wheel(int steps) { wheel += steps; }

void reset_mouse() {
  mx = my = wheel = 0;
  down.fill(0);
  hits.fill(0);
}

}  // namespace plat

int MouseX() {
  plat::current().pump();
  return mx;
}

int MouseY() {
  plat::current().pump();
  return my;
}

int MouseDown(int button) {
  plat::current().pump();
  return valid(button) ? down[button] : 0;
}

int MouseHits(int button) {
  plat::current().pump();
  if (!valid(button)) return 0;
  return std::exchange(hits[button], 0);
}

int MouseWheel() {
  plat::current().pump();
  return std::exchange(wheel, 0);
}
