// The headless backend: no window, a virtual clock moved by Flip, keys from a
// script, and every draw call written down for tests to read.
#include "platform/headless/headless.h"

#include <deque>
#include <map>

#include "platform/backend.h"

namespace headless {

namespace {

class headless_backend : public plat::backend {
 public:
  // Clock and frames.
  int64_t now = 0;
  int frames = 0;
  int reads = 0;  // clock reads since the last Flip
  plat::pacer pace;
  int64_t mixed_until = 0;  // sound is mixed up to this many milliseconds

  // Window.
  bool open_ = false;
  int width = 0, height = 0, depth = 0, opens = 0, mouse = 1;
  bool close_asked = false;

  // Script.
  bool scripted = false;
  bool end_when_done = true;
  bool ended = false;
  std::deque<frameinput> pending;
  int64_t consumed = 0;                        // script entries used so far
  std::multimap<int64_t, padevent> padscript;  // controller events by script entry
  std::set<int> held_now;
  int buttons_now = 0;

  void begin_frame() {
    if (!scripted) return;
    std::set<int> next;
    int buttons = 0;
    if (pending.empty()) {
      ended = true;
    } else {
      const frameinput& in = pending.front();
      if (in.mx >= 0 && in.my >= 0) plat::mouse_move(in.mx, in.my);
      if (in.wheel) plat::mouse_wheel(in.wheel);
      buttons = in.buttons;
      next = std::move(pending.front().held);
      for (unsigned char c : pending.front().typed) plat::typed(c);
      pending.pop_front();
      auto [first, last] = padscript.equal_range(consumed++);
      for (auto it = first; it != last; ++it) send(it->second);
      padscript.erase(first, last);
    }
    for (int k : held_now)
      if (!next.count(k)) plat::key_up(k);
    for (int k : next)
      if (!held_now.count(k)) plat::key_down(k);
    // A key still held after the tables were flushed is held again.
    for (int k : next) plat::key_hold(k);
    held_now = std::move(next);
    for (int b = MOUSE_LEFT; b <= MOUSE_MIDDLE; b++)
      if (((buttons ^ buttons_now) >> b) & 1) plat::mouse_button(b, (buttons >> b) & 1);
    buttons_now = buttons;
  }

  static void send(const padevent& e) {
    switch (e.kind) {
      case padevent::added:
        plat::pad_added(e.pad);
        break;
      case padevent::removed:
        plat::pad_removed(e.pad);
        break;
      case padevent::button:
        plat::pad_button(e.pad, e.code, e.value != 0);
        break;
      case padevent::axis:
        plat::pad_axis(e.pad, e.code, e.value);
        break;
    }
  }

  // Dialog and records.
  int answer = 0, asked = 0;
  // A draw call is written down flat and cheaply (a busy frame makes tens of
  // thousands); tests see it as a drawcall only when they ask for the calls.
  struct entry {
    double x, y, alpha, sx, sy, rotation;
    uint32_t more;  // sprite and grab: an entry of names; line and text: an entry of extras
    int frame;
    int blend;
    uint8_t kind;
    uint8_t r, g, b;  // SetColor keeps colours within 0..255
  };
  static_assert(sizeof(entry) == 64, "one cache line per call");
  // What a line or a text call holds beyond that.
  struct extra {
    double x2 = 0, y2 = 0;        // op::line: the end point as given
    uint32_t at = 0, length = 0;  // op::text: a slice of texts
  };
  std::vector<entry> log;
  std::vector<extra> extras;
  std::string texts;               // the strings of text calls, back to back
  std::vector<std::string> names;  // every sprite file name seen, kept for the backend's life
  uint32_t lastname = 0;           // most sprite calls repeat the previous name
  uint64_t lastserial = 0;         // the sprite that name belongs to (serials start at 1)
  std::vector<drawcall> shown;     // the calls of log already written out as drawcalls

