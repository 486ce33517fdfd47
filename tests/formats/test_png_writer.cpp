#include "platform/formats/png_writer.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/core/exceptions.h"

namespace tlb {
namespace {

// Decodes PNG bytes to 8-bit RGB rows with libpng's own reader.
struct Decoded {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;
};

Decoded Decode(const std::vector<uint8_t>& bytes) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  Decoded out;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
    ADD_FAILURE() << image.message;
    return out;
  }
  image.format = PNG_FORMAT_RGB;
  out.width = int(image.width);
  out.height = int(image.height);
  out.rgb.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, out.rgb.data(), 0, nullptr)) ADD_FAILURE() << image.message;
  return out;
}

// A 5x3 picture with a different colour in each pixel, as far as the depth allows.
Dib Sample(int bpp) {
  std::vector<RGBQuad> palette;
  if (bpp <= 8)
    for (int i = 0; i < (1 << bpp); ++i)
      palette.push_back(RGBQuad{uint8_t(i * 37), uint8_t(255 - i * 11), uint8_t(i * 90), 0});
  Dib dib(5, 3, bpp, palette);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) {
      if (bpp <= 8)
        dib.setRawPixel(x, y, uint32_t(x + 5 * y) % (1u << bpp));
      else
        dib.setPixel(x, y, RGB(uint8_t(x * 60), uint8_t(y * 120), uint8_t(200 - x * 10 - y)));
    }
  return dib;
}

TEST(PngWriter, EveryDepthEncodesAsEightBitRgbOfItsPixels) {
  for (int bpp : {1, 4, 8, 16, 24, 32}) {
    SCOPED_TRACE(bpp);
    Dib dib = Sample(bpp);
    std::vector<uint8_t> bytes = EncodePng(dib);
    ASSERT_GT(bytes.size(), 33u);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 8),
              (std::vector<uint8_t>{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));
    EXPECT_EQ(bytes[24], 8);  // bit depth
    EXPECT_EQ(bytes[25], 2);  // colour type RGB
    Decoded d = Decode(bytes);
    ASSERT_EQ(d.width, 5);
    ASSERT_EQ(d.height, 3);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x) {
        const uint8_t* p = &d.rgb[size_t(y * 5 + x) * 3];
        EXPECT_EQ(RGB(p[0], p[1], p[2]), dib.pixel(x, y)) << x << "," << y;
      }
  }
}

TEST(PngWriter, WritePngStoresTheEncodedBytes) {
  Dib dib = Sample(24);
  std::string path = ::testing::TempDir() + "tulimbo_png_writer_test.png";
  WritePng(dib, path);
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(written, EncodePng(dib));
  std::remove(path.c_str());
}

TEST(PngWriter, FailuresThrowInOutError) {
  EXPECT_THROW(EncodePng(Dib()), EInOutError);
  EXPECT_THROW(WritePng(Sample(8), "/nonexistent-folder/shot.png"), EInOutError);
}

}  // namespace
}  // namespace tlb
