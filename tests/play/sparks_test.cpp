// The player's spark trail.
#include <gtest/gtest.h>

#include "tests/play/level_support.h"

using levelplay::session;

namespace {

std::vector<headless::drawcall> sparkdraws() {
  std::vector<headless::drawcall> found;
  for (const headless::drawcall& c : headless::calls()) {
    if (c.kind == headless::op::sprite && c.text == "media/spark.png") found.push_back(c);
  }
  return found;
}

TEST(Sparks, ABurstStartsAtTheBallWithTheColourOfItsTimeAndFades) {
  session s;
  game& g = *s.g;
  g.setuplevel("testcamp", 3);
  g.firstball = g.balllist.front().get();
  g.unicol[0][0] = 10;
  g.unicol[0][1] = 20;
  g.unicol[0][2] = 30;
  g.handledotbursts(1.0);
  ASSERT_EQ(g.dotlist.size(), 1u);
  dotburst* first = g.dotlist.front();
  EXPECT_EQ(first->number, 1);
  EXPECT_EQ(first->x[1], 512.0);
  EXPECT_EQ(first->y[1], 300.0);
  EXPECT_DOUBLE_EQ(first->alpha, 0.98);
  EXPECT_EQ(first->color, (std::array<int, 3>{10, 20, 30}));
  // A later colour does not repaint the older spark; the newest comes first.
  g.unicol[0][0] = 200;
  g.firstball->x = 600;
  g.handledotbursts(1.0);
  ASSERT_EQ(g.dotlist.size(), 2u);
  EXPECT_EQ(g.dotlist[1], first);
  EXPECT_EQ(first->color[0], 10);
  EXPECT_EQ(g.dotlist[0]->color[0], 200);
  EXPECT_EQ(g.dotlist[0]->x[1], 600.0);
  EXPECT_EQ(first->x[1], 512.0);  // sparks of the trail stay where they were left
}

TEST(Sparks, TheTrailHoldsAboutFiftyBurstsAndReusesThem) {
  session s;
  game& g = *s.g;
  g.setuplevel("testcamp", 3);
  g.firstball = g.balllist.front().get();
  for (int i = 0; i < 49; i++) g.handledotbursts(1.0);
  EXPECT_EQ(g.dotlist.size(), 49u);
  g.handledotbursts(1.0);
  // The oldest had its 50th update this frame: drawn once more, then gone.
  EXPECT_EQ(g.dotlist.size(), 49u);
  EXPECT_EQ(g.dotfree.size(), 1u);
  for (int i = 0; i < 200; i++) g.handledotbursts(1.0);
  EXPECT_EQ(g.dotlist.size(), 49u);
  EXPECT_LE(g.dotpool.size(), 51u);  // recycled, not made anew
  for (size_t i = 1; i < g.dotlist.size(); i++) EXPECT_GT(g.dotlist[i - 1]->alpha, g.dotlist[i]->alpha);
  // A new level starts without a trail.
  g.setuplevel("testcamp", 3);
  EXPECT_TRUE(g.dotlist.empty());
}

TEST(Sparks, SparksAreDrawnAdditivelyAtTheirSizeOrNotAtAll) {
  session s;
  game& g = *s.g;
  g.setuplevel("testcamp", 3);
  g.delimiter = 1024;
  g.xcenter = 512;
  g.ycenter = 300;
  g.firstball = g.balllist.front().get();
  g.opttrailsize = 4;
  g.zoom = 0.5;
  headless::clear_calls();
  g.handledotbursts(g.zoom);
  std::vector<headless::drawcall> d = sparkdraws();
  ASSERT_EQ(d.size(), 1u);
  const double o = 0.4 + 0.6;
  const double w = SpriteWidth(g.sparki), h = SpriteHeight(g.sparki);
  EXPECT_EQ(d[0].blend, BLEND_LIGHT);
  EXPECT_NEAR(d[0].alpha, 0.98, 1e-6);
  EXPECT_NEAR(d[0].sx, 0.5 * o, 1e-6);
  EXPECT_NEAR(d[0].x, 512 + 0.5 * (512 - w * o / 2 - 512), 1e-4);
  EXPECT_NEAR(d[0].y, 384 + 0.5 * (300 - h * o / 2 - 300), 1e-4);
  // The drawing state is back to normal afterwards.
  DrawLine(0, 0, 1, 1);
  const headless::drawcall& after = headless::calls().back();
  EXPECT_EQ(after.blend, BLEND_ALPHA);
  EXPECT_EQ(after.alpha, 1.0);
  EXPECT_EQ(after.sx, 1.0);

  // Trail size 0: updated and removed as ever, never drawn.
  g.opttrailsize = 0;
  headless::clear_calls();
  for (int i = 0; i < 60; i++) g.handledotbursts(1.0);
  EXPECT_TRUE(sparkdraws().empty());
  EXPECT_EQ(g.dotlist.size(), 49u);
}

// The size factor is a tenth of the trail size plus 0.6: at trail size 9 a
// spark is drawn at 1.5 times the zoom, its image's centre on the point.
TEST(Sparks, TheTrailSizeSetsTheSparkSize) {
  session s;
  game& g = *s.g;
  g.setuplevel("testcamp", 3);
  g.delimiter = 1024;
  g.xcenter = 400;
  g.ycenter = 200;
  g.firstball = g.balllist.front().get();  // at (512, 300)
  const double w = SpriteWidth(g.sparki), h = SpriteHeight(g.sparki);
  ASSERT_GT(w, 0);
  const struct {
    int size;
    double zoom, factor;
  } cases[] = {{9, 1.0, 1.5}, {1, 0.5, 0.7}, {10, 2.0, 1.6}, {7, 0.625, 1.3}};
  for (const auto& c : cases) {
    g.opttrailsize = c.size;
    g.zoom = c.zoom;
    g.dotlist.clear();
    headless::clear_calls();
    g.handledotbursts(g.zoom);
    std::vector<headless::drawcall> d = sparkdraws();
    ASSERT_EQ(d.size(), 1u);
    EXPECT_NEAR(d[0].sx, c.zoom * c.factor, 1e-9) << "size " << c.size;
    EXPECT_NEAR(d[0].sy, c.zoom * c.factor, 1e-9) << "size " << c.size;
    // Screen point of the world point (512 - w o / 2, 300 - h o / 2).
    EXPECT_NEAR(d[0].x, 512 + c.zoom * (512 - w * c.factor / 2 - 400), 1e-9) << "size " << c.size;
    EXPECT_NEAR(d[0].y, 384 + c.zoom * (300 - h * c.factor / 2 - 200), 1e-9) << "size " << c.size;
  }
}

TEST(Sparks, NoBallNoNewSpark) {
  session s;
  game& g = *s.g;
  g.setuplevel("testcamp", 3);
  g.firstball = g.balllist.front().get();
  for (int i = 0; i < 10; i++) g.handledotbursts(1.0);
  g.firstball = nullptr;
  for (int i = 0; i < 10; i++) g.handledotbursts(1.0);
  EXPECT_EQ(g.dotlist.size(), 10u);  // the old ones still fade
  for (int i = 0; i < 40; i++) g.handledotbursts(1.0);
  EXPECT_TRUE(g.dotlist.empty());
}

}  // namespace
