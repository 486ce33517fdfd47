#include "bmp_writer.h"

#include <stdexcept>

#include "byte_writer.h"

namespace gen {

namespace {

int stride(int width, int bits) { return ((width * bits + 31) / 32) * 4; }

std::vector<uint8_t> fileWith(const std::vector<uint8_t>& info, const std::vector<uint8_t>& pixels) {
  Bytes b;
  uint32_t offset = 14 + uint32_t(info.size());
  b.text("BM");
  b.u32(offset + uint32_t(pixels.size()));
  b.u16(0);
  b.u16(0);
  b.u32(offset);
  b.bytes(info);
  b.bytes(pixels);
  return b.data();
}

void appendPalette(std::vector<uint8_t>& out, const std::vector<Rgb>& pal, size_t entries) {
  for (size_t i = 0; i < entries; ++i) {
    Rgb c = i < pal.size() ? pal[i] : Rgb{};
    out.push_back(c.b);
    out.push_back(c.g);
    out.push_back(c.r);
    out.push_back(0);
  }
}

}  // namespace

void appendInfoHeader(std::vector<uint8_t>& out, int width, int height, int bits, uint32_t imageSize,
                      uint32_t coloursUsed) {
  Bytes b;
  b.u32(40);
  b.u32(uint32_t(width));
  b.u32(uint32_t(height));
  b.u16(1);
  b.u16(uint32_t(bits));
  b.u32(0);  // BI_RGB
  b.u32(imageSize);
  b.u32(2835);  // 72 dpi
  b.u32(2835);
  b.u32(coloursUsed);
  b.u32(0);
  out.insert(out.end(), b.data().begin(), b.data().end());
}

std::vector<uint8_t> packRows(const Indexed& img, int bits) {
  int s = stride(img.width, bits);
  std::vector<uint8_t> out(size_t(s) * img.height, 0);
  for (int y = 0; y < img.height; ++y) {
    uint8_t* row = out.data() + size_t(img.height - 1 - y) * s;
    const uint8_t* src = img.indices.data() + size_t(y) * img.width;
    for (int x = 0; x < img.width; ++x) {
      if (bits == 8) {
        row[x] = src[x];
      } else if (bits == 4) {
        row[x / 2] |= (x % 2 == 0) ? uint8_t(src[x] << 4) : uint8_t(src[x] & 0x0F);
      } else {
        throw std::logic_error("packRows: unsupported depth");
      }
    }
  }
  return out;
}

std::vector<uint8_t> bmp8(const Indexed& img) {
  std::vector<uint8_t> pixels = packRows(img, 8);
  std::vector<uint8_t> info;
  appendInfoHeader(info, img.width, img.height, 8, uint32_t(pixels.size()), 256);
  appendPalette(info, img.palette, 256);
  return fileWith(info, pixels);
}

std::vector<uint8_t> bmp4(const Indexed& img) {
  if (img.palette.size() > 16) throw std::logic_error("bmp4: more than 16 colours");
  std::vector<uint8_t> pixels = packRows(img, 4);
  std::vector<uint8_t> info;
  appendInfoHeader(info, img.width, img.height, 4, uint32_t(pixels.size()), 16);
  appendPalette(info, img.palette, 16);
  return fileWith(info, pixels);
}

std::vector<uint8_t> bmp24(const Canvas& c) {
  int s = stride(c.width(), 24);
  std::vector<uint8_t> pixels(size_t(s) * c.height(), 0);
  for (int y = 0; y < c.height(); ++y) {
    uint8_t* row = pixels.data() + size_t(c.height() - 1 - y) * s;
    for (int x = 0; x < c.width(); ++x) {
      Rgb p = c.at(x, y);
      row[3 * x] = p.b, row[3 * x + 1] = p.g, row[3 * x + 2] = p.r;
    }
  }
  std::vector<uint8_t> info;
  appendInfoHeader(info, c.width(), c.height(), 24, uint32_t(pixels.size()), 0);
  return fileWith(info, pixels);
}

}  // namespace gen