  void record(op kind, double x, double y, uint32_t more = 0) {
    // A busy frame's log is larger than the cache: ask for the line a few
    // calls ahead, to be written.
    if (log.size() + 16 < log.capacity()) __builtin_prefetch(log.data() + log.size() + 16, 1);
    const plat::drawstate& s = plat::state();
    log.push_back(entry{x, y, s.alpha, s.sx, s.sy, s.rotation, more, frames, s.blend, uint8_t(kind),
                        uint8_t(s.r), uint8_t(s.g), uint8_t(s.b)});
  }
  void record_extra(op kind, double x, double y, const extra& e) {
    extras.push_back(e);
    record(kind, x, y, static_cast<uint32_t>(extras.size() - 1));
  }
  void record_text(const std::string& t, double x, double y) {
    const auto at = static_cast<uint32_t>(texts.size());
    texts.append(t);
    record_extra(op::text, x, y, extra{0, 0, at, static_cast<uint32_t>(t.size())});
  }
  void record_named(op kind, const spritedata& s, double x, double y) {
    // Most calls draw the sprite of the call before: known by its serial,
    // its name need not be compared again.
    if (s.serial != lastserial || lastname >= names.size()) {
      lastname = 0;
      while (lastname < names.size() && names[lastname] != s.name) lastname++;
      if (lastname == names.size()) names.push_back(s.name);
      lastserial = s.serial;
    }
    record(kind, x, y, lastname);
  }

  drawcall written(const entry& e) const {
    drawcall c;
    c.kind = op(e.kind);
    if (c.kind == op::sprite || c.kind == op::grab) c.text = names[e.more];
    if (c.kind == op::text) c.text.assign(texts, extras[e.more].at, extras[e.more].length);
    if (c.kind == op::line) {
      c.x2 = extras[e.more].x2;
      c.y2 = extras[e.more].y2;
    }
    c.x = e.x;
    c.y = e.y;
    c.r = e.r;
    c.g = e.g;
    c.b = e.b;
    c.alpha = e.alpha;
    c.blend = e.blend;
    c.sx = e.sx;
    c.sy = e.sy;
    c.rotation = e.rotation;
    c.frame = e.frame;
    return c;
  }
  const std::vector<drawcall>& calls() {
    for (size_t i = shown.size(); i < log.size(); i++) shown.push_back(written(log[i]));
    return shown;
  }
  void clear() {
    log.clear();
    extras.clear();
    texts.clear();
    shown.clear();
  }

  // Sound plays for as long as virtual time passes.
  void advance_sound() {
    int64_t from = mixed_until * plat::kMixRate / 1000;
    int64_t to = now * plat::kMixRate / 1000;
    if (to > from) plat::sounds().mix(nullptr, size_t(to - from));
    mixed_until = now;
  }

