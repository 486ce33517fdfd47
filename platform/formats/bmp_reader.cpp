#include "platform/formats/bmp_reader.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <vector>

#include "platform/core/exceptions.h"

namespace tlb {
namespace {

constexpr int kMaxSide = 32768;
constexpr uint64_t kMaxPixelBytes = uint64_t(256) << 20;
constexpr size_t kFileHeaderSize = 14;

constexpr uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3;

[[noreturn]] void Invalid() { throw EInvalidGraphic("Bitmap image is not valid"); }

// Little-endian reads from a byte buffer; every read is checked against its size.
class Bytes {
 public:
  Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  size_t size() const { return size_; }
  bool has(size_t pos, size_t count) const { return pos <= size_ && count <= size_ - pos; }
  const uint8_t* at(size_t pos, size_t count) const {
    if (!has(pos, count)) Invalid();
    return data_ + pos;
  }
  uint8_t u8(size_t pos) const { return *at(pos, 1); }
  uint16_t u16(size_t pos) const {
    const uint8_t* p = at(pos, 2);
    return uint16_t(p[0] | (p[1] << 8));
  }
  uint32_t u32(size_t pos) const {
    const uint8_t* p = at(pos, 4);
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
  }

 private:
  const uint8_t* data_;
  size_t size_;
};

// One colour component of a bit-field pixel, scaled to 8 bits.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  uint64_t max = 0;

  explicit Channel(uint32_t m) : mask(m) {
    if (m == 0) return;
    shift = std::countr_zero(m);
    max = m >> shift;
    if ((max & (max + 1)) != 0) Invalid();  // the bits of a component must be contiguous
  }
  uint8_t extract(uint32_t value) const {
    if (mask == 0) return 0;
    uint64_t v = (value & mask) >> shift;
    return uint8_t((v * 255 + max / 2) / max);
  }
};

// What the bitmap header says, checked.
struct Header {
  int width = 0, height = 0;  // height of one picture
  bool bottomUp = true;
  int bpp = 0;
  uint32_t compression = kBiRgb;
  uint32_t masks[4] = {};  // red, green, blue, alpha
  size_t paletteOffset = 0;  // just past the header and its masks
  size_t paletteCount = 0;   // colour table entries stored in the buffer
  size_t paletteEntrySize = 4;
  size_t tableEnd = 0;  // just past the colour table: where the bits of a packed DIB start
  int outBpp = 0;       // depth of the Dib made from it
  bool convert = false;  // bit-field pixels that are not the Dib's own layout
};

bool ValidDepth(int bpp) { return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32; }

void ReadCoreHeader(const Bytes& b, Header& h) {
  h.width = b.u16(4);
  h.height = b.u16(6);
  h.bpp = b.u16(10);
  if (h.bpp != 1 && h.bpp != 4 && h.bpp != 8 && h.bpp != 24) Invalid();
  h.paletteOffset = 12;
  h.paletteEntrySize = 3;
  h.paletteCount = h.bpp <= 8 ? size_t(1) << h.bpp : 0;
}

void ReadInfoHeader(const Bytes& b, uint32_t headerSize, Header& h) {
  b.at(0, headerSize);
  int32_t width = int32_t(b.u32(4));
  int32_t height = int32_t(b.u32(8));
  if (width <= 0 || height == 0 || height == std::numeric_limits<int32_t>::min()) Invalid();
  h.width = width;
  h.bottomUp = height > 0;
  h.height = height > 0 ? height : -height;
  h.bpp = b.u16(14);
  h.compression = b.u32(16);
  uint32_t clrUsed = b.u32(32);
  h.paletteOffset = headerSize;
  if (h.compression == kBiBitfields) {
    // The 40-byte header keeps its three masks after it; the longer ones inside.
    for (int i = 0; i < 3; ++i) h.masks[i] = b.u32(40 + 4 * size_t(i));
    if (headerSize >= 56) h.masks[3] = b.u32(52);
    if (headerSize == 40) h.paletteOffset += 12;
  }
  if (!ValidDepth(h.bpp)) Invalid();
  h.paletteCount = h.bpp <= 8 && clrUsed == 0 ? size_t(1) << h.bpp : clrUsed;
}

Header ParseHeader(const Bytes& b, int heightDivisor, int maxSide) {
  Header h;
  uint32_t headerSize = b.u32(0);
  if (headerSize == 12)
    ReadCoreHeader(b, h);
  else if (headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 108 || headerSize == 124)
    ReadInfoHeader(b, headerSize, h);
  else
    Invalid();

  switch (h.compression) {
    case kBiRgb: break;
    case kBiRle8: if (h.bpp != 8 || !h.bottomUp) Invalid(); break;
    case kBiRle4: if (h.bpp != 4 || !h.bottomUp) Invalid(); break;
    case kBiBitfields: if (h.bpp != 16 && h.bpp != 32) Invalid(); break;
    default: Invalid();
  }

  h.height /= heightDivisor;
  if (h.width <= 0 || h.height <= 0 || h.width > maxSide || h.height > maxSide) Invalid();

  uint64_t tableBytes = uint64_t(h.paletteCount) * h.paletteEntrySize;
  if (tableBytes > b.size() || h.paletteOffset > b.size() - tableBytes) Invalid();
  h.tableEnd = h.paletteOffset + size_t(tableBytes);

  h.outBpp = h.bpp;
  if (h.compression == kBiBitfields) {
    for (uint32_t m : h.masks) {
      (void)Channel(m);  // throws for a mask that is not one run of bits
      if (h.bpp == 16 && m > 0xFFFF) Invalid();
    }
    const uint32_t* m = h.masks;
    bool own16 = m[0] == 0x7C00 && m[1] == 0x03E0 && m[2] == 0x001F;
    bool own32 = m[0] == 0xFF0000 && m[1] == 0xFF00 && m[2] == 0xFF && (m[3] == 0 || m[3] == 0xFF000000u);
    h.convert = h.bpp == 16 ? !own16 : !own32;
    if (h.convert) h.outBpp = 32;
  }
  if (uint64_t(Dib::StrideFor(h.width, h.outBpp)) * uint64_t(h.height) > kMaxPixelBytes) Invalid();
  return h;
}

std::vector<RGBQuad> ReadPalette(const Bytes& b, const Header& h) {
  std::vector<RGBQuad> palette;
  if (h.bpp > 8) return palette;
  size_t count = std::min(h.paletteCount, size_t(1) << h.bpp);
  palette.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* p = b.at(h.paletteOffset + i * h.paletteEntrySize, 3);
    palette.push_back(RGBQuad{p[0], p[1], p[2], 0});
  }
  return palette;
}

