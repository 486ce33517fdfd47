// The twenty card pictures of the memory games, each a thing a small child
// can name, drawn in bold outlined shapes on a pale background.
#include <cmath>
#include <tuple>
#include <vector>

#include "art.h"

namespace gen {

namespace {

constexpr double OW = 3.2;  // outline width in the 100x100 box

void apple(Canvas& c) {
  c.fillCircle(36, 58, 30, col::black);
  c.fillCircle(64, 58, 30, col::black);
  c.fillCircle(50, 80, 18, col::black);
  c.fillCircle(36, 58, 28.4, col::red);
  c.fillCircle(64, 58, 28.4, col::red);
  c.fillCircle(50, 79, 16.4, col::red);
  c.fillEllipse(34, 48, 7, 11, col::white, 0.5, 0.55);
  c.line(50, 34, 55, 14, 5, col::darkBrown);
  c.ellipseO(67, 20, 13, 6, col::leaf, 2.4, col::darkGreen, -0.5);
  c.line(58, 24, 74, 16, 1.5, col::darkGreen);
}

void cat(Canvas& c) {
  Rgb fur = rgb(250, 160, 60);
  c.polygonO({{18, 40}, {22, 6}, {46, 26}}, fur, OW);
  c.polygonO({{82, 40}, {78, 6}, {54, 26}}, fur, OW);
  c.fillPolygon({{23, 33}, {25, 14}, {39, 26}}, col::pink);
  c.fillPolygon({{77, 33}, {75, 14}, {61, 26}}, col::pink);
  c.ellipseO(50, 56, 38, 34, fur, OW);
  c.fillEllipse(50, 70, 20, 13, rgb(255, 230, 200));
  c.ellipseO(35, 50, 7, 9, col::leaf, 2);
  c.ellipseO(65, 50, 7, 9, col::leaf, 2);
  c.fillEllipse(35, 51, 2.6, 7, col::black);
  c.fillEllipse(65, 51, 2.6, 7, col::black);
  c.fillCircle(33, 47, 1.6, col::white);
  c.fillCircle(63, 47, 1.6, col::white);
  c.polygonO({{44, 62}, {56, 62}, {50, 68}}, col::pink, 1.8);
  c.arc(44, 69, 6, 0.2, 2.8, 2.2, col::black);
  c.arc(56, 69, 6, 0.3, 2.9, 2.2, col::black);
  for (int s : {-1, 1}) {
    c.line(50 + s * 14, 66, 50 + s * 44, 60, 1.6, col::black);
    c.line(50 + s * 14, 70, 50 + s * 44, 72, 1.6, col::black);
  }
}

void house(Canvas& c) {
  c.roundRectO(64, 12, 76, 36, 1, col::darkRed, OW);
  c.roundRectO(20, 44, 80, 92, 2, col::lightYellow, OW);
  c.polygonO({{10, 48}, {50, 12}, {90, 48}}, col::red, OW);
  c.roundRectO(42, 62, 58, 92, 3, col::brown, OW);
  c.fillCircle(54, 78, 1.8, col::yellow);
  c.roundRectO(25, 54, 38, 67, 1, col::lightBlue, 2.4);
  c.line(31.5, 54, 31.5, 67, 1.8, col::black);
  c.line(25, 60.5, 38, 60.5, 1.8, col::black);
  c.roundRectO(62, 54, 75, 67, 1, col::lightBlue, 2.4);
  c.line(68.5, 54, 68.5, 67, 1.8, col::black);
  c.line(62, 60.5, 75, 60.5, 1.8, col::black);
  c.fillCircle(50, 34, 6, col::lightBlue);
  c.fillRing(50, 34, 5.5, 7.5, col::black);
}

void sun(Canvas& c) {
  for (int i = 0; i < 12; ++i) {
    double a = i * kPi / 6;
    double ca = std::cos(a), sa = std::sin(a), cb = std::cos(a + 0.2), sb = std::sin(a + 0.2),
           cc = std::cos(a - 0.2), sc = std::sin(a - 0.2);
    c.polygonO({{50 + 28 * cc, 50 + 28 * sc}, {50 + 46 * ca, 50 + 46 * sa}, {50 + 28 * cb, 50 + 28 * sb}},
               col::orange, 2);
  }
  c.circleO(50, 50, 28, col::yellow, OW);
  c.fillCircle(41, 45, 3.2, col::black);
  c.fillCircle(59, 45, 3.2, col::black);
  c.fillEllipse(36, 55, 5, 3, rgb(255, 150, 100), 0, 0.8);
  c.fillEllipse(64, 55, 5, 3, rgb(255, 150, 100), 0, 0.8);
  drawSmile(c, 50, 55, 20, 2.6);
}

void fish(Canvas& c) {
  Rgb body = rgb(255, 140, 20);
  c.polygonO({{70, 50}, {94, 30}, {94, 70}}, body, OW);
  c.ellipseO(46, 50, 34, 22, body, OW);
  c.polygonO({{38, 30}, {52, 16}, {60, 32}}, rgb(255, 190, 60), 2.4);
  c.arc(56, 50, 12, -1.2, 1.2, 2.2, col::darkRed);
  c.circleO(26, 45, 6, col::white, 2);
  c.fillCircle(24.5, 45, 3, col::black);
  c.arc(18, 55, 5, 0.0, 1.4, 2, col::black);
  for (auto [x, y, r] : {std::tuple{12.0, 20.0, 4.0}, {22.0, 10.0, 3.0}, {8.0, 8.0, 2.2}}) {
    c.fillRing(x, y, r - 1, r, col::blue);
  }
  for (double y : {80.0, 88.0}) c.polyline(Canvas::bezier({10, y}, {30, y - 6}, {50, y}, {70, y - 6}), 2.2, col::blue);
}

void car(Canvas& c) {
  c.polygonO({{28, 46}, {36, 26}, {66, 26}, {76, 46}}, col::red, OW);
  c.fillPolygon({{34, 44}, {40, 30}, {50, 30}, {50, 44}}, col::lightBlue);
  c.fillPolygon({{54, 44}, {54, 30}, {64, 30}, {71, 44}}, col::lightBlue);
  c.roundRectO(8, 44, 94, 72, 8, col::red, OW);
  c.fillRoundRect(84, 50, 92, 58, 2, col::yellow);
  c.fillRoundRect(8, 52, 14, 58, 1, col::orange);
  c.line(50, 46, 50, 70, 1.6, col::darkRed);
  c.line(53, 53, 58, 53, 2, col::black);
  for (double x : {28.0, 74.0}) {
    c.circleO(x, 72, 12, col::darkGrey, OW);
    c.fillCircle(x, 72, 5, col::lightGrey);
  }
  c.fillRect(2, 86, 98, 89, col::grey);
}

void tree(Canvas& c) {
  c.polygonO({{43, 94}, {45, 56}, {55, 56}, {57, 94}}, col::brown, OW);
  c.fillCircle(50, 36, 28, col::black);
  c.fillCircle(30, 52, 20, col::black);
  c.fillCircle(70, 52, 20, col::black);
  c.fillCircle(50, 36, 26.4, col::green);
  c.fillCircle(30, 52, 18.4, col::green);
  c.fillCircle(70, 52, 18.4, col::green);
  c.fillCircle(42, 28, 10, col::leaf, 0.8);
  c.fillCircle(64, 44, 8, col::leaf, 0.7);
  c.fillCircle(28, 50, 7, col::leaf, 0.7);
  c.fillRect(10, 92, 90, 95, col::darkGreen);
}

void flower(Canvas& c) {
  c.polyline(Canvas::bezier({50, 96}, {46, 76}, {54, 64}, {50, 50}), 4.5, col::darkGreen);
  c.ellipseO(34, 78, 12, 5, col::leaf, 2, col::darkGreen, -0.6);
  c.ellipseO(66, 72, 12, 5, col::leaf, 2, col::darkGreen, 0.6);
  for (int i = 0; i < 6; ++i) {
    double a = i * kPi / 3 - kPi / 2;
    c.circleO(50 + 19 * std::cos(a), 36 + 19 * std::sin(a), 12, col::pink, 2.6);
  }
  c.circleO(50, 36, 11, col::yellow, 2.6);
  c.fillCircle(46, 34, 1.5, col::black);
  c.fillCircle(54, 34, 1.5, col::black);
  c.arc(50, 37, 4.5, 0.4, 2.7, 1.5, col::black);
}

void ball(Canvas& c) {
  const Rgb parts[6] = {col::red, col::white, col::yellow, col::white, col::blue, col::white};
  c.fillCircle(50, 50, 41.6, col::black);
  for (int i = 0; i < 6; ++i) c.fillSector(50, 50, 40, i * kPi / 3 - 0.3, (i + 1) * kPi / 3 - 0.3, parts[i]);
  for (int i = 0; i < 6; ++i) {
    double a = i * kPi / 3 - 0.3;
    c.line(50, 50, 50 + 40 * std::cos(a), 50 + 40 * std::sin(a), 1.6, col::black);
  }
  c.circleO(50, 50, 7, col::white, 2);
  c.fillEllipse(36, 32, 8, 5, col::white, -0.6, 0.6);
}

void dog(Canvas& c) {
  Rgb fur = rgb(200, 140, 80);
  c.ellipseO(50, 52, 32, 34, fur, OW);
  c.ellipseO(18, 48, 10, 24, col::darkBrown, OW, col::black, 0.35);
  c.ellipseO(82, 48, 10, 24, col::darkBrown, OW, col::black, -0.35);
  c.fillEllipse(62, 40, 10, 9, rgb(160, 100, 50));
  c.ellipseO(50, 68, 18, 13, rgb(255, 240, 220), 2);
  drawEye(c, 38, 44, 6);
  drawEye(c, 62, 44, 6);
  c.ellipseO(50, 60, 7, 5, col::black, 1);
  c.fillCircle(48, 58, 1.5, col::white);
  c.line(50, 64, 50, 70, 2, col::black);
  c.arc(44, 70, 6, 0.1, 2.6, 2.2, col::black);
  c.arc(56, 70, 6, 0.5, 3.0, 2.2, col::black);
  c.ellipseO(50, 80, 5, 7, col::pink, 1.6, col::darkRed);
}

void bird(Canvas& c) {
  c.fillRect(6, 78, 94, 84, col::brown);
  c.polygonO({{70, 56}, {96, 44}, {92, 62}}, col::blue, 2.6);
  c.ellipseO(50, 56, 28, 22, col::blue, OW);
  c.fillEllipse(44, 62, 16, 12, col::lightBlue);
  c.circleO(32, 36, 16, col::blue, OW);
  c.ellipseO(58, 52, 14, 8, rgb(30, 80, 190), 2.4, col::black, 0.4);
  c.polygonO({{18, 34}, {6, 40}, {18, 44}}, col::orange, 2);
  drawEye(c, 30, 32, 4.5);
  c.line(44, 76, 42, 82, 2.4, col::orange);
  c.line(56, 76, 58, 82, 2.4, col::orange);
  c.polyline(Canvas::bezier({70, 20}, {74, 14}, {80, 22}), 1.8, col::black);
  c.fillCircle(82, 18, 2.8, col::black);
  c.line(84.6, 18, 84.6, 8, 1.6, col::black);
}

void star(Canvas& c) {
  c.polygonO(Canvas::star(50, 53, 20, 46, 5), col::yellow, OW);
  c.fillCircle(42, 50, 3, col::black);
  c.fillCircle(58, 50, 3, col::black);
  drawSmile(c, 50, 58, 12, 2.2);
  c.fillPolygon(Canvas::star(18, 18, 3, 8, 4), col::orange);
  c.fillPolygon(Canvas::star(84, 86, 3, 7, 4), col::orange);
}

std::vector<Pt> heartShape(double cx, double cy, double s) {
  std::vector<Pt> pts;
  for (int i = 0; i < 64; ++i) {
    double t = i * 2 * kPi / 64;
    double x = 16 * std::pow(std::sin(t), 3);
    double y = 13 * std::cos(t) - 5 * std::cos(2 * t) - 2 * std::cos(3 * t) - std::cos(4 * t);
    pts.push_back({cx + x * s, cy - y * s});
  }
  return pts;
}

void heart(Canvas& c) {
  c.polygonO(heartShape(50, 50, 2.5), col::red, OW);
  c.fillEllipse(34, 36, 7, 5, col::white, -0.7, 0.6);
}

void moon(Canvas& c) {
  c.circleO(50, 50, 44, col::navyBlue, 2);
  for (auto [x, y] : {std::pair{72.0, 26.0}, {78.0, 64.0}, {60.0, 82.0}, {26.0, 78.0}})
    c.fillPolygon(Canvas::star(x, y, 1.6, 4.5, 4), col::lightYellow);
  std::vector<Pt> cres;
  for (int i = 0; i <= 40; ++i) {
    double a = -1.9 + 3.8 * i / 40;
    cres.push_back({46 + 32 * std::cos(a + kPi), 50 + 32 * std::sin(a + kPi)});
  }
  for (int i = 40; i >= 0; --i) {
    double a = -1.9 + 3.8 * i / 40;
    cres.push_back({56 + 24 * std::cos(a + kPi) - 0, 50 + 27 * std::sin(a + kPi)});
  }
  c.polygonO(cres, col::yellow, OW);
  c.fillCircle(30, 44, 2.4, col::black);
  c.arc(32, 56, 5, 0.9, 2.4, 1.8, col::black);
}

void umbrella(Canvas& c) {
  for (auto [x, y] : {std::pair{14.0, 70.0}, {84.0, 78.0}, {24.0, 90.0}, {76.0, 56.0}}) {
    c.fillEllipse(x, y, 2.6, 4, col::blue);
  }
  c.line(50, 50, 50, 84, 3.6, col::darkBrown);
  c.arc(42, 84, 8, 0, kPi, 3.6, col::darkBrown);
  std::vector<Pt> dome;
  for (int i = 0; i <= 48; ++i) {
    double a = kPi + kPi * i / 48;
    dome.push_back({50 + 42 * std::cos(a), 52 + 40 * std::sin(a)});
  }
  for (int k = 4; k >= 0; --k) {
    double x0 = 8 + k * 16.8;
    for (int i = 1; i < 8; ++i) {
      double t = double(i) / 8;
      dome.push_back({x0 + 16.8 - 16.8 * t, 52 - 6 * std::sin(kPi * t)});
    }
  }
  c.fillPolygon(dome, col::purple);
  for (int k = 0; k < 5; k += 2) {
    std::vector<Pt> wedge = {{50, 12}};
    double x0 = 8 + k * 16.8;
    for (int i = 0; i <= 8; ++i) {
      double t = double(i) / 8;
      wedge.push_back({x0 + 16.8 * t, 52 - 6 * std::sin(kPi * t)});
    }
    c.fillPolygon(wedge, col::pink);
  }
  c.polyline(dome, OW, col::black, true);
  c.line(50, 12, 50, 6, 3, col::black);
}

void mug(Canvas& c) {
  for (double x : {38.0, 52.0, 66.0})
    c.polyline(Canvas::bezier({x, 26}, {x - 6, 18}, {x + 6, 12}, {x, 4}), 2.4, col::grey);
  c.fillRing(78, 60, 9, 17, col::black);
  c.fillRing(78, 60, 10.6, 15.4, col::blue);
  c.roundRectO(22, 32, 80, 90, 8, col::blue, OW);
  c.fillEllipse(51, 34, 27, 4, rgb(130, 80, 40));
  for (auto [x, y] : {std::pair{36.0, 52.0}, {58.0, 48.0}, {46.0, 70.0}, {68.0, 72.0}})
    c.fillCircle(x, y, 5, col::white);
}

void boat(Canvas& c) {
  c.line(50, 12, 50, 66, 3, col::darkBrown);
  c.polygonO({{54, 14}, {54, 60}, {86, 60}}, col::white, 2.6);
  c.polygonO({{46, 22}, {46, 60}, {22, 60}}, col::lightYellow, 2.6);
  c.polygonO({{50, 10}, {64, 14}, {50, 18}}, col::red, 1.6);
  c.polygonO({{10, 64}, {90, 64}, {78, 82}, {22, 82}}, col::red, OW);
  c.fillRect(18, 70, 82, 73, col::white);
  for (double y : {86.0, 94.0}) c.polyline(Canvas::bezier({4, y}, {26, y - 6}, {50, y + 4}, {96, y - 4}), 3, col::blue);
}

void mushroom(Canvas& c) {
  c.polygonO({{38, 90}, {40, 54}, {60, 54}, {62, 90}}, col::cream, OW);
  c.fillEllipse(50, 62, 12, 3, rgb(230, 220, 200));
  std::vector<Pt> cap;
  for (int i = 0; i <= 40; ++i) {
    double a = kPi + kPi * i / 40;
    cap.push_back({50 + 44 * std::cos(a), 58 + 44 * std::sin(a)});
  }
  c.polygonO(cap, col::red, OW);
  for (auto [x, y, r] : {std::tuple{30.0, 40.0, 6.0}, {52.0, 28.0, 7.0}, {72.0, 42.0, 5.0}, {46.0, 48.0, 4.0},
                         {18.0, 52.0, 3.6}, {82.0, 54.0, 3.6}})
    c.fillCircle(x, y, r, col::white);
  c.fillRect(6, 90, 94, 94, col::green);
}

void balloon(Canvas& c) {
  c.polyline(Canvas::bezier({50, 74}, {40, 82}, {60, 90}, {48, 98}), 2, col::darkGrey);
  c.polygonO({{46, 76}, {54, 76}, {50, 69}}, col::darkRed, 1.6);
  c.ellipseO(50, 40, 28, 33, col::red, OW);
  c.fillEllipse(39, 28, 6, 10, col::white, 0.4, 0.55);
  c.ellipseO(80, 24, 10, 12, col::yellow, 2);
  c.line(80, 36, 74, 64, 1.4, col::darkGrey);
}

void ladybird(Canvas& c) {
  for (int s : {-1, 1})
    for (double y : {46.0, 60.0, 74.0}) c.line(50 + s * 22, y, 50 + s * 40, y + 6, 2.6, col::black);
  c.line(44, 22, 36, 8, 2.2, col::black);
  c.line(56, 22, 64, 8, 2.2, col::black);
  c.fillCircle(36, 8, 3, col::black);
  c.fillCircle(64, 8, 3, col::black);
  c.circleO(50, 28, 14, col::black, 1);
  c.fillCircle(44, 25, 3, col::white);
  c.fillCircle(56, 25, 3, col::white);
  c.ellipseO(50, 60, 32, 32, col::red, OW);
  c.line(50, 30, 50, 92, 2.6, col::black);
  for (auto [x, y, r] : {std::tuple{36.0, 48.0, 6.0}, {64.0, 48.0, 6.0}, {32.0, 70.0, 5.0}, {68.0, 70.0, 5.0},
                         {42.0, 84.0, 4.0}, {58.0, 84.0, 4.0}})
    c.fillCircle(x, y, r, col::black);
}

}  // namespace

void drawSmile(Canvas& c, double cx, double cy, double w, double lw) {
  c.arc(cx, cy - w * 0.25, w * 0.55, 0.5, kPi - 0.5, lw, col::black);
}

void drawEye(Canvas& c, double cx, double cy, double r, double lookX, double lookY) {
  c.circleO(cx, cy, r, col::white, std::max(1.2, r * 0.3));
  c.fillCircle(cx + lookX * r * 0.35, cy + lookY * r * 0.35, r * 0.55, col::black);
  c.fillCircle(cx + lookX * r * 0.35 - r * 0.2, cy + lookY * r * 0.35 - r * 0.22, r * 0.18, col::white);
}

void drawCloud(Canvas& c, double cx, double cy, double s, Rgb fill) {
  const double parts[5][3] = {{-18, 4, 12}, {-6, -6, 15}, {10, -4, 13}, {20, 6, 10}, {0, 8, 12}};
  for (auto& p : parts) c.fillCircle(cx + p[0] * s, cy + p[1] * s, (p[2] + 1.6) * s, col::darkGrey);
  for (auto& p : parts) c.fillCircle(cx + p[0] * s, cy + p[1] * s, p[2] * s, fill);
}

void drawMusicNote(Canvas& c, double x, double y, double s, Rgb fill) {
  c.fillEllipse(x, y, 6 * s, 4.5 * s, fill, -0.4);
  c.line(x + 5.2 * s, y - 1.5 * s, x + 5.2 * s, y - 24 * s, 2.2 * s, fill);
  c.polyline(Canvas::bezier({x + 5.2 * s, y - 24 * s}, {x + 12 * s, y - 20 * s}, {x + 14 * s, y - 12 * s}), 2.4 * s, fill);
}

Rgb cardBackground(int n) {
  static const Rgb bg[6] = {rgb(255, 250, 225), rgb(232, 246, 255), rgb(240, 255, 232),
                            rgb(255, 238, 240), rgb(246, 238, 255), rgb(255, 244, 225)};
  return bg[(n - 1) % 6];
}

void drawCardSubject(Canvas& c, int n) {
  switch (n) {
    case 1: apple(c); break;
    case 2: cat(c); break;
    case 3: house(c); break;
    case 4: sun(c); break;
    case 5: fish(c); break;
    case 6: car(c); break;
    case 7: tree(c); break;
    case 8: flower(c); break;
    case 9: ball(c); break;
    case 10: dog(c); break;
    case 11: bird(c); break;
    case 12: star(c); break;
    case 13: heart(c); break;
    case 14: moon(c); break;
    case 15: umbrella(c); break;
    case 16: mug(c); break;
    case 17: boat(c); break;
    case 18: mushroom(c); break;
    case 19: balloon(c); break;
    case 20: ladybird(c); break;
    default: break;
  }
}

}  // namespace gen
