// Encoders for the media tool and screenshots: PNG through libpng, WAV by
// hand, Ogg Vorbis through libvorbisenc. Each writes to a temporary file and
// renames it over the target, so a failure never leaves half a file behind.
#include <png.h>
#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace {

// A file written under a temporary name and moved into place on success.
class outfile {
 public:
  explicit outfile(const std::string& path) : path_(path), tmp_(path + ".part") {
    f_ = std::fopen(tmp_.c_str(), "wb");
  }
  ~outfile() {
    if (f_) std::fclose(f_);
    if (!done_) std::remove(tmp_.c_str());
  }
  outfile(const outfile&) = delete;
  outfile& operator=(const outfile&) = delete;

  FILE* get() const { return f_; }
  bool write(const void* p, size_t n) {
    if (!f_ || (n && std::fwrite(p, 1, n, f_) != n)) ok_ = false;
    return ok_;
  }
  // Flushes, closes and renames; false when anything failed along the way.
  bool commit() {
    if (!f_) return false;
    bool good = ok_ && std::fflush(f_) == 0 && !std::ferror(f_);
    good = (std::fclose(f_) == 0) && good;
    f_ = nullptr;
    if (!good || std::rename(tmp_.c_str(), path_.c_str()) != 0) return false;
    done_ = true;
    return true;
  }

 private:
  std::string path_, tmp_;
  FILE* f_ = nullptr;
  bool ok_ = true;
  bool done_ = false;
};

void put16(std::vector<uint8_t>& b, uint32_t v) {
  b.push_back(v & 0xff);
  b.push_back((v >> 8) & 0xff);
}
void put32(std::vector<uint8_t>& b, uint32_t v) {
  put16(b, v & 0xffff);
  put16(b, v >> 16);
}
void puttag(std::vector<uint8_t>& b, const char* tag) { b.insert(b.end(), tag, tag + 4); }

}  // namespace

bool WritePNG(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba) {
  if (width <= 0 || height <= 0 || width > 65536 || height > 65536) return false;
  if (rgba.size() != size_t(width) * size_t(height) * 4) return false;
  outfile out(path);
  if (!out.get()) return false;

  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  std::vector<png_bytep> rows(height);
  for (int y = 0; y < height; y++) rows[y] = const_cast<png_bytep>(rgba.data() + size_t(y) * width * 4);
  // libpng reports errors by longjmp; nothing with a destructor is created
  // between here and the end of the block.
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, out.get());
  png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out.commit();
}

bool WriteWAV(const std::string& path, int rate, const std::vector<int16_t>& mono) {
  if (rate <= 0) return false;
  if (mono.size() > (0xffffffffu - 36) / 2) return false;
  const uint32_t bytes = uint32_t(mono.size() * 2);
  std::vector<uint8_t> b;
  b.reserve(44 + bytes);
  puttag(b, "RIFF");
  put32(b, 36 + bytes);
  puttag(b, "WAVE");
  puttag(b, "fmt ");
  put32(b, 16);
  put16(b, 1);  // PCM
  put16(b, 1);  // mono
  put32(b, uint32_t(rate));
  put32(b, uint32_t(rate) * 2);
  put16(b, 2);   // block align
  put16(b, 16);  // bits per sample
  puttag(b, "data");
  put32(b, bytes);
  for (int16_t s : mono) put16(b, uint16_t(s));
  outfile out(path);
  out.write(b.data(), b.size());
  return out.commit();
}

bool WriteOgg(const std::string& path, int rate, const std::vector<float>& stereo_interleaved,
              float quality) {
  if (rate <= 0 || stereo_interleaved.size() % 2 != 0) return false;
  outfile out(path);
  if (!out.get()) return false;

  vorbis_info vi;
  vorbis_info_init(&vi);
  if (vorbis_encode_init_vbr(&vi, 2, rate, quality) != 0) {
    vorbis_info_clear(&vi);
    return false;
  }
  vorbis_comment vc;
  vorbis_comment_init(&vc);
  vorbis_comment_add_tag(&vc, "ENCODER", "tumbo-media");
  vorbis_dsp_state vd;
  vorbis_block vb;
  vorbis_analysis_init(&vd, &vi);
  vorbis_block_init(&vd, &vb);
  ogg_stream_state os;
  ogg_stream_init(&os, 0x7475);  // fixed serial: the same input gives the same file

  ogg_page og;
  ogg_packet op;
  auto writepage = [&]() {
    out.write(og.header, og.header_len);
    out.write(og.body, og.body_len);
  };

  {
    ogg_packet header, comm, code;
    vorbis_analysis_headerout(&vd, &vc, &header, &comm, &code);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &comm);
    ogg_stream_packetin(&os, &code);
    // The first audio page must start on a page of its own.
    while (ogg_stream_flush(&os, &og) != 0) writepage();
  }

  const size_t frames = stereo_interleaved.size() / 2;
  constexpr size_t kChunk = 4096;
  size_t pos = 0;
  bool eos = false;
  while (!eos) {
    size_t n = std::min(kChunk, frames - pos);
    if (n == 0) {
      vorbis_analysis_wrote(&vd, 0);  // end of stream
    } else {
      float** buf = vorbis_analysis_buffer(&vd, int(n));
      for (size_t i = 0; i < n; i++) {
        buf[0][i] = stereo_interleaved[2 * (pos + i)];
        buf[1][i] = stereo_interleaved[2 * (pos + i) + 1];
      }
      vorbis_analysis_wrote(&vd, int(n));
      pos += n;
    }
    while (vorbis_analysis_blockout(&vd, &vb) == 1) {
      vorbis_analysis(&vb, nullptr);
      vorbis_bitrate_addblock(&vb);
      while (vorbis_bitrate_flushpacket(&vd, &op)) {
        ogg_stream_packetin(&os, &op);
        while (ogg_stream_pageout(&os, &og) != 0) {
          writepage();
          if (ogg_page_eos(&og)) eos = true;
        }
      }
    }
    if (n == 0 && !eos) {
      // Everything is out; force the last page.
      while (ogg_stream_flush(&os, &og) != 0) writepage();
      eos = true;
    }
  }

  ogg_stream_clear(&os);
  vorbis_block_clear(&vb);
  vorbis_dsp_clear(&vd);
  vorbis_comment_clear(&vc);
  vorbis_info_clear(&vi);
  return out.commit();
}
