// Draws the game's images and synthesises its sounds, always the same way:
// the only randomness is a fixed-seed noise generator of our own.
//
//   tumbo-media [folder]    writes the media files into folder (default "media")
//   tumbo-media --icons DIR writes the desktop icons (the player's ball, tinted
//                           as the logo shows it) as DIR/tumbo-SIZE.png and DIR/tumbo.ico
//
// Images are drawn with analytic antialiasing: every shape is a signed distance
// in pixels, and a pixel is covered by the part of it that lies inside. Shapes
// keep their colour defined beyond their edge, so the transparent pixels around
// them carry the edge colour and filtered drawing does not darken the rim.
// Sprites are loaded masked (pure black becomes transparent), so no opaque
// pixel is ever pure black.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

double clamp01(double v) { return std::min(1.0, std::max(0.0, v)); }
double mix(double a, double b, double t) { return a + (b - a) * t; }
double smoothstep(double e0, double e1, double v) {
  double t = clamp01((v - e0) / (e1 - e0));
  return t * t * (3 - 2 * t);
}
// Share of a pixel covered by a shape whose signed distance (negative inside)
// at the pixel's centre is d.
double cover(double d) { return clamp01(0.5 - d); }

struct rgb {
  double r, g, b;
};
rgb operator*(rgb c, double k) { return {c.r * k, c.g * k, c.b * k}; }
rgb operator+(rgb a, rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
rgb mix(rgb a, rgb b, double t) { return {mix(a.r, b.r, t), mix(a.g, b.g, t), mix(a.b, b.b, t)}; }

// ---------------------------------------------------------------------------
// Images: straight-alpha floats, colours 0..255, alpha 0..1.

class image {
 public:
  image(int w, int h) : w_(w), h_(h), px_(size_t(w) * h * 4, 0.0) {}
  int width() const { return w_; }
  int height() const { return h_; }
  double* pixel(int x, int y) { return &px_[(size_t(y) * w_ + x) * 4]; }
  const double* pixel(int x, int y) const { return &px_[(size_t(y) * w_ + x) * 4]; }

  // Lays a shape over the image. fn gives, for a pixel centre, the shape's
  // colour and its coverage (times the shape's opacity).
  void paint(const std::function<void(double x, double y, rgb& c, double& a)>& fn) {
    for (int y = 0; y < h_; y++) {
      for (int x = 0; x < w_; x++) {
        rgb c{0, 0, 0};
        double a = 0;
        fn(x + 0.5, y + 0.5, c, a);
        over(x, y, c, clamp01(a));
      }
    }
  }

  bool save(const std::string& path) const {
    std::vector<uint8_t> out(px_.size());
    for (size_t i = 0; i < px_.size(); i += 4) {
      int r = int(std::lround(std::clamp(px_[i], 0.0, 255.0)));
      int g = int(std::lround(std::clamp(px_[i + 1], 0.0, 255.0)));
      int b = int(std::lround(std::clamp(px_[i + 2], 0.0, 255.0)));
      int a = int(std::lround(clamp01(px_[i + 3]) * 255));
      // The mask colour would punch a hole; the darkest ink is (8, 8, 8).
      if (r < 8 && g < 8 && b < 8) r = g = b = 8;
      out[i] = uint8_t(r);
      out[i + 1] = uint8_t(g);
      out[i + 2] = uint8_t(b);
      out[i + 3] = uint8_t(a);
    }
    return WritePNG(path, w_, h_, out);
  }

 private:
  void over(int x, int y, rgb c, double a) {
    double* p = &px_[(size_t(y) * w_ + x) * 4];
    double da = p[3];
    double oa = a + da * (1 - a);
    if (oa <= 1e-9) {
      // Still transparent: keep the first colour laid here, so the edge of the
      // shape beside it does not bleed black when filtered.
      if (p[0] == 0 && p[1] == 0 && p[2] == 0) p[0] = c.r, p[1] = c.g, p[2] = c.b;
      return;
    }
    double k = da * (1 - a);
    p[0] = (c.r * a + p[0] * k) / oa;
    p[1] = (c.g * a + p[1] * k) / oa;
    p[2] = (c.b * a + p[2] * k) / oa;
    p[3] = oa;
  }

  int w_, h_;
  std::vector<double> px_;
};

// Signed distances.
double circle(double x, double y, double cx, double cy, double r) { return std::hypot(x - cx, y - cy) - r; }

double ellipse(double x, double y, double cx, double cy, double rx, double ry, double degrees = 0) {
  double c = std::cos(degrees * kPi / 180), s = std::sin(degrees * kPi / 180);
  double u = ((x - cx) * c + (y - cy) * s) / rx, v = (-(x - cx) * s + (y - cy) * c) / ry;
  // First-order distance: exact on the axes, close enough for soft features.
  double k = std::hypot(u, v);
  double g = std::hypot(u / rx, v / ry);
  return g > 0 ? k * (k - 1) / g : -std::min(rx, ry);
}

double segment(double x, double y, double ax, double ay, double bx, double by) {
  double dx = bx - ax, dy = by - ay;
  double t = clamp01(((x - ax) * dx + (y - ay) * dy) / std::max(1e-9, dx * dx + dy * dy));
  return std::hypot(x - ax - t * dx, y - ay - t * dy);
}

// Distance to the arc of a circle from a0 to a1 degrees (clockwise on screen,
// since y points down).
double arc(double x, double y, double cx, double cy, double r, double a0, double a1) {
  double ang = std::atan2(y - cy, x - cx) * 180 / kPi;
  while (ang < a0) ang += 360;
  if (ang <= a1) return std::fabs(std::hypot(x - cx, y - cy) - r);
  double e0x = cx + r * std::cos(a0 * kPi / 180), e0y = cy + r * std::sin(a0 * kPi / 180);
  double e1x = cx + r * std::cos(a1 * kPi / 180), e1y = cy + r * std::sin(a1 * kPi / 180);
  return std::min(std::hypot(x - e0x, y - e0y), std::hypot(x - e1x, y - e1y));
}

double roundrect(double x, double y, double x0, double y0, double x1, double y1, double r) {
  double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
  double qx = std::fabs(x - cx) - ((x1 - x0) / 2 - r), qy = std::fabs(y - cy) - ((y1 - y0) / 2 - r);
  return std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - r;
}

// A lit sphere: the colour of a ball of radius r at (cx, cy), lit from the
// upper left, for any point (points outside take the colour of the rim).
rgb sphere(double x, double y, double cx, double cy, double r, rgb base, double ambient, double shine) {
  double u = (x - cx) / r, v = (y - cy) / r;
  double l = std::hypot(u, v);
  if (l > 1) u /= l, v /= l, l = 1;
  double n = std::sqrt(std::max(0.0, 1 - l * l));
  const double lx = -0.45, ly = -0.6, lz = 0.66;  // already unit length
  double diffuse = std::max(0.0, u * lx + v * ly + n * lz);
  // Specular from the half vector between the light and the viewer.
  double hx = lx, hy = ly, hz = lz + 1, hl = std::sqrt(hx * hx + hy * hy + hz * hz);
  double specular = std::pow(std::max(0.0, (u * hx + v * hy + n * hz) / hl), 40) * shine;
  rgb c = base * (ambient + (1 - ambient) * diffuse);
  return c + rgb{255, 255, 255} * specular;
}

// ---------------------------------------------------------------------------
// The images.

// Ordinary ball: a light neutral sphere that takes white, red or any tint.
image drawball() {
  image im(296, 296);
  const double c = 148, r = 147.5;
  im.paint([&](double x, double y, rgb& col, double& a) {
    col = sphere(x, y, c, c, r, {236, 238, 244}, 0.5, 0.55);
    // A soft darker rim keeps neighbouring balls apart.
    double rim = smoothstep(0.8, 1.0, std::hypot(x - c, y - c) / r);
    col = col * (1 - 0.3 * rim);
    a = cover(circle(x, y, c, c, r));
  });
  return im;
}

// The player's ball: a glossy sphere with a cheerful face and a bold outline,
// white where the cycling colour should show and dark where the face is.
image drawtumbo() {
  image im(296, 296);
  const double c = 148, r = 147.5;
  const rgb ink{26, 22, 30};
  im.paint([&](double x, double y, rgb& col, double& a) {
    col = sphere(x, y, c, c, r, {236, 236, 240}, 0.55, 0.0);
    a = cover(circle(x, y, c, c, r));
  });
  // Outline ring.
  im.paint([&](double x, double y, rgb& col, double& a) {
    col = {40, 38, 48};
    a = cover(std::fabs(circle(x, y, c, c, r - 4.5)) - 4.5);
  });
  // A darker band round the belly, curving with the sphere.
  im.paint([&](double x, double y, rgb& col, double& a) {
    col = sphere(x, y, c, c, r, {176, 178, 190}, 0.55, 0.0);
    double d = std::fabs(circle(x, y, c, c - 330, 440)) - 13;
    a = cover(std::max(d, circle(x, y, c, c, r - 8)));
  });
  // Cheeks.
  for (int s : {-1, 1}) {
    im.paint([&](double x, double y, rgb& col, double& a) {
      col = {214, 176, 176};
      a = 0.55 * (1 - smoothstep(-10, 6, ellipse(x, y, c + s * 78, c + 40, 24, 15)));
    });
  }
  // Eyes: white, outlined, pupils looking ahead with a glint.
  for (int s : {-1, 1}) {
    double ex = c + s * 44, ey = c - 14;
    im.paint([&](double x, double y, rgb& col, double& a) {
      col = ink;
      a = cover(ellipse(x, y, ex, ey, 30, 40) - 5);
    });
    im.paint([&](double x, double y, rgb& col, double& a) {
      col = {255, 255, 255};
      a = cover(ellipse(x, y, ex, ey, 30, 40));
    });
    im.paint([&](double x, double y, rgb& col, double& a) {
      col = ink;
      a = cover(circle(x, y, ex + 9, ey + 6, 17));
    });
    im.paint([&](double x, double y, rgb& col, double& a) {
      col = {255, 255, 255};
      a = cover(circle(x, y, ex + 3, ey - 2, 6));
    });
    // Eyebrows, raised.
    im.paint([&](double x, double y, rgb& col, double& a) {
      col = ink;
      a = cover(arc(x, y, ex, ey - 10, 50, 235 + (s > 0 ? 10 : 0), 295 + (s > 0 ? 10 : 0)) - 6);
    });
  }
  // Open smile with a tongue.
  const double mx = c, my = c + 34, mr = 46;
  auto mouth = [&](double x, double y) { return std::max(circle(x, y, mx, my, mr), my + 4 - y); };
  im.paint([&](double x, double y, rgb& col, double& a) {
    col = ink;
    a = cover(mouth(x, y) - 5);
  });
  im.paint([&](double x, double y, rgb& col, double& a) {
    col = {92, 30, 40};
    a = cover(mouth(x, y));
  });
  im.paint([&](double x, double y, rgb& col, double& a) {
    col = {226, 110, 120};
    a = cover(std::max(circle(x, y, mx, my + 52, 30), mouth(x, y) + 1));
  });
  // Gloss: a soft highlight at the upper left, over everything.
  im.paint([&](double x, double y, rgb& col, double& a) {
    col = {255, 255, 255};
    a = 0.95 * (1 - smoothstep(-12, 6, ellipse(x, y, c - 70, c - 88, 34, 18, -35)));
  });
  return im;
}

// A link: a rounded bar with a bevelled top edge, shaded like a tube, light
// enough for any tint. 400 x 100 so that it draws exactly link-long and
// width-thick.
image drawplat() {
  image im(400, 100);
  im.paint([&](double x, double y, rgb& col, double& a) {
    double v = y / 100;  // 0 at the top edge, 1 at the bottom
    double tube = std::sin(std::min(1.0, v) * kPi);
    double shade = 0.56 + 0.44 * std::pow(tube, 0.7) - 0.16 * v;
    col = rgb{240, 242, 246} * shade;
    // Bevel: a bright line along the upper third.
    col = mix(col, rgb{255, 255, 255}, 0.85 * (1 - smoothstep(3, 9, std::fabs(y - 24))));
    a = cover(roundrect(x, y, 0, 0, 400, 100, 30));
  });
  // A dark outline so that thin links still read against the background.
  im.paint([&](double x, double y, rgb& col, double& a) {
    col = {70, 72, 84};
    a = cover(std::fabs(roundrect(x, y, 2.5, 2.5, 397.5, 97.5, 27.5)) - 2.5);
  });
  return im;
}

// Spark: a soft white dot, fully transparent at its border; drawn additively.
image drawspark() {
  image im(32, 32);
  im.paint([&](double x, double y, rgb& col, double& a) {
    double d = std::hypot(x - 16, y - 16) / 16;
    col = {255, 255, 255};
    double fall = std::max(0.0, 1 - d);
    a = std::pow(fall, 1.6) * (0.55 + 0.45 * std::exp(-d * d * 8));
  });
  return im;
}

// ---------------------------------------------------------------------------
// The splash logo: a round emblem (the player's ball bouncing off a link
// between two balls) over the word TUMBO in bold bright letters.

// The strokes of a letter as distance to its centre line, in a box.
double letterdistance(char ch, double x, double y, double x0, double y0, double w, double h, double hw) {
  double l = x0 + hw, r = x0 + w - hw, t = y0 + hw, b = y0 + h - hw;
  double m = (l + r) / 2;
  switch (ch) {
    case 'T':
      return std::min(segment(x, y, l - 2, t, r + 2, t), segment(x, y, m, t, m, b));
    case 'U': {
      double rr = (r - l) / 2;
      return std::min(
          {segment(x, y, l, t, l, b - rr), segment(x, y, r, t, r, b - rr), arc(x, y, m, b - rr, rr, 0, 180)});
    }
    case 'M': {
      double mid = t + (b - t) * 0.62;
      return std::min({segment(x, y, l, b, l, t), segment(x, y, l, t, m, mid), segment(x, y, m, mid, r, t),
                       segment(x, y, r, t, r, b)});
    }
    case 'B': {
      double ym = t + (b - t) * 0.47;
      double ru = (ym - t) / 2, rl = (b - ym) / 2;
      double ur = r - 3;
      return std::min({segment(x, y, l, t, l, b), segment(x, y, l, t, ur - ru, t),
                       arc(x, y, ur - ru, t + ru, ru, -90, 90), segment(x, y, l, ym, r - rl, ym),
                       arc(x, y, r - rl, ym + rl, rl, -90, 90), segment(x, y, l, b, r - rl, b)});
    }
    case 'O': {
      double rr = (r - l) / 2;
      return std::fabs(segment(x, y, m, t + rr, m, b - rr) - rr);
    }
  }
  return 1e9;
}

image drawlogo() {
  image im(205, 275);
  const double cx = 102.5, cy = 98, R = 94;
  // Emblem: a deep blue disc with a gold ring.
  im.paint([&](double x, double y, rgb& col, double& a) {
    double t = std::hypot(x - cx, y - cy + 30) / (R + 30);
    col = mix(rgb{70, 110, 220}, rgb{22, 26, 92}, clamp01(t));
    a = cover(circle(x, y, cx, cy, R));
  });
  auto inside = [&](double x, double y) { return cover(circle(x, y, cx, cy, R - 6)); };
  // Faint rays from behind the ball.
  im.paint([&](double x, double y, rgb& col, double& a) {
    double ang = std::atan2(y - 84, x - cx);
    col = {140, 180, 255};
    a = 0.18 * inside(x, y) * smoothstep(0.55, 0.85, std::cos(ang * 9));
  });
  // The link and its two balls.
  const double lx0 = 50, ly0 = 142, lx1 = 156, ly1 = 132;
  im.paint([&](double x, double y, rgb& col, double& a) {
    double d = segment(x, y, lx0, ly0, lx1, ly1) - 8;
    col = mix(rgb{250, 250, 255}, rgb{150, 160, 190}, smoothstep(-8, 0, d));
    a = cover(d) * inside(x, y);
  });
  im.paint([&](double x, double y, rgb& col, double& a) {
    col = sphere(x, y, lx0, ly0, 16, {235, 60, 70}, 0.45, 0.7);
    a = cover(circle(x, y, lx0, ly0, 16)) * inside(x, y);
  });
  im.paint([&](double x, double y, rgb& col, double& a) {
    col = sphere(x, y, lx1, ly1, 16, {70, 210, 90}, 0.45, 0.7);
    a = cover(circle(x, y, lx1, ly1, 16)) * inside(x, y);
  });
  // Motion arcs trailing the jumping ball.
  for (int i = 0; i < 3; i++) {
    im.paint([&](double x, double y, rgb& col, double& a) {
      col = {255, 255, 255};
      a = 0.75 * cover(arc(x, y, 66, 118, 38 + 11 * i, 195, 245) - 2.2) * inside(x, y);
    });
  }
  // The player's ball: orange, with eyes.
  const double bx = 106, by = 80, br = 38;
  im.paint([&](double x, double y, rgb& col, double& a) {
    col = {40, 20, 50};
    a = cover(circle(x, y, bx, by, br + 2.5));
  });
  im.paint([&](double x, double y, rgb& col, double& a) {
    col = sphere(x, y, bx, by, br, {255, 184, 56}, 0.68, 0.8);
    a = cover(circle(x, y, bx, by, br));
  });
  for (int s : {-1, 1}) {
    im.paint([&](double x, double y, rgb& col, double& a) {
      col = {255, 255, 255};
      a = cover(ellipse(x, y, bx + s * 12, by - 4, 8, 11));
    });
    im.paint([&](double x, double y, rgb& col, double& a) {
      col = {30, 20, 40};
      a = cover(circle(x, y, bx + s * 12 + 3, by - 2, 4.5));
    });
  }
  im.paint([&](double x, double y, rgb& col, double& a) {
    col = {90, 30, 30};
    a = cover(arc(x, y, bx, by + 6, 13, 25, 155) - 2.2);
  });
  // Sparkles.
  const double stars[][3] = {{40, 60, 5}, {160, 52, 6}, {150, 100, 3.5}, {58, 100, 3}, {124, 30, 3}};
  for (auto& s : stars) {
    im.paint([&](double x, double y, rgb& col, double& a) {
      double dx = std::fabs(x - s[0]), dy = std::fabs(y - s[1]);
      // A four-pointed star: thin where it is long.
      double d = std::min(std::max(dx - s[2] * 0.25, dy - s[2]), std::max(dy - s[2] * 0.25, dx - s[2]));
      col = {255, 250, 210};
      a = cover(d) * inside(x, y);
    });
  }
  // Gold ring over the disc's edge.
  im.paint([&](double x, double y, rgb& col, double& a) {
    double d = std::fabs(circle(x, y, cx, cy, R - 3)) - 3.5;
    double t = clamp01((y - (cy - R)) / (2 * R));
    col = mix(rgb{255, 236, 140}, rgb{214, 140, 30}, t);
    a = cover(d);
  });

  // The word.
  const char* word = "TUMBO";
  const rgb colours[] = {{255, 80, 80}, {255, 160, 40}, {250, 222, 50}, {80, 210, 100}, {80, 170, 255}};
  const double lw = 31, lh = 46, gap = 6, top = 206, hw = 5.5;
  const double x0 = (205 - (5 * lw + 4 * gap)) / 2;
  for (int i = 0; i < 5; i++) {
    double left = x0 + i * (lw + gap);
    auto dist = [&](double x, double y) { return letterdistance(word[i], x, y, left, top, lw, lh, hw); };
    im.paint([&](double x, double y, rgb& col, double& a) {
      col = colours[i] * 0.45;
      a = cover(dist(x, y) - hw - 2);
    });
    im.paint([&](double x, double y, rgb& col, double& a) {
      double t = clamp01((y - top) / lh);
      col = mix(mix(rgb{255, 255, 255}, colours[i], 0.55), colours[i] * 0.85, t);
      a = cover(dist(x, y) - hw);
    });
  }
  // A thin rainbow underline.
  im.paint([&](double x, double y, rgb& col, double& a) {
    double t = clamp01((x - 20) / 165);
    int k = std::min(3, int(t * 4));
    col = mix(colours[k], colours[k + 1], t * 4 - k);
    a = cover(segment(x, y, 20, 266, 185, 266) - 2.5);
  });
  return im;
}

// ---------------------------------------------------------------------------
// Sound.

constexpr int kRate = 44100;

// Fixed-seed noise, so every run writes the same bytes.
class noise {
 public:
  explicit noise(uint32_t seed) : s_(seed) {}
  double next() {
    s_ ^= s_ << 13;
    s_ ^= s_ >> 17;
    s_ ^= s_ << 5;
    return s_ / 2147483648.0 - 1.0;
  }

 private:
  uint32_t s_;
};

// The impact sound: a rubbery boing that falls in pitch with a wobble, over a
// short thump. Starts and ends at zero.
std::vector<int16_t> makejump() {
  const int n = int(kRate * 0.24);
  std::vector<double> s(n);
  noise rnd(0x4a554d50);
  double phase = 0, low = 0;
  for (int i = 0; i < n; i++) {
    double t = double(i) / kRate;
    double f = 95 + 330 * std::exp(-t / 0.03);
    f *= 1 + 0.14 * std::sin(2 * kPi * 24 * t) * std::exp(-t / 0.09);
    phase += 2 * kPi * f / kRate;
    double tone = std::sin(phase) + 0.35 * std::sin(2 * phase) + 0.12 * std::sin(3 * phase);
    double env = std::min(1.0, t / 0.002) * std::exp(-t / 0.075);
    low += (rnd.next() - low) * 0.08;  // a soft low-passed knock
    double knock = low * std::min(1.0, t / 0.001) * std::exp(-t / 0.012) * 3.0;
    s[i] = tone * env + knock;
  }
  // The tail fades to exact silence.
  const int fade = kRate / 50;
  for (int i = 0; i < fade; i++) s[n - 1 - i] *= double(i) / fade;
  double peak = 0;
  for (double v : s) peak = std::max(peak, std::fabs(v));
  std::vector<int16_t> out(n);
  for (int i = 0; i < n; i++) out[i] = int16_t(std::lround(s[i] / peak * 0.8 * 32767));
  return out;
}

// ---- Music -----------------------------------------------------------------
// 140 beats a minute: a sixteenth note is exactly 4725 samples, so every note
// starts on a whole sample and the track is a whole number of bars long.
constexpr int kSixteenth = 4725;
constexpr int kEighth = 2 * kSixteenth;
constexpr int kBar = 16 * kSixteenth;

struct stereo {
  std::vector<double> l, r;
  explicit stereo(size_t n) : l(n, 0.0), r(n, 0.0) {}
  size_t size() const { return l.size(); }
  // The track is a loop: anything that rings past the end continues at the start.
  void add(long i, double v, double pan) {
    size_t k = size_t(((i % long(size())) + long(size())) % long(size()));
    double a = (pan + 1) * kPi / 4;
    l[k] += v * std::cos(a);
    r[k] += v * std::sin(a);
  }
};

double midihz(double note) { return 440.0 * std::pow(2.0, (note - 69) / 12); }

// Band-limited step correction, so pulse waves do not alias into a hiss.
double blep(double t, double dt) {
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1;
  }
  if (t > 1 - dt) {
    t = (t - 1) / dt;
    return t * t + t + t + 1;
  }
  return 0;
}

