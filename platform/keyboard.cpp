// Key tables (held flags and press counters by key code) and the queue of
// typed characters, filled by the backend's events and read by the game.
#include <array>
#include <deque>

#include "platform/backend.h"

namespace {

std::array<int, 256> held{};
std::array<int, 256> presses{};
std::deque<unsigned char> queue;
constexpr size_t kQueueSize = 256;

bool valid(int code) { return code >= 0 && code < 256; }

}  // namespace

namespace plat {

void key_down(int code) {
  if (!valid(code)) return;
  if (!held[code]) presses[code]++;
  held[code] = 1;
}

void key_up(int code) {
  if (valid(code)) held[code] = 0;
}

void key_hold(int code) {
  if (valid(code)) held[code] = 1;
}

void typed(int ch) {
  if (ch > 0 && ch < 256 && queue.size() < kQueueSize) queue.push_back((unsigned char)ch);
}

void reset_keyboard() {
  held.fill(0);
  presses.fill(0);
  queue.clear();
}

}  // namespace plat

int KeyPresses(int code) {
  plat::current().pump();
  if (!valid(code)) return 0;
  int n = presses[code];
  presses[code] = 0;
  return n;
}

int KeyHeld(int code) {
  plat::current().pump();
  return valid(code) ? held[code] : 0;
}

int NextTypedChar() {
  plat::current().pump();
  if (queue.empty()) return 0;
  int c = queue.front();
  queue.pop_front();
  return c;
}

void FlushKeyboard() {
  plat::current().pump();
  plat::reset_keyboard();
}

int CloseRequested() {
  plat::current().pump();
  return plat::current().take_close_request() ? 1 : 0;
}
