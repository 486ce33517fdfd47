#include "glyphs.h"

#include <algorithm>
#include <cmath>

#include "art.h"
#include "figures.h"

namespace gen {

namespace {

constexpr Rgb kKey = col::formGreen;
constexpr Rgb kWhite = rgb(255, 255, 255);
constexpr Rgb kGrey = rgb(128, 128, 128);

Canvas upCell(int w, int h, const GlyphArt& art, double dx = 0, double dy = 0) {
  Canvas c(w, h, kKey);
  double side = std::min(w, h) - 6.0;
  c.translate((w - side) / 2 + dx, (h - side) / 2 + dy);
  c.scale(side / 100.0, side / 100.0);
  art(c);
  return c;
}

bool isInk(Rgb p) { return !(p == kKey); }
double luma(Rgb p) { return 0.299 * p.r + 0.587 * p.g + 0.114 * p.b; }

Canvas recoloured(const Canvas& src, double lightenBy, double darkenBy) {
  Canvas c = src;
  for (int y = 0; y < c.height(); ++y)
    for (int x = 0; x < c.width(); ++x) {
      Rgb& p = c.at(x, y);
      if (!isInk(p)) continue;
      if (lightenBy > 0) p = lighten(p, lightenBy);
      if (darkenBy > 0) p = darken(p, darkenBy);
      if (p == kKey) p = rgb(0, 129, 0);  // never turn into the transparent colour
    }
  return c;
}

Canvas disabledCell(const Canvas& up) {
  const int w = up.width(), h = up.height();
  std::vector<bool> dark(size_t(w) * h, false);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      Rgb p = up.at(x, y);
      dark[size_t(y) * w + x] = isInk(p) && luma(p) < 140;
    }
  Canvas c(w, h, kKey);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (dark[size_t(y) * w + x]) c.at(x, y) = kGrey;
      else if (x > 0 && y > 0 && dark[size_t(y - 1) * w + x - 1]) c.at(x, y) = kWhite;
    }
  return c;
}

void keyCorner(Canvas& c) { c.at(0, c.height() - 1) = kKey; }

}  // namespace

Canvas glyphStrip(int w, int h, const GlyphArt& art) {
  Canvas strip(w * 5, h, kKey);
  Canvas up = upCell(w, h, art);
  Canvas down = recoloured(upCell(w, h, art, 1, 1), 0, 0.12);
  Canvas held = recoloured(upCell(w, h, art, 1, 1), 0, 0.28);
  Canvas hot = recoloured(up, 0.35, 0);
  Canvas cells[5] = {up, disabledCell(up), down, held, hot};
  for (int i = 0; i < 5; ++i) {
    keyCorner(cells[i]);
    strip.blit(cells[i], i * w, 0);
  }
  return strip;
}

Indexed glyphStripIndexed(const Canvas& strip) { return quantize(strip, {kKey, kWhite, kGrey}); }

void artExitDoor(Canvas& c) {
  c.roundRectO(18, 6, 70, 94, 3, rgb(60, 40, 20), 3);
  c.fillRect(22, 10, 66, 94, rgb(255, 250, 210));
  c.polygonO({{22, 10}, {44, 18}, {44, 90}, {22, 94}}, col::red, 3);
  c.fillCircle(39, 54, 3, col::yellow);
  c.polygonO({{50, 42}, {70, 42}, {70, 30}, {96, 52}, {70, 74}, {70, 62}, {50, 62}}, col::leaf, 3, col::darkGreen);
}

void artQuestion(Canvas& c) {
  c.circleO(50, 50, 44, col::yellow, 4, col::orange);
  c.arc(50, 36, 16, kPi * 0.9, kPi * 2.35, 10, col::blue);
  c.line(58, 50, 50, 58, 10, col::blue);
  c.line(50, 58, 50, 66, 10, col::blue);
  c.fillCircle(50, 82, 6.5, col::blue);
}

void artGridLevel(Canvas& c, int n) {
  double gap = 4, size = (92 - gap * (n - 1)) / n;
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      double x = 4 + i * (size + gap), y = 4 + j * (size + gap);
      bool face = (i + j) % 3 == 0;
      c.roundRectO(x, y, x + size, y + size, size * 0.18, face ? rgb(255, 250, 225) : rgb(40, 70, 190),
                   n == 4 ? 2 : 3, col::navyBlue);
      if (face) {
        c.push();
        c.translate(x + size * 0.1, y + size * 0.1);
        c.scale(size * 0.8 / 100, size * 0.8 / 100);
        drawCardSubject(c, 1 + (i * 7 + j * 3) % kCardCount);
        c.pop();
      } else {
        c.fillPolygon(Canvas::star(x + size / 2, y + size / 2, size * 0.13, size * 0.3, 5), col::yellow);
      }
    }
}

void artHandSign(Canvas& c, int sign) {
  const Rgb ring[3] = {rgb(150, 150, 160), rgb(255, 170, 60), rgb(120, 190, 255)};
  c.circleO(50, 50, 46, ring[sign - 1], 3.5, col::black);
  c.fillCircle(50, 50, 38, col::white);
  c.push();
  c.translate(sign == 1 ? 34 : 22, 52);
  c.scale(sign == 1 ? 1.15 : 1.0, sign == 1 ? 1.15 : 1.0);
  drawHand(c, sign, col::skin);
  c.pop();
}

void artSinging(Canvas& c) {
  c.circleO(40, 56, 32, col::skin, 3);
  c.fillCircle(30, 48, 3.5, col::black);
  c.fillCircle(50, 48, 3.5, col::black);
  c.ellipseO(40, 70, 9, 11, col::darkRed, 2.6);
  c.fillPolygon({{12, 40}, {20, 22}, {44, 18}, {66, 30}, {70, 44}, {50, 32}, {28, 36}}, rgb(120, 70, 30));
  drawMusicNote(c, 76, 44, 1.1, col::purple);
  drawMusicNote(c, 88, 80, 0.8, col::blue);
}

void artMusicOnly(Canvas& c) {
  drawMusicNote(c, 30, 70, 1.7, col::purple);
  drawMusicNote(c, 70, 56, 1.4, col::blue);
  c.line(56, 92, 94, 92, 4, col::darkGrey, 0.0);
  for (int i = 0; i < 3; ++i) c.arc(18, 30, 8 + i * 7, -1.0, 0.2, 3, col::orange);
}

}  // namespace gen
