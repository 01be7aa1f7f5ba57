// Controller state per pad, and the keys it holds turned into key-table
// events: a key goes down when the first source (button or stick, on any pad)
// holds it and up when the last one lets go.
#include "platform/gamepad.h"

#include <array>
#include <map>
#include <set>

#include "platform/backend.h"

namespace {

struct padstate {
  std::array<bool, plat::PAD_BUTTONS> buttons{};
  int stickx = 0, sticky = 0;  // -1, 0 or 1 once past the dead zone
};

std::map<int, padstate> pads;

int button_key(int button) {
  switch (button) {
    case plat::PAD_DPAD_UP:
      return KEY_UP;
    case plat::PAD_DPAD_DOWN:
      return KEY_DOWN;
    case plat::PAD_DPAD_LEFT:
      return KEY_LEFT;
    case plat::PAD_DPAD_RIGHT:
      return KEY_RIGHT;
    case plat::PAD_A:
      return KEY_SPACE;
    case plat::PAD_B:
      return KEY_ESCAPE;
    case plat::PAD_START:
      return KEY_P;
    case plat::PAD_Y:
      return KEY_ENTER;
    default:
      return -1;
  }
}

std::set<int> held_by_pads() {
  std::set<int> keys;
  for (const auto& [id, p] : pads) {
    for (int b = 0; b < plat::PAD_BUTTONS; b++)
      if (p.buttons[b] && button_key(b) >= 0) keys.insert(button_key(b));
    if (p.stickx) keys.insert(p.stickx < 0 ? KEY_LEFT : KEY_RIGHT);
    if (p.sticky) keys.insert(p.sticky < 0 ? KEY_UP : KEY_DOWN);
  }
  return keys;
}

// Applies a change to the pads and reports its effect on the key tables.
template <class F>
void change(F&& f) {
  std::set<int> before = held_by_pads();
  f();
  std::set<int> after = held_by_pads();
  for (int k : before)
    if (!after.count(k)) plat::key_up(k);
  for (int k : after)
    if (!before.count(k)) {
      plat::key_down(k);
      // Enter on a keyboard types a carriage return too.
      if (k == KEY_ENTER) plat::typed(KEY_ENTER);
    }
}

// New stick direction from the old one and the axis value, with hysteresis.
int direction(int old, int value) {
  if (value >= plat::kPadPush) return 1;
  if (value <= -plat::kPadPush) return -1;
  if (old > 0 && value >= plat::kPadRelease) return 1;
  if (old < 0 && value <= -plat::kPadRelease) return -1;
  return 0;
}

}  // namespace

namespace plat {

void pad_added(int pad) { pads.try_emplace(pad); }

void pad_removed(int pad) {
  change([&] { pads.erase(pad); });
}

void pad_button(int pad, int button, bool down) {
  if (button < 0 || button >= PAD_BUTTONS) return;
  change([&] { pads[pad].buttons[button] = down; });
}

void pad_axis(int pad, int axis, int value) {
  change([&] {
    padstate& p = pads[pad];
    if (axis == PAD_LEFTX) p.stickx = direction(p.stickx, value);
    if (axis == PAD_LEFTY) p.sticky = direction(p.sticky, value);
  });
}

void reset_pads() { pads.clear(); }

}  // namespace plat