double pulse(double t, double dt, double duty) {
  double v = t < duty ? 1 : -1;
  v += blep(t, dt);
  double t2 = t - duty + (t < duty ? 1 : 0);
  v -= blep(t2, dt);
  return v;
}

enum class wave { pulse12, pulse25, pulse50, triangle };

struct voice {
  wave shape;
  double volume, pan;
  double attack, decay, sustain, release;  // seconds, seconds, level, seconds
  double vibrato;                          // semitones
};

// One note, gated for gate samples, then released.
void note(stereo& out, const voice& v, long start, long gate, double midi) {
  const double f = midihz(midi), dt = f / kRate;
  const long len = gate + long(v.release * kRate);
  double t = 0;
  for (long i = 0; i < len; i++) {
    double sec = double(i) / kRate;
    double env =
        sec < v.attack ? sec / v.attack : v.sustain + (1 - v.sustain) * std::exp(-(sec - v.attack) / v.decay);
    if (i >= gate) env *= 1 - double(i - gate) / (len - gate);
    double vib = v.vibrato * smoothstep(0.12, 0.3, sec) * std::sin(2 * kPi * 5.5 * sec);
    double step = dt * std::pow(2.0, vib / 12);
    double s;
    switch (v.shape) {
      case wave::pulse12:
        s = pulse(t, step, 0.125);
        break;
      case wave::pulse25:
        s = pulse(t, step, 0.25);
        break;
      case wave::pulse50:
        s = pulse(t, step, 0.5);
        break;
      default:
        s = t < 0.5 ? 4 * t - 1 : 3 - 4 * t;
        break;
    }
    out.add(start + i, s * env * v.volume, v.pan);
    t += step;
    t -= std::floor(t);
  }
}

