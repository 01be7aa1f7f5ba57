// The one central record of the game. Almost all behaviour is a method of
// `game`; the methods live in the subsystem folders:
//   world/  game.cpp (construction), step.cpp, constraints.cpp, constraints_wide.cpp, draw.cpp,
//           level_file.cpp
//   play/   culling.cpp, collide.cpp, level_loop.cpp, campaign.cpp, sparks.cpp
//   app/    startup.cpp, menus.cpp, prefs.cpp, scores.cpp, music.cpp
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "world/records.h"

// Single-precision constants used in double arithmetic.
constexpr double kGravity = 0.2f;          // 0.20000000298023224
constexpr double kDamping = 0.999f;        // velocity kept per frame
constexpr double kHeavyMass = 99.0;        // anchored balls barely move under links
constexpr double kNearZero = 0.00001f;     // 9.999999747378752e-06: length guard
constexpr int kConstraintPasses = 20;

// World-to-screen transform: extent/2 + zoom * (coordinate - centre).
inline double screenx(double x, double center, double zoom, double extent) {
  return extent / 2 + zoom * (x - center);
}
inline double screeny(double y, double center, double zoom, double extent) {
  return extent / 2 + zoom * (y - center);
}

// Angles in single precision, as the joints measure them.
double wrap360(float a);
double wrap180(float a);
double atan2deg(double y, double x);

// Line geometry used by the collision pass.
std::array<double, 2> projectonline(double px, double py, double x1, double y1, double x2, double y2);
double distancetoline(double px, double py, double x1, double y1, double x2, double y2);

// The frame's compact constraint solver (world/constraints_wide.cpp).
struct framesolver;
struct framesolverdrop {
  void operator()(framesolver* fs) const;
};

class game {
 public:
  game();
  ~game();
  game(const game&) = delete;
  game& operator=(const game&) = delete;

  // ---- World lists (master lists own their records; the others share them)
  std::vector<std::unique_ptr<ball>> balllist;
  std::vector<std::unique_ptr<struct link>> linklist;
  std::vector<std::unique_ptr<tension>> TensionList;
  std::vector<std::unique_ptr<struct link>> virtuallinklist;
  std::vector<std::unique_ptr<marionetobject>> marionetobjectlist;
  std::vector<std::unique_ptr<group>> grouplist;
  std::vector<std::unique_ptr<virtuallinkobject>> virtuallinkobjectslist;
  std::vector<ball*> osballlist;
  std::vector<struct link*> oslinklist;
  std::vector<tension*> ostensionlist;
  std::vector<marionetobject*> osobjects;
  std::vector<virtuallinkobject*> osvirtuallinkobjects;
  // Live spark bursts, newest first; bursts are recycled through dotpool so
  // that play does not allocate per frame.
  std::vector<dotburst*> dotlist;
  std::vector<std::unique_ptr<dotburst>> dotpool;
  std::vector<dotburst*> dotfree;

  // ---- World settings
  double gravity = kGravity;
  double slower = 1.0;
  int slowtime = 0;
  int oldtime = 0;
  double zoom = 1.0;
  double xcenter = 0, ycenter = 384;
  double leftborder = 0, rightborder = 0, upborder = 0, downborder = 768;
  double delimiter = 0;
  int xwin = 1024, ywin = 768;
  ball* firstball = nullptr;
  int gamecolors = 30;
  int unicol[30][3] = {};
  int adder[30][3] = {};
  double g = 0;

  // ---- Media
  sprite logo, sparki, platformsprite, tumbosprite, ballsprite;
  font gamefont;

  // ---- Play state
  int alreadysound = 0;
  int changetime = 0;
  int lives = 0;
  int level = 1;
  int drawing = -1;
  std::string openedfilename;
  int time = 0;
  ball* grabbedball = nullptr;
  int balljump = 0;
  std::string mode = "game";
  int totalscore = 0, oldscore = 0, levelscore = 0, timebonus = 0;

  // ---- Preferences
  int optres = 3;
  int optfullscr = 0;
  int opttrailsize = 3;
  int optsoundsvol = 5;
  int optmusicvol = 5;

  // ---- Music and sound
  std::array<sound, 5> musics;
  int maxmusic = 1;
  int musicNumber = 1;
  channel musicChannel;
  sound jumpsound;

  // ---- Captions
  std::string scritta;
  int temposcritta = 0;

  // ---- High scores
  std::array<std::vector<highscore>, 3> scoreslist;
  std::string name;
  std::array<std::string, 30> characters;
  int charposition = 1;

  // ==== world/step.cpp
  void handleslower();
  void updatemass();
  void doanchor();
  void deltatimecount();
  // The world's part of a level frame: gravity, motion, anchors, 20 passes of
  // tensions then links, and the velocity update, over the on-screen lists.
  void stepworld();