// Uncompressed rows, in the Dib's own layout or converted from bit fields.
Dib DecodeRows(const Bytes& b, const Header& h, size_t bitsOffset, size_t* bitsEnd) {
  size_t srcStride = size_t(Dib::StrideFor(h.width, h.bpp));
  // The last row's padding may be missing from the end of the buffer.
  size_t needed = srcStride * size_t(h.height - 1) + (size_t(h.width) * size_t(h.bpp) + 7) / 8;
  const uint8_t* bits = b.at(bitsOffset, needed);
  size_t available = b.size() - bitsOffset;
  *bitsEnd = bitsOffset + srcStride * size_t(h.height);

  Dib out(h.width, h.height, h.outBpp, ReadPalette(b, h));
  const Channel red(h.masks[0]), green(h.masks[1]), blue(h.masks[2]), alpha(h.masks[3]);
  for (int i = 0; i < h.height; ++i) {
    const uint8_t* src = bits + size_t(i) * srcStride;
    int y = h.bottomUp ? h.height - 1 - i : i;
    if (!h.convert) {
      size_t count = std::min(srcStride, available - size_t(i) * srcStride);
      std::memcpy(out.row(y), src, count);
      continue;
    }
    uint8_t* dst = out.row(y);
    for (int x = 0; x < h.width; ++x) {
      uint32_t v;
      if (h.bpp == 16) {
        const uint8_t* p = src + size_t(x) * 2;
        v = uint32_t(p[0]) | (uint32_t(p[1]) << 8);
      } else {
        const uint8_t* p = src + size_t(x) * 4;
        v = uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
      }
      uint8_t* d = dst + size_t(x) * 4;
      d[0] = blue.extract(v);
      d[1] = green.extract(v);
      d[2] = red.extract(v);
      d[3] = alpha.extract(v);
    }
  }
  return out;
}

