// High scores: three tables of twenty (easy, medium, hard), "scores.txt",
// the game-over name entry and the two views of a table.
#include <climits>
#include <string>
#include <utility>
#include <vector>

#include "world/game.h"

namespace {

constexpr int kTableSize = 20;
constexpr int kLongestName = 15;

// Characters a name may hold, besides letters and digits.
bool acceptedchar(int c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  static const std::string others = " @!#$%^&*()-_+=[]{}<>,.?/\\|:;'";
  return c > 0 && c < 128 && others.find(static_cast<char>(c)) != std::string::npos;
}

// Title and rows of a table, shared by the end-of-game view and the one
// reached from the main menu; rows appear one every 5 frames.
void drawtable(game& g, int elapsed, int difficulty) {
  SetColor(g.unicol[1][0], g.unicol[1][1], g.unicol[1][2]);
  if (elapsed > 0) g.drawcentred("HIGH SCORES", g.at1024(0.7), g.at1024(20));
  const double s = g.at1024(0.2);
  SetDrawScale(s, s);
  int i = 0;
  for (const highscore& entry : g.scoreslist[difficulty]) {
    ++i;
    if (elapsed <= 5 * i) break;
    const double y = g.at1024(100 + 30 * i);
    DrawString(std::to_string(i) + (i < 10 ? " " : "") + ": " + entry.name, g.at1024(270), y);
    const std::string points = std::to_string(entry.points);
    DrawString(points, g.xwin - g.at1024(270) - StringWidth(points) * s, y);
  }
  SetDrawScale(1, 1);
}

}  // namespace

void game::initscores() {
  for (auto& table : scoreslist) {
    for (int i = 0; i < kTableSize; ++i) table.push_back(highscore{0, "NOBODY"});
  }
}

void game::readscores() {
  stream file = OpenTextRead("scores.txt");
  if (!file) {
    writescores();
    file = OpenTextRead("scores.txt");
  }
  if (!file) return;
  // A short file changes only the first entries; the tables are not sorted.
  for (auto& table : scoreslist) {
    for (highscore& entry : table) {
      if (!file.Eof()) entry.name = file.ReadLine();
      if (!file.Eof()) entry.points = ToLong(file.ReadLine());
    }
  }
  file.Close();
}

void game::writescores() {
  std::vector<std::string> lines;
  for (const auto& table : scoreslist) {
    for (const highscore& entry : table) {
      lines.push_back(entry.name);
      lines.push_back(std::to_string(entry.points));
    }
  }
  // Through a temporary file renamed over the old one: a crash mid-save
  // leaves the old tables or the new ones, never half a file. When that
  // cannot be done the old file stays and the tables live on in memory.
  WriteTextFileSafely("scores.txt", lines);
}

void game::sortscores(int difficulty) {
  // Exchange passes, best first. Equal points are exchanged as well, so the
  // order of equal entries changes with every sort.
  std::vector<highscore>& table = scoreslist[difficulty];
  size_t unsorted = table.size();
  bool exchanged = true;
  while (exchanged && unsorted > 1) {
    exchanged = false;
    for (size_t i = 0; i + 1 < unsorted; ++i) {
      if (table[i].Compare(table[i + 1]) == -1) {
        std::swap(table[i], table[i + 1]);
        exchanged = true;
      }
    }
    unsorted--;
  }
}

void game::updatescores(const std::string& who, int points, int difficulty) {
  std::vector<highscore>& table = scoreslist[difficulty];
  table.insert(table.begin(), highscore{points, who});
  sortscores(difficulty);
  table.pop_back();
}

int game::worstscore(int difficulty) {
  sortscores(difficulty);
  const std::vector<highscore>& table = scoreslist[difficulty];
  if (static_cast<int>(table.size()) < kTableSize) return 0;
  // Saved points may exceed what a game can score; keep them comparable.
  const int64_t p = table[kTableSize - 1].points;
  if (p > INT_MAX) return INT_MAX;
  if (p < INT_MIN) return INT_MIN;
  return static_cast<int>(p);
}

void game::gameover(int elapsed, int difficulty) {
  // Keys pressed during play must not reach the name.
  if (elapsed <= 2) FlushKeyboard();
  const int c = NextTypedChar();
  if (charposition < kLongestName + 1 && acceptedchar(c)) {
    characters[charposition] = std::string(1, static_cast<char>(c));
    charposition++;
  }
  if ((c == 8 || c == 127) && charposition > 1) charposition--;
  std::string typed;
  for (int i = 1; i < charposition && i < static_cast<int>(characters.size()); ++i) typed += characters[i];
  name = Upper(typed);

  SetColor(unicol[1][0], unicol[1][1], unicol[1][2]);
  if (elapsed > 0) drawcentred("GAME OVER", 13.0 * xwin / 1024 * 0.1, at1024(20));
  if (elapsed > 60) drawcentred("SCORE: " + std::to_string(totalscore), 8.0 * xwin / 1024 * 0.1, at1024(200));
  // The prompt shows only when the score will enter the table.
  if (totalscore > 0 && worstscore(difficulty) < totalscore && elapsed > 120) {
    drawcentred("ENTER YOUR NAME:", at1024(0.4), at1024(450));
    drawcentred(name, at1024(0.8), at1024(542));
  }
  SetDrawScale(1, 1);
}

void game::showhighscores(int elapsed, int difficulty) {
  if (elapsed <= 2) FlushKeyboard();
  drawtable(*this, elapsed, difficulty);
}

void game::blackscores0() {
  int n = 1;
  int d = 0;
  do {
    d = chosescoresscreen(n);
    if (d >= 1) {
      blackscores(d - 1);
      n = d;
    }
  } while (d >= 1);
}

void game::blackscores(int difficulty) {
  FlushKeyboard();
  int c = 0;
  for (;;) {
    Cls();
    varycol();
    c++;
    drawtable(*this, c, difficulty);
    Flip(-1);
    checkclose();
    if (KeyPresses(KEY_ENTER) || KeyPresses(KEY_ESCAPE) || KeyPresses(KEY_SPACE)) return;
  }
}

int game::chosescoresscreen(int first) {
  return menuscreen(
      {"EASY", "MEDIUM", "HARD"}, 0.6, [this](int k) { return at1024(60 + 80 * (k + 2)); }, first, -100);
}