enum class drum { kick, snare, hat, openhat, crash };

void hit(stereo& out, drum d, long start, noise& rnd) {
  const double len = d == drum::crash ? 1.1 : d == drum::kick ? 0.3 : d == drum::snare ? 0.22 : 0.25;
  const long n = long(len * kRate);
  double phase = 0, prev = 0, lp = 0;
  for (long i = 0; i < n; i++) {
    double t = double(i) / kRate;
    double fade = std::min(1.0, t / 0.001) * std::min(1.0, double(n - i) / (0.01 * kRate));
    double w = rnd.next();
    double hp = w - prev;  // bright noise for cymbals
    prev = w;
    lp += (w - lp) * 0.35;
    double v = 0, pan = 0;
    switch (d) {
      case drum::kick:
        phase += 2 * kPi * (48 + 110 * std::exp(-t / 0.028)) / kRate;
        v = 0.62 * std::sin(phase) * std::exp(-t / 0.13);
        break;
      case drum::snare:
        phase += 2 * kPi * 185 / kRate;
        v = 0.26 * lp * std::exp(-t / 0.06) + 0.2 * std::sin(phase) * std::exp(-t / 0.035);
        pan = -0.1;
        break;
      case drum::hat:
        v = 0.08 * hp * std::exp(-t / 0.018);
        pan = 0.35;
        break;
      case drum::openhat:
        v = 0.07 * hp * std::exp(-t / 0.09);
        pan = 0.35;
        break;
      case drum::crash:
        v = 0.07 * (hp + 0.5 * w) * std::exp(-t / 0.35);
        pan = -0.3;
        break;
    }
    out.add(start + i, v * fade, pan);
  }
}