// Run-length pixels. Codes are byte pairs: a count and a colour (a run), or 0
// and an escape: 0 end of line, 1 end of bitmap, 2 a jump right and up, 3..255
// that many literal pixels padded to a 16-bit boundary. Rows run bottom-up;
// pixels never written keep index 0.
Dib DecodeRle(const Bytes& b, const Header& h, size_t bitsOffset, size_t* bitsEnd) {
  const bool rle8 = h.compression == kBiRle8;
  Dib out(h.width, h.height, h.bpp, ReadPalette(b, h));
  int x = 0, y = 0;  // y counts rows from the bottom
  auto put = [&](uint32_t index) {
    if (x >= h.width || y >= h.height) Invalid();
    out.setRawPixel(x, h.height - 1 - y, index);
    ++x;
  };
  auto nibble = [](const uint8_t* p, int i) { return uint32_t((i & 1) ? (p[i / 2] & 0x0F) : (p[i / 2] >> 4)); };

  size_t pos = bitsOffset;
  for (;;) {
    if (!b.has(pos, 2)) {
      // Data that stops after the last row without its end mark is complete.
      if (y >= h.height) break;
      Invalid();
    }
    const uint8_t* code = b.at(pos, 2);
    uint8_t count = code[0], value = code[1];
    pos += 2;
    if (count > 0) {
      for (int i = 0; i < count; ++i) put(rle8 ? value : ((i & 1) ? (value & 0x0F) : (value >> 4)));
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      if (y < h.height) ++y;
      continue;
    }
    if (value == 1) break;  // end of bitmap
    if (value == 2) {       // jump
      const uint8_t* delta = b.at(pos, 2);
      pos += 2;
      x += delta[0];
      y += delta[1];
      if (x > h.width || y >= h.height) Invalid();
      continue;
    }
    size_t bytes = rle8 ? value : (size_t(value) + 1) / 2;
    const uint8_t* literal = b.at(pos, bytes);
    for (int i = 0; i < value; ++i) put(rle8 ? literal[i] : nibble(literal, i));
    pos += bytes + (bytes & 1);
  }
  *bitsEnd = std::min(pos, b.size());
  return out;
}

Dib DecodeBits(const Bytes& b, const Header& h, size_t bitsOffset, size_t* bitsEnd) {
  if (h.compression == kBiRle8 || h.compression == kBiRle4) return DecodeRle(b, h, bitsOffset, bitsEnd);
  return DecodeRows(b, h, bitsOffset, bitsEnd);
}

}  // namespace

PackedDib ReadPackedDib(const uint8_t* data, size_t size, int heightDivisor, int maxSide) {
  if (heightDivisor < 1) Invalid();
  Bytes b(data, size);
  Header h = ParseHeader(b, heightDivisor, std::min(maxSide, kMaxSide));
  PackedDib result;
  result.bottomUp = h.bottomUp;
  result.image = DecodeBits(b, h, h.tableEnd, &result.bitsEnd);
  return result;
}

Dib ReadDibInfo(const uint8_t* data, size_t size) { return ReadPackedDib(data, size, 1).image; }

Dib ReadBmp(const uint8_t* data, size_t size) {
  if (size < kFileHeaderSize || data[0] != 'B' || data[1] != 'M') Invalid();
  uint32_t offBits = Bytes(data, size).u32(10);
  Bytes b(data + kFileHeaderSize, size - kFileHeaderSize);
  Header h = ParseHeader(b, 1, kMaxSide);
  // The bits lie where the file header says; 0 (written by some tools) means
  // right after the colour table. They never start inside the header.
  size_t bitsOffset = h.tableEnd;
  if (offBits != 0) {
    if (offBits < kFileHeaderSize + h.paletteOffset || offBits > size) Invalid();
    bitsOffset = offBits - kFileHeaderSize;
  }
  size_t bitsEnd = 0;
  return DecodeBits(b, h, bitsOffset, &bitsEnd);
}

Dib LoadBmpFile(const std::string& linuxPath) {
  std::error_code error;
  std::ifstream in;
  if (std::filesystem::is_regular_file(linuxPath, error)) in.open(linuxPath, std::ios::binary);
  if (!in.is_open()) throw EFOpenError("Cannot open file \"" + linuxPath + "\"");
  in.seekg(0, std::ios::end);
  std::streamoff length = in.tellg();
  in.seekg(0, std::ios::beg);
  if (length < 0 || !in) throw EReadError("Stream read error");
  std::vector<uint8_t> bytes(static_cast<size_t>(length));
  in.read(reinterpret_cast<char*>(bytes.data()), length);
  if (in.gcount() != length) throw EReadError("Stream read error");
  return ReadBmp(bytes.data(), bytes.size());
}

}  // namespace tlb
