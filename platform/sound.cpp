// Sounds: WAV and short Ogg Vorbis decoded once into stereo floats at the
// mixer rate, long Ogg Vorbis decoded by each channel as it plays, and the
// mixer that plays them on channels.
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/backend.h"
#include "platform/places.h"

namespace {

// Longer sounds are refused rather than allocated (about 20 minutes).
constexpr size_t kMaxFrames = size_t(plat::kMixRate) * 60 * 20;

// Interleaved stereo at rate, converted to the mixer rate by linear
// interpolation.
std::shared_ptr<sounddata> resampled(const std::vector<float>& in, long rate) {
  auto s = std::make_shared<sounddata>();
  size_t n = in.size() / 2;
  if (rate == plat::kMixRate || n == 0) {
    s->samples = in;
    return s;
  }
  size_t out = size_t(double(n) * plat::kMixRate / double(rate));
  s->samples.resize(out * 2);
  double step = double(rate) / plat::kMixRate;
  for (size_t i = 0; i < out; i++) {
    double p = double(i) * step;
    size_t a = std::min(size_t(p), n - 1), b = std::min(a + 1, n - 1);
    float t = float(p - double(a));
    for (int c = 0; c < 2; c++) s->samples[i * 2 + c] = in[a * 2 + c] * (1 - t) + in[b * 2 + c] * t;
  }
  return s;
}

uint32_t u32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
uint16_t u16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

// One sample of the given format as a float in [-1, 1].
float sample(const uint8_t* p, int bits, bool floating) {
  switch (bits) {
    case 8:
      return (int(p[0]) - 128) / 128.0f;
    case 16:
      return int16_t(u16(p)) / 32768.0f;
    case 24:
      return float(int32_t(uint32_t(p[0]) << 8 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 24)) /
             2147483648.0f;
    default:
      if (floating) {
        float f;
        uint32_t v = u32(p);
        std::memcpy(&f, &v, 4);
        return std::isfinite(f) ? std::clamp(f, -1.0f, 1.0f) : 0.0f;
      }
      return float(int32_t(u32(p))) / 2147483648.0f;
  }
}

std::shared_ptr<sounddata> load_wav(const std::vector<uint8_t>& file) {
  if (file.size() < 12 || std::memcmp(file.data(), "RIFF", 4) != 0 ||
      std::memcmp(file.data() + 8, "WAVE", 4) != 0)
    return nullptr;
  const uint8_t* fmt = nullptr;
  const uint8_t* data = nullptr;
  size_t data_size = 0;
  for (size_t at = 12; at + 8 <= file.size();) {
    size_t size = u32(file.data() + at + 4);
    const uint8_t* body = file.data() + at + 8;
    if (size > file.size() - at - 8) return nullptr;  // cut short
    if (std::memcmp(file.data() + at, "fmt ", 4) == 0 && size >= 16) fmt = body;
    if (std::memcmp(file.data() + at, "data", 4) == 0) {
      data = body;
      data_size = size;
    }
    at += 8 + size + (size & 1);
  }
  if (!fmt || !data) return nullptr;
  int format = u16(fmt), channels = u16(fmt + 2), bits = u16(fmt + 14);
  long rate = long(u32(fmt + 4));
  if (format == 0xFFFE) format = u16(fmt + 24);  // extensible: the sub-format's tag
  bool floating = format == 3;
  if ((format != 1 && !floating) || (floating && bits != 32)) return nullptr;
  if (channels < 1 || channels > 8 || rate < 1000 || rate > 384000) return nullptr;
  if (bits != 8 && bits != 16 && bits != 24 && bits != 32) return nullptr;
  size_t stride = size_t(channels) * (bits / 8);
  size_t frames = data_size / stride;
  if (double(frames) * plat::kMixRate / double(rate) > double(kMaxFrames)) return nullptr;
  std::vector<float> st(frames * 2);
  for (size_t i = 0; i < frames; i++) {
    const uint8_t* p = data + i * stride;
    float l = sample(p, bits, floating);
    float r = channels > 1 ? sample(p + bits / 8, bits, floating) : l;
    st[i * 2] = l;
    st[i * 2 + 1] = r;
  }
  return resampled(st, rate);
}

// An Ogg file in memory as vorbisfile's data source.
struct memsource {
  const std::vector<uint8_t>* bytes;
  size_t at = 0;
};

size_t mem_read(void* ptr, size_t size, size_t count, void* src) {
  auto* m = static_cast<memsource*>(src);
  if (size == 0) return 0;
  size_t n = std::min(count, (m->bytes->size() - m->at) / size);
  std::memcpy(ptr, m->bytes->data() + m->at, n * size);
  m->at += n * size;
  return n;
}

int mem_seek(void* src, ogg_int64_t offset, int whence) {
  auto* m = static_cast<memsource*>(src);
  const auto size = ogg_int64_t(m->bytes->size());
  ogg_int64_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? ogg_int64_t(m->at) : size;
  ogg_int64_t to = base + offset;
  if (to < 0 || to > size) return -1;
  m->at = size_t(to);
  return 0;
}

long mem_tell(void* src) { return long(static_cast<memsource*>(src)->at); }

constexpr ov_callbacks kMemCallbacks = {mem_read, mem_seek, nullptr, mem_tell};

// Whether the file is intact pages (checksums match) numbered without a gap
// up to the one that ends the stream: what decoding the whole file would find
// damaged, found without decoding it.
bool pages_intact(const std::vector<uint8_t>& bytes) {
  ogg_sync_state sync;
  ogg_sync_init(&sync);
  char* buf = ogg_sync_buffer(&sync, long(bytes.size()));
  bool ok = buf != nullptr;
  if (ok) {
    std::memcpy(buf, bytes.data(), bytes.size());
    ogg_sync_wrote(&sync, long(bytes.size()));
  }
  long expect = 0;
  bool ended = false;
  ogg_page page;
  while (ok) {
    long r = ogg_sync_pageseek(&sync, &page);
    if (r == 0) break;  // what is left is not a whole page
    if (r < 0 || ogg_page_pageno(&page) != expect) {
      ok = false;
      break;
    }
    expect++;
    ended = ogg_page_eos(&page) != 0;
    if (ended) break;  // what follows the stream's end is not read
  }
  ogg_sync_clear(&sync);
  return ok && ended;
}

std::shared_ptr<sounddata> load_ogg(const std::shared_ptr<const std::vector<uint8_t>>& bytes) {
  memsource src{bytes.get()};
  OggVorbis_File vf;
  if (ov_open_callbacks(&src, &vf, nullptr, 0, kMemCallbacks) != 0) return nullptr;
  struct closer {
    OggVorbis_File* v;
    ~closer() { ov_clear(v); }
  } close_vf{&vf};
  vorbis_info* info = ov_info(&vf, -1);
  if (!info || info->channels < 1 || info->rate < 1000 || info->rate > 384000) return nullptr;
  long rate = info->rate;
  ogg_int64_t total = ov_pcm_total(&vf, -1);
  if (total < 0 || double(total) * plat::kMixRate / double(rate) > double(kMaxFrames)) return nullptr;
  // Long sounds at the mixer rate are decoded as they play; others (and
  // chained files) are decoded and resampled here.
  if (size_t(total) > plat::stream_frames && rate == plat::kMixRate && ov_streams(&vf) == 1) {
    if (!pages_intact(*bytes)) return nullptr;
    auto s = std::make_shared<sounddata>();
    s->ogg = bytes;
    s->length = size_t(total);
    return s;
  }
  std::vector<float> st;
  st.reserve(size_t(total) * 2);
  for (;;) {
    float** pcm = nullptr;
    int section = 0;
    long n = ov_read_float(&vf, &pcm, 4096, &section);
    if (n == 0) break;
    if (n < 0) return nullptr;  // a hole or a bad link: damaged
    vorbis_info* vi = ov_info(&vf, section);
    if (!vi || vi->rate != rate || vi->channels < 1) return nullptr;
    for (long i = 0; i < n; i++) {
      float l = std::clamp(pcm[0][i], -1.0f, 1.0f);
      float r = vi->channels > 1 ? std::clamp(pcm[1][i], -1.0f, 1.0f) : l;
      st.push_back(l);
      st.push_back(r);
    }
    if (st.size() / 2 > size_t(total)) return nullptr;
  }
  // A file cut short decodes fewer frames than its last page promised.
  if (st.size() / 2 != size_t(total)) return nullptr;
  return resampled(st, rate);
}

}  // namespace

