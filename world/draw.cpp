// Drawing the world: the view that follows the player's ball, the slow
// background grid, the cycling colours, and balls and links drawn smallest
// first with the player's ball on top.
#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

#include "world/game.h"

namespace {

// Single-precision constants used in double arithmetic.
constexpr double kBallScale = 1.0f / 148;  // sprite scale per screen pixel of radius
constexpr double kLinkAlong = 0.0025f;     // sprite scale per screen pixel of length
constexpr double kLinkAcross = 0.02f;      // sprite scale per world unit of half-width, times zoom
constexpr double kVirtualWidth = 7.0;
constexpr double kPanStep = 14.0;
constexpr double kMinZoom = 0.01f;
constexpr double kMaxZoom = 100.0;
constexpr double kCameraDepth = 2000.0;  // the camera never follows deeper than this
constexpr double kGrid = 500.0;
constexpr int kColourStep = 2;

double guard(double v) { return std::fabs(v) < kNearZero ? kNearZero : v; }

// The draw list's sort key as an unsigned integer in the same order: ascending
// size, with a size that is not a number first (as minus infinity) and -0
// equal to 0.
uint64_t sizekey(double size) {
  if (std::isnan(size)) size = -HUGE_VAL;
  if (size == 0) size = 0;
  const auto bits = std::bit_cast<uint64_t>(size);
  return bits >> 63 ? ~bits : bits | uint64_t(1) << 63;
}

// Sorts list by size key with a stable radix sort, one byte per pass, using
// spare as room of the same size. Only the bytes in which the keys differ get
// a pass: a level's few distinct sizes need one or two.
void sortbysize(std::vector<balllink>& list, std::vector<balllink>& spare) {
  const size_t n = list.size();
  if (n < 2) return;
  const uint64_t first = sizekey(list[0].size);
  uint64_t differ = 0;
  for (const balllink& e : list) differ |= sizekey(e.size) ^ first;
  spare.resize(n);
  balllink* from = list.data();
  balllink* to = spare.data();
  for (int shift = 0; shift < 64; shift += 8) {
    if (((differ >> shift) & 0xff) == 0) continue;
    std::array<uint32_t, 256> at{};
    for (size_t i = 0; i < n; ++i) at[(sizekey(from[i].size) >> shift) & 0xff]++;
    uint32_t sum = 0;
    for (uint32_t& v : at) sum += std::exchange(v, sum);
    for (size_t i = 0; i < n; ++i) to[at[(sizekey(from[i].size) >> shift) & 0xff]++] = from[i];
    std::swap(from, to);
  }
  if (from != list.data()) list.swap(spare);  // both keep their room for the next frame
}

// Asks for every cache line of a record ahead of its use.
template <class T>
void prefetch(const T* p) {
  for (size_t at = 0; at < sizeof(T); at += 64) __builtin_prefetch(reinterpret_cast<const char*>(p) + at);
}

}  // namespace

void ball::updateapp() {
  xapp = gamoz->screenx(x);
  yapp = gamoz->screeny(y);
  rapp = r * gamoz->zoom;
}

// The flag is always 0.
void ball::draw(int /*flag*/) {
  const game& gm = *gamoz;
  updateapp();
  if (iskind(kind, "background")) SetAlpha(0.5);
  if (this == gm.firstball) {
    SetColor(gm.unicol[0][0], gm.unicol[0][1], gm.unicol[0][2]);
  } else if (iskind(kind, "damaging")) {
    SetColor(255, 0, 0);
  } else {
    SetColor(255, 255, 255);
  }
  SetDrawScale(rapp * kBallScale, rapp * kBallScale);
  DrawSprite(tumbo == 0 ? gm.ballsprite : gm.tumbosprite, xapp, yapp);
  SetDrawScale(1, 1);
  SetAlpha(1);
}

void link::Draw() {
  const game& gm = *gamoz;
  if (iskind(kind, "damaging")) {
    SetColor(255, 0, 0);
  } else if (iskind(kind, "stop")) {
    SetColor(gm.unicol[1][0], gm.unicol[1][1], gm.unicol[1][2]);
  } else if (iskind(kind, "virtual")) {
    SetColor(0, 255, 255);
    SetAlpha(0.5);
    width = kVirtualWidth;  // lasting: the collisions use it from now on
  } else {
    SetColor(255, 255, 255);
    if (iskind(kind, "background")) SetAlpha(0.5);
  }

  const double ax = ball1->x, ay = ball1->y, bx = ball2->x, by = ball2->y;
  const double dx = bx - ax, dy = by - ay;
  double h = std::sqrt(dx * dx + dy * dy) / 2;
  if (h < kNearZero) h = kNearZero;
  const double t = (width / 2) / h;
  x = {0, ax - t * dy, bx - t * dy, bx + t * dy, ax + t * dy};
  y = {0, ay + t * dx, by + t * dx, by - t * dx, ay - t * dx};
  for (int i = 1; i <= 4; ++i) {
    xapp[i] = gm.screenx(x[i]);
    yapp[i] = gm.screeny(y[i]);
  }

  const double A = gm.screenx(ax), B = gm.screenx(bx), C = gm.screeny(ay), D = gm.screeny(by);
  const double sdy = D - C;
  const double sdx = guard(B - A);
  const double S = std::sqrt((B - A) * (B - A) + sdy * sdy);
  // The sprite is symmetric, so fold the angle into (-135, 45].
  double rho = ATan(sdy / sdx);
  if (rho > 45) rho -= 180;
  SetDrawRotation(rho);
  SetDrawScale(kLinkAlong * S, kLinkAcross * (width / 2) * gm.zoom);
  DrawSprite(gm.platformsprite, (A + B) / 2, (C + D) / 2);
  SetDrawScale(1, 1);
  SetDrawRotation(0);
  SetAlpha(1);
}

