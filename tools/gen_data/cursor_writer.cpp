#include "cursor_writer.h"

#include "bmp_writer.h"
#include "byte_writer.h"
#include "palette.h"

namespace gen {

const std::vector<Rgb>& vgaPalette() {
  static const std::vector<Rgb> pal = {
      rgb(0, 0, 0),       rgb(128, 0, 0),   rgb(0, 128, 0),   rgb(128, 128, 0),
      rgb(0, 0, 128),     rgb(128, 0, 128), rgb(0, 128, 128), rgb(192, 192, 192),
      rgb(128, 128, 128), rgb(255, 0, 0),   rgb(0, 255, 0),   rgb(255, 255, 0),
      rgb(0, 0, 255),     rgb(255, 0, 255), rgb(0, 255, 255), rgb(255, 255, 255)};
  return pal;
}

namespace {

// The packed DIB of one image: header (height doubled), palette, XOR bits, AND bits.
std::vector<uint8_t> packedImage(const MaskedPicture& m) {
  const Canvas& c = m.picture;
  Canvas colours = c;
  for (int y = 0; y < c.height(); ++y)
    for (int x = 0; x < c.width(); ++x)
      if (c.at(x, y) == m.key) colours.at(x, y) = rgb(0, 0, 0);
  Indexed idx = toIndexed(colours, vgaPalette(), 0);
  std::vector<uint8_t> xorBits = packRows(idx, 4);
  int maskStride = ((c.width() + 31) / 32) * 4;
  std::vector<uint8_t> andBits(size_t(maskStride) * c.height(), 0);
  for (int y = 0; y < c.height(); ++y) {
    uint8_t* row = andBits.data() + size_t(c.height() - 1 - y) * maskStride;
    for (int x = 0; x < c.width(); ++x)
      if (c.at(x, y) == m.key) row[x / 8] |= uint8_t(0x80 >> (x % 8));
  }
  std::vector<uint8_t> out;
  appendInfoHeader(out, c.width(), c.height() * 2, 4, uint32_t(xorBits.size() + andBits.size()), 16);
  for (const Rgb& p : vgaPalette()) out.push_back(p.b), out.push_back(p.g), out.push_back(p.r), out.push_back(0);
  out.insert(out.end(), xorBits.begin(), xorBits.end());
  out.insert(out.end(), andBits.begin(), andBits.end());
  return out;
}

std::vector<uint8_t> directory(int type, const std::vector<MaskedPicture>& imgs, const std::vector<int>& hot) {
  std::vector<std::vector<uint8_t>> images;
  for (const auto& m : imgs) images.push_back(packedImage(m));
  Bytes b;
  b.u16(0);
  b.u16(uint32_t(type));
  b.u16(uint32_t(imgs.size()));
  uint32_t offset = 6 + 16 * uint32_t(imgs.size());
  for (size_t i = 0; i < imgs.size(); ++i) {
    b.u8(uint32_t(imgs[i].picture.width()));
    b.u8(uint32_t(imgs[i].picture.height()));
    b.u8(16);  // colours
    b.u8(0);
    if (type == 2) {
      b.u16(uint32_t(hot[0]));
      b.u16(uint32_t(hot[1]));
    } else {
      b.u16(1);  // planes
      b.u16(4);  // bits a pixel
    }
    b.u32(uint32_t(images[i].size()));
    b.u32(offset);
    offset += uint32_t(images[i].size());
  }
  for (const auto& im : images) b.bytes(im);
  return b.data();
}

}  // namespace

std::vector<uint8_t> curFile(const MaskedPicture& img, int hotX, int hotY) {
  return directory(2, {img}, {hotX, hotY});
}

std::vector<uint8_t> icoFile(const std::vector<MaskedPicture>& imgs) { return directory(1, imgs, {}); }

}  // namespace gen
