// Drawing the world: the view that follows the player's ball, the slow
// background grid, the cycling colours, and balls and links drawn smallest
// first with the player's ball on top.
#include <algorithm>
#include <cmath>

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
  if (kind == "background") SetAlpha(0.5);
  if (this == gm.firstball) {
    SetColor(gm.unicol[0][0], gm.unicol[0][1], gm.unicol[0][2]);
  } else if (kind == "damaging") {
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
  if (kind == "damaging") {
    SetColor(255, 0, 0);
  } else if (kind == "stop") {
    SetColor(gm.unicol[1][0], gm.unicol[1][1], gm.unicol[1][2]);
  } else if (kind == "virtual") {
    SetColor(0, 255, 255);
    SetAlpha(0.5);
    width = kVirtualWidth;  // lasting: the collisions use it from now on
  } else {
    SetColor(255, 255, 255);
    if (kind == "background") SetAlpha(0.5);
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
  // Every ball and link of the world fits, so the list is sized once per level.
  drawlist.reserve(balllist.size() + linklist.size() + 1);
  for (ball* b : osballlist) {
    if (b != firstball) drawlist.push_back(balllink{b, nullptr, 0});
  }
  for (struct link* l : oslinklist) drawlist.push_back(balllink{nullptr, l, 0});
  for (size_t i = 0; i < drawlist.size(); ++i) {
    drawlist[i].setsize();
    drawlist[i].order = static_cast<int>(i);
  }
  // Compare is not a strict weak ordering (it never reports equality), so sort
  // on the same key made total: ascending size, and entries of equal size keep
  // their list order, balls before links. An in-place sort keeps the frame
  // free of allocations; a size that is not a number sorts first.
  std::sort(drawlist.begin(), drawlist.end(), [](const balllink& a, const balllink& b) {
    const double sa = std::isnan(a.size) ? -HUGE_VAL : a.size;
    const double sb = std::isnan(b.size) ? -HUGE_VAL : b.size;
    return sa < sb || (sa == sb && a.order < b.order);
  });
  drawlist.push_back(balllink{firstball, nullptr, 0});
  for (balllink& e : drawlist) e.draw();
}
