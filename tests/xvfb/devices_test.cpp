// What the SDL backend makes of devices that differ from the desk it was
// written on: a keyboard of another layout, and an audio device that goes
// away (headphones pulled out) and comes back. The events are put into SDL's
// own queue as SDL would report them, so they take the backend's real path.
#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/backend.h"
#include "platform/headless/headless.h"
#include "tests/support/harness.h"

namespace fs = std::filesystem;

namespace {

const std::string kAudioFile = std::string(TUMBO_BINARY_DIR) + "/sdl-disk-audio.raw";

void frames(int n) {
  for (int i = 0; i < n; i++) Flip(-1);
}

void press(SDL_Scancode place, SDL_Keycode prints) {
  for (Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
    SDL_Event e = {};
    e.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.scancode = place;
    e.key.keysym.sym = prints;
    ASSERT_EQ(SDL_PushEvent(&e), 1);
  }
}

// The output device that is open and playing, 0 for none.
SDL_AudioDeviceID playing_device() {
  for (SDL_AudioDeviceID id = 1; id < 64; id++)
    if (SDL_GetAudioDeviceStatus(id) == SDL_AUDIO_PLAYING) return id;
  return 0;
}

void device_event(Uint32 type, Uint32 which) {
  SDL_Event e = {};
  e.type = type;
  e.adevice.which = which;
  e.adevice.iscapture = 0;
  ASSERT_EQ(SDL_PushEvent(&e), 1);
}

}  // namespace

// On AZERTY the digit row prints & é " ' ( - è _ ç à without Shift: the
// level skip's 8 and 2 still come from the keys in the places of 8 and 2.
// Letters go by what the key prints, so the A/D/W/S and P, R keys are where
// their letters are written.
TEST(SdlKeyboard, TheDigitRowGoesByPlaceAndLettersByWhatTheyPrint) {
  UseSdlBackend();
  SetAppTitle("TUMBO layout");
  ASSERT_TRUE(OpenGraphics(200, 150, 0, 60));
  frames(3);
  FlushKeyboard();
  press(SDL_SCANCODE_8, SDLK_UNDERSCORE);
  press(SDL_SCANCODE_2, SDL_Keycode(0xE9));  // é
  press(SDL_SCANCODE_0, SDL_Keycode(0xE0));  // à
  press(SDL_SCANCODE_Q, SDLK_a);             // AZERTY's A sits where QWERTY has Q
  frames(2);
  EXPECT_EQ(KeyPresses(KEY_8), 1);
  EXPECT_EQ(KeyPresses(KEY_2), 1);
  EXPECT_EQ(KeyPresses('0'), 1);
  EXPECT_EQ(KeyPresses(KEY_A), 1);
  EXPECT_EQ(KeyPresses('Q'), 0);
  EXPECT_EQ(KeyHeld(KEY_8), 0);  // let go again
  CloseGraphics();
  headless::install();
}

// Headphones pulled out while a sound plays: the device closes, channels go on
// by the clock (a cued sound still ends after its length, so the music can
// restart and impact channels do not pile up), and when a device comes back
// the default one is opened again and sound reaches it.
TEST(SdlSound, AnUnpluggedDeviceLetsSoundRunByTheClockUntilOneIsBack) {
  harness::gamedir dir;
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", kAudioFile.c_str(), 1);
  UseSdlBackend();
  SetAppTitle("TUMBO unplugged");
  ASSERT_TRUE(OpenGraphics(200, 150, 0, 60));
  const SDL_AudioDeviceID first = playing_device();
  ASSERT_NE(first, 0u);
  const int length = 22050;  // half a second
  ASSERT_TRUE(WriteWAV("s.wav", 44100, std::vector<int16_t>(length, 16000)));
  sound s = LoadSoundFile("s.wav");
  ASSERT_TRUE(s);
  channel during = s.Cue();
  during.SetPaused(0);
  frames(3);
  ASSERT_EQ(during.Playing(), 1);

  device_event(SDL_AUDIODEVICEREMOVED, first);
  frames(2);
  EXPECT_EQ(playing_device(), 0u);
  channel after = s.Cue();
  after.SetPaused(0);
  EXPECT_EQ(after.Playing(), 1);
  // A second of frames: both sounds have run their half second by the clock.
  auto start = std::chrono::steady_clock::now();
  frames(60);
  ASSERT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(600));
  EXPECT_EQ(during.Playing(), 0);
  EXPECT_EQ(after.Playing(), 0);

  // A device comes back ("added" names a device index): the default one is
  // opened again and plays what is cued from then on.
  device_event(SDL_AUDIODEVICEADDED, 0);
  frames(2);
  ASSERT_NE(playing_device(), 0u);
  channel back = s.Cue();
  back.SetVolume(0.5f);
  back.SetPaused(0);
  start = std::chrono::steady_clock::now();
  while (back.Playing() && std::chrono::steady_clock::now() - start < std::chrono::seconds(10)) frames(1);
  EXPECT_EQ(back.Playing(), 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  CloseGraphics();
  headless::install();

  // The reopened device's file holds the sound cued after it came back, at
  // its volume, on both channels of every frame.
  std::ifstream in(kAudioFile, std::ios::binary);
  int loud = 0;
  const int half = int(std::lround(16000 / 32768.0 * 0.5 * 32767));
  for (int16_t v; in.read(reinterpret_cast<char*>(&v), 2);)
    if (std::abs(v - half) <= 1) loud++;
  EXPECT_EQ(loud, length * 2);
}
