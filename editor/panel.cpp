// The side panel: tools, file, the selection's values (typed), the checker's
// findings, test play's outcome, and the help.
#include <algorithm>

#include "editor/editor.h"
#include "platform/gui.h"

namespace edit {

namespace {
const std::vector<std::string> kBallKinds = {"normal", "background", "damaging"};
const std::vector<std::string> kLinkKinds = {"normal", "background", "damaging", "stop", "virtual"};
int indexof(const std::vector<std::string>& v, const std::string& s) {
  auto it = std::find(v.begin(), v.end(), s);
  return it == v.end() ? 0 : int(it - v.begin());
}
const char* kHelp[] = {
    "1 select/move   2 add ball   3 link   4 tension   5 virtual link",
    "Left click: select (Shift: add to it); drag a selected ball: move it",
    "Left drag on empty space: select by box",
    "Link / virtual link: drag from a ball to another ball",
    "Tension: click three balls in order (the second is the joint)",
    "Wheel: zoom about the pointer; middle or right drag, arrows: pan",
    "Delete: delete   Ctrl+D: duplicate   Ctrl+C / Ctrl+V: copy / paste at the pointer",
    "Ctrl+Z: undo   Ctrl+Y or Ctrl+Shift+Z: redo   Ctrl+A: select all balls",
    "Ctrl+S: save   F: make the selected ball the first (the player's)",
    "N: ball numbers   G: grid and snapping   Esc: clear the selection",
    "F5: test play (Esc, the goal or a lost ball comes back)   F1: this help",
};
}  // namespace

void editor::panel() {
  bool asked = false;  // the Open dialog, opened beside the panel rather than within it
  // The side panel keeps to the window's right edge, whatever its size.
  if (gui::begin_panel("tumbo-edit", width_ - 330, 0, 330, height_, true)) {
    static const char* names[] = {"select", "ball", "link", "tension", "virtual"};
    for (int k = 0; k < 5; k++) {
      if (k) gui::same_line();
      if (gui::selectable(std::string(names[k]) + "##tool", tool == k)) tool = k;
    }
    gui::separator();
    gui::field("file", path);
    if (gui::button("Open...")) {
      openlist = levelfiles();
      openpath = path;
      asked = true;
    }
    gui::same_line();
    if (gui::button("Save")) save();
    gui::same_line();
    if (gui::button("New")) newlevel();
    gui::same_line();
    if (gui::button("Play (F5)")) startplay();
    int n = numbers ? 1 : 0;
    if (gui::checkbox("numbers", n)) numbers = n != 0;
    gui::same_line();
    int s = snap ? 1 : 0;
    if (gui::checkbox("snap", s)) snap = s != 0;
    gui::same_line();
    gui::number("grid", gridstep);
    if (gridstep < 1) gridstep = 1;
    if (!message.empty()) gui::text(message);
    if (!playresult.empty() && !play)
      gui::text("last test play: " + playresult + ", " + std::to_string(playframes) + " frames");
    gui::text(std::to_string(doc.balls.size()) + " balls, " + std::to_string(doc.links.size()) + " links, " +
              std::to_string(doc.tensions.size()) + " tensions, " + std::to_string(hist.depth()) + " undo");

    if (gui::heading("Selection") && !sel.empty()) {
      // The widgets show the first selected record; a value changed in them
      // goes to every selected record, as one edit.
      if (!sel.balls.empty()) {
        const edball& first = doc.balls[size_t(sel.balls.front())];
        gui::text(std::to_string(sel.balls.size()) + " balls" +
                  (sel.balls.front() == 0 ? " (the first is the player's)" : ""));
        int kind = indexof(kBallKinds, first.kind);
        edball v = first;
        bool k = gui::choice("ball kind", kind, kBallKinds);
        bool a = gui::checkbox("anchored", v.anchored), r = gui::checkbox("rolling", v.rolling);
        bool m = gui::number("mass", v.m), rad = gui::number("radius", v.r);
        bool x = gui::number("x", v.x), y = gui::number("y", v.y);
        if (k || a || r || m || rad || x || y) {
          step s = changing(sel.balls, {});
          const double dx = v.x - first.x, dy = v.y - first.y;
          for (int i : sel.balls) {
            edball& b = doc.balls[size_t(i)];
            if (k) b.kind = kBallKinds[size_t(kind)];
            if (a) b.anchored = v.anchored;
            if (r) b.rolling = v.rolling;
            if (m) b.m = v.m;
            if (rad) b.r = v.r;
          }
          if (x || y) moveselected(doc, sel, dx, dy);
          changed(std::move(s));
        }
        if (sel.balls.size() == 1 && sel.balls.front() != 0 && gui::button("Make it the first ball")) {
          tofront(sel.balls.front());
          sel.balls = {0};
        }
        for (size_t i = 0; i < doc.tensions.size(); i++)
          if (sel.hasball(doc.tensions[i].b2)) {
            double st = doc.tensions[i].strength;
            if (gui::number("tension strength##" + std::to_string(i), st)) {
              step s = changing({}, {}, {int(i)});
              doc.tensions[i].strength = st;
              changed(std::move(s));
            }
          }
      }
      if (!sel.links.empty()) {
        const edlink& first = doc.links[size_t(sel.links.front())];
        gui::text(std::to_string(sel.links.size()) + " links");
        int kind = indexof(kLinkKinds, first.kind);
        edlink v = first;
        bool k = gui::choice("link kind", kind, kLinkKinds);
        bool w = gui::number("width", v.width), d = gui::number("length", v.distance);
        if (k || w || d) {
          step s = changing({}, sel.links);
          for (int i : sel.links) {
            edlink& l = doc.links[size_t(i)];
            if (k) l.kind = kLinkKinds[size_t(kind)];
            if (w) l.width = v.width;
            if (d) l.distance = v.distance;
          }
          changed(std::move(s));
        }
      }
    }
    if (gui::heading("Checker")) {
      const levelcheck& found = findings();
      gui::text(std::to_string(found.errors) + " errors, " + std::to_string(found.warnings) + " warnings" +
                (checker.pending() ? ", " + std::to_string(checker.pending()) + " records to look at" : ""));
      gui::begin_list("findings", 160);
      for (const levelfinding& f : found.findings) {
        const std::string t = (f.error ? "error: " : "warning: ") + f.what;
        if (f.error)
          gui::coloured(255, 90, 90, t);
        else
          gui::coloured(255, 220, 90, t);
      }
      if (!opened.findings.empty()) {
        gui::text("in the file as opened:");
        for (const levelfinding& f : opened.findings)
          gui::text("line " + std::to_string(f.line) + ": " + f.what);
      }
      gui::end_list();
    }
  }
  gui::end_panel();
  if (asked) gui::open_dialog("Open a level");
  if (gui::begin_dialog("Open a level")) {
    gui::text("The campaigns' levels, and the level files of the working folder:");
    gui::begin_list("levels", 320);
    for (const std::string& f : openlist)
      if (gui::selectable(f, f == openpath)) openpath = f;
    gui::end_list();
    const bool typed = gui::field("path", openpath);
    if (dirty) gui::coloured(255, 220, 90, "The level here has unsaved changes: opening another drops them.");
    if (gui::button("Open") || typed) {
      open(openpath);
      gui::close_dialog();
    }
    gui::same_line();
    if (gui::button("Cancel")) gui::close_dialog();
    gui::end_dialog();
  }
  if (help) {
    if (gui::begin_panel("Help (F1)", 20, 20, 560, 260))
      for (const char* h : kHelp) gui::text(h);
    gui::end_panel();
  }
}

}  // namespace edit
