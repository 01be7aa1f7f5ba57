// The records of the world: balls, links, tensions, figures, groups, figure
// pairs, drawing-order entries, spark bursts and high-score entries.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class game;
struct marionetobject;

// Whether a ball's or link's kind is the one named (the length is compared first).
inline bool iskind(const std::string& kind, std::string_view name) { return std::string_view(kind) == name; }

// One simulated disc. The step and the culling touch only the first fields
// (position, shifts, masses, velocity, anchoring, size), so they lie together
// at the front; the constructor still draws its random defaults in the
// record's own order (col, x, y, color).
struct ball {
  double x = 0, y = 0;
  double shiftx = 0, shifty = 0;
  double actualmass = 0;
  int slot = -1;  // scratch: the ball's place in the frame's constraint solver
  double oldx = 0, oldy = 0;
  double xv = 0, yv = 0;
  int anchored = 1;
  int rebounded = 0;
  int onscreen = 0;
  double m = 1.0;
  double r = 15.0;
  double anchorx = 0, anchory = 0;
  // Then what drawing a ball reads and writes.
  int tumbo = 0;
  int rolling = 0;
  game* gamoz = nullptr;
  double xapp = 0, yapp = 0;
  double rapp = 0;
  std::string kind = "normal";

  marionetobject* ballmarionetobject = nullptr;
  int single = 0;
  double balltension = 0;
  double rmult = 1.0;
  int puttension = 0;
  int ballobjectnum = 0;
  int col = 0;
  int shooting = 0;
  int number = 0;
  std::array<int, 3> color{};

  ball();  // random col, x, y, color from the platform generator
  void updatev(double s);
  void updateapp();
  void draw(int flag);
};

// A distance constraint between two balls, drawn as a bar.
// The POSIX function link(), which the standard headers declare, hides this
// type's plain name: write `struct link` wherever the type is named.
struct link {
  int onscreen = 0;
  std::string kind = "normal";
  std::array<double, 5> x{}, y{};        // outline corners 1..4
  std::array<double, 5> xapp{}, yapp{};  // the same on screen
  game* gamoz = nullptr;
  ball* ball1 = nullptr;
  ball* ball2 = nullptr;
  double distance = 0;
  double width = 3.0;
  std::array<int, 3> color{};

  link();  // random color
  void Draw();
};

// An angle constraint at ball2, the joint between the arms to ball1 and ball3.
struct tension {
  ball* ball1 = nullptr;
  ball* ball2 = nullptr;
  ball* ball3 = nullptr;
  double angle = 0;
  double strength = 0;

  void partialtension(double s);
};

// A drawing-order entry: a ball or a link and its sort key.
struct balllink {
  ball* ball1 = nullptr;
  struct link* link1 = nullptr;
  double size = 0;
  int order = 0;  // position in the unsorted list: equal sizes keep it

  void draw();
  void setsize();
  int Compare(const balllink& other) const;
};

// A figure: balls connected by links.
struct marionetobject {
  int groupnum = 0;
  int objnum = 0;
  std::vector<ball*> balllist;
  std::vector<struct link*> linklist;
  std::vector<tension*> TensionList;  // stays empty
  double xmax = 0, xmin = 0, ymax = 0, ymin = 0;
};

// Figures joined through collision pairs; the unit of on-screen culling.
struct group {
  std::vector<marionetobject*> objectlist;
  int number = 0;
  double xmax = 0, xmin = 0, ymax = 0, ymin = 0;
};

// Two figures whose balls and links collide with each other.
struct virtuallinkobject {
  marionetobject* obj1 = nullptr;
  marionetobject* obj2 = nullptr;
};

// One burst of sparks; the player's trail uses one spark at rest.
struct dotburst {
  game* gamoz = nullptr;
  double alpha = 1.0;
  int number = 0;
  std::array<double, 10> x{}, y{}, xv{}, yv{};
  std::array<int, 3> color{};
  bool dead = false;  // faded out; removed from the list after the walk

  void init(double px, double py, double vx, double vy, int n, int a, double b, game* owner, int c);
  void update(double unused);
  void draw(double zoom);
};

// One entry of a high-score table.
struct highscore {
  int64_t points = 0;
  std::string name;
  // 1 when other's points are smaller than this entry's, otherwise -1.
  int Compare(const highscore& other) const { return other.points < points ? 1 : -1; }
};
