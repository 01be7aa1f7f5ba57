// The game's only window onto the machine: drawing, keyboard, clock, random
// numbers, sound, files and the one message box, as free operations over a
// backend that the game never sees (SDL2 for the real game, a headless one for
// tests and tools). Nothing outside platform/ includes a library header.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// ---------------------------------------------------------------------------
// Handles. The game owns what it obtains and releases it by dropping it.

struct spritedata;
struct fontdata;
struct sounddata;
struct channeldata;
struct streamdata;

using sprite = std::shared_ptr<spritedata>;  // empty when a load failed
using font = std::shared_ptr<fontdata>;      // empty when a load failed

// One playing instance of a sound. An empty channel ignores every call.
class channel {
 public:
  channel() = default;
  explicit channel(std::shared_ptr<channeldata> d) : d_(std::move(d)) {}
  void SetVolume(float v);
  void SetPaused(int flag);
  void Stop();
  int Playing() const;
  explicit operator bool() const { return d_ != nullptr; }
  const std::shared_ptr<channeldata>& data() const { return d_; }

 private:
  std::shared_ptr<channeldata> d_;
};

// A decoded sample. An empty sound cues an empty channel.
class sound {
 public:
  sound() = default;
  explicit sound(std::shared_ptr<sounddata> d) : d_(std::move(d)) {}
  channel Cue() const;  // a paused channel holding this sound
  explicit operator bool() const { return d_ != nullptr; }
  const std::shared_ptr<sounddata>& data() const { return d_; }

 private:
  std::shared_ptr<sounddata> d_;
};

// A text file opened for reading or writing (8-bit, CR LF written, CR dropped
// on reading, a line also ends at a zero byte).
class stream {
 public:
  stream() = default;
  explicit stream(std::shared_ptr<streamdata> d) : d_(std::move(d)) {}
  int Eof() const;
  std::string ReadLine();
  // The same into a string kept by the caller, whose room is reused.
  std::string& ReadLine(std::string& line);
  void WriteLine(const std::string& text);
  // Writers: flushes to disk; returns false when anything failed to be written.
  bool Close();
  explicit operator bool() const { return d_ != nullptr; }

 private:
  std::shared_ptr<streamdata> d_;
};

// ---------------------------------------------------------------------------
// Key codes (virtual key numbers).
enum : int {
  KEY_BACKSPACE = 8,
  KEY_ENTER = 13,
  KEY_ESCAPE = 27,
  KEY_SPACE = 32,
  KEY_LEFT = 37,
  KEY_UP = 38,
  KEY_RIGHT = 39,
  KEY_DOWN = 40,
  KEY_2 = 50,
  KEY_8 = 56,
  KEY_A = 65,
  KEY_D = 68,
  KEY_P = 80,
  KEY_R = 82,
  KEY_S = 83,
  KEY_W = 87,
};

// Keys only the level editor reads (the game never asks for them).
enum : int {
  KEY_TAB = 9,
  KEY_SHIFT = 16,
  KEY_CONTROL = 17,
  KEY_PAGEUP = 33,
  KEY_PAGEDOWN = 34,
  KEY_END = 35,
  KEY_HOME = 36,
  KEY_DELETE = 46,
  KEY_F1 = 112,
  KEY_F5 = 116,
};

// Mouse buttons.
enum : int { MOUSE_LEFT = 1, MOUSE_RIGHT = 2, MOUSE_MIDDLE = 3 };

// Sprite flags.
enum : int { SPRITE_MASKED = 1, SPRITE_FILTERED = 2, SPRITE_MIPMAPPED = 4, SPRITE_DYNAMIC = 8 };

// Blend modes.
enum : int { BLEND_ALPHA = 3, BLEND_LIGHT = 4 };

// ---------------------------------------------------------------------------
// Window and frame
void SetAppTitle(const std::string& text);
int OpenGraphics(int width, int height, int depth, int hertz);
void CloseGraphics();
// Tools only (the game never calls it): gives the open window a back buffer of
// a new size, keeping the window where it is and every loaded image. Returns 0
// where the backend cannot, and the caller opens the graphics again instead.
int ResizeGraphics(int width, int height);
void Cls();
void Flip(int sync);
void SetMouseVisible(int flag);
int CloseRequested();

// Drawing state
void SetColor(int r, int g, int b);
void SetAlpha(double a);
void SetBlend(int mode);
void SetDrawScale(double sx, double sy);
void SetDrawRotation(double degrees);