  // ==== world/constraints.cpp
  void tensionballs();
  void shiftballs();
  // The frame's 20 passes of tensionballs then shiftballs over the on-screen
  // lists, run on compact copies of the records (same arithmetic, same bits).
  void constraintpasses();
  void constraintstep();
  // stepworld's motion and constraintstep in one walk over the records, when
  // the solver can take this frame's lists as laid out (false: nothing done).
  bool constraintmove();
  void solveconstraints(bool velocities);
  // The solver's layout of this world, kept from frame to frame; dropped
  // whenever the world is replaced, so it never names an old world's records.
  std::unique_ptr<framesolver, framesolverdrop> solverstate;
  void dropsolver();
  std::array<double, 5> partialshiftballs(const ball* b1, const ball* b2, double d) const;

  // ==== world/draw.cpp
  double screenx(double x) const { return ::screenx(x, xcenter, zoom, delimiter); }
  double screeny(double y) const { return ::screeny(y, ycenter, zoom, ywin); }
  void fixzoom();
  void varycol();
  void dobackground2();
  void drawballlinks();
  std::vector<balllink> drawlist;  // reused every frame
  // Room for sorting drawlist, reused every frame.
  std::vector<balllink> drawspare;

  // ==== world/level_file.cpp
  void openmarionet(int flag, const std::string& path);
  // Drops every record of the world and every list and layout that names them.
  void forgetworld();
  // Writes the world in the canonical layout; false when it cannot be written.
  bool savemarionet(const std::string& path);
  // The lines savemarionet writes (the balls renumbered 1, 2, 3 ...).
  std::vector<std::string> marionetlines();

  // ==== play/culling.cpp
  void defineobjects();
  void findonscreen(int flag);
  void updateballnumbers();
  void blockballsplay();

  // ==== play/collide.cpp
  int collision(ball* first, ball* second);
  int collisionbl(ball* b, struct link* l);
  void checkcollisions(std::string& result, int freeplay);
  void impactsound(int strength);

  // ==== play/level_loop.cpp
  std::string playlevel(const std::string& campaign, int lvl, int freeplay, int difficulty);
  void setuplevel(const std::string& campaign, int lvl);  // set-up steps 1 to 5
  void setuplevelfile(const std::string& path, int lvl);  // the same from a level file's path
  void levelframe(std::string& result, int freeplay, int difficulty);  // one frame, steps 1 to 24
  void died(std::string& result);
  void passedlevel(std::string& result, int freeplay);
  void changemodes(int difficulty, int freeplay);
  void moveball1();

  // ==== play/campaign.cpp
  void play();
  int playscreen();
  std::string chosecampaign();
  int freeplayscreen();
  void freeplay(const std::string& campaign);
  void playeasy(const std::string& campaign);
  void playmedium(const std::string& campaign);
  void playhard(const std::string& campaign);
  void playcampaign(const std::string& campaign, int difficulty);
  int chosescoresscreen(int first);
  void levelcompleted(int elapsed);
  void scrittelivello();

  // ==== play/sparks.cpp
  void handledotbursts(double z);

  // ==== app/startup.cpp
  void allgame();
  void initstuff();
  int changeres(int fullscreen, int res, int reopen);
  void checkclose();
  void shutdown();

  // ==== app/menus.cpp
  void drawlogo();
  int startscreen(int item);
  void optionsmenu();
  void controls();
  void doscritta(double yfraction);
  void countfps(int hide);
  void pause(std::string& result);
  // Layout helpers: n at the 1024-pixel reference, and a centred text.
  double at1024(double n) const { return n * xwin / 1024.0; }
  // Draws text centred across the window at the given scale and y, both as
  // drawn (callers convert with at1024), in the current colour; the drawing
  // scale is 1 again afterwards.
  void drawcentred(const std::string& text, double scale, double y);
  // The chooser pattern shared by the menu screens: forgets pending keys on
  // entry; each frame clears, cycles colours, draws the title and the entries
  // centred at scale (1024 reference) and y(k) (already in pixels, k from 1),
  // grey with the selection in colour 2; Up/Down move with wrap-around; Esc
  // hit returns backvalue, Enter or Space hit returns the selection.
  int menuscreen(const std::vector<std::string>& entries, double scale,
                 const std::function<double(int)>& y, int first, int backvalue);
  void drawtitle();

  // ==== app/prefs.cpp
  void initprefs();
  void readprefs();
  void writeprefs();

  // ==== app/scores.cpp
  void initscores();
  void readscores();
  void writescores();
  void sortscores(int difficulty);
  void updatescores(const std::string& who, int points, int difficulty);
  int worstscore(int difficulty);
  void gameover(int elapsed, int difficulty);
  void showhighscores(int elapsed, int difficulty);
  void blackscores0();
  void blackscores(int difficulty);

  // ==== app/music.cpp
  void initmusic();
  void continuemusic();
  void stopmusic();
};
