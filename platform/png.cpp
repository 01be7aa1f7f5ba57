// PNG reading through libpng. Damaged files are reported through
// libpng's error callback, which jumps back here; nothing leaks past it.
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <memory>

#include "platform/backend.h"
#include "platform/places.h"

namespace {

struct file_closer {
  void operator()(FILE* f) const { fclose(f); }
};
using file_ptr = std::unique_ptr<FILE, file_closer>;

// Pictures beyond this are refused rather than allocated.
constexpr png_uint_32 kMaxSide = 16384;

void quiet_warning(png_structp, png_const_charp) {}
[[noreturn]] void quiet_error(png_structp png, png_const_charp) { png_longjmp(png, 1); }

}  // namespace

namespace plat {

bool decode_png(const std::string& path, image& out) {
  file_ptr f(fopen(place_for_reading(path).c_str(), "rb"));
  if (!f) return false;
  png_byte sig[8];
  if (fread(sig, 1, 8, f.get()) != 8 || png_sig_cmp(sig, 0, 8) != 0) return false;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, quiet_error, quiet_warning);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return false;
  }
  // Locals changed after setjmp must be volatile or live outside the frame.
  std::vector<uint8_t> pixels;
  std::vector<png_bytep> rows;
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_init_io(png, f.get());
  png_set_sig_bytes(png, 8);
  png_set_user_limits(png, kMaxSide, kMaxSide);
  png_read_info(png, info);
  png_uint_32 w = png_get_image_width(png, info), h = png_get_image_height(png, info);
  int type = png_get_color_type(png, info);
  int depth = png_get_bit_depth(png, info);
  if (depth == 16) png_set_strip_16(png);
  if (type == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (type == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
  if (type == PNG_COLOR_TYPE_GRAY || type == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
  if (!(type & PNG_COLOR_MASK_ALPHA) && !png_get_valid(png, info, PNG_INFO_tRNS))
    png_set_filler(png, 0xff, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != size_t(w) * 4) png_error(png, "unexpected layout");
  pixels.resize(size_t(w) * h * 4);
  rows.resize(h);
  for (png_uint_32 y = 0; y < h; y++) rows[y] = pixels.data() + size_t(y) * w * 4;
  png_read_image(png, rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  out.w = int(w);
  out.h = int(h);
  out.rgba = std::move(pixels);
  out.version++;
  return true;
}

}  // namespace plat
