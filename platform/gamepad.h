// Game controllers read as the keyboard: the d-pad and the left stick are the
// arrow keys, A is Space, B is Escape, Start is P and Y is Enter, fed into the
// same key tables as real keys, so every screen works with a pad.
//
// Buttons and axes are numbered as SDL's game-controller API numbers them; a
// backend hands its controller events over as they come, and the headless
// backend hands over scripted ones.
#pragma once

namespace plat {

constexpr int PAD_A = 0;
constexpr int PAD_B = 1;
constexpr int PAD_X = 2;
constexpr int PAD_Y = 3;
constexpr int PAD_BACK = 4;
constexpr int PAD_GUIDE = 5;
constexpr int PAD_START = 6;
constexpr int PAD_DPAD_UP = 11;
constexpr int PAD_DPAD_DOWN = 12;
constexpr int PAD_DPAD_LEFT = 13;
constexpr int PAD_DPAD_RIGHT = 14;
constexpr int PAD_BUTTONS = 21;  // buttons are numbered below this

constexpr int PAD_LEFTX = 0;
constexpr int PAD_LEFTY = 1;
constexpr int PAD_AXES = 6;

// A stick counts as pushed beyond kPadPush and as let go only below
// kPadRelease, so a stick resting near the threshold does not chatter.
constexpr int kPadPush = 16000;
constexpr int kPadRelease = 10000;

// A key flushed from the tables while a pad holds it counts again only when
// it is pressed again, as on the keyboard.
//
// Events of the controller with the given id (any int a backend uses).
void pad_added(int pad);
void pad_removed(int pad);  // keys it held are released
void pad_button(int pad, int button, bool down);
void pad_axis(int pad, int axis, int value);  // -32768 .. 32767, y pointing down
// Forgets every controller without touching the key tables.
void reset_pads();

// A controller that exists only inside SDL (with the SDL backend selected),
// plugged in, worked and unplugged as a real one would be, so that tests can
// follow a pad through SDL's own controller events.
bool attach_virtual_pad();
void virtual_pad_button(int button, bool down);
void virtual_pad_axis(int axis, int value);
void detach_virtual_pad();

}  // namespace plat
