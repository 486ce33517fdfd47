// The programs' cursors (32x32, 16 colours, with their hot spots) and icons.
#include <cmath>
#include <functional>
#include <string>

#include "art.h"
#include "cursor_writer.h"
#include "output.h"

namespace gen {

namespace {

constexpr Rgb kKey = rgb(255, 0, 254);  // stands for "transparent"; no drawing uses it

// Draws `shape` as a filled silhouette in `fill`, then rings it with a
// one-pixel black outline, all without anti-aliasing.
void outlined(Canvas& c, Rgb fill, const std::function<void(Canvas&, Rgb)>& shape) {
  Canvas mask(c.width(), c.height(), kKey);
  mask.setAntiAlias(false);
  shape(mask, fill);
  for (int y = 0; y < c.height(); ++y)
    for (int x = 0; x < c.width(); ++x) {
      if (!(mask.at(x, y) == kKey)) {
        c.at(x, y) = mask.at(x, y);
        continue;
      }
      bool edge = false;
      for (int dy = -1; dy <= 1 && !edge; ++dy)
        for (int dx = -1; dx <= 1 && !edge; ++dx) {
          int xx = x + dx, yy = y + dy;
          if (xx >= 0 && yy >= 0 && xx < c.width() && yy < c.height() && !(mask.at(xx, yy) == kKey)) edge = true;
        }
      if (edge) c.at(x, y) = rgb(0, 0, 0);
    }
}

MaskedPicture arrowCursor() {
  Canvas c(32, 32, kKey);
  outlined(c, rgb(255, 255, 255), [](Canvas& m, Rgb f) {
    m.fillPolygon({{2, 2}, {2, 27}, {8.5, 21}, {13.5, 30.5}, {18, 28.5}, {13, 19}, {21.5, 19}}, f);
  });
  return {c, kKey};
}

MaskedPicture penCursor() {
  Canvas c(32, 32, kKey);
  outlined(c, rgb(192, 192, 192), [](Canvas& m, Rgb f) {
    m.push();
    m.translate(5, 5);
    m.rotate(kPi / 4);
    m.fillPolygon({{0, 0}, {7, -3.5}, {7, 3.5}}, rgb(255, 255, 0));
    m.fillPolygon({{0, 0}, {3, -1.5}, {3, 1.5}}, rgb(0, 0, 0));
    m.fillRect(7, -3.5, 30, 3.5, f);
    m.fillRect(7, -3.5, 30, -1, rgb(128, 128, 128));
    m.fillRect(26, -3.5, 30, 3.5, rgb(255, 0, 0));
    m.pop();
  });
  return {c, kKey};
}

MaskedPicture handCursor() {
  Canvas c(32, 32, kKey);
  outlined(c, rgb(255, 255, 255), [](Canvas& m, Rgb f) {
    m.fillRect(8, 1, 13, 16, f);            // the pointing finger, tip at (10, 0)
    m.fillCircle(10.5, 1.8, 2.4, f);
    for (int i = 0; i < 3; ++i) m.fillRect(14 + i * 4.5, 10 + i, 18 + i * 4.5, 18, f);
    m.fillRect(8, 14, 27, 27, f);           // the palm
    m.fillPolygon({{8, 18}, {2, 12}, {0.5, 14}, {5, 22}, {8, 25}}, f);  // the thumb
    m.fillRect(10, 27, 25, 31, f);          // the wrist
  });
  // creases between the fingers
  for (int i = 0; i < 3; ++i)
    for (int y = 13 + i; y < 18; ++y) c.at(int(13.5 + i * 4.5), y) = rgb(0, 0, 0);
  return {c, kKey};
}

MaskedPicture clockCursor() {
  Canvas c(32, 32, kKey);
  outlined(c, rgb(255, 0, 0), [](Canvas& m, Rgb f) {
    m.fillCircle(7, 7, 5, rgb(255, 255, 0));
    m.fillCircle(25, 7, 5, rgb(255, 255, 0));
    m.fillRect(8, 26, 11, 31, f);
    m.fillRect(21, 26, 24, 31, f);
    m.fillCircle(16, 18, 12.5, f);
  });
  c.setAntiAlias(false);
  c.fillCircle(16, 18, 9.5, rgb(255, 255, 0));
  c.fillCircle(12.5, 15.5, 1.3, rgb(0, 0, 0));
  c.fillCircle(19.5, 15.5, 1.3, rgb(0, 0, 0));
  for (int x = 12; x <= 20; ++x) c.at(x, 22 - (x == 12 || x == 20 ? 1 : 0)) = rgb(0, 0, 0);
  c.line(16, 18, 16, 11, 1.2, rgb(0, 0, 0));
  c.line(16, 18, 21, 18, 1.2, rgb(0, 0, 0));
  c.at(16, 18) = rgb(255, 0, 0);
  return {c, kKey};
}

MaskedPicture iconPicture(int program, int size) {
  Canvas c(size, size, kKey);
  c.setAntiAlias(false);
  c.scale(size / 32.0, size / 32.0);
  switch (program) {
    case 0:  // games: a card with a star, and a second card behind it
      c.fillRoundRect(11, 2, 31, 26, 3, rgb(0, 0, 0));
      c.fillRoundRect(12, 3, 30, 25, 2, rgb(0, 0, 255));
      c.fillRoundRect(1, 6, 21, 30, 3, rgb(0, 0, 0));
      c.fillRoundRect(2, 7, 20, 29, 2, rgb(255, 255, 255));
      c.fillPolygon(Canvas::star(11, 18.5, 3, 7.5, 5), rgb(255, 0, 0));
      c.fillPolygon(Canvas::star(24, 11, 2, 4.5, 5), rgb(255, 255, 0));
      break;
    case 1:  // rhymes: an arrow among faces
      for (int i = 0; i < 4; ++i) {
        double a = i * kPi / 2 + kPi / 4;
        double x = 16 + 11 * std::cos(a), y = 16 + 11 * std::sin(a);
        c.fillCircle(x, y, 5, rgb(0, 0, 0));
        c.fillCircle(x, y, 4, i == 0 ? rgb(255, 255, 0) : rgb(255, 255, 255));
      }
      c.fillPolygon({{16, 16}, {22, 14}, {26, 26}, {14, 22}}, rgb(255, 0, 0));
      c.fillCircle(16, 16, 3, rgb(0, 0, 0));
      break;
    default:  // songs: two music notes
      c.fillEllipse(9, 25, 5, 4, rgb(0, 0, 0), -0.4);
      c.fillEllipse(23, 21, 5, 4, rgb(0, 0, 0), -0.4);
      c.fillRect(13, 5, 15.5, 25, rgb(0, 0, 0));
      c.fillRect(27, 3, 29.5, 21, rgb(0, 0, 0));
      c.fillPolygon({{13, 5}, {29.5, 1}, {29.5, 6}, {13, 10}}, rgb(0, 0, 0));
      break;
  }
  return {c, kKey};
}

}  // namespace

void addCursorJobs(Jobs& jobs) {
  jobs.push_back({"cursors", [](Output& out) {
                    out.res("common/cursor.sipka1.cur", curFile(arrowCursor(), 2, 2),
                            "cursor \"sipka1\": large white arrow, 32x32, hot spot 2,2 (all three programs)");
                    out.res("games/cursor.sipka2.cur", curFile(penCursor(), 5, 5),
                            "cursor \"sipka2\": slanted grey pen, 16 colours, hot spot 5,5 (games program only)");
                    out.res("common/cursor.ruka1.cur", curFile(handCursor(), 10, 0),
                            "cursor \"ruka1\": white pointing hand, 32x32, hot spot 10,0 (all three programs)");
                    out.res("common/cursor.hodiny1.cur", curFile(clockCursor(), 16, 18),
                            "cursor \"hodiny1\": yellow and red alarm clock with a face, 16 colours, hot spot 16,18");
                  }});
  jobs.push_back({"icons", [](Output& out) {
                    const char* names[3] = {"games", "rhymes", "songs"};
                    const char* what[3] = {"games program icon (cards)", "rhymes program icon (counting-out circle)",
                                           "songs program icon (music notes)"};
                    for (int p = 0; p < 3; ++p)
                      out.res(std::string(names[p]) + "/icon.program.ico",
                              icoFile({iconPicture(p, 32), iconPicture(p, 16)}),
                              std::string(what[p]) + ", 32x32 and 16x16, 16 colours");
                  }});
}

}  // namespace gen
