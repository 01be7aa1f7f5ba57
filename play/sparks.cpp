// The player's spark trail: every frame one spark is left where the ball is,
// and every spark fades out over 50 frames.
#include <algorithm>

#include "world/game.h"

namespace {
// Alpha lost per frame. Taken in double precision, so a spark fades out at
// exactly its 50th update (in single precision it would take 51).
constexpr double kFade = 0.02;
constexpr double kSparkBase = 0.6;  // spark scale at trail size 0
// A spark lives 50 frames and one is left per frame, so the trail never uses
// more bursts than this: the pool is filled to it on first use and play then
// only recycles.
constexpr size_t kTrailBursts = 50;
}  // namespace

void dotburst::init(double px, double py, double vx, double vy, int n, int, double, game* owner, int) {
  gamoz = owner;
  dead = false;
  // The colour is taken now, so older sparks keep the colours of their time.
  color = {owner->unicol[0][0], owner->unicol[0][1], owner->unicol[0][2]};
  alpha = 1.0;
  number = std::clamp(n, 0, 9);
  for (int i = 1; i <= number; i++) {
    x[i] = px;
    y[i] = py;
    xv[i] = vx;
    yv[i] = vy;
  }
}

void dotburst::update(double) {
  alpha -= kFade;
  for (int i = 1; i <= number; i++) {
    x[i] += xv[i];
    y[i] += yv[i];
  }
  // Faded out: still drawn this frame, taken out of the list after the walk.
  if (alpha <= 0) dead = true;
}

void dotburst::draw(double zoom) {
  if (gamoz->opttrailsize <= 0) return;
  const double o = gamoz->opttrailsize / 10.0 + kSparkBase;
  SetBlend(BLEND_LIGHT);
  SetAlpha(alpha);
  SetColor(color[0], color[1], color[2]);
  SetDrawScale(zoom * o, zoom * o);
  const double w = SpriteWidth(gamoz->sparki), h = SpriteHeight(gamoz->sparki);
  for (int i = 1; i <= number; i++) {
    DrawSprite(gamoz->sparki, gamoz->screenx(x[i] - w * o / 2), gamoz->screeny(y[i] - h * o / 2));
  }
  SetDrawScale(1, 1);
  SetAlpha(1);
  SetBlend(BLEND_ALPHA);
}

void game::handledotbursts(double z) {
  // Without a player's ball there is nowhere to leave a spark this frame.
  if (dotpool.empty()) {
    dotlist.reserve(kTrailBursts);
    dotfree.reserve(kTrailBursts);
    for (size_t i = 0; i < kTrailBursts; i++) {
      dotpool.push_back(std::make_unique<dotburst>());
      dotfree.push_back(dotpool.back().get());
    }
  }
  if (firstball) {
    dotburst* d;
    if (dotfree.empty()) {
      dotpool.push_back(std::make_unique<dotburst>());
      d = dotpool.back().get();
    } else {
      d = dotfree.back();
      dotfree.pop_back();
    }
    d->init(firstball->x, firstball->y, 0, 0, 1, 1, 0, this, 0);
    dotlist.insert(dotlist.begin(), d);
  }
  for (dotburst* d : dotlist) {
    d->update(0);
    d->draw(z);
  }
  // Faded bursts go back to the pool; the live ones keep their order. The
  // compaction is done in place so that a frame allocates nothing.
  size_t kept = 0;
  for (dotburst* d : dotlist) {
    if (d->dead) {
      dotfree.push_back(d);
    } else {
      dotlist[kept++] = d;
    }
  }
  dotlist.resize(kept);
}