// Chords as three notes, root first.
struct chord {
  int n[3];
};
const chord kC{{60, 64, 67}}, kAm{{57, 60, 64}}, kF{{53, 57, 60}}, kG{{55, 59, 62}}, kEm{{52, 55, 59}};

// A tune bar: eight eighth notes; -1 holds the previous note, 0 is a rest.
using bar8 = std::vector<int>;

std::vector<float> makemusic() {
  // intro, A, B, A, bridge: 36 bars, a little over a minute.
  const std::vector<chord> chords = {kC,  kAm, kF,  kG,                      // intro
                                     kC,  kAm, kF,  kG,  kC,  kAm, kF, kG,   // A
                                     kF,  kG,  kEm, kAm, kF,  kG,  kC, kG,   // B
                                     kC,  kAm, kF,  kG,  kC,  kAm, kF, kG,   // A
                                     kAm, kF,  kC,  kG,  kAm, kF,  kG, kG};  // bridge
  const std::vector<bar8> tuneA = {{76, -1, 79, -1, 84, -1, 79, 76}, {81, -1, -1, 79, 76, -1, 72, -1},
                                   {77, -1, 81, -1, 84, -1, 81, 77}, {79, -1, -1, -1, 74, -1, 71, 74},
                                   {76, 79, 84, -1, 83, -1, 79, -1}, {81, -1, 84, -1, 88, -1, 86, 84},
                                   {81, -1, 77, -1, 79, -1, 81, 83}, {86, -1, 83, -1, 79, -1, 0, 0}};
  const std::vector<bar8> tuneB = {{84, -1, 81, -1, 77, -1, 81, -1}, {83, -1, 79, -1, 74, -1, 79, -1},
                                   {76, 79, 83, -1, 88, -1, 83, 79}, {81, -1, -1, -1, 0, 84, 83, 81},
                                   {81, -1, 84, -1, 89, -1, 88, 86}, {86, -1, 83, -1, 79, -1, 81, 83},
                                   {84, -1, -1, -1, 79, -1, 76, -1}, {74, -1, 79, -1, 83, -1, 86, -1}};
  const std::vector<bar8> tuneC = {{88, -1, -1, -1, 84, -1, -1, -1}, {81, -1, -1, -1, 84, -1, 89, -1},
                                   {88, -1, -1, -1, 79, -1, 84, -1}, {86, -1, -1, -1, -1, -1, 0, 0},
                                   {84, -1, 83, -1, 81, -1, 76, -1}, {77, -1, 81, -1, 84, -1, 81, -1},
                                   {83, -1, 86, -1, 91, -1, 89, -1}, {86, -1, 83, -1, 79, -1, 0, 0}};
  std::vector<bar8> tune(4, bar8(8, 0));
  for (auto* part : {&tuneA, &tuneB, &tuneA, &tuneC}) tune.insert(tune.end(), part->begin(), part->end());

  const int bars = int(chords.size());
  stereo mixbus(size_t(bars) * kBar), leadbus(size_t(bars) * kBar);
  noise rnd(0x7475);

  const voice bass{wave::triangle, 0.34, 0.0, 0.003, 0.15, 0.8, 0.015, 0};
  const voice arp{wave::pulse12, 0.075, 0.4, 0.002, 0.05, 0.25, 0.01, 0};
  const voice leadA{wave::pulse25, 0.17, -0.2, 0.006, 0.1, 0.7, 0.04, 0.18};
  const voice leadB{wave::pulse50, 0.15, -0.2, 0.006, 0.1, 0.7, 0.04, 0.18};
  const voice pad{wave::pulse50, 0.028, -0.45, 0.08, 0.5, 0.6, 0.12, 0.1};

  for (int b = 0; b < bars; b++) {
    const long at = long(b) * kBar;
    const chord& ch = chords[b];
    const bool intro = b < 4, bridge = b >= 28, bsect = b >= 12 && b < 20;
    const int root = ch.n[0] - 12;  // the bass roots lie between E2 and C3

    // Bass: an octave bounce in eighths; quarter notes in the bridge.
    if (bridge) {
      const int steps[] = {0, 7, 12, 7};
      for (int q = 0; q < 4; q++)
        note(mixbus, bass, at + q * 2 * kEighth, 2 * kEighth - 900, root + steps[q]);
    } else {
      const int steps[] = {0, 12, 0, 12, 0, 12, 7, 12};
      for (int e = 0; e < 8; e++) note(mixbus, bass, at + e * kEighth, kEighth - 1200, root + steps[e]);
    }

    // Arpeggio in sixteenths over the chord, softer under the tune.
    voice a = arp;
    if (!intro && !bsect && !bridge) a.volume *= 0.6;
    for (int s = 0; s < 16; s++) {
      const int k = s % 4;
      int n = k == 3 ? ch.n[0] + 12 : ch.n[k];
      note(mixbus, a, at + s * kSixteenth, kSixteenth - 1500, n + 12);
    }

    // A held chord under the bridge.
    if (bridge)
      for (int k = 0; k < 3; k++) note(mixbus, pad, at, kBar - 6000, ch.n[k]);

    // The tune, with its held notes joined.
    const bar8& t = tune[b];
    const voice& lead = bsect || bridge ? leadB : leadA;
    for (int e = 0; e < 8; e++) {
      if (t[e] <= 0) continue;
      int len = 1;
      while (e + len < 8 && t[e + len] == -1) len++;
      note(leadbus, lead, at + e * kEighth, len * kEighth - 1400, t[e]);
    }

    // Drums.
    if (b == 4 || b == 12 || b == 20 || b == 28) hit(mixbus, drum::crash, at, rnd);
    for (int e = 0; e < 8; e++) {
      const long when = at + e * kEighth;
      const bool last = b == bars - 1;
      if (bridge) {
        if (e == 0 || (e == 5 && b % 2 == 1)) hit(mixbus, drum::kick, when, rnd);
        if (e == 4 && !last) hit(mixbus, drum::snare, when, rnd);
      } else {
        if (e == 0 || e == 4 || (e == 5 && b % 2 == 1)) hit(mixbus, drum::kick, when, rnd);
        if ((e == 2 || e == 6) && b >= 2) hit(mixbus, drum::snare, when, rnd);
      }
      if (last && e >= 4) {
        // A fill back to the top, ended a sixteenth before the loop point.
        hit(mixbus, drum::snare, when, rnd);
        if (e < 7) hit(mixbus, drum::snare, when + kSixteenth, rnd);
        continue;
      }
      hit(mixbus, e == 7 && !intro ? drum::openhat : drum::hat, when, rnd);
    }
  }

  // Ping-pong echo on the tune (dotted eighths), wrapping round like the rest.
  const long echo = 3 * kSixteenth;
  for (size_t i = 0; i < leadbus.size(); i++) {
    mixbus.l[i] += leadbus.l[i];
    mixbus.r[i] += leadbus.r[i];
    double g = 0.3;
    for (int k = 1; k <= 3; k++, g *= 0.45) {
      double m = (leadbus.l[i] + leadbus.r[i]) * 0.5 * g;
      mixbus.add(long(i) + k * echo, m, k % 2 ? 0.7 : -0.7);
    }
  }

  // Level to a safe peak, and a few milliseconds of fade at both ends, so a
  // restart after a short gap starts and ends at silence.
  double peak = 0;
  for (size_t i = 0; i < mixbus.size(); i++)
    peak = std::max({peak, std::fabs(mixbus.l[i]), std::fabs(mixbus.r[i])});
  const double gain = 0.85 / peak;
  const size_t n = mixbus.size(), fade = kRate / 200;
  std::vector<float> out(2 * n);
  for (size_t i = 0; i < n; i++) {
    double f = std::min({1.0, double(i) / fade, double(n - 1 - i) / fade});
    out[2 * i] = float(mixbus.l[i] * gain * f);
    out[2 * i + 1] = float(mixbus.r[i] * gain * f);
  }
  return out;
}

