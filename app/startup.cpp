// Start-up, the main-menu loop, display (re)opening and the orderly end.
#include "world/game.h"

void game::allgame() {
  SetAppTitle("TUMBO");
  for (auto& table : scoreslist) table.clear();
  FlushKeyboard();
  initstuff();
  jumpsound = LoadSoundFile("media/jump.wav");
  changeres(optfullscr, optres, 0);
  SeedRandom(ClockMillis());
  drawlogo();
  // Loaded after the splash so the logo shows at once; the play modes start it.
  musics[1] = LoadSoundFile("media/1.ogg");

  int choice = 1;
  do {
    choice = startscreen(choice);
    switch (choice) {
      case 1:
        play();
        break;
      case 2:
        optionsmenu();
        break;
      case 3:
        controls();
        break;
      case 4:
        blackscores0();
        break;
      default:
        break;
    }
  } while (choice != 5);
  shutdown();
}

void game::initstuff() {
  initscores();
  readscores();
  initprefs();
  readprefs();  // may ask the first-run question and end the program
  SeedRandom(ClockMillis());
}

int game::changeres(int fullscreen, int res, int reopen) {
  if (reopen != 0) CloseGraphics();
  // The backend (with its back buffer) was chosen once by the program entry.
  switch (res) {
    case 1:
      xwin = 640;
      ywin = 480;
      break;
    case 2:
      xwin = 800;
      ywin = 600;
      break;
    case 3:
      xwin = 1024;
      ywin = 768;
      break;
    default:
      break;
  }
  OpenGraphics(xwin, ywin, fullscreen != 0 ? 32 : 0, 60);
  SetMouseVisible(fullscreen != 0 ? 0 : 1);
  SetBlend(BLEND_ALPHA);
  SetAutoSpriteFlags(SPRITE_MASKED | SPRITE_FILTERED | SPRITE_MIPMAPPED);
  // A new display needs every image again.
  tumbosprite = LoadSprite("media/tumbo.png");
  ballsprite = LoadSprite("media/ball.png");
  platformsprite = LoadSprite("media/plat.png");
  sparki = LoadSprite("media/spark.png");
  logo = LoadSprite("media/205275.png");
  CenterSpriteHandle(tumbosprite);
  CenterSpriteHandle(ballsprite);
  CenterSpriteHandle(platformsprite);
  SetMouseVisible(fullscreen != 0 ? 0 : 1);
  gamefont = LoadFont("media/zekton__.ttf", 128, 1);
  SetFont(gamefont);
  return 0;
}

void game::checkclose() {
  if (CloseRequested()) shutdown();
}

void game::shutdown() {
  SetMouseVisible(1);
  CloseGraphics();
  EndProgram();
}
