// Sprites: PNG pictures with a handle and load flags.
#include "platform/backend.h"

void SetAutoSpriteFlags(int flags) { plat::state().autoflags = flags; }

sprite LoadSprite(const std::string& path) {
  auto s = std::make_shared<spritedata>();
  if (!plat::decode_png(path, s->pixels)) return nullptr;
  s->name = path;
  s->flags = plat::state().autoflags;
  if (s->flags & SPRITE_MASKED) {
    // The mask colour is black: those pixels become see-through.
    auto& p = s->pixels.rgba;
    for (size_t i = 0; i + 3 < p.size(); i += 4)
      if (p[i] == 0 && p[i + 1] == 0 && p[i + 2] == 0) p[i + 3] = 0;
  }
  return s;
}

void CenterSpriteHandle(const sprite& s) {
  if (!s) return;
  s->hx = s->pixels.w * 0.5;
  s->hy = s->pixels.h * 0.5;
}

int SpriteWidth(const sprite& s) { return s ? s->pixels.w : 0; }
int SpriteHeight(const sprite& s) { return s ? s->pixels.h : 0; }

sprite CreateSprite(int width, int height, int flags) {
  if (width <= 0 || height <= 0 || width > 16384 || height > 16384) return nullptr;
  auto s = std::make_shared<spritedata>();
  s->flags = flags;
  s->pixels.w = width;
  s->pixels.h = height;
  s->pixels.rgba.assign(size_t(width) * height * 4, 0);
  return s;
}

void GrabSprite(const sprite& s, int x, int y) {
  if (s) plat::current().grab(*s, x, y);
}
