// The editor's frame: mouse and keys turned into edits, test play, title.
#include "editor/editor.h"

#include <algorithm>
#include <cmath>

#include "editor/lists.h"
#include "platform/gui.h"

namespace edit {

namespace {
// Records the checker looks at in one frame: well under a millisecond.
constexpr size_t kCheckSlice = 128;
// Frames a new window size must hold before the view takes it.
constexpr int kSettleFrames = 10;
}  // namespace

editor::editor(int width, int height) : width_(width), height_(height) {
  world.xwin = width;
  world.ywin = height;
  world.changeres(0, 0, 0);  // the game's own window and images, at the editor's size
  world.jumpsound = LoadSoundFile("media/jump.wav");
  newlevel();
}

void editor::fitwindow() {
  // A window resized by hand: once its size has held for a few frames, the
  // view is opened again at that size (the images with it), so that the
  // level is drawn at the window's own pixels rather than scaled.
  int w = 0, h = 0;
  if (!gui::window_size(w, h) || (w == width_ && h == height_) || w < 400 || h < 300) {
    settling_ = 0;
    return;
  }
  if (w != settlew_ || h != settleh_) {
    settlew_ = w;
    settleh_ = h;
    settling_ = 0;
  }
  if (++settling_ < kSettleFrames) return;
  settling_ = 0;
  world.xwin = w;
  world.ywin = h;
  // A new back buffer in the same window where the backend can; otherwise
  // the view is opened anew (the window comes back centred).
  if (!ResizeGraphics(w, h)) {
    gui::release_renderer();
    world.changeres(0, 0, 1);
  }
  resize(w, h);
  title();
}

void editor::resize(int width, int height) {
  if (width == width_ && height == height_) return;
  width_ = width;
  height_ = height;
  world.xwin = width;
  world.ywin = height;
}

void editor::newlevel() {
  doc = {};
  hist = {};
  sel = {};
  path.clear();
  dirty = false;
  opened = {};
  rebuild();
  checker.reset(doc);
  title();
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
  rebuild();
  checker.reset(doc);
  title();
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

void editor::rebuild() {
  togame(doc, world);
  figuresstale_ = false;
  indexstale_ = true;
  linksstale_ = true;
  checker.markall(doc);
}

const spatialindex& editor::picking() {
  if (indexstale_ || index_.worn()) {
    index_.build(doc);
    indexstale_ = false;
  }
  return index_;
}

const std::vector<std::vector<int>>& editor::balllinks() {
  if (linksstale_) {
    balllinks_.assign(doc.balls.size(), {});
    for (int i = 0; i < int(doc.links.size()); i++) {
      balllinks_[size_t(doc.links[size_t(i)].b1)].push_back(i);
      if (doc.links[size_t(i)].b2 != doc.links[size_t(i)].b1)
        balllinks_[size_t(doc.links[size_t(i)].b2)].push_back(i);
    }
    linksstale_ = false;
  }
  return balllinks_;
}

void editor::syncball(int i) { toball(doc.balls[size_t(i)], *world.balllist[size_t(i)]); }

void editor::synclink(int i) {
  struct link& l = *world.linklist[size_t(i)];
  const ball *a = l.ball1, *b = l.ball2;
  tolink(doc.links[size_t(i)], l, world);
  // A link that joins other balls changes the figures.
  if (l.ball1 != a || l.ball2 != b) figuresstale_ = linksstale_ = indexstale_ = true;
}

void editor::follow(const step& s, bool forward) {
  game& w = world;
  // Nothing may keep naming records that go: the lists made from the
  // figures are made again before the next drawing.
  auto forget = [&] {
    w.dropsolver();
    w.osballlist.clear();
    w.oslinklist.clear();
    w.ostensionlist.clear();
    w.osobjects.clear();
    w.osvirtuallinkobjects.clear();
    w.drawlist.clear();
    w.virtuallinkobjectslist.clear();
    w.grouplist.clear();
    w.marionetobjectlist.clear();
    w.firstball = nullptr;
    w.grabbedball = nullptr;
    figuresstale_ = true;
  };
  checker.follow(doc, s, forward);
  switch (s.kind) {
    case step::set: {
      const bool grid = !indexstale_;
      const auto& around = balllinks();
      for (int i : s.balls.at) {
        syncball(i);
        if (grid) index_.addball(doc, i);
        for (int l : around[size_t(i)]) {
          checker.marklink(l);  // a link's length check looks at its balls
          if (grid) index_.addlink(doc, l);
        }
      }
      for (int i : s.links.at) {
        synclink(i);
        if (!indexstale_) index_.addlink(doc, i);
      }
      for (int i : s.tensions.at) totension(doc.tensions[size_t(i)], *w.TensionList[size_t(i)], w);
      for (int i : s.virtuals.at) {
        tovirtual(doc.virtuals[size_t(i)], *w.virtuallinklist[size_t(i)], w);
        figuresstale_ = true;
      }
      break;
    }
    case step::append:
      if (forward) {
        const size_t b0 = w.balllist.size(), l0 = w.linklist.size();
        for (size_t i = b0; i < doc.balls.size(); i++) w.balllist.push_back(newball(doc.balls[i], w));
        for (size_t i = l0; i < doc.links.size(); i++) w.linklist.push_back(newlink(doc.links[i], w));
        for (size_t i = w.TensionList.size(); i < doc.tensions.size(); i++)
          w.TensionList.push_back(newtension(doc.tensions[i], w));
        for (size_t i = w.virtuallinklist.size(); i < doc.virtuals.size(); i++)
          w.virtuallinklist.push_back(newvirtual(doc.virtuals[i], w));
        if (!linksstale_) {
          balllinks_.resize(doc.balls.size());
          for (size_t i = l0; i < doc.links.size(); i++) {
            balllinks_[size_t(doc.links[i].b1)].push_back(int(i));
            if (doc.links[i].b2 != doc.links[i].b1) balllinks_[size_t(doc.links[i].b2)].push_back(int(i));
          }
        }
        if (!indexstale_) {
          for (size_t i = b0; i < doc.balls.size(); i++) index_.addball(doc, int(i));
          for (size_t i = l0; i < doc.links.size(); i++) index_.addlink(doc, int(i));
        }
      } else {
        forget();
        w.balllist.resize(doc.balls.size());
        w.linklist.resize(doc.links.size());
        w.TensionList.resize(doc.tensions.size());
        w.virtuallinklist.resize(doc.virtuals.size());
        indexstale_ = linksstale_ = true;
      }
      figuresstale_ = true;
      break;
    case step::erase:
      forget();
      if (forward) {
        eraseat(w.balllist, s.balls.at);
        eraseat(w.linklist, s.links.at);
        eraseat(w.TensionList, s.tensions.at);
        eraseat(w.virtuallinklist, s.virtuals.at);
      } else {
        // The balls first: the links put back name them.
        insertat(w.balllist, s.balls.at, [&](size_t k) { return newball(s.balls.was[k], w); });
        insertat(w.linklist, s.links.at,
                 [&](size_t k) { return newlink(doc.links[size_t(s.links.at[k])], w); });
        insertat(w.TensionList, s.tensions.at,
                 [&](size_t k) { return newtension(doc.tensions[size_t(s.tensions.at[k])], w); });
        insertat(w.virtuallinklist, s.virtuals.at,
                 [&](size_t k) { return newvirtual(doc.virtuals[size_t(s.virtuals.at[k])], w); });
      }
      indexstale_ = linksstale_ = true;
      break;
    case step::tofront:
      if (s.first > 0 && s.first < int(w.balllist.size())) {
        forget();
        const auto b = w.balllist.begin();
        if (forward)
          std::rotate(b, b + s.first, b + s.first + 1);
        else
          std::rotate(b, b + 1, b + s.first + 1);
        indexstale_ = linksstale_ = true;
      }
      break;
    case step::whole:
      rebuild();
      break;
  }
  std::erase_if(sel.balls, [&](int i) { return i >= int(doc.balls.size()); });
  std::erase_if(sel.links, [&](int i) { return i >= int(doc.links.size()); });
  // A tension half made names balls by their numbers, which this may change.
  if (s.kind != step::set) pending.clear();
}

void editor::commit(step s) {
  if (s.kind != step::whole && s.kind != step::tofront && s.balls.empty() && s.links.empty() &&
      s.tensions.empty() && s.virtuals.empty())
    return;
  follow(s, true);
  hist.record(std::move(s));
  dirty = true;
  title();
}

void editor::change(const document& before) {
  if (before == doc) return;
  commit(difference(before, doc));
}

step editor::changing(const std::vector<int>& balls, const std::vector<int>& links,
                      const std::vector<int>& tensions) {
  step s;
  s.kind = step::set;
  s.balls.at = balls;
  for (int i : balls) s.balls.was.push_back(doc.balls[size_t(i)]);
  s.links.at = links;
  for (int i : links) s.links.was.push_back(doc.links[size_t(i)]);
  s.tensions.at = tensions;
  for (int i : tensions) s.tensions.was.push_back(doc.tensions[size_t(i)]);
  return s;
}

namespace {
// Keeps the records that did change, with what they became.
template <class T>
void keepchanged(records<T>& r, const std::vector<T>& now) {
  records<T> out;
  for (size_t k = 0; k < r.at.size(); k++) {
    const T& v = now[size_t(r.at[k])];
    if (v == r.was[k]) continue;
    out.at.push_back(r.at[k]);
    out.was.push_back(std::move(r.was[k]));
    out.now.push_back(v);
  }
  r = std::move(out);
}
}  // namespace

void editor::changed(step s) {
  keepchanged(s.balls, doc.balls);
  keepchanged(s.links, doc.links);
  keepchanged(s.tensions, doc.tensions);
  keepchanged(s.virtuals, doc.virtuals);
  commit(std::move(s));
}

std::array<size_t, 4> editor::adding() const {
  return {doc.balls.size(), doc.links.size(), doc.tensions.size(), doc.virtuals.size()};
}

void editor::added(const std::array<size_t, 4>& before) {
  step s;
  s.kind = step::append;
  s.balls.now.assign(doc.balls.begin() + ptrdiff_t(before[0]), doc.balls.end());
  s.links.now.assign(doc.links.begin() + ptrdiff_t(before[1]), doc.links.end());
  s.tensions.now.assign(doc.tensions.begin() + ptrdiff_t(before[2]), doc.tensions.end());
  s.virtuals.now.assign(doc.virtuals.begin() + ptrdiff_t(before[3]), doc.virtuals.end());
  commit(std::move(s));
}

void editor::remove(const selection& which) {
  step s = erasure(doc, which);
  if (s.balls.empty() && s.links.empty()) return;
  apply(doc, s, true);
  commit(std::move(s));
}

void editor::tofront(int ball) {
  if (ball <= 0 || ball >= int(doc.balls.size())) return;
  step s;
  s.kind = step::tofront;
  s.first = ball;
  apply(doc, s, true);
  commit(std::move(s));
}

void editor::undo() {
  if (const step* s = hist.undo()) {
    apply(doc, *s, false);
    follow(*s, false);
    dirty = true;
    title();
  }
}

void editor::redo() {
  if (const step* s = hist.redo()) {
    apply(doc, *s, true);
    follow(*s, true);
    dirty = true;
    title();
  }
}

void editor::title() {
  SetAppTitle(std::string(dirty ? "* " : "") + (path.empty() ? "new level" : path) + " - tumbo-edit");
}

void editor::startplay() {
  // The level goes through a file and the game's own set-up, as a level of
  // a campaign does; the document itself is never touched by play. The file
  // is a temporary one, gone once the game has read it.
  playfile = gui::temporary_file("tumbo-edit-play");
  if (playfile.empty() || !WriteTextFileSafely(playfile, doclines(doc))) {
    message = "test play needs a temporary file, and none can be written";
    if (!playfile.empty()) gui::remove_file(playfile);
    playfile.clear();
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
  p.setuplevelfile(playfile, 1);
  gui::remove_file(playfile);
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
  fitwindow();
  // The checker catches up a slice at a time, so that no frame waits for it.
  checker.work(doc, kCheckSlice);
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
  const double stride = 20 / zoom;
  if (KeyHeld(KEY_LEFT)) cx -= stride;
  if (KeyHeld(KEY_RIGHT)) cx += stride;
  if (KeyHeld(KEY_UP)) cy -= stride;
  if (KeyHeld(KEY_DOWN)) cy += stride;
  if (KeyPresses(KEY_F1)) help = !help;
  // Edits wait for the drag under way to end: it holds the records it moves.
  if (dragging >= 1 && dragging <= 4) return;
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
      const auto before = adding();
      const double dx = worldx(MouseX()) - clipboard.balls.front().x;
      const double dy = worldy(MouseY()) - clipboard.balls.front().y;
      sel = {};
      sel.balls = pastein(doc, clipboard, dx, dy);
      added(before);
    }
    if (KeyPresses(KEY_D) && !sel.balls.empty()) {
      const auto before = adding();
      const document piece = copyof(doc, sel);
      sel = {};
      sel.balls = pastein(doc, piece, gridstep, gridstep);
      added(before);
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
    tofront(sel.balls.front());
    sel.balls = {0};
  }
  if (KeyPresses(KEY_DELETE) || KeyPresses(KEY_BACKSPACE)) {
    if (!sel.empty()) {
      const selection gone = sel;
      sel = {};
      remove(gone);
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
    pressball = picking().ballat(doc, wx, wy);
    const bool shift = KeyHeld(KEY_SHIFT) != 0;
    switch (tool) {
      case 0: {
        const int l = pressball < 0 ? picking().linkat(doc, wx, wy) : -1;
        if (pressball >= 0) {
          if (shift)
            sel.toggleball(pressball);
          else if (!sel.hasball(pressball))
            sel = {{pressball}, {}};
          drag_ = changing(sel.balls, {});
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
        const auto before = adding();
        edball b;
        b.x = b.anchorx = snapped(wx);
        b.y = b.anchory = snapped(wy);
        doc.balls.push_back(b);
        sel = {{int(doc.balls.size()) - 1}, {}};
        added(before);
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
          const auto before = adding();
          const edball &a = doc.balls[size_t(pending[0])], &j = doc.balls[size_t(pending[1])],
                       &c = doc.balls[size_t(pending[2])];
          doc.tensions.push_back({pending[0], pending[1], pending[2], restangle(a, j, c), 50});
          pending.clear();
          added(before);
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
      // Positions change in place while dragging; the edit is recorded on release.
      for (int i : sel.balls) syncball(i);
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
    const int target = dragging >= 3 ? picking().ballat(doc, wx, wy) : -1;
    if (dragging == 1) {
      changed(std::move(drag_));
      drag_ = {};
    } else if (dragging == 2) {
      for (int i : picking().ballsin(doc, pressx, pressy, wx, wy))
        if (!sel.hasball(i)) sel.toggleball(i);
    } else if (target >= 0 && target != pressball) {
      const auto before = adding();
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
      added(before);
    }
    dragging = 0;
  }
  curx_ = wx;
  cury_ = wy;
}

}  // namespace edit