void balllink::setsize() { size = ball1 ? ball1->r : link1 ? link1->width : 0; }

// Never reports equality: an entry counts as smaller than any entry of equal
// size.
int balllink::Compare(const balllink& other) const { return other.size >= size ? -1 : 1; }

void balllink::draw() {
  if (ball1) ball1->draw(0);
  if (link1) link1->Draw();
}

void game::fixzoom() {
  const double step = kPanStep / zoom;
  if (KeyHeld(KEY_A)) xcenter -= step;
  if (KeyHeld(KEY_D)) xcenter += step;
  if (KeyHeld(KEY_S)) ycenter += step;
  if (KeyHeld(KEY_W)) ycenter -= step;
  zoom = std::min(std::max(zoom, kMinZoom), kMaxZoom);
  // The borders describe this view before the camera follows the ball: the
  // next frame's on-screen selection uses them.
  rightborder = xcenter + delimiter / 2 / zoom;
  leftborder = xcenter - delimiter / 2 / zoom;
  upborder = ycenter - ywin / 2.0 / zoom;
  downborder = ycenter + ywin / 2.0 / zoom;
  if (firstball) {
    xcenter = firstball->x;
    ycenter = firstball->y;
  }
  ycenter = std::min(ycenter, kCameraDepth);
}

void game::varycol() {
  for (int i = 0; i < gamecolors; ++i) {
    for (int j = 0; j < 3; ++j) {
      if (RandomReal(0, 1000) > 990) adder[i][j] = -adder[i][j];
      if (unicol[i][j] > 252) adder[i][j] = -kColourStep;
      if (unicol[i][j] <= 3) adder[i][j] = kColourStep;
      unicol[i][j] += adder[i][j];
    }
  }
}

void game::dobackground2() {
  // A smaller zoom than the world's, so the grid drifts slower than the world.
  const double z = 1 / (1 / zoom + 1);
  const int gx = TruncInt(kGrid * std::floor((xcenter - xwin / 2.0 / zoom) / kGrid));
  const int gy = TruncInt(kGrid * std::floor((ycenter - ywin / 2.0 / zoom) / kGrid));
  const int n = TruncInt(std::floor(xwin / kGrid / zoom) + 2);
  const int grey = TruncInt(120.0 * zoom);
  SetColor(grey, grey, grey);
  for (int i = 0; i <= n; ++i) {
    const double u = ::screenx(gx + kGrid * i, xcenter, z, delimiter);
    const double v = ::screeny(gy + kGrid * i, ycenter, z, ywin);
    if (u > 0 && u < xwin) DrawLine(u, 0, u, ywin, 1);
    if (v > 0 && v < ywin) DrawLine(0, v, xwin, v, 1);
  }
}

void game::drawballlinks() {
  drawlist.clear();
  // Every ball and link of the world fits, so the lists are sized once per level.
  const size_t room = balllist.size() + linklist.size() + 1;
  drawlist.reserve(room);
  drawspare.reserve(room);
  auto add = [this](ball* b, struct link* l) {
    balllink& e = drawlist.emplace_back(balllink{b, l, 0, static_cast<int>(drawlist.size())});
    e.setsize();
  };
  // The size is the first thing read from each record: ask for them ahead.
  constexpr size_t kAhead = 8;
  for (size_t i = 0; i < osballlist.size(); i++) {
    if (i + kAhead < osballlist.size()) __builtin_prefetch(&osballlist[i + kAhead]->r);
    if (osballlist[i] != firstball) add(osballlist[i], nullptr);
  }
  for (size_t i = 0; i < oslinklist.size(); i++) {
    if (i + kAhead < oslinklist.size()) __builtin_prefetch(&oslinklist[i + kAhead]->width);
    add(nullptr, oslinklist[i]);
  }
  // Compare is not a strict weak ordering (it never reports equality), so
  // sort on the same key made total: ascending size, and entries of equal
  // size keep their list order, balls before links.
  sortbysize(drawlist, drawspare);
  drawlist.push_back(balllink{firstball, nullptr, 0});
  // Size order is not the records' order in memory: fetch them some entries
  // ahead, and the ends of a link once its record has had time to arrive.
  const size_t n = drawlist.size();
  for (size_t i = 0; i < n; ++i) {
    if (i + kAhead < n) {
      const balllink& e = drawlist[i + kAhead];
      if (e.ball1) prefetch(e.ball1);
      if (e.link1) prefetch(e.link1);
    }
    if (i + kAhead / 2 < n) {
      if (const struct link* l = drawlist[i + kAhead / 2].link1) {
        __builtin_prefetch(l->ball1);
        __builtin_prefetch(l->ball2);
      }
    }
    drawlist[i].draw();
  }
}