  void set_title(const std::string&) override {}
  bool open(int w, int h, int d, int hertz) override {
    open_ = true;
    width = w;
    height = h;
    depth = d;
    opens++;
    pace.start(hertz, now);
    return true;
  }
  void close() override { open_ = false; }
  void cls() override { record(op::cls, 0, 0); }
  void flip(int sync) override {
    record(op::flip, 0, 0);
    if (sync != 0) now = pace.next(now);
    reads = 0;
    frames++;
    advance_sound();
    begin_frame();
  }
  void set_mouse_visible(int flag) override { mouse = flag ? 1 : 0; }
  void pump() override {
    if (scripted && ended && end_when_done) throw script_ended{};
  }
  bool take_close_request() override {
    bool c = close_asked;
    close_asked = false;
    return c;
  }
  int32_t clock() override {
    // A loop that waits on the clock without flipping still sees time pass.
    if (++reads >= 1000) {
      reads = 0;
      now++;
    }
    return int32_t(uint32_t(uint64_t(now)));
  }
  void line(double x1, double y1, double x2, double y2, double, double, int) override {
    record_extra(op::line, x1, y1, extra{x2, y2});
  }
  void text(fontdata&, const std::string& t, double x, double y) override { record_text(t, x, y); }
  void sprite(spritedata& s, double x, double y) override { record_named(op::sprite, s, x, y); }
  void grab(spritedata& s, int x, int y) override { record_named(op::grab, s, x, y); }
  int proceed(const std::string&, const std::string&, int) override {
    asked++;
    return answer;
  }
  [[noreturn]] void end_program() override { throw program_ended{0}; }
  bool screenshot(const std::string&) override { return false; }
};

headless_backend* active = nullptr;

headless_backend& hb() {
  if (!active) install();
  return *active;
}

}  // namespace

void install() {
  auto b = std::make_unique<headless_backend>();
  // Room for the calls and texts of a busy frame, so that recording them does
  // not allocate during play.
  b->log.reserve(4096);
  b->extras.reserve(1024);
  b->texts.reserve(16384);
  b->names.reserve(64);
  active = b.get();
  plat::select(std::move(b));
  plat::sounds().clear();
  plat::reset_mouse();
  SeedRandom(4660);
}

void set_script(std::vector<frameinput> frames, bool end_when_done) {
  headless_backend& h = hb();
  h.scripted = true;
  h.end_when_done = end_when_done;
  h.ended = false;
  h.pending.assign(frames.begin(), frames.end());
  h.consumed = 0;
  h.padscript.clear();
  // Entry 0 is the input of the frame under way.
  h.begin_frame();
}

void append_script(const std::vector<frameinput>& frames) {
  headless_backend& h = hb();
  if (!h.scripted) {
    set_script(frames);
    return;
  }
  h.pending.insert(h.pending.end(), frames.begin(), frames.end());
  h.ended = false;
}

void hold(std::set<int> keys, int frames, int gap) {
  std::vector<frameinput> f;
  for (int i = 0; i < frames; i++) f.push_back({keys, ""});
  for (int i = 0; i < gap; i++) f.push_back({});
  append_script(f);
}

void type(const std::string& text) {
  std::vector<frameinput> f;
  for (char c : text) f.push_back({{}, std::string(1, c)});
  append_script(f);
}

void idle(int frames) { append_script(std::vector<frameinput>(frames > 0 ? frames : 0)); }

void pad_event(const padevent& e, int gap) {
  headless_backend& h = hb();
  bool fresh = !h.scripted;
  if (fresh) set_script({});  // nothing to use yet
  // The entry appended next is used after those still pending.
  h.padscript.emplace(h.consumed + int64_t(h.pending.size()), e);
  append_script({frameinput{}});
  // In a new script the first entry is the frame under way, as with keys.
  if (fresh) h.begin_frame();
  idle(gap);
}

void pad_button(int button, bool down, int gap, int pad) {
  pad_event({padevent::button, pad, button, down ? 1 : 0}, gap);
}

void pad_axis(int axis, int value, int gap, int pad) { pad_event({padevent::axis, pad, axis, value}, gap); }

void set_proceed_answer(int answer) { hb().answer = answer; }
int proceed_calls() { return hb().asked; }

const std::vector<drawcall>& calls() { return hb().calls(); }
void clear_calls() { hb().clear(); }

std::vector<drawcall> last_frame() {
  const headless_backend& h = hb();
  const auto& r = h.log;
  // Between the last two flips (or from the start up to the only one).
  size_t end = r.size();
  while (end > 0 && op(r[end - 1].kind) != op::flip) end--;
  if (end == 0) return {};
  size_t begin = end - 1;
  while (begin > 0 && op(r[begin - 1].kind) != op::flip) begin--;
  std::vector<drawcall> out;
  out.reserve(end - 1 - begin);
  for (size_t i = begin; i + 1 < end; i++) out.push_back(h.written(r[i]));
  return out;
}

std::vector<std::string> last_frame_texts() {
  std::vector<std::string> t;
  for (const drawcall& c : last_frame())
    if (c.kind == op::text) t.push_back(c.text);
  return t;
}

int frame() { return hb().frames; }
int32_t clock() { return int32_t(uint32_t(uint64_t(hb().now))); }
void advance_clock(int32_t ms) {
  if (ms > 0) hb().now += ms;
}
bool window_open() { return hb().open_; }
int window_width() { return hb().width; }
int window_height() { return hb().height; }
int window_depth() { return hb().depth; }
int open_count() { return hb().opens; }
int mouse_visible() { return hb().mouse; }
void request_close() { hb().close_asked = true; }

}  // namespace headless
