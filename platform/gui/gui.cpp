// Dear ImGui behind the gui interface. Input comes from the platform's own
// tables, the same on every backend; drawing goes to the SDL renderer where
// there is one, through ImGui's SDL-renderer backend.
#include "platform/gui.h"

#include <SDL.h>
#include <imgui.h>
#include <imgui_impl_sdlrenderer.h>

#include "platform/backend.h"

namespace gui {

namespace {

constexpr int kKeys[] = {KEY_TAB,  KEY_LEFT, KEY_RIGHT,  KEY_UP,        KEY_DOWN,  KEY_PAGEUP, KEY_PAGEDOWN,
                         KEY_HOME, KEY_END,  KEY_DELETE, KEY_BACKSPACE, KEY_SPACE, KEY_ENTER,  KEY_ESCAPE,
                         KEY_A,    'C',      'V',        'X',           'Y',       'Z'};
constexpr ImGuiKey_ kNames[] = {ImGuiKey_Tab,       ImGuiKey_LeftArrow, ImGuiKey_RightArrow, ImGuiKey_UpArrow,
                                ImGuiKey_DownArrow, ImGuiKey_PageUp,    ImGuiKey_PageDown,   ImGuiKey_Home,
                                ImGuiKey_End,       ImGuiKey_Delete,    ImGuiKey_Backspace,  ImGuiKey_Space,
                                ImGuiKey_Enter,     ImGuiKey_Escape,    ImGuiKey_A,          ImGuiKey_C,
                                ImGuiKey_V,         ImGuiKey_X,         ImGuiKey_Y,          ImGuiKey_Z};
static_assert(sizeof kKeys / sizeof kKeys[0] == sizeof kNames / sizeof kNames[0]);

bool started = false;
SDL_Renderer* drawn_by = nullptr;  // the renderer the library's textures belong to
int frame_wheel = 0;

void start() {
  if (started) return;
  IMGUI_CHECKVERSION();
  ImGui::CreateContext();
  ImGuiIO& io = ImGui::GetIO();
  io.IniFilename = nullptr;  // panels open where the tool puts them, every time
  for (size_t i = 0; i < sizeof kKeys / sizeof kKeys[0]; i++) io.KeyMap[kNames[i]] = kKeys[i];
  ImGui::StyleColorsDark();
  // Built at once: without a renderer nobody else would build the font atlas.
  unsigned char* pixels = nullptr;
  int w = 0, h = 0;
  io.Fonts->GetTexDataAsRGBA32(&pixels, &w, &h);
  started = true;
}

}  // namespace

void begin_frame(int width, int height) {
  start();
  ImGuiIO& io = ImGui::GetIO();
  auto* ren = static_cast<SDL_Renderer*>(plat::current().native_renderer());
  if (ren != drawn_by) {
    if (drawn_by) ImGui_ImplSDLRenderer_Shutdown();
    drawn_by = ren;
    if (ren) ImGui_ImplSDLRenderer_Init(ren);
  }
  if (drawn_by) ImGui_ImplSDLRenderer_NewFrame();
  io.DisplaySize = ImVec2(float(width), float(height));
  io.DisplayFramebufferScale = ImVec2(1, 1);
  io.DeltaTime = 1.0f / 60;  // the tool's frames, not the wall clock
  io.MousePos = ImVec2(float(MouseX()), float(MouseY()));
  io.MouseDown[0] = MouseDown(MOUSE_LEFT) != 0;
  io.MouseDown[1] = MouseDown(MOUSE_RIGHT) != 0;
  io.MouseDown[2] = MouseDown(MOUSE_MIDDLE) != 0;
  frame_wheel = MouseWheel();
  io.MouseWheel = float(frame_wheel);
  for (int k : kKeys) io.KeysDown[k] = KeyHeld(k) != 0;
  io.KeyCtrl = KeyHeld(KEY_CONTROL) != 0;
  io.KeyShift = KeyHeld(KEY_SHIFT) != 0;
  for (int c; (c = NextTypedChar()) != 0;)
    if (c >= 32) io.AddInputCharacter(unsigned(c));
  ImGui::NewFrame();
}

void end_frame() {
  ImGui::Render();
  if (drawn_by) ImGui_ImplSDLRenderer_RenderDrawData(ImGui::GetDrawData());
}

bool window_size(int& width, int& height) {
  auto* ren = static_cast<SDL_Renderer*>(plat::current().native_renderer());
  if (!ren) return false;
  SDL_Window* win = SDL_RenderGetWindow(ren);
  if (!win) return false;
  SDL_GetWindowSize(win, &width, &height);
  return width > 0 && height > 0;
}

void release_renderer() {
  if (drawn_by) ImGui_ImplSDLRenderer_Shutdown();
  drawn_by = nullptr;
}

int wheel() { return frame_wheel; }
bool wants_mouse() { return started && ImGui::GetIO().WantCaptureMouse; }
bool wants_keyboard() { return started && ImGui::GetIO().WantCaptureKeyboard; }

bool begin_panel(const std::string& title, double x, double y, double w, double h, bool pinned) {
  const ImGuiCond when = pinned ? ImGuiCond_Always : ImGuiCond_Once;
  ImGui::SetNextWindowPos(ImVec2(float(x), float(y)), when);
  ImGui::SetNextWindowSize(ImVec2(float(w), float(h)), when);
  return ImGui::Begin(title.c_str());
}
void end_panel() { ImGui::End(); }

void text(const std::string& t) { ImGui::TextUnformatted(t.c_str()); }
void coloured(int r, int g, int b, const std::string& t) {
  ImGui::PushStyleColor(ImGuiCol_Text, IM_COL32(r, g, b, 255));
  ImGui::TextUnformatted(t.c_str());
  ImGui::PopStyleColor();
}
bool button(const std::string& label) { return ImGui::Button(label.c_str()); }
bool checkbox(const std::string& label, int& value) {
  bool b = value != 0;
  if (!ImGui::Checkbox(label.c_str(), &b)) return false;
  value = b ? 1 : 0;
  return true;
}
bool number(const std::string& label, double& value) {
  double v = value;
  ImGui::InputDouble(label.c_str(), &v, 0, 0, "%.6g");
  if (ImGui::IsItemDeactivatedAfterEdit() && v != value) {
    value = v;
    return true;
  }
  return false;
}
bool choice(const std::string& label, int& current, const std::vector<std::string>& items) {
  bool changed = false;
  const char* shown = current >= 0 && current < int(items.size()) ? items[size_t(current)].c_str() : "";
  if (ImGui::BeginCombo(label.c_str(), shown)) {
    for (int i = 0; i < int(items.size()); i++)
      if (ImGui::Selectable(items[size_t(i)].c_str(), i == current)) {
        changed = i != current;
        current = i;
      }
    ImGui::EndCombo();
  }
  return changed;
}
bool field(const std::string& label, std::string& value) {
  char buf[1024];
  const size_t n = value.copy(buf, sizeof buf - 1);
  buf[n] = 0;
  const bool entered = ImGui::InputText(label.c_str(), buf, sizeof buf, ImGuiInputTextFlags_EnterReturnsTrue);
  value = buf;
  return entered;
}
bool selectable(const std::string& label, bool selected) {
  return ImGui::Selectable(label.c_str(), selected);
}
bool heading(const std::string& label) {
  return ImGui::CollapsingHeader(label.c_str(), ImGuiTreeNodeFlags_DefaultOpen);
}
void separator() { ImGui::Separator(); }
void same_line() { ImGui::SameLine(); }

void begin_list(const std::string& id, double height) {
  ImGui::BeginChild(id.c_str(), ImVec2(0, float(height)), true);
}
void end_list() { ImGui::EndChild(); }

void open_dialog(const std::string& title) { ImGui::OpenPopup(title.c_str()); }
bool begin_dialog(const std::string& title) {
  const ImVec2 size = ImGui::GetIO().DisplaySize;
  ImGui::SetNextWindowPos(ImVec2(size.x / 2, size.y / 2), ImGuiCond_Always, ImVec2(0.5f, 0.5f));
  return ImGui::BeginPopupModal(title.c_str(), nullptr, ImGuiWindowFlags_AlwaysAutoResize);
}
void close_dialog() { ImGui::CloseCurrentPopup(); }
void end_dialog() { ImGui::EndPopup(); }

}  // namespace gui