// A channel's reader of a streamed sound, and the frame it gives next.
struct oggdecoder {
  memsource src;
  OggVorbis_File vf;
  bool open = false;
  size_t pos = 0;
  explicit oggdecoder(const std::vector<uint8_t>* bytes) : src{bytes} {
    open = ov_open_callbacks(&src, &vf, nullptr, 0, kMemCallbacks) == 0;
  }
  ~oggdecoder() {
    if (open) ov_clear(&vf);
  }
  oggdecoder(const oggdecoder&) = delete;
  oggdecoder& operator=(const oggdecoder&) = delete;
};

namespace {

// Adds frames [c.pos, c.pos + n) of c's streamed sound to out. A channel that
// moved on without being heard (silent, or mixed with no output) seeks first.
// A part that fails to decode stays silent.
void mix_streamed(channeldata& c, float* out, size_t n) {
  if (!c.decoder) c.decoder = std::make_shared<oggdecoder>(c.snd->ogg.get());
  oggdecoder& d = *c.decoder;
  if (!d.open) return;
  if (d.pos != c.pos) {
    if (ov_pcm_seek(&d.vf, ogg_int64_t(c.pos)) != 0) {
      d.pos = size_t(-1);
      return;
    }
    d.pos = c.pos;
  }
  size_t done = 0;
  while (done < n) {
    float** pcm = nullptr;
    int section = 0;
    long got = ov_read_float(&d.vf, &pcm, int(std::min<size_t>(n - done, 4096)), &section);
    vorbis_info* vi = got > 0 ? ov_info(&d.vf, section) : nullptr;
    if (!vi || vi->channels < 1) break;
    float* o = out + done * 2;
    for (long i = 0; i < got; i++) {
      float l = std::clamp(pcm[0][i], -1.0f, 1.0f);
      float r = vi->channels > 1 ? std::clamp(pcm[1][i], -1.0f, 1.0f) : l;
      o[i * 2] += l * c.volume;
      o[i * 2 + 1] += r * c.volume;
    }
    done += size_t(got);
  }
  d.pos += done;
}

}  // namespace

