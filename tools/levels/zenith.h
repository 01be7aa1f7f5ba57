// Zenith: cliffs, towers and chimneys of ice and stone above the clouds.
#pragma once
#include <utility>
#include <vector>

#include "tools/levels/levels.h"

// The campaign's own scenery and pieces, shared by its level files.
namespace levels::zenithlook {

using kit::level;
using kit::piece;

inline const kit::rgb kIce{190, 220, 240};
inline const kit::rgb kSnow{240, 245, 250};
inline const kit::rgb kFar{150, 160, 210};

void cloud(level& k, double x, double y, double s);
void bird(level& k, double x, double y, double s);
void spire(level& k, double x, double ybottom, double w, double h);
void sky(level& k, double x1, double y1, double x2, double y2, int n, double keepx1 = 0, double keepx2 = 0);
piece ice(level& k, const std::vector<std::pair<double, double>>& pts, double w = 12);
piece icicles(level& k, double x1, double x2, double y, int n, double h = 34);
std::vector<std::pair<double, double>> shaft(level& k, double x1, double x2, double ybottom, double ytop,
                                             int n, double rise, double len);

}  // namespace levels::zenithlook

namespace levels {

// The levels, a file each under tools/levels/zenith/.
void zenith1(kit::level& k);
void zenith2(kit::level& k);
void zenith3(kit::level& k);
void zenith4(kit::level& k);
void zenith5(kit::level& k);
void zenith6(kit::level& k);
void zenith7(kit::level& k);
void zenith8(kit::level& k);
void zenith9(kit::level& k);
void zenith10(kit::level& k);

}  // namespace levels
