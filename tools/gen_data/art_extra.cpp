// The subjects of the songs and the rhymes, and a few shared pieces (a goose,
// a stove, a girl's face, a clock face). `phase` (0..1) moves what moves in
// the clips: rain falls, wheels turn, a devil flies.
#include <algorithm>
#include <cmath>
#include <vector>

#include "art.h"

namespace gen {

namespace {

constexpr double OW = 3.0;

void devil(Canvas& c, double phase) {
  double bob = 4 * std::sin(phase * 2 * kPi);
  c.push();
  c.translate(0, bob);
  c.polyline(Canvas::bezier({66, 70}, {86, 80}, {88, 56}, {94, 50}), 3, col::black);
  c.polygonO({{94, 44}, {98, 54}, {88, 52}}, col::red, 1.6);
  c.ellipseO(50, 70, 18, 20, col::red, OW);
  c.polygonO({{30, 28}, {26, 8}, {40, 22}}, col::lightGrey, 2.2);
  c.polygonO({{70, 28}, {74, 8}, {60, 22}}, col::lightGrey, 2.2);
  c.circleO(50, 38, 22, col::red, OW);
  drawEye(c, 42, 34, 5);
  drawEye(c, 58, 34, 5);
  c.line(36, 26, 46, 29, 2.4, col::black);
  c.line(64, 26, 54, 29, 2.4, col::black);
  c.arc(50, 42, 9, 0.4, kPi - 0.4, 2.6, col::black);
  c.polygonO({{47, 50}, {53, 50}, {50, 56}}, col::white, 1);
  c.pop();
  for (int i = 0; i < 3; ++i) {
    double x = 10 + std::fmod(phase * 30 + i * 12, 36);
    c.fillPolygon(Canvas::star(x, 88 - i * 8, 1.5, 4, 4), col::yellow);
  }
}

void pinwheel(Canvas& c, double phase) {
  c.line(50, 50, 50, 96, 4, col::brown);
  const Rgb cols[4] = {col::red, col::yellow, col::blue, col::green};
  for (int i = 0; i < 4; ++i) {
    double a = phase * kPi / 2 + i * kPi / 2;
    Pt tip{50 + 40 * std::cos(a), 44 + 40 * std::sin(a)};
    Pt side{50 + 28 * std::cos(a + 0.9), 44 + 28 * std::sin(a + 0.9)};
    c.polygonO({{50, 44}, tip, side}, cols[i], 2.4);
  }
  c.circleO(50, 44, 5, col::white, 2);
}

void frog(Canvas& c, double phase) {
  double hop = 6 * std::fabs(std::sin(phase * kPi));
  c.fillEllipse(50, 92, 40, 5, rgb(80, 160, 220));
  c.push();
  c.translate(0, -hop);
  Rgb g = rgb(90, 190, 60);
  c.ellipseO(26, 80, 14, 8, g, OW);
  c.ellipseO(74, 80, 14, 8, g, OW);
  c.ellipseO(50, 62, 34, 24, g, OW);
  c.circleO(34, 40, 11, g, OW);
  c.circleO(66, 40, 11, g, OW);
  drawEye(c, 34, 40, 6);
  drawEye(c, 66, 40, 6);
  c.arc(50, 58, 18, 0.35, kPi - 0.35, 3, col::black);
  c.fillEllipse(50, 74, 16, 8, rgb(200, 240, 150));
  c.pop();
}

void millWheel(Canvas& c, double phase) {
  c.fillRect(0, 80, 100, 100, rgb(90, 160, 230));
  double rot = phase * kPi / 4;
  c.circleO(50, 50, 40, col::brown, OW);
  c.fillCircle(50, 50, 30, col::lightYellow);
  for (int i = 0; i < 8; ++i) {
    double a = rot + i * kPi / 4;
    c.line(50, 50, 50 + 36 * std::cos(a), 50 + 36 * std::sin(a), 4, col::darkBrown);
    double bx = 50 + 40 * std::cos(a), by = 50 + 40 * std::sin(a);
    c.push();
    c.translate(bx, by);
    c.rotate(a);
    c.roundRectO(-6, -9, 6, 9, 2, col::brown, 2);
    c.pop();
  }
  c.circleO(50, 50, 8, col::darkGrey, 2);
  for (int i = 0; i < 4; ++i) {
    double x = std::fmod(phase * 40 + i * 25, 100);
    c.arc(x, 86, 5, kPi, 2 * kPi, 2, col::white);
  }
}

void mousePot(Canvas& c, double phase) {
  for (int i = 0; i < 3; ++i) {
    double x = 44 + i * 12, sw = 3 * std::sin(phase * 2 * kPi + i);
    c.polyline(Canvas::bezier({x, 40}, {x - 5 + sw, 30}, {x + 5 - sw, 22}, {x + sw, 12}), 2.4, col::grey);
  }
  c.fillEllipse(58, 94, 30, 4, rgb(255, 120, 20));
  c.roundRectO(32, 48, 84, 86, 8, rgb(240, 80, 60), OW);
  c.line(26, 54, 34, 54, 5, col::black);
  c.line(82, 54, 92, 54, 5, col::black);
  c.fillEllipse(58, 48, 26, 5, rgb(255, 240, 200));
  c.fillCircle(50, 66, 4, col::white);
  c.fillCircle(66, 72, 4, col::white);
  // The little mouse peeking beside the pot.
  Rgb fur = rgb(170, 170, 178);
  c.circleO(14, 56, 8, fur, 2);
  c.fillCircle(14, 56, 4, col::lightPink);
  c.circleO(22, 70, 12, fur, 2.4);
  c.fillCircle(19, 67, 2, col::black);
  c.fillCircle(30, 72, 2.2, col::pink);
  c.line(30, 68, 44, 40 + 6 * std::sin(phase * 2 * kPi), 3, col::brown);
}

void jumpingDog(Canvas& c, double phase) {
  for (int i = 0; i < 7; ++i) {
    double x = 8 + i * 14;
    c.line(x, 98, x + 2, 74, 2.4, rgb(200, 170, 60));
    c.fillEllipse(x + 2, 72, 2.5, 5, rgb(225, 195, 80));
  }
  double t = phase;
  double jump = 26 * std::sin(t * kPi);
  Rgb fur = rgb(200, 140, 80);
  c.push();
  c.translate(0, -jump);
  c.ellipseO(50, 60, 24, 12, fur, OW);
  c.line(30, 66, 22, 76, 4, col::darkBrown);
  c.line(36, 68, 30, 78, 4, col::darkBrown);
  c.line(64, 68, 72, 78, 4, col::darkBrown);
  c.line(70, 66, 80, 74, 4, col::darkBrown);
  c.line(26, 56, 14, 48, 3.6, col::darkBrown);
  c.circleO(76, 46, 12, fur, OW);
  c.ellipseO(70, 40, 5, 10, col::darkBrown, 2, col::black, 0.4);
  c.fillCircle(79, 43, 2.2, col::black);
  c.fillCircle(88, 48, 2.8, col::black);
  c.pop();
}

void rainCloud(Canvas& c, double phase) {
  for (int i = 0; i < 6; ++i) {
    double x = 18 + i * 13;
    double y = 52 + std::fmod(phase * 40 + i * 17, 44);
    c.fillEllipse(x, y, 3, 5, col::blue);
  }
  drawCloud(c, 50, 30, 1.35, rgb(215, 225, 240));
}

}  // namespace

void drawGoose(Canvas& c, double x, double y, double s, double step) {
  c.push();
  c.translate(x, y);
  c.scale(s, s);
  double leg = 4 * std::sin(step * 2 * kPi);
  c.line(-4, 16, -6 - leg, 30, 3, col::orange);
  c.line(6, 16, 8 + leg, 30, 3, col::orange);
  c.fillEllipse(-6 - leg, 30, 5, 2, col::orange);
  c.fillEllipse(8 + leg, 30, 5, 2, col::orange);
  c.polyline(Canvas::bezier({14, 4}, {24, -4}, {16, -18}, {22, -28}), 8.5, col::black);
  c.polyline(Canvas::bezier({14, 4}, {24, -4}, {16, -18}, {22, -28}), 5.5, col::white);
  c.ellipseO(0, 6, 22, 13, col::white, 2.6);
  c.ellipseO(-2, 4, 12, 6, col::lightGrey, 1.6, col::grey, 0.2);
  c.circleO(23, -28, 7, col::white, 2.6);
  c.polygonO({{28, -30}, {40, -26}, {28, -23}}, col::orange, 1.6);
  c.fillCircle(24, -30, 1.8, col::black);
  c.pop();
}

void drawStove(Canvas& c, double x, double y, double s, double fall) {
  c.push();
  c.translate(x, y);
  c.scale(s, s);
  const Rgb tile = rgb(120, 160, 90), tileDark = rgb(80, 120, 60);
  c.roundRectO(-30, -34, 30, 36, 4, tile, OW);
  for (int r = 0; r < 4; ++r)
    for (int k = 0; k < 3; ++k) c.roundRectO(-26 + k * 18, -30 + r * 16, -12 + k * 18, -18 + r * 16, 2, tileDark, 1.4);
  c.roundRectO(-12, 14, 12, 32, 3, col::black, 2, col::darkGrey);
  c.fillEllipse(0, 26, 8, 5, col::orange);
  c.fillEllipse(0, 27, 4, 3, col::yellow);
  // The top of the stove and its bricks tumbling down as `fall` grows.
  const double bricks[5][2] = {{-24, -40}, {-8, -40}, {8, -40}, {24, -40}, {0, -48}};
  for (int i = 0; i < 5; ++i) {
    double t = std::clamp(fall * 1.4 - i * 0.08, 0.0, 1.0);
    double bx = bricks[i][0] + (i - 2) * 18 * t, by = bricks[i][1] + 70 * t * t;
    c.push();
    c.translate(bx, by);
    c.rotate((i - 2) * 1.2 * t);
    c.roundRectO(-8, -4, 8, 4, 1, rgb(200, 70, 40), 1.6);
    c.pop();
  }
  c.pop();
}

void drawGirlFace(Canvas& c, double cx, double cy, double s, bool eyesOpen) {
  c.push();
  c.translate(cx, cy);
  c.scale(s, s);
  const Rgb hair = rgb(240, 190, 70);
  c.ellipseO(-30, 16, 7, 18, hair, 2.4, col::black, 0.3);
  c.ellipseO(30, 16, 7, 18, hair, 2.4, col::black, -0.3);
  c.fillCircle(-32, 34, 5, col::red);
  c.fillCircle(32, 34, 5, col::red);
  c.circleO(0, 0, 30, hair, OW);
  c.ellipseO(0, 6, 25, 25, col::skin, 2.4);
  c.fillPolygon({{-25, -2}, {-20, -22}, {0, -28}, {20, -22}, {25, -2}, {10, -12}, {-4, -8}, {-14, -12}}, hair);
  if (eyesOpen) {
    for (int sx : {-1, 1}) {
      c.circleO(sx * 10, 4, 6, col::white, 1.6);
      c.fillCircle(sx * 10, 5, 4, rgb(40, 120, 230));
      c.fillCircle(sx * 10, 5, 2, col::black);
      c.fillCircle(sx * 10 - 1.5, 3, 1.2, col::white);
    }
  } else {
    for (int sx : {-1, 1}) c.arc(sx * 10, 2, 5, 0.3, kPi - 0.3, 2, col::black);
  }
  c.fillEllipse(-16, 14, 4, 2.5, rgb(255, 150, 150), 0, 0.8);
  c.fillEllipse(16, 14, 4, 2.5, rgb(255, 150, 150), 0, 0.8);
  c.arc(0, 12, 8, 0.5, kPi - 0.5, 2.2, col::darkRed);
  c.pop();
}

void drawClockFace(Canvas& c, double cx, double cy, double r, Rgb rim, double hourAngle, double minuteAngle) {
  c.circleO(cx, cy, r, rim, r * 0.08);
  c.fillCircle(cx, cy, r * 0.8, col::white);
  for (int i = 0; i < 12; ++i) {
    double a = i * kPi / 6;
    double r0 = i % 3 == 0 ? 0.6 : 0.68;
    c.line(cx + r * r0 * std::cos(a), cy + r * r0 * std::sin(a), cx + r * 0.76 * std::cos(a),
           cy + r * 0.76 * std::sin(a), r * (i % 3 == 0 ? 0.07 : 0.04), col::black);
  }
  c.line(cx, cy, cx + r * 0.4 * std::cos(hourAngle - kPi / 2), cy + r * 0.4 * std::sin(hourAngle - kPi / 2),
         r * 0.09, col::black);
  c.line(cx, cy, cx + r * 0.6 * std::cos(minuteAngle - kPi / 2), cy + r * 0.6 * std::sin(minuteAngle - kPi / 2),
         r * 0.06, col::black);
  c.fillCircle(cx, cy, r * 0.07, col::red);
}

void drawSongSubject(Canvas& c, int song, double phase) {
  switch (song) {
    case 1:
      c.fillRect(0, 78, 100, 100, col::leaf);
      drawGoose(c, 44 + 6 * std::sin(phase * 2 * kPi), 52, 1.15, phase * 2);
      break;
    case 2: drawStove(c, 50, 56, 1.0, phase); break;
    case 3: rainCloud(c, phase); break;
    case 4: drawGirlFace(c, 50, 50, 1.25, phase < 0.8); break;
    default: break;
  }
}

void drawRhymeSubject(Canvas& c, int rhyme, double phase) {
  switch (rhyme) {
    case 1: devil(c, phase); break;
    case 2: pinwheel(c, phase); break;
    case 3: frog(c, phase); break;
    case 4: millWheel(c, phase); break;
    case 5: mousePot(c, phase); break;
    case 6: jumpingDog(c, phase); break;
    default: break;
  }
}

}  // namespace gen