sound LoadSoundFile(const std::string& path) {
  FILE* f = fopen(plat::place_for_reading(path).c_str(), "rb");
  if (!f) return sound();
  struct closer {
    FILE* f;
    ~closer() { fclose(f); }
  } close_file{f};
  uint8_t magic[4] = {0, 0, 0, 0};
  if (fread(magic, 1, 4, f) != 4) return sound();
  const bool ogg = std::memcmp(magic, "OggS", 4) == 0;
  if (!ogg && std::memcmp(magic, "RIFF", 4) != 0) return sound();
  auto bytes = std::make_shared<std::vector<uint8_t>>(magic, magic + 4);
  uint8_t buf[65536];
  for (size_t n; (n = fread(buf, 1, sizeof buf, f)) > 0;) {
    bytes->insert(bytes->end(), buf, buf + n);
    if (bytes->size() > kMaxFrames * 8) return sound();
  }
  std::shared_ptr<sounddata> d = ogg ? load_ogg(bytes) : load_wav(*bytes);
  if (!d || d->frames() == 0) return sound();
  return sound(d);
}

// ---------------------------------------------------------------------------
// Mixer.

namespace plat {

size_t stream_frames = size_t(kMixRate) * 10;

mixer& sounds() {
  static mixer m;
  return m;
}

// Enough channels for the sounds that overlap in play; more are made when
// needed and kept for reuse up to four times this many.
constexpr size_t kSpareChannels = 16;

mixer::mixer() {
  active_.reserve(4 * kSpareChannels);
  spare_.reserve(4 * kSpareChannels);
  for (size_t i = 0; i < kSpareChannels; i++) spare_.push_back(std::make_shared<channeldata>());
}

void mixer::add(const std::shared_ptr<channeldata>& c) {
  std::lock_guard<std::mutex> g(lock);
  active_.push_back(c);
}

std::shared_ptr<channeldata> mixer::take(const std::shared_ptr<sounddata>& snd) {
  std::lock_guard<std::mutex> g(lock);
  std::shared_ptr<channeldata> c;
  if (spare_.empty()) {
    c = std::make_shared<channeldata>();
  } else {
    c = std::move(spare_.back());
    spare_.pop_back();
    *c = channeldata();
  }
  c->snd = snd;
  active_.push_back(c);
  return c;
}

void mixer::clear() {
  std::lock_guard<std::mutex> g(lock);
  // The channels nobody holds go back to the spares, so that starting
  // afresh never shrinks the pool that play draws on.
  for (std::shared_ptr<channeldata>& c : active_) {
    if (c.use_count() == 1 && spare_.size() < spare_.capacity()) {
      c->decoder.reset();
      c->snd.reset();
      spare_.push_back(std::move(c));
    }
  }
  active_.clear();
}

void mixer::mix(float* out, size_t frames) {
  std::lock_guard<std::mutex> g(lock);
  for (auto& c : active_) {
    if (c->paused || c->stopped) continue;
    size_t left = c->snd->frames() - std::min(c->pos, c->snd->frames());
    size_t n = std::min(left, frames);
    if (out && c->snd->ogg) {
      mix_streamed(*c, out, n);
    } else if (out) {
      const float* s = c->snd->samples.data() + c->pos * 2;
      for (size_t i = 0; i < n * 2; i++) out[i] += s[i] * c->volume;
    }
    c->pos += n;
  }
  // Finished channels leave the mixer; so do paused ones nobody holds. Those
  // that nobody holds are kept for the next cue.
  size_t kept = 0;
  for (size_t i = 0; i < active_.size(); i++) {
    std::shared_ptr<channeldata>& c = active_[i];
    const bool unheld = c.use_count() == 1;
    if (!(c->stopped || c->pos >= c->snd->frames() || (c->paused && unheld))) {
      if (kept != i) active_[kept] = std::move(c);
      kept++;
    } else if (unheld && spare_.size() < spare_.capacity()) {
      c->decoder.reset();  // reads the sound's bytes until it is gone
      c->snd.reset();
      spare_.push_back(std::move(c));
    }
  }
  active_.resize(kept);
}

}  // namespace plat

// ---------------------------------------------------------------------------
// Sounds and channels.

channel sound::Cue() const {
  if (!d_) return channel();
  return channel(plat::sounds().take(d_));
}

void channel::SetVolume(float v) {
  if (!d_) return;
  std::lock_guard<std::mutex> g(plat::sounds().lock);
  d_->volume = std::isfinite(v) ? std::clamp(v, 0.0f, 1.0f) : 0.0f;
}

void channel::SetPaused(int flag) {
  if (!d_) return;
  std::lock_guard<std::mutex> g(plat::sounds().lock);
  d_->paused = flag != 0;
}

void channel::Stop() {
  if (!d_) return;
  std::lock_guard<std::mutex> g(plat::sounds().lock);
  d_->stopped = true;
}

int channel::Playing() const {
  if (!d_) return 0;
  std::lock_guard<std::mutex> g(plat::sounds().lock);
  return !d_->stopped && d_->pos < d_->snd->frames();
}
