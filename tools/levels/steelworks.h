// Steelworks: iron, chains and fire among chimneys, girders, gears and pipes.
#pragma once
#include <utility>
#include <vector>

#include "tools/levels/levels.h"

// The campaign's own scenery and pieces, shared by its level files.
namespace levels::steelworkslook {

using kit::level;
using kit::piece;

inline const kit::rgb kSoot{70, 70, 80};
inline const kit::rgb kBrass{190, 150, 70};

void chimney(level& k, double x, double y, double h);
void girder(level& k, double x1, double y1, double x2, double y2, double depth = 40, int bays = 6);
void gear(level& k, double x, double y, double r, int teeth = 10);
void pipe(level& k, const std::vector<std::pair<double, double>>& pts, double w = 9);
void hangchain(level& k, double x, double y, double len);
piece floor(level& k, const std::vector<std::pair<double, double>>& pts, double w = 14);
void startat(level& k, double x, double y);
void weight(level& k, double px, double len, double x1, double y1, double x2, double y2, double sag, double angle);
void pier(level& k, double x, double y, double bar = 20, double lip = 30);

}  // namespace levels::steelworkslook

namespace levels {

// Levels that have a file of their own under tools/levels/steelworks/.
void steelworks2(kit::level& k);
void steelworks3(kit::level& k);
void steelworks4(kit::level& k);
void steelworks5(kit::level& k);
void steelworks6(kit::level& k);
void steelworks7(kit::level& k);
void steelworks8(kit::level& k);
void steelworks9(kit::level& k);
void steelworks10(kit::level& k);

}  // namespace levels
