// The editor's frame: mouse and keys turned into edits, test play, title.
#include "editor/editor.h"

#include <algorithm>
#include <cmath>

#include "platform/gui.h"

namespace edit {

editor::editor(int width, int height) : width_(width), height_(height) {
  world.xwin = width;
  world.ywin = height;
  world.changeres(0, 0, 0);  // the game's own window and images, at the editor's size
  world.jumpsound = LoadSoundFile("media/jump.wav");
  newlevel();
}

void editor::newlevel() {
  doc = {};
  hist = {};
  sel = {};
  path.clear();
  dirty = false;
  opened = {};
  refresh();
}

void editor::open(const std::string& file) {
  doc = opendoc(file);
  hist = {};
  sel = {};
  path = file;
  dirty = false;
  stream s = OpenTextRead(file);
  std::string bytes;
  if (s)
    while (!s.Eof()) bytes += s.ReadLine() + "\n";
  opened = checklevel(splitlevellines(bytes));
  message = s ? "opened " + file : "cannot read " + file + "; a new level";
  if (!doc.balls.empty()) {
    cx = doc.balls.front().x;
    cy = doc.balls.front().y;
  }
  refresh();
}

bool editor::save() {
  std::string why;
  if (path.empty()) path = "level.txt";
  if (!savedoc(doc, path, why)) {
    message = "not saved: " + why + "; the level is kept here";
    return false;
  }
  dirty = false;
  message = "saved " + path;
  title();
  return true;
}

void editor::refresh() {
  togame(doc, world);
  index.build(doc);
  found = checklevel(doclines(doc));
  std::erase_if(sel.balls, [&](int i) { return i >= int(doc.balls.size()); });
  std::erase_if(sel.links, [&](int i) { return i >= int(doc.links.size()); });
  title();
}

void editor::change(const document& before) {
  if (before == doc) return;
  hist.record(before);
  dirty = true;
  refresh();
}

void editor::undo() {
  if (hist.undo(doc)) {
    dirty = true;
    refresh();
  }
}

void editor::redo() {
  if (hist.redo(doc)) {
    dirty = true;
    refresh();
  }
}

void editor::title() {
  SetAppTitle(std::string(dirty ? "* " : "") + (path.empty() ? "new level" : path) + " - tumbo-edit");
}

void editor::startplay() {
  // The level goes through a file and the game's own set-up, as a level of
  // a campaign does; the document itself is never touched by play.
  const std::string file = ".tumbo-edit-play";
  if (!WriteTextFileSafely(file, doclines(doc))) {
    message = "test play needs to write " + file + " in the working folder";
    return;
  }
  play = std::make_unique<game>();
  game& p = *play;
  p.xwin = world.xwin;
  p.ywin = world.ywin;
  p.tumbosprite = world.tumbosprite;
  p.ballsprite = world.ballsprite;
  p.platformsprite = world.platformsprite;
  p.sparki = world.sparki;
  p.logo = world.logo;
  p.gamefont = world.gamefont;
  p.jumpsound = world.jumpsound;
  p.lives = 5;
  p.setuplevelfile(file, 1);
  playresult = "play";
  playframes = 0;
}

void editor::playframe() {
  play->levelframe(playresult, 1, 0);
  playframes++;
  if (play->mode == "end") {
    play.reset();
    message = "test play: " + playresult + " after " + std::to_string(playframes) + " frames";
    FlushKeyboard();
    SetFont(world.gamefont);
  }
}

void editor::frame() {
  if (play) {
    playframe();
    return;
  }
  Cls();
  drawworld();
  drawoverlays();
  gui::begin_frame(width_, height_);
  panel();
  input();
  gui::end_frame();
  Flip(-1);
  if (CloseRequested()) {
    int answer = dirty ? Proceed("The level has unsaved changes. Save them before quitting?", 0) : 0;
    if (answer == 1 && save()) quit = true;
    if (answer == 0) quit = true;
  }
}

void editor::input() {
  if (!gui::wants_keyboard()) keys();
  mouse();
}

void editor::keys() {
  const bool ctrl = KeyHeld(KEY_CONTROL) != 0, shift = KeyHeld(KEY_SHIFT) != 0;
  const double step = 20 / zoom;
  if (KeyHeld(KEY_LEFT)) cx -= step;
  if (KeyHeld(KEY_RIGHT)) cx += step;
  if (KeyHeld(KEY_UP)) cy -= step;
  if (KeyHeld(KEY_DOWN)) cy += step;
  if (KeyPresses(KEY_F1)) help = !help;
  if (KeyPresses(KEY_F5)) {
    startplay();
    return;
  }
  if (ctrl) {
    if (KeyPresses('Z')) shift ? redo() : undo();
    if (KeyPresses('Y')) redo();
    if (KeyPresses(KEY_S)) save();
    if (KeyPresses('C')) clipboard = copyof(doc, sel);
    if (KeyPresses('V') && !clipboard.balls.empty()) {
      // Pasted where the pointer is, the first ball of the piece under it.
      const document before = doc;
      const double dx = worldx(MouseX()) - clipboard.balls.front().x;
      const double dy = worldy(MouseY()) - clipboard.balls.front().y;
      sel = {};
      sel.balls = pastein(doc, clipboard, dx, dy);
      change(before);
    }
    if (KeyPresses(KEY_D) && !sel.balls.empty()) {
      const document before = doc;
      const document piece = copyof(doc, sel);
      sel = {};
      sel.balls = pastein(doc, piece, gridstep, gridstep);
      change(before);
    }
    if (KeyPresses(KEY_A)) {
      sel = {};
      for (int i = 0; i < int(doc.balls.size()); i++) sel.balls.push_back(i);
    }
    return;
  }
  for (int k = 0; k < 5; k++)
    if (KeyPresses('1' + k)) {
      tool = k;
      pending.clear();
    }
  if (KeyPresses('N')) numbers = !numbers;
  if (KeyPresses('G')) snap = !snap;
  if (KeyPresses('F') && sel.balls.size() == 1) {
    const document before = doc;
    makefirst(doc, sel.balls.front());
    sel.balls = {0};
    change(before);
  }
  if (KeyPresses(KEY_DELETE) || KeyPresses(KEY_BACKSPACE)) {
    if (!sel.empty()) {
      const document before = doc;
      removeselected(doc, sel);
      sel = {};
      change(before);
    }
  }
  if (KeyPresses(KEY_ESCAPE)) {
    sel = {};
    pending.clear();
  }
}

void editor::mouse() {
  const double mx = MouseX(), my = MouseY();
  const double wx = worldx(mx), wy = worldy(my);
  const int wheel = gui::wheel();
  const bool overpanel = gui::wants_mouse();
  if (wheel != 0 && !overpanel) {
    // About the pointer: the point under it stays under it.
    zoom = std::clamp(zoom * std::pow(1.2, wheel), 0.01, 100.0);
    cx = wx - (mx - width_ / 2.0) / zoom;
    cy = wy - (my - height_ / 2.0) / zoom;
  }
  const int lefthit = MouseHits(MOUSE_LEFT);
  const int panhit = MouseHits(MOUSE_MIDDLE) + MouseHits(MOUSE_RIGHT);
  const bool left = MouseDown(MOUSE_LEFT) != 0;
  const bool pan = MouseDown(MOUSE_MIDDLE) || MouseDown(MOUSE_RIGHT);
  auto snapped = [&](double v) { return snap ? std::round(v / gridstep) * gridstep : v; };

  if (dragging == 0 && panhit && !overpanel) dragging = 5;
  if (dragging == 0 && lefthit && !overpanel) {
    pressx = wx;
    pressy = wy;
    lastx = snapped(wx);
    lasty = snapped(wy);
    pressball = index.ballat(doc, wx, wy);
    const bool shift = KeyHeld(KEY_SHIFT) != 0;
    switch (tool) {
      case 0: {
        const int l = pressball < 0 ? index.linkat(doc, wx, wy) : -1;
        if (pressball >= 0) {
          if (shift)
            sel.toggleball(pressball);
          else if (!sel.hasball(pressball))
            sel = {{pressball}, {}};
          beforedrag = doc;
          dragging = 1;
        } else if (l >= 0) {
          if (shift)
            sel.togglelink(l);
          else
            sel = {{}, {l}};
        } else {
          if (!shift) sel = {};
          dragging = 2;
        }
        break;
      }
      case 1: {
        const document before = doc;
        edball b;
        b.x = b.anchorx = snapped(wx);
        b.y = b.anchory = snapped(wy);
        doc.balls.push_back(b);
        sel = {{int(doc.balls.size()) - 1}, {}};
        change(before);
        break;
      }
      case 2:
      case 4:
        if (pressball >= 0) dragging = tool == 2 ? 3 : 4;
        break;
      case 3:
        if (pressball >= 0 && std::find(pending.begin(), pending.end(), pressball) == pending.end())
          pending.push_back(pressball);
        if (pending.size() == 3) {
          const document before = doc;
          const edball &a = doc.balls[size_t(pending[0])], &j = doc.balls[size_t(pending[1])],
                       &c = doc.balls[size_t(pending[2])];
          doc.tensions.push_back({pending[0], pending[1], pending[2], restangle(a, j, c), 50});
          pending.clear();
          change(before);
        }
        break;
    }
  }
  if (dragging == 1) {
    const double nx = snapped(wx), ny = snapped(wy);
    if (nx != lastx || ny != lasty) {
      moveselected(doc, sel, nx - lastx, ny - lasty);
      lastx = nx;
      lasty = ny;
      // Positions change in place while dragging; figures are made again on release.
      for (int i : sel.balls) {
        ball& b = *world.balllist[size_t(i)];
        b.x = doc.balls[size_t(i)].x;
        b.y = doc.balls[size_t(i)].y;
      }
    }
  }
  if (dragging == 5) {
    if (!pan) dragging = 0;
    cx -= (mx - panx_) / zoom;
    cy -= (my - pany_) / zoom;
  }
  panx_ = mx;
  pany_ = my;
  if (!left && dragging >= 1 && dragging <= 4) {
    const int target = index.ballat(doc, wx, wy);
    if (dragging == 1) {
      change(beforedrag);
      refresh();
    } else if (dragging == 2) {
      for (int i : index.ballsin(doc, pressx, pressy, wx, wy))
        if (!sel.hasball(i)) sel.toggleball(i);
    } else if (target >= 0 && target != pressball) {
      const document before = doc;
      const edball &a = doc.balls[size_t(pressball)], &b = doc.balls[size_t(target)];
      if (dragging == 3) {
        edlink l;
        l.b1 = pressball;
        l.b2 = target;
        l.distance = std::hypot(b.x - a.x, b.y - a.y);
        doc.links.push_back(l);
        sel = {{}, {int(doc.links.size()) - 1}};
      } else {
        doc.virtuals.push_back({pressball, target});
      }
      change(before);
    }
    dragging = 0;
  }
  curx_ = wx;
  cury_ = wy;
}

}  // namespace edit
