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

TEST(ScreenScale, TheScreenshotIsTheScreenEnlarged) {
  Dib screen(3, 2, 32);
  screen.setPixel(0, 0, 0x0000FF);
  screen.setPixel(2, 1, 0x00FF00);
  Dib big = EnlargeDib(screen, 2);
  ASSERT_EQ(big.width(), 6);
  ASSERT_EQ(big.height(), 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(big.pixel(x, y), screen.pixel(x / 2, y / 2)) << x << "," << y;
}

}  // namespace
}  // namespace tlb
