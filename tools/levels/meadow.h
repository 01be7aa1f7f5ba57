// Meadow: trees, hedges, far hills, flowers and clouds.
#pragma once
#include <utility>
#include <vector>

#include "tools/levels/levels.h"

// The campaign's own scenery and pieces, shared by its level files.
namespace levels::meadowlook {

using kit::level;
using kit::piece;

void tree(level& k, double x, double y, double h);
void hillline(level& k, double x, double y, double w, double h);
void flowers(level& k, double x1, double x2, double y);
void hedge(level& k, double x1, double x2, double y);
void cloud(level& k, double x, double y, double s);

}  // namespace levels::meadowlook

namespace levels {

// Levels that have a file of their own under tools/levels/meadow/.
void meadow4(kit::level& k);
void meadow6(kit::level& k);
void meadow7(kit::level& k);
void meadow8(kit::level& k);
void meadow9(kit::level& k);
void meadow10(kit::level& k);

}  // namespace levels
