// Widgets for the tools that have them (the level editor): panels, lists,
// typed fields, buttons and dialogs from an immediate-mode widget library,
// hosted by the platform layer so that no tool includes the library itself.
// The SDL backend draws them over the frame; the headless backend lays them
// out and takes their input without drawing, so tests can drive them.
#pragma once

#include <string>
#include <vector>

namespace gui {

// Starts a frame of widgets for a window of the given size, taking this
// frame's mouse, keys and typed characters from the platform layer.
void begin_frame(int width, int height);
// Draws the frame's widgets over whatever was drawn (before Flip).
void end_frame();
// The size in pixels of the window the widgets are drawn in (false where
// there is no window).
bool window_size(int& width, int& height);
// Lets go of the window's renderer before the window is closed (it is taken
// up again, or a new one, by the next begin_frame).
void release_renderer();
// The wheel steps of this frame, read once by begin_frame.
int wheel();
// Whether the widgets take the mouse or the keyboard this frame (the pointer
// is over a panel, a field is being typed in).
bool wants_mouse();
bool wants_keyboard();

// A panel at a place and size (first use, or every frame when pinned);
// false when collapsed.
bool begin_panel(const std::string& title, double x, double y, double w, double h, bool pinned = false);
void end_panel();

void text(const std::string& t);
void coloured(int r, int g, int b, const std::string& t);
bool button(const std::string& label);
// Each returns true when the value was changed by the user.
bool checkbox(const std::string& label, int& value);
// A typed number: true once an edit is finished (Enter or leaving the field).
bool number(const std::string& label, double& value);
bool choice(const std::string& label, int& current, const std::vector<std::string>& items);
bool field(const std::string& label, std::string& value);  // true on Enter
bool selectable(const std::string& label, bool selected);
bool heading(const std::string& label);  // a section that opens and closes
void separator();
void same_line();

// A scrolling list of the given height in pixels.
void begin_list(const std::string& id, double height);
void end_list();

// Modal dialogs: open_dialog once, then begin_dialog every frame.
void open_dialog(const std::string& title);
bool begin_dialog(const std::string& title);
void close_dialog();
void end_dialog();

// Files for the tools: a new empty file of the system's temporary folder
// (its path, absolute; empty when none can be made), and removing one.
std::string temporary_file(const std::string& stem);
bool remove_file(const std::string& path);

}  // namespace gui
