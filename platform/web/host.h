// What the SDL backend asks of the machine it runs on beyond SDL itself. On
// the desktop these are nothing at all; in the browser (platform/web/) the
// page yields to the browser every frame, keeps the two files in the
// browser's storage, asks the first-run question and owns full screen.
#pragma once

#include <cstdint>
#include <string>

#ifdef __EMSCRIPTEN__
namespace host {
void start();
// The window flags to create the window with; full screen is the page's.
uint32_t window_flags(uint32_t flags, bool fullscreen);
// Hands control to the browser until the next frame is due (due < 0: the
// next frame the browser draws). Always true.
bool wait_frame(int64_t due);
// Asks on the page: 1 yes, 0 no, -1 cancel. Always true.
bool proceed(const std::string& title, const std::string& text, int& answer);
void ending();
}  // namespace host
#else
namespace host {
inline void start() {}
inline uint32_t window_flags(uint32_t flags, bool) { return flags; }
inline bool wait_frame(int64_t) { return false; }
inline bool proceed(const std::string&, const std::string&, int&) { return false; }
inline void ending() {}
}  // namespace host
#endif
