// The view: the level drawn by the game's own drawing code at the editor's
// zoom and centre, then what only the editor shows over it.
#include <cmath>

#include "editor/editor.h"

namespace edit {

namespace {
void circle(double x, double y, double r) {
  constexpr int kSides = 20;
  for (int i = 0; i < kSides; i++) {
    const double a = 2 * M_PI * i / kSides, b = 2 * M_PI * (i + 1) / kSides;
    DrawLine(x + r * std::cos(a), y + r * std::sin(a), x + r * std::cos(b), y + r * std::sin(b));
  }
}
void label(const std::string& t, double x, double y) {
  SetDrawScale(0.11, 0.11);
  DrawString(t, x, y);
  SetDrawScale(1, 1);
}
}  // namespace

void editor::drawworld() {
  game& g = world;
  if (figuresstale_) {
    g.defineobjects();
    g.updateballnumbers();
    figuresstale_ = false;
  }
  g.zoom = zoom;
  g.xcenter = cx;
  g.ycenter = cy;
  g.delimiter = width_;
  g.leftborder = worldx(0);
  g.rightborder = worldx(width_);
  g.upborder = worldy(0);
  g.downborder = worldy(height_);
  g.firstball = g.balllist.empty() ? nullptr : g.balllist.front().get();
  // The player's ball as play shows it, for this drawing only: the world
  // keeps the document's values.
  if (g.firstball) {
    g.firstball->tumbo = 1;
    g.firstball->r = 20;
  }
  g.varycol();
  g.dobackground2();
  g.findonscreen(1);
  g.drawballlinks();
  if (g.firstball) toball(doc.balls.front(), *g.firstball);
}

void editor::drawoverlays() {
  // The snapping grid, where its lines are far enough apart to help.
  if (snap && gridstep * zoom >= 8) {
    SetColor(40, 60, 90);
    SetAlpha(0.5);
    const double x0 = std::floor(worldx(0) / gridstep) * gridstep;
    const double y0 = std::floor(worldy(0) / gridstep) * gridstep;
    for (double x = x0; screenx(x) < width_; x += gridstep) DrawLine(screenx(x), 0, screenx(x), height_);
    for (double y = y0; screeny(y) < height_; y += gridstep) DrawLine(0, screeny(y), width_, screeny(y));
    SetAlpha(1);
  }
  const double l = worldx(0), r = worldx(width_), t = worldy(0), b = worldy(height_);
  auto seen = [&](const edball& e) {
    return e.x + e.r >= l && e.x - e.r <= r && e.y + e.r >= t && e.y - e.r <= b;
  };
  // Figure and group outlines.
  SetColor(90, 90, 140);
  for (const auto& o : world.marionetobjectlist) {
    if (o->balllist.size() < 2 || o->xmax < l || o->xmin > r || o->ymax < t || o->ymin > b) continue;
    const double x1 = screenx(o->xmin), x2 = screenx(o->xmax), y1 = screeny(o->ymin), y2 = screeny(o->ymax);
    DrawLine(x1, y1, x2, y1);
    DrawLine(x2, y1, x2, y2);
    DrawLine(x2, y2, x1, y2);
    DrawLine(x1, y2, x1, y1);
  }
  // Pairs made by virtual links.
  SetColor(0, 200, 200);
  for (const edvirtual& v : doc.virtuals) {
    const edball &a = doc.balls[size_t(v.b1)], &c = doc.balls[size_t(v.b2)];
    DrawLine(screenx(a.x), screeny(a.y), screenx(c.x), screeny(c.y));
  }
  // Anchors and the rest angle of each tension.
  for (size_t i = 0; i < doc.balls.size(); i++) {
    const edball& e = doc.balls[i];
    if (!seen(e)) continue;
    if (e.anchored == 1) {
      SetColor(255, 200, 0);
      const double x = screenx(e.anchorx), y = screeny(e.anchory);
      DrawLine(x - 4, y, x + 4, y);
      DrawLine(x, y - 4, x, y + 4);
    }
    if (numbers) {
      SetColor(255, 255, 0);
      label(std::to_string(i + 1), screenx(e.x) + 4, screeny(e.y) - 6);
    }
  }
  SetColor(255, 120, 255);
  for (const edtension& tn : doc.tensions) {
    const edball& j = doc.balls[size_t(tn.b2)];
    if (!seen(j)) continue;
    const edball& a = doc.balls[size_t(tn.b1)];
    const double x = screenx(j.x), y = screeny(j.y), arm = 18;
    const double ang = std::atan2(a.y - j.y, a.x - j.x);
    DrawLine(x, y, x + arm * std::cos(ang), y + arm * std::sin(ang));
    label(std::to_string(int(std::lround(tn.angle))), x + 6, y + 4);
  }
  // The checker's findings, in red.
  SetColor(255, 40, 40);
  for (const levelfinding& f : findings().findings) {
    if (f.kind == 'b' && f.index >= 0 && f.index < int(doc.balls.size())) {
      const edball& e = doc.balls[size_t(f.index)];
      circle(screenx(e.x), screeny(e.y), e.r * zoom + 6);
    } else if (f.kind == 'l' && f.index >= 0 && f.index < int(doc.links.size())) {
      const edball &a = doc.balls[size_t(doc.links[size_t(f.index)].b1)],
                   &c = doc.balls[size_t(doc.links[size_t(f.index)].b2)];
      circle(screenx((a.x + c.x) / 2), screeny((a.y + c.y) / 2), 10);
    }
  }
  // The selection and what is being made.
  SetColor(80, 255, 80);
  for (int i : sel.balls) {
    const edball& e = doc.balls[size_t(i)];
    circle(screenx(e.x), screeny(e.y), e.r * zoom + 3);
  }
  for (int i : sel.links) {
    const edball &a = doc.balls[size_t(doc.links[size_t(i)].b1)],
                 &c = doc.balls[size_t(doc.links[size_t(i)].b2)];
    DrawLine(screenx(a.x), screeny(a.y) - 2, screenx(c.x), screeny(c.y) - 2);
    DrawLine(screenx(a.x), screeny(a.y) + 2, screenx(c.x), screeny(c.y) + 2);
  }
  for (int i : pending) {
    const edball& e = doc.balls[size_t(i)];
    circle(screenx(e.x), screeny(e.y), e.r * zoom + 6);
  }
  if (dragging == 2) {
    const double x1 = screenx(pressx), y1 = screeny(pressy), x2 = screenx(curx_), y2 = screeny(cury_);
    DrawLine(x1, y1, x2, y1);
    DrawLine(x2, y1, x2, y2);
    DrawLine(x2, y2, x1, y2);
    DrawLine(x1, y2, x1, y1);
  }
  if ((dragging == 3 || dragging == 4) && pressball >= 0) {
    const edball& e = doc.balls[size_t(pressball)];
    DrawLine(screenx(e.x), screeny(e.y), screenx(curx_), screeny(cury_));
  }
  SetColor(255, 255, 255);
}

}  // namespace edit