// ---------------------------------------------------------------------------
// Icons: the player's ball in the logo's orange, shrunk by averaging the area
// every icon pixel covers (colours weighted by their opacity).

image tinted(image im, rgb tint) {
  for (int y = 0; y < im.height(); y++) {
    for (int x = 0; x < im.width(); x++) {
      double* p = im.pixel(x, y);
      p[0] *= tint.r / 255, p[1] *= tint.g / 255, p[2] *= tint.b / 255;
    }
  }
  return im;
}

image shrunk(const image& src, int size) {
  image out(size, size);
  const double step = double(src.width()) / size;
  for (int y = 0; y < size; y++) {
    for (int x = 0; x < size; x++) {
      double sum[4] = {0, 0, 0, 0}, area = 0;
      const double x0 = x * step, x1 = x0 + step, y0 = y * step, y1 = y0 + step;
      for (int sy = int(y0); sy < std::min(src.height(), int(std::ceil(y1))); sy++) {
        const double wy = std::min(y1, sy + 1.0) - std::max(y0, double(sy));
        for (int sx = int(x0); sx < std::min(src.width(), int(std::ceil(x1))); sx++) {
          const double w = wy * (std::min(x1, sx + 1.0) - std::max(x0, double(sx)));
          const double* p = src.pixel(sx, sy);
          for (int c = 0; c < 3; c++) sum[c] += p[c] * p[3] * w;
          sum[3] += p[3] * w;
          area += w;
        }
      }
      double* q = out.pixel(x, y);
      for (int c = 0; c < 3; c++) q[c] = sum[3] > 0 ? sum[c] / sum[3] : 0;
      q[3] = area > 0 ? sum[3] / area : 0;
    }
  }
  return out;
}

