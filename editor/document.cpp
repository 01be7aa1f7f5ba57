// The document: the level's records by index, to and from the game's world,
// read and written by the game's own reader and writer.
#include <algorithm>
#include <cmath>

#include "editor/editor.h"

namespace edit {

document fromgame(const game& g) {
  document d;
  std::unordered_map<const ball*, int> at;
  for (const auto& b : g.balllist) {
    at[b.get()] = int(d.balls.size());
    d.balls.push_back({b->m, b->x, b->y, b->r, b->anchored, b->anchorx, b->anchory, b->balltension, b->color,
                       b->kind, b->rolling});
  }
  for (const auto& l : g.linklist)
    d.links.push_back({at[l->ball1], at[l->ball2], l->distance, l->width, l->color, l->kind});
  for (const auto& t : g.TensionList)
    d.tensions.push_back({at[t->ball1], at[t->ball2], at[t->ball3], t->angle, t->strength});
  for (const auto& l : g.virtuallinklist) d.virtuals.push_back({at[l->ball1], at[l->ball2]});
  return d;
}

void toball(const edball& e, ball& b) {
  b.m = e.m;
  b.x = b.oldx = e.x;
  b.y = b.oldy = e.y;
  b.r = e.r;
  b.anchored = e.anchored;
  b.anchorx = e.anchorx;
  b.anchory = e.anchory;
  b.balltension = e.balltension;
  b.color = e.color;
  b.kind = e.kind;
  b.rolling = e.rolling;
  b.tumbo = 0;
}

void tolink(const edlink& e, struct link& l, const game& g) {
  l.ball1 = g.balllist[size_t(e.b1)].get();
  l.ball2 = g.balllist[size_t(e.b2)].get();
  l.distance = e.distance;
  l.width = e.width;
  l.color = e.color;
  l.kind = e.kind;
}

void totension(const edtension& e, tension& t, const game& g) {
  t.ball1 = g.balllist[size_t(e.b1)].get();
  t.ball2 = g.balllist[size_t(e.b2)].get();
  t.ball3 = g.balllist[size_t(e.b3)].get();
  t.angle = e.angle;
  t.strength = e.strength;
}

void tovirtual(const edvirtual& e, struct link& l, const game& g) {
  l.ball1 = g.balllist[size_t(e.b1)].get();
  l.ball2 = g.balllist[size_t(e.b2)].get();
  l.kind = "virtual";
}

std::unique_ptr<ball> newball(const edball& e, game& g) {
  auto b = std::make_unique<ball>();
  toball(e, *b);
  b->gamoz = &g;
  return b;
}
std::unique_ptr<struct link> newlink(const edlink& e, game& g) {
  auto l = std::make_unique<struct link>();
  tolink(e, *l, g);
  l->gamoz = &g;
  return l;
}
std::unique_ptr<tension> newtension(const edtension& e, game& g) {
  auto t = std::make_unique<tension>();
  totension(e, *t, g);
  return t;
}
std::unique_ptr<struct link> newvirtual(const edvirtual& e, game& g) {
  auto l = std::make_unique<struct link>();
  tovirtual(e, *l, g);
  l->gamoz = &g;
  return l;
}

void togame(const document& d, game& g) {
  g.forgetworld();
  for (const edball& e : d.balls) g.balllist.push_back(newball(e, g));
  for (const edlink& e : d.links) g.linklist.push_back(newlink(e, g));
  for (const edtension& e : d.tensions) g.TensionList.push_back(newtension(e, g));
  for (const edvirtual& e : d.virtuals) g.virtuallinklist.push_back(newvirtual(e, g));
  g.firstball = g.balllist.empty() ? nullptr : g.balllist.front().get();
  g.defineobjects();
  g.updateballnumbers();
}

std::vector<std::string> doclines(const document& d) {
  game g;
  togame(d, g);
  return g.marionetlines();
}

document opendoc(const std::string& path) {
  game g;
  g.openmarionet(1, path);
  return fromgame(g);
}

bool savedoc(const document& d, const std::string& path, std::string& why) {
  game g;
  togame(d, g);
  if (g.savemarionet(path)) return true;
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
  if (path.empty())
    why = "no file name";
  else if (FileKind(path) == 2)
    why = path + " is a folder";
  else if (FileKind(folder) != 2)
    why = "the folder " + folder + " does not exist";
  else
    why = "cannot write " + path + " (no permission, or the disk is full)";
  return false;
}

std::vector<std::string> levelfiles() {
  std::vector<std::string> out;
  // A campaign's levels in play order: numbered ones by their number.
  auto byplay = [](const std::string& a, const std::string& b) {
    const bool na = !a.empty() && a.find_first_not_of("0123456789") == std::string::npos;
    const bool nb = !b.empty() && b.find_first_not_of("0123456789") == std::string::npos;
    if (na != nb) return na;
    if (na && a.size() != b.size()) return a.size() < b.size();
    return a < b;
  };
  for (const std::string& c : ListDirectory("campaigns")) {
    const std::string folder = "campaigns/" + c;
    if (FileKind(folder) != 2) continue;
    std::vector<std::string> names = ListDirectory(folder);
    std::sort(names.begin(), names.end(), byplay);
    for (const std::string& n : names)
      if (FileKind(folder + "/" + n) == 1) out.push_back(folder + "/" + n);
  }
  // Files of the working folder that begin as a level does.
  for (const std::string& n : ListDirectory(".")) {
    if (FileKind(n) != 1) continue;
    stream s = OpenTextRead(n);
    if (s && !s.Eof() && s.ReadLine() == "2") out.push_back(n);
  }
  return out;
}

double restangle(const edball& a, const edball& j, const edball& c) {
  const double dx1 = j.x - a.x, dy1 = j.y - a.y, dx2 = c.x - j.x, dy2 = c.y - j.y;
  const double a1 = std::atan2(dy1, -dx1) * 180 / M_PI, a2 = std::atan2(dy2, -dx2) * 180 / M_PI;
  double t = a1 - a2 + 180;
  while (t >= 360) t -= 360;
  while (t < 0) t += 360;
  return t;
}

}  // namespace edit
