// The memory games' cards: the twenty faces, their marked variants and the card back.
// Cards are square to their last pixel: they lie on the brown grid in the
// first game and on a white panel in the second, so a corner in any one
// background colour would show on the other.
#include <cmath>
#include <string>

#include "art.h"
#include "output.h"

namespace gen {

namespace {

constexpr int kCard = 125;

Canvas cardFace(int n) {
  Canvas c(kCard, kCard, col::darkGrey);
  c.roundRectO(1.5, 1.5, kCard - 1.5, kCard - 1.5, 0, cardBackground(n), 3, col::darkGrey);
  c.push();
  c.translate(11, 11);
  c.scale(1.03, 1.03);
  drawCardSubject(c, n);
  c.pop();
  return c;
}

// The face with a thick red frame and a red cross: "this one was not there before".
Canvas markedFace(int n) {
  Canvas c = cardFace(n);
  c.fillRect(0, 0, kCard, kCard, col::red);
  c.fillRect(8, 8, kCard - 8, kCard - 8, cardBackground(n));
  c.push();
  c.translate(16, 16);
  c.scale(0.93, 0.93);
  drawCardSubject(c, n);
  c.pop();
  c.line(22, 22, kCard - 22, kCard - 22, 9, col::white, 0.8);
  c.line(kCard - 22, 22, 22, kCard - 22, 9, col::white, 0.8);
  c.line(22, 22, kCard - 22, kCard - 22, 6, col::red, 0.9);
  c.line(kCard - 22, 22, 22, kCard - 22, 6, col::red, 0.9);
  return c;
}

Canvas cardBack() {
  Rgb deep = rgb(40, 70, 190), light = rgb(80, 120, 235);
  Canvas c(kCard, kCard, col::navyBlue);
  c.roundRectO(1.5, 1.5, kCard - 1.5, kCard - 1.5, 0, deep, 3, col::navyBlue);
  c.push();
  c.translate(62.5, 62.5);
  c.rotate(kPi / 4);
  for (int i = -6; i <= 6; ++i) {
    c.line(i * 15.0, -90, i * 15.0, 90, 3, light);
    c.line(-90, i * 15.0, 90, i * 15.0, 3, light);
  }
  c.pop();
  c.fillRect(3, 3, kCard - 3, kCard - 3, deep, 0.35);
  c.circleO(62.5, 62.5, 30, rgb(255, 250, 220), 3, col::navyBlue);
  c.polygonO(Canvas::star(62.5, 64, 10, 24, 5), col::yellow, 2.4, col::orange);
  for (auto [x, y] : {std::pair{18.0, 18.0}, {107.0, 18.0}, {18.0, 107.0}, {107.0, 107.0}})
    c.fillPolygon(Canvas::star(x, y, 3, 8, 4), col::yellow);
  c.fillRing(62.5, 62.5, kCard / 2.0 - 6, kCard / 2.0 - 4, col::lightYellow, 0.0);
  // The frame goes on last, over the ends of the pattern's lines.
  c.fillRect(0, 0, kCard, 3, col::navyBlue);
  c.fillRect(0, kCard - 3, kCard, kCard, col::navyBlue);
  c.fillRect(0, 0, 3, kCard, col::navyBlue);
  c.fillRect(kCard - 3, 0, kCard, kCard, col::navyBlue);
  return c;
}

}  // namespace

void addCardPictureJobs(Jobs& jobs) {
  for (int n = 1; n <= kCardCount; ++n) {
    jobs.push_back({"card " + std::to_string(n), [n](Output& out) {
                      out.dataBmp8("obrazky/k_" + std::to_string(n) + ".bmp", cardFace(n));
                      out.dataBmp8("obrazky/nk_" + std::to_string(n) + ".bmp", markedFace(n));
                    }});
  }
  jobs.push_back({"card back", [](Output& out) { out.dataBmp8("obrazky/k_rub.bmp", cardBack()); }});
}

}  // namespace gen