// A Windows icon file holding the given PNG images (each under 256 pixels
// across, or exactly 256, written as 0 as the format asks).
bool writeico(const std::string& path, const std::vector<std::pair<int, std::string>>& pngs) {
  std::string out;
  auto u16 = [&](unsigned v) { out += char(v & 255), out += char(v >> 8 & 255); };
  auto u32 = [&](unsigned v) { u16(v & 0xffff), u16(v >> 16); };
  u16(0), u16(1), u16(unsigned(pngs.size()));
  unsigned offset = unsigned(6 + 16 * pngs.size());
  for (const auto& [size, bytes] : pngs) {
    out += char(size >= 256 ? 0 : size), out += char(size >= 256 ? 0 : size);
    out += char(0), out += char(0);
    u16(1), u16(32), u32(unsigned(bytes.size())), u32(offset);
    offset += unsigned(bytes.size());
  }
  for (const auto& png : pngs) out += png.second;
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
  return std::fclose(f) == 0 && ok;
}

std::string slurp(const std::string& path) {
  std::string bytes;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    char buf[4096];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) bytes.append(buf, n);
    std::fclose(f);
  }
  return bytes;
}

int writeicons(const std::string& dir) {
  const image ball = tinted(drawtumbo(), {255, 184, 56});
  std::vector<std::pair<int, std::string>> ico;
  bool ok = true;
  for (int size : {16, 24, 32, 48, 64, 128, 256}) {
    const std::string path = dir + "/tumbo-" + std::to_string(size) + ".png";
    const bool written = shrunk(ball, size).save(path);
    std::printf("%s %s\n", written ? "wrote" : "FAILED", path.c_str());
    ok = ok && written;
    if (size != 128) ico.emplace_back(size, slurp(path));
  }
  const bool written = ok && writeico(dir + "/tumbo.ico", ico);
  std::printf("%s %s\n", written ? "wrote" : "FAILED", (dir + "/tumbo.ico").c_str());
  return written ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 2 && std::string(argv[1]) == "--icons") return writeicons(argv[2]);
  const std::string dir = argc > 1 ? argv[1] : "media";
  bool ok = true;
  auto report = [&](const std::string& name, bool written) {
    std::printf("%s %s\n", written ? "wrote" : "FAILED", (dir + "/" + name).c_str());
    ok = ok && written;
  };
  report("tumbo.png", drawtumbo().save(dir + "/tumbo.png"));
  report("ball.png", drawball().save(dir + "/ball.png"));
  report("plat.png", drawplat().save(dir + "/plat.png"));
  report("spark.png", drawspark().save(dir + "/spark.png"));
  report("205275.png", drawlogo().save(dir + "/205275.png"));
  report("jump.wav", WriteWAV(dir + "/jump.wav", kRate, makejump()));
  report("1.ogg", WriteOgg(dir + "/1.ogg", kRate, makemusic(), 0.4f));
  return ok ? 0 : 1;
}
