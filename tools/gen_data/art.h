#pragma once
// The drawings shared by the pictures, the clips and the glyphs. Each routine
// draws into a 100x100 box of local coordinates (0..100 both ways); the
// caller places and sizes it with the canvas transform.
#include "canvas.h"

namespace gen {

namespace col {
constexpr Rgb black = rgb(20, 20, 20);
constexpr Rgb white = rgb(255, 255, 255);
constexpr Rgb cream = rgb(255, 250, 232);
constexpr Rgb red = rgb(228, 38, 38);
constexpr Rgb darkRed = rgb(160, 20, 25);
constexpr Rgb orange = rgb(250, 150, 30);
constexpr Rgb yellow = rgb(255, 215, 0);
constexpr Rgb lightYellow = rgb(255, 240, 140);
constexpr Rgb green = rgb(60, 170, 60);
constexpr Rgb darkGreen = rgb(30, 110, 40);
constexpr Rgb leaf = rgb(110, 200, 70);
constexpr Rgb brown = rgb(140, 88, 40);
constexpr Rgb darkBrown = rgb(95, 55, 25);
constexpr Rgb skin = rgb(255, 212, 172);
constexpr Rgb pink = rgb(255, 140, 180);
constexpr Rgb lightPink = rgb(255, 200, 215);
constexpr Rgb blue = rgb(45, 115, 225);
constexpr Rgb lightBlue = rgb(150, 205, 255);
constexpr Rgb skyBlue = rgb(205, 232, 255);
constexpr Rgb navyBlue = rgb(25, 40, 110);
constexpr Rgb purple = rgb(150, 70, 200);
constexpr Rgb grey = rgb(150, 150, 155);
constexpr Rgb lightGrey = rgb(215, 215, 220);
constexpr Rgb darkGrey = rgb(90, 90, 95);
constexpr Rgb formGreen = rgb(0, 128, 0);  // clGreen, the colour of every form
}  // namespace col

constexpr double kPi = 3.14159265358979323846;

// The 20 card pictures, numbered 1..20 as the data files are.
constexpr int kCardCount = 20;
void drawCardSubject(Canvas& c, int n);
// Pale background colour behind card picture n.
Rgb cardBackground(int n);

// Song subjects (1..4) and rhyme subjects (1..6), for glyphs and clips.
void drawSongSubject(Canvas& c, int song, double phase = 0);
void drawRhymeSubject(Canvas& c, int rhyme, double phase = 0);

// Small pieces used in several places.
void drawSmile(Canvas& c, double cx, double cy, double w, double lw);
void drawEye(Canvas& c, double cx, double cy, double r, double lookX = 0, double lookY = 0);
void drawCloud(Canvas& c, double cx, double cy, double s, Rgb fill);
void drawMusicNote(Canvas& c, double x, double y, double s, Rgb fill);
void drawGoose(Canvas& c, double x, double y, double s, double step);
void drawStove(Canvas& c, double x, double y, double s, double fall);
void drawGirlFace(Canvas& c, double cx, double cy, double s, bool eyesOpen);
void drawClockFace(Canvas& c, double cx, double cy, double r, Rgb rim, double hourAngle, double minuteAngle);

}  // namespace gen
