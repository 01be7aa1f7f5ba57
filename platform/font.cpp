// TrueType fonts through FreeType: every 8-bit character is rasterised once at
// the loaded size into an atlas, anti-aliased, and drawn from there.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>

#include "platform/backend.h"
#include "platform/places.h"

namespace {

// Glyph cells sit on a grid of this many pixels with at least this much empty
// space between them, so that the halved copies of the atlas used for small
// text never blend one glyph into its neighbour.
constexpr int kCell = 16;

int round_up(int v) { return (v + kCell - 1) / kCell * kCell; }

struct library {
  FT_Library lib = nullptr;
  library() {
    if (FT_Init_FreeType(&lib) != 0) lib = nullptr;
  }
  ~library() {
    if (lib) FT_Done_FreeType(lib);
  }
};

FT_Library freetype() {
  static library l;
  return l.lib;
}

}  // namespace

font LoadFont(const std::string& path, int size, int smooth) {
  FT_Library lib = freetype();
  if (!lib || size <= 0 || size > 1024) return nullptr;
  FT_Face face = nullptr;
  if (FT_New_Face(lib, plat::place_for_reading(path).c_str(), 0, &face) != 0) return nullptr;
  struct closer {
    FT_Face f;
    ~closer() { FT_Done_Face(f); }
  } close_face{face};
  if (!FT_IS_SCALABLE(face) || FT_Set_Pixel_Sizes(face, 0, FT_UInt(size)) != 0) return nullptr;

  auto f = std::make_shared<fontdata>();
  f->size = size;
  f->smooth = smooth;
  f->ascender = int(face->size->metrics.ascender >> 6);
  f->height = int((face->size->metrics.height + 32) >> 6);

  // Render every glyph, keeping the coverage until the atlas size is known.
  std::vector<std::vector<uint8_t>> bitmaps(256);
  int loaded = 0;
  for (int c = 1; c < 256; c++) {
    FT_UInt index = FT_Get_Char_Index(face, FT_ULong(c));  // Latin-1 code = Unicode code
    if (index == 0) continue;
    if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT) != 0) continue;
    if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) continue;
    const FT_Bitmap& bm = face->glyph->bitmap;
    if (bm.pixel_mode != FT_PIXEL_MODE_GRAY && bm.width > 0) continue;
    glyph& g = f->glyphs[c];
    g.present = true;
    g.advance = face->glyph->advance.x / 64.0;
    g.left = face->glyph->bitmap_left;
    g.top = face->glyph->bitmap_top;
    g.w = int(bm.width);
    g.h = int(bm.rows);
    bitmaps[c].resize(size_t(g.w) * g.h);
    for (int y = 0; y < g.h; y++)
      std::copy_n(bm.buffer + ptrdiff_t(y) * bm.pitch, g.w, bitmaps[c].begin() + ptrdiff_t(y) * g.w);
    loaded++;
  }
  if (loaded == 0) return nullptr;

  // Shelf packing into a roughly square atlas, which keeps it within the
  // texture size limits of every renderer.
  double area = 0;
  int widest = 0;
  for (const glyph& g : f->glyphs) {
    if (!g.present || g.w == 0 || g.h == 0) continue;
    area += double(round_up(g.w) + kCell) * (round_up(g.h) + kCell);
    widest = std::max(widest, round_up(g.w) + kCell);
  }
  const int width = std::max(widest + kCell, round_up(int(std::sqrt(area) * 1.15)));
  int x = kCell, y = kCell, shelf = 0;
  for (glyph& g : f->glyphs) {
    if (!g.present || g.w == 0 || g.h == 0) continue;
    int cw = round_up(g.w) + kCell, ch = round_up(g.h) + kCell;
    if (x + cw > width) {
      x = kCell;
      y += shelf;
      shelf = 0;
    }
    g.ax = x;
    g.ay = y;
    x += cw;
    shelf = std::max(shelf, ch);
  }
  const int height = round_up(y + shelf);
  plat::image& a = f->atlas;
  a.w = width;
  a.h = height;
  // White everywhere, clear but where a glyph covers it: the first row is made
  // pixel by pixel and copied to the others.
  const size_t stride = size_t(width) * 4;
  a.rgba.resize(stride * height);
  for (size_t i = 0; i < stride; i += 4) a.rgba[i] = a.rgba[i + 1] = a.rgba[i + 2] = 255;
  for (int r = 1; r < height; r++)
    std::copy_n(a.rgba.begin(), stride, a.rgba.begin() + ptrdiff_t(r * stride));
  for (int c = 0; c < 256; c++) {
    const glyph& g = f->glyphs[c];
    for (int gy = 0; gy < g.h; gy++) {
      uint8_t* to = &a.rgba[size_t(g.ay + gy) * stride + size_t(g.ax) * 4 + 3];
      const uint8_t* from = &bitmaps[c][size_t(gy) * g.w];
      for (int gx = 0; gx < g.w; gx++) to[gx * 4] = from[gx];
    }
  }
  a.version++;
  return f;
}
