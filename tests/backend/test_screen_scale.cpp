// The real window's enlargement of the screen and the cursors: whole pixels,
// nothing blurred, the hot spot on the pixel it points at unscaled.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/backend/sdl/screen_scale.h"

namespace tlb {
namespace {

TEST(ScreenScale, EachPixelBecomesASquareOfItsOwnColourAtEveryPixelSize) {
  // A 3x2 picture in a wider buffer (rows padded), pixels of 1 to 4 bytes.
  for (int bytes = 1; bytes <= 4; ++bytes) {
    for (int s = 1; s <= 4; ++s) {
      const int w = 3, h = 2, srcPitch = w * bytes + 5;
      std::vector<uint8_t> src(size_t(srcPitch) * h);
      for (size_t i = 0; i < src.size(); ++i) src[i] = uint8_t(i * 37 + 11);
      // The enlargement goes to the middle of a larger surface, whose rest stays as it was.
      const int dstW = w * s + 4, dstH = h * s + 4, dstPitch = dstW * bytes;
      std::vector<uint8_t> dst(size_t(dstPitch) * dstH, 0xEE);
      EnlargePixels(src.data(), srcPitch, w, h, bytes, s, dst.data() + 2 * dstPitch + 2 * bytes, dstPitch);
      for (int y = 0; y < dstH; ++y)
        for (int x = 0; x < dstW; ++x)
          for (int b = 0; b < bytes; ++b) {
            const bool inside = x >= 2 && x < 2 + w * s && y >= 2 && y < 2 + h * s;
            const uint8_t want = inside ? src[size_t((y - 2) / s) * srcPitch + size_t((x - 2) / s) * bytes + b] : 0xEE;
            ASSERT_EQ(dst[size_t(y) * dstPitch + size_t(x) * bytes + b], want)
                << bytes << " bytes, scale " << s << ", at " << x << "," << y;
          }
    }
  }
}

TEST(ScreenScale, TheCursorIsEnlargedWithItsHotSpot) {
  CursorImage arrow;
  arrow.width = 2;
  arrow.height = 3;
  arrow.hotX = 1;
  arrow.hotY = 2;
  arrow.argb = {0xFF000000, 0x00000000, 0xFFFFFFFF, 0x80FF0000, 0xFF00FF00, 0xFF0000FF};
  struct Case {
    int s, hotX, hotY;
  } cases[] = {{1, 1, 2}, {2, 2, 4}, {3, 3, 6}};
  for (const auto& c : cases) {
    CursorImage big = EnlargeCursor(arrow, c.s);
    ASSERT_EQ(big.width, 2 * c.s);
    ASSERT_EQ(big.height, 3 * c.s);
    EXPECT_EQ(big.hotX, c.hotX);
    EXPECT_EQ(big.hotY, c.hotY);
    ASSERT_EQ(big.argb.size(), size_t(big.width * big.height));
    for (int y = 0; y < big.height; ++y)
      for (int x = 0; x < big.width; ++x)
        EXPECT_EQ(big.argb[size_t(y * big.width + x)], arrow.argb[size_t(y / c.s * 2 + x / c.s)])
            << "scale " << c.s << " at " << x << "," << y;
  }
  // A picture whose pixels do not match its size stays blank instead of being read past its end.
  CursorImage torn = arrow;
  torn.argb.resize(4);
  CursorImage big = EnlargeCursor(torn, 2);
  EXPECT_EQ(big.argb, std::vector<uint32_t>(4 * 6, 0));
}

TEST(ScreenScale, TheStripsAWindowLeavesAreSharedBetweenItsSides) {
  struct Case {
    Size window, screen;
    int s;
    Point offset;
  } cases[] = {
      {{1920, 1080}, {960, 540}, 2, {0, 0}},  // a whole multiple leaves no strip
      {{2560, 1440}, {853, 480}, 3, {0, 0}},  // one column: it goes to the right
      {{1923, 1083}, {961, 541}, 2, {0, 0}},
      {{2563, 1923}, {640, 480}, 4, {1, 1}},  // three each way: one before, two after
      {{2563, 1923}, {854, 641}, 3, {0, 0}},
      {{1925, 1085}, {480, 271}, 4, {2, 0}},  // five columns, one row
      {{800, 600}, {800, 600}, 1, {0, 0}},
      // A screen wider than the window (the window made smaller after the
      // start) stays at the corner rather than moving off its left edge.
      {{1000, 600}, {600, 300}, 2, {0, 0}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(EnlargedScreenOffset(c.window, c.screen, c.s), c.offset)
        << c.window.cx << "x" << c.window.cy << " at scale " << c.s;
}

TEST(ScreenScale, TheScreenshotIsWhatTheWindowShows) {
  Dib screen(3, 2, 32);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) screen.setPixel(x, y, 0x102030 + COLORREF(y * 3 + x));
  struct Case {
    Size window;
    int s;
    Point at;  // where the enlarged screen starts
  } cases[] = {
      {{6, 4}, 2, {0, 0}},   // the window a whole multiple of the screen
      {{7, 5}, 2, {0, 0}},   // one column and one row over: right and bottom
      {{11, 9}, 3, {1, 1}},  // two over each way: one on each side
      {{12, 10}, 3, {1, 2}},  // three columns: one before, two after; four rows: two and two
  };
  for (const auto& c : cases) {
    Dib picture = WindowPicture(screen, c.window, c.s);
    ASSERT_EQ(picture.width(), c.window.cx);
    ASSERT_EQ(picture.height(), c.window.cy);
    for (int y = 0; y < c.window.cy; ++y)
      for (int x = 0; x < c.window.cx; ++x) {
        const int sx = x - c.at.x, sy = y - c.at.y;
        const bool inside = sx >= 0 && sy >= 0 && sx < 3 * c.s && sy < 2 * c.s;
        EXPECT_EQ(picture.pixel(x, y), inside ? screen.pixel(sx / c.s, sy / c.s) : 0u)
            << c.window.cx << "x" << c.window.cy << " at " << x << "," << y;
      }
  }
}

}  // namespace
}  // namespace tlb
