// The headless backend: a virtual clock that Flip advances (60 frames take
// 1000 ms, no real waiting), keys and typed characters scripted per frame,
// every draw call recorded, channels that play for the sound's real length and
// a scripted answer for the message box. Tests and tools select it in code.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/gamepad.h"

namespace headless {

// Thrown by EndProgram on this backend; only the test harness catches it.
struct program_ended {
  int status = 0;
};
// Thrown by the first input poll after the key script has run out, so that no
// scripted run can hang in a menu.
struct script_ended {};

enum class op { cls, line, text, sprite, grab, flip };

struct drawcall {
  op kind = op::cls;
  std::string text;              // op::text: the string; op::sprite: the sprite's file name
  double x = 0, y = 0;           // anchor
  double x2 = 0, y2 = 0;         // op::line: end point as given
  int r = 255, g = 255, b = 255; // colour at the time of the call
  double alpha = 1;
  int blend = 3;
  double sx = 1, sy = 1;
  double rotation = 0;
  int frame = 0;                 // number of Flips before this call
};

// A game-controller event, as a pad would send it (buttons and axes numbered
// as in platform/gamepad.h). A pad needs no "added" event before it is used.
struct padevent {
  enum kind_t { added, removed, button, axis } kind = button;
  int pad = 0;    // which controller
  int code = 0;   // button or axis number
  int value = 0;  // button: 1 down, 0 up; axis: -32768 .. 32767
};

// What is held during one frame, and what is typed during it.
struct frameinput {
  std::set<int> held;     // key codes held during this frame
  std::string typed;      // characters typed during this frame (8 = Backspace)
  // The mouse during this frame (the level editor's tests): a position below
  // 0 keeps the last one; buttons as bits (1 << MOUSE_LEFT ...); wheel steps.
  int mx = -1, my = -1;
  int buttons = 0;
  int wheel = 0;
};

// Installs the headless backend as the current one and resets it: clock 0,
// frame 0, no window, empty key tables, no script, random state 4660.
void install();

// Key script: entry i is the input of frame i (frames counted from 0, the
// frame before the first Flip). A key that becomes held at the start of a
// frame counts one press. After the last entry the keys are released; when
// end_when_done is true, the next input poll throws script_ended.
void set_script(std::vector<frameinput> frames, bool end_when_done = true);
// Appends frames to the current script.
void append_script(const std::vector<frameinput>& frames);
// Convenience: hold keys for n frames, then release them for gap frames.
void hold(std::set<int> keys, int frames, int gap = 1);
void type(const std::string& text);  // one character per frame
void idle(int frames);
// Controller script: appends one frame with no keys held that starts with the
// event, then gap idle frames. A button stays down (a stick stays pushed) until
// another event changes it. set_script drops the events not yet sent.
void pad_event(const padevent& e, int gap = 0);
void pad_button(int button, bool down, int gap = 0, int pad = 0);
void pad_axis(int axis, int value, int gap = 0, int pad = 0);

// Answer given by Proceed (1 Yes, 0 No, -1 Cancel). Default 0.
void set_proceed_answer(int answer);
int proceed_calls();

// Recorded draw calls since the last clear, and helpers over them.
const std::vector<drawcall>& calls();
void clear_calls();
// Calls of the last completed frame (between the last two Flips).
std::vector<drawcall> last_frame();
// Texts drawn in the last completed frame.
std::vector<std::string> last_frame_texts();

int frame();             // number of Flips so far
int32_t clock();         // virtual milliseconds
void advance_clock(int32_t ms);  // lets time pass without a frame
bool window_open();
int window_width();
int window_height();
int window_depth();
int open_count();        // how many times OpenGraphics was called
int mouse_visible();
void request_close();    // as if the window's close box was clicked

}  // namespace headless
