// The memory games' other pictures: the three grids the cards lie on, the
// countdown frames and the idle clock.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "art.h"
#include "output.h"
#include "pictures_game.h"

namespace gen {

namespace {

// Card offsets inside the grid picture, as the first memory game lays the cards out.
struct GridLayout {
  int n;
  std::vector<int> offsets;
  int card;
};
const GridLayout kGrids[3] = {{2, {42, 241}, 125}, {3, {8, 142, 277}, 125}, {4, {6, 107, 208, 309}, 95}};

Canvas grid(const GridLayout& g) {
  const int size = 410;
  Canvas c(size, size, col::formGreen);
  const Rgb wood = rgb(245, 214, 150), woodDark = rgb(214, 170, 100), slot = rgb(190, 140, 75);
  c.roundRectO(1.5, 1.5, size - 1.5, size - 1.5, 18, wood, 3, col::darkBrown);
  // A few soft grain lines across the board.
  for (int i = 0; i < 9; ++i) {
    double y = 30 + i * 44;
    c.polyline(Canvas::bezier({14, y}, {140, y - 10}, {270, y + 10}, {396, y}), 2, woodDark, false, 0.5);
  }
  for (int col = 0; col < g.n; ++col) {
    for (int row = 0; row < g.n; ++row) {
      double x = g.offsets[col], y = g.offsets[row];
      // Square slots, as the cards that lie in them are square.
      c.fillRoundRect(x - 5, y - 5, x + g.card + 5, y + g.card + 5, 4, slot);
      c.fillRect(x - 2, y - 2, x + g.card + 2, y + g.card + 2, darken(slot, 0.25));
      c.fillRect(x + 4, y + 4, x + g.card - 4, y + g.card - 4, lighten(slot, 0.2));
    }
  }
  return c;
}

}  // namespace

Canvas alarmClock(int size, bool ringing) {
  Canvas c(size, size, col::formGreen);
  c.scale(size / 100.0, size / 100.0);
  double wob = ringing ? 0.08 : 0.0;
  c.push();
  c.translate(50, 54);
  c.rotate(wob);
  c.translate(-50, -54);
  c.line(30, 82, 22, 94, 6, col::black);
  c.line(70, 82, 78, 94, 6, col::black);
  for (int s : {-1, 1}) {
    c.push();
    c.translate(50 + s * 30, 20);
    c.rotate(s * 0.6);
    c.fillSector(0, 6, 15, kPi, 2 * kPi, col::black);
    c.fillSector(0, 6, 12.5, kPi, 2 * kPi, col::yellow);
    c.pop();
  }
  c.line(50, 18, 50, 10, 4, col::black);
  c.fillCircle(50, 9, 4, col::red);
  c.circleO(50, 54, 38, col::red, 3.4);
  drawClockFace(c, 50, 54, 31, col::yellow, 10 * kPi / 6, 2 * kPi * 10 / 60);
  c.fillCircle(40, 62, 2.6, col::black);
  c.fillCircle(60, 62, 2.6, col::black);
  c.arc(50, 66, 7, 0.5, kPi - 0.5, 2, col::black);
  c.pop();
  return c;
}

Canvas countdownFrame(int k, int size) {
  Canvas c(size, size, col::formGreen);
  c.scale(size / 100.0, size / 100.0);
  const Rgb lit = k > 10 ? col::leaf : k > 5 ? col::yellow : col::orange;
  for (int i = 0; i < 15; ++i) {
    double a = -kPi / 2 + i * 2 * kPi / 15;
    double x = 50 + 36 * std::cos(a), y = 50 + 36 * std::sin(a);
    bool on = i < k;
    c.push();
    c.translate(x, y);
    c.rotate(a);
    c.ellipseO(0, 0, 11, 7, on ? lit : rgb(40, 150, 40), 2, on ? col::black : rgb(20, 100, 20));
    c.pop();
  }
  c.circleO(50, 50, 23, k == 0 ? col::red : col::white, 3);
  // The remaining time as a slice of the face.
  if (k > 0) c.fillSector(50, 50, 17, -kPi / 2, -kPi / 2 + 2 * kPi * k / 15.0, lit);
  c.fillCircle(50, 50, 4, col::black);
  if (k == 0) {
    c.fillCircle(42, 46, 3, col::white);
    c.fillCircle(58, 46, 3, col::white);
    c.circleO(50, 58, 5, col::black, 1, col::white);
  }
  return c;
}

void addGamePictureJobs(Jobs& jobs) {
  jobs.push_back({"grids", [](Output& out) {
                    for (const GridLayout& g : kGrids) {
                      std::string n = std::to_string(g.n);
                      out.dataBmp8("obrazky/mriz" + n + "x" + n + ".bmp", grid(g));
                    }
                  }});
  jobs.push_back({"countdown", [](Output& out) {
                    for (int k = 0; k <= 15; ++k) {
                      char name[32];
                      std::snprintf(name, sizeof name, "obrazky/wait_%02d.bmp", k);
                      out.dataBmp8(name, countdownFrame(k, 100), {col::formGreen});
                    }
                    out.dataBmp8("obrazky/hodiny.bmp", alarmClock(100, false), {col::formGreen});
                  }});
}

}  // namespace gen
