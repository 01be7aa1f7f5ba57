// The play modes: the choosers, the campaign runs with their lives and
// scores, free play, the score screen and the hints of the first level.
#include <algorithm>

#include "world/game.h"

namespace {
constexpr int kLevels = 10;
constexpr int kVisibleCampaigns = 9;
constexpr int kGrey = 100;
constexpr int kStep = 40;  // frames between the score screen's lines

const char* const kHints[] = {
    "   WELCOME! USE THE ARROW KEYS TO MOVE THE BALL AND SPACE TO JUMP   ",
    "   KEEP THE SPACEBAR PRESSED TO AUTOJUMP!   ",
    "   YOU CAN ONLY JUMP WHEN TOUCHING SOMETHING   ",
    "   IT IS A BAD IDEA TO TRY TO PRESS SPACE EXACTLY WHEN TOUCHING IT   ",
    "   INSTEAD IT'S A GOOD IDEA TO KEEP SPACE PRESSED MOST OF THE TIME   ",
    "   SO WHEN THE BALL TOUCHES SOMETHING IT WILL AUTOMATICALLY JUMP   ",
    "   THE REST I'M CONFIDENT YOU WILL BE ABLE TO FIGURE   ",
    "   OR AT LEAST I HOPE SO :)   ",
    "   GOOD LUCK!   ",
};
}  // namespace

void game::play() {
  for (;;) {
    const int choice = playscreen();
    if (choice == 1) {
      // Free play comes back to the play-mode menu.
      const std::string campaign = chosecampaign();
      if (campaign != "goback") freeplay(campaign);
    } else if (choice >= 2 && choice <= 4) {
      // A scored run, or backing out of its campaign chooser, ends at the main menu.
      const std::string campaign = chosecampaign();
      if (campaign != "goback") playcampaign(campaign, choice - 2);
      return;
    } else {
      return;
    }
  }
}

int game::playscreen() {
  return menuscreen(
      {"FREE PLAY", "EASY", "MEDIUM", "HARD"}, 0.6, [this](int k) { return at1024(100 + 80 * (k + 1)); }, 1,
      -100);
}

std::string game::chosecampaign() {
  // Campaigns in the listing's order (sorted by name, so the same on every
  // machine); loose files are not campaigns.
  std::vector<std::string> campaigns;
  for (const std::string& entry : ListDirectory("campaigns")) {
    if (FileKind("campaigns/" + entry) == 2) campaigns.push_back(entry);
  }
  const int count = static_cast<int>(campaigns.size());
  int selected = 0;
  FlushKeyboard();
  for (;;) {
    Cls();
    varycol();
    drawtitle();
    if (count > 0) {
      // At most nine entries show, scrolling so that the selection stays near the middle.
      const int first = std::max(0, std::min(count - kVisibleCampaigns, selected - 4));
      const int more = std::min(kVisibleCampaigns - 1, count - 1);
      for (int j = first; j <= first + more; j++) {
        if (j == selected) {
          SetColor(unicol[2][0], unicol[2][1], unicol[2][2]);
        } else {
          SetColor(kGrey, kGrey, kGrey);
        }
        const double y = (j - (2 * first + more) / 2.0 + 2) * 50 + 300;
        drawcentred("CAMPAIGN: " + campaigns[j], at1024(0.3), at1024(y));
      }
      if (KeyPresses(KEY_UP)) selected--;
      if (KeyPresses(KEY_DOWN)) selected++;
      if (selected < 0) selected = count - 1;
      if (selected > count - 1) selected = 0;
    }
    Flip(-1);
    checkclose();
    if (KeyPresses(KEY_ESCAPE)) return "goback";
    // With no campaign there is nothing to choose: only Esc leaves.
    if (count > 0 && (KeyPresses(KEY_ENTER) || KeyPresses(KEY_SPACE))) return campaigns[selected];
  }
}