// Drawing
void DrawLine(double x1, double y1, double x2, double y2, int lastpixel = 1);
void DrawString(const std::string& text, double x, double y);
int StringWidth(const std::string& text);
int FontHeight();
void DrawSprite(const sprite& s, double x, double y);

// Sprites and fonts
void SetAutoSpriteFlags(int flags);
sprite LoadSprite(const std::string& path);
void CenterSpriteHandle(const sprite& s);
int SpriteWidth(const sprite& s);
int SpriteHeight(const sprite& s);
sprite CreateSprite(int width, int height, int flags);
void GrabSprite(const sprite& s, int x, int y);
font LoadFont(const std::string& path, int size, int smooth);
void SetFont(const font& f);

// Keyboard
int KeyPresses(int code);
int KeyHeld(int code);
int NextTypedChar();
void FlushKeyboard();

// Mouse, read by the level editor only: the game itself reads no mouse.
// Positions are in the window's drawing coordinates.
int MouseX();
int MouseY();
int MouseDown(int button);  // held now
int MouseHits(int button);  // presses since the last call
int MouseWheel();           // wheel steps since the last call (away from the user: positive)

// Clock and random numbers
int32_t ClockMillis();
void SeedRandom(int32_t seed);
double RandomReal(double lo, double hi);
int RandomInt(int lo, int hi);

// Sound
sound LoadSoundFile(const std::string& path);

// Files and directories (relative to the working directory, "/" separated)
stream OpenTextRead(const std::string& path);
stream OpenTextWrite(const std::string& path);
int CreateEmptyFile(const std::string& path);
int FileKind(const std::string& path);
std::vector<std::string> ListDirectory(const std::string& path);
// Writes the lines to a temporary file beside path, flushes it to disk and
// renames it over path, so a crash leaves the old or the new file, never half
// of one. Returns false (and leaves path untouched) when that cannot be done.
bool WriteTextFileSafely(const std::string& path, const std::vector<std::string>& lines);

// Where those relative names are kept. Portable (both folders empty): beside
// the working directory. Installed: "media" and "campaigns" are read from
// data, and everything written, with the player's own campaigns, is in user.
struct fileplaces {
  std::string data;  // the installed game's data folder
  std::string user;  // the player's folder, made on the first save
  bool installed() const { return !data.empty(); }
};
// Installed when workdir holds neither media/ nor campaigns/ and the data
// folder <prefix>/share/tumbo of the executable <prefix>/bin/NAME is found;
// the player's folder is $XDG_DATA_HOME/tumbo (when absolute) or
// $HOME/.local/share/tumbo.
fileplaces FindFilePlaces(const std::string& workdir, const std::string& executable,
                          const std::string& xdg_data_home, const std::string& home);
void UseFilePlaces(const fileplaces& places);
fileplaces CurrentFilePlaces();
// Decides once at start from this process's own executable and environment.
void ChooseFilePlaces();

// Dialog and end
int Proceed(const std::string& text, int serious);
[[noreturn]] void EndProgram();

// ---------------------------------------------------------------------------
// Backend selection, made once by the program entry (the real game) or by a
// tool; tests use headless::install().
void UseSdlBackend();

// Writes the current back buffer as a PNG (SDL backend); false otherwise.
bool SaveScreenshot(const std::string& path);

// Encoders used by the media tool (platform/encode.cpp).
bool WritePNG(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba);
bool WriteWAV(const std::string& path, int rate, const std::vector<int16_t>& mono);
bool WriteOgg(const std::string& path, int rate, const std::vector<float>& stereo_interleaved, float quality);

// ---------------------------------------------------------------------------
// Conversions the game relies on.
int ToInt(const std::string& text);       // blanks, sign, digits; no digits: 0
int64_t ToLong(const std::string& text);  // the same for 64 bits
double ToDouble(const std::string& text); // decimal float prefix; not a number: 0
std::string Upper(const std::string& text);
// Truncation toward zero that never invokes undefined behaviour: NaN gives 0,
// values beyond the range give the nearest representable integer.
int TruncInt(double v);
int64_t TruncLong(double v);
double ATan(double x);             // degrees
double ATan2(double y, double x);  // degrees, in (-180, 180]
double Sin(double degrees);
double Cos(double degrees);
