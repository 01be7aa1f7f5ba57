// The browser's side of the SDL backend. The game's screens keep their own
// loops and never return; every frame the program is suspended (Asyncify)
// until the browser draws its next frame, so the page stays alive and a
// hidden tab, which draws nothing, pauses the game.
//
// prefs.txt and scores.txt are written in the working folder ("/", in
// memory) as on the desktop; a copy of each lives in /save, a folder kept in
// the browser's IndexedDB. They are read back from it at start and copied to
// it whenever they change. When the browser refuses or cannot hold the
// storage the game goes on with its files in memory and the page says that
// nothing is saved.
#include <emscripten.h>
#include <sys/stat.h>

#include <SDL.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "platform/web/host.h"

// platform/web/library.js: keeps the runtime functions SDL calls by name.
extern "C" void tumbo_keep_sdl_runtime();

namespace {

// clang-format off
EM_ASYNC_JS(void, page_next_frame, (), {
  await new Promise(function(resolve) { requestAnimationFrame(function() { resolve(); }); });
});

EM_ASYNC_JS(int, page_mount_storage, (), {
  try {
    if (typeof indexedDB === 'undefined' || !indexedDB) return 0;
    FS.mkdir('/save');
    FS.mount(IDBFS, {}, '/save');
    return await new Promise(function(resolve) {
      FS.syncfs(true, function(err) { resolve(err ? 0 : 1); });
    });
  } catch (e) {
    return 0;
  }
});

EM_JS(void, page_store, (), {
  try {
    FS.syncfs(false, function(err) {
      if (err && Module.tumboStorage) Module.tumboStorage(false);
    });
  } catch (e) {
    if (Module.tumboStorage) Module.tumboStorage(false);
  }
});

EM_JS(void, page_storage, (int ok), {
  if (Module.tumboStorage) Module.tumboStorage(!!ok);
});

EM_JS(void, page_fullscreen, (int on), {
  if (Module.tumboFullscreen) Module.tumboFullscreen(!!on);
});

EM_ASYNC_JS(int, page_ask, (const char* title, const char* text), {
  if (!Module.tumboAsk) return 0;
  return await Module.tumboAsk(UTF8ToString(title), UTF8ToString(text));
});

// The time the game worked on a frame, for the page to read.
EM_JS(void, page_frame_work, (double ms), {
  var w = Module.tumboFrameWork;
  if (w) {
    if (w.length >= 100000) w.shift();
    w.push(ms);
  }
});

EM_JS(void, page_ended, (), {
  if (Module.tumboEnded) Module.tumboEnded();
});
// clang-format on

const char* const kKept[] = {"prefs.txt", "scores.txt"};
bool storage = false;

struct seen {
  bool there = false;
  off_t size = 0;
  ino_t ino = 0;
  int64_t mtime = 0;
  bool operator==(const seen&) const = default;
};
seen last[2];

seen look(const char* path) {
  struct stat st {};
  seen s;
  if (stat(path, &st) == 0) {
    s.there = true;
    s.size = st.st_size;
    s.ino = st.st_ino;
    s.mtime = int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  }
  return s;
}

bool copy(const std::string& from, const std::string& to) {
  std::ifstream in(from, std::ios::binary);
  if (!in) return false;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::ofstream out(to, std::ios::binary | std::ios::trunc);
  out << bytes;
  return bool(out.flush());
}

// Copies a file the game has written since the last look into the storage.
void keep_changes() {
  if (!storage) return;
  bool changed = false;
  for (int i = 0; i < 2; i++) {
    seen now = look(kKept[i]);
    if (now == last[i]) continue;
    last[i] = now;
    if (!now.there) continue;
    if (copy(kKept[i], std::string("/save/") + kKept[i]))
      changed = true;
    else
      page_storage(0);
  }
  if (changed) page_store();
}

int64_t returned = -1;   // when wait_frame last gave control back to the game
double worked_from = -1;  // the same, to the microsecond

}  // namespace

namespace host {

void start() {
  tumbo_keep_sdl_runtime();
  storage = page_mount_storage() != 0;
  if (storage)
    for (int i = 0; i < 2; i++) {
      std::string saved = std::string("/save/") + kKept[i];
      if (look(saved.c_str()).there) copy(saved, kKept[i]);
      last[i] = look(kKept[i]);
    }
  page_storage(storage ? 1 : 0);
}

uint32_t window_flags(uint32_t flags, bool fullscreen) {
  page_fullscreen(fullscreen ? 1 : 0);
  // The canvas takes the size the page gives it, in device pixels.
  return (flags & ~uint32_t(SDL_WINDOW_FULLSCREEN_DESKTOP)) | SDL_WINDOW_ALLOW_HIGHDPI;
}

bool wait_frame(int64_t due) {
  if (worked_from >= 0) page_frame_work(emscripten_get_now() - worked_from);
  keep_changes();
  // A frame the browser draws earlier than half a frame before the game's
  // next one is due is let pass (displays faster than 60 Hz).
  int64_t now;
  do {
    page_next_frame();
    now = int64_t(SDL_GetTicks64());
  } while (due >= 0 && now < due - 8);
  // Never back sooner than 16 ms after the last time: the level's own frame
  // cap (1000/63 ms) then finds its time already gone and never spins.
  if (returned >= 0 && now - returned < 16) emscripten_sleep(unsigned(16 - (now - returned)));
  returned = int64_t(SDL_GetTicks64());
  worked_from = emscripten_get_now();
  return true;
}

bool proceed(const std::string& title, const std::string& text, int& answer) {
  answer = page_ask(title.c_str(), text.c_str());
  return true;
}

void ending() {
  keep_changes();
  page_ended();
}

}  // namespace host