int game::freeplayscreen() {
  std::vector<std::string> entries;
  for (int k = 1; k <= kLevels; k++) entries.push_back("LEVEL " + std::to_string(k));
  int first = level;
  if (first < 1) first = kLevels;
  if (first > kLevels) first = 1;
  return menuscreen(
      entries, 0.25, [this](int k) { return at1024(200 + 40 * k); }, first, -100);
}

void game::freeplay(const std::string& campaign) {
  for (;;) {
    const int chosen = freeplayscreen();
    if (chosen <= 0) return;
    initmusic();
    lives = 5;
    level = chosen;
    // A lost level is simply played again; lives are never lowered here.
    for (;;) {
      const std::string result = playlevel(campaign, level, 1, 0);
      if (result == "levelcompleted") level++;
      if (result == "esc" || lives <= 0 || level > kLevels) break;
    }
    stopmusic();
  }
}

void game::playeasy(const std::string& campaign) { playcampaign(campaign, 0); }
void game::playmedium(const std::string& campaign) { playcampaign(campaign, 1); }
void game::playhard(const std::string& campaign) { playcampaign(campaign, 2); }

void game::playcampaign(const std::string& campaign, int difficulty) {
  static constexpr int kLives[] = {20, 10, 5};
  initmusic();
  oldscore = 0;
  totalscore = 0;
  lives = kLives[std::clamp(difficulty, 0, 2)];
  level = 1;
  for (;;) {
    const std::string result = playlevel(campaign, level, 0, difficulty);
    if (result == "lost") lives--;
    if (result == "levelcompleted") level++;
    if (result == "esc" || lives <= 0 || level > kLevels) break;
  }
  stopmusic();
}

void game::levelcompleted(int elapsed) {
  // The level score and the bonus count down into the total between frames 160 and 240.
  double shownlevel = levelscore, shownbonus = timebonus, showntotal = oldscore;
  if (elapsed > 6 * kStep) {
    shownlevel = 0;
    shownbonus = 0;
    showntotal = totalscore;
  } else if (elapsed >= 4 * kStep) {
    const double remaining = 6 * kStep - elapsed, gone = elapsed - 4 * kStep;
    shownlevel = static_cast<double>(levelscore) * remaining / (2 * kStep);
    shownbonus = static_cast<double>(timebonus) * remaining / (2 * kStep);
    showntotal = static_cast<double>(oldscore) * remaining / (2 * kStep) + gone * totalscore / (2 * kStep);
  }

  SetColor(unicol[1][0], unicol[1][1], unicol[1][2]);
  if (elapsed > 0) drawcentred("LEVEL " + std::to_string(level) + " COMPLETED", at1024(0.7), at1024(50));
  SetDrawScale(at1024(0.5), at1024(0.5));
  const double left = at1024(100), right = xwin - at1024(300);
  const struct {
    const char* caption;
    double value;
    double y;
  } rows[] = {{"LEVEL SCORE: ", shownlevel, 255},
              {"TIME BONUS: ", shownbonus, 355},
              {"TOTAL SCORE: ", showntotal, 455}};
  for (int i = 0; i < 3; i++) {
    // Each caption one step after the last, its number half a step later.
    if (elapsed > (i + 1) * kStep) DrawString(rows[i].caption, left, at1024(rows[i].y));
    if (elapsed > (i + 1) * kStep + kStep / 2) {
      DrawString(std::to_string(TruncInt(rows[i].value)), right, at1024(rows[i].y));
    }
  }
  SetDrawScale(1, 1);
  if (elapsed > 6 * kStep) drawcentred("PRESS ENTER TO CONTINUE", at1024(0.5), at1024(640));
}

void game::scrittelivello() {
  if (level != 1 || mode != "play") return;
  // The hints replace one another in the caption: room for the longest is
  // made on the first frame, so that no later frame allocates for them.
  size_t longest = 0;
  for (const char* h : kHints) longest = std::max(longest, std::char_traits<char>::length(h));
  scritta.reserve(longest);
  for (int i = 0; i < 9; i++) {
    if (time > 160 + 480 * i && time < 160 + 480 * (i + 1)) {
      scritta = kHints[i];
      temposcritta = 160;
    }
  }
}
