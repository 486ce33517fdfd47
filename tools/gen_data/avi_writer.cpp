#include "avi_writer.h"

#include <stdexcept>

#include "bmp_writer.h"
#include "byte_writer.h"
#include "palette.h"

namespace gen {

namespace {

// Starts a chunk or list; returns the offset of its size field.
size_t open(Bytes& b, const char* id, const char* listType = nullptr) {
  b.fourcc(id);
  size_t at = b.size();
  b.u32(0);
  if (listType) b.fourcc(listType);
  return at;
}

void close(Bytes& b, size_t sizeAt) {
  b.patch32(sizeAt, uint32_t(b.size() - sizeAt - 4));
  if (b.size() % 2) b.u8(0);
}

}  // namespace

std::vector<uint8_t> aviClip(const std::vector<Canvas>& frames, uint32_t rate, uint32_t scale,
                             const std::vector<Rgb>& reserved) {
  if (frames.empty()) throw std::logic_error("aviClip: no frames");
  const int w = frames[0].width(), h = frames[0].height();
  PaletteBuilder pb(reserved);
  for (const Canvas& f : frames) {
    if (f.width() != w || f.height() != h) throw std::logic_error("aviClip: frames differ in size");
    pb.add(f);
  }
  std::vector<Rgb> pal = pb.build();
  std::vector<std::vector<uint8_t>> rows;
  for (const Canvas& f : frames) rows.push_back(packRows(toIndexed(f, pal, int(reserved.size())), 8));
  const uint32_t frameBytes = uint32_t(rows[0].size());
  const uint32_t n = uint32_t(frames.size());

  Bytes b;
  size_t riff = open(b, "RIFF", "AVI ");
  size_t hdrl = open(b, "LIST", "hdrl");
  size_t avih = open(b, "avih");
  b.u32(uint32_t(1000000ull * scale / rate));  // dwMicroSecPerFrame
  b.u32(uint32_t(uint64_t(frameBytes) * rate / scale));  // dwMaxBytesPerSec
  b.u32(0);      // dwPaddingGranularity
  b.u32(0x10);   // dwFlags: AVIF_HASINDEX
  b.u32(n);      // dwTotalFrames
  b.u32(0);      // dwInitialFrames
  b.u32(1);      // dwStreams
  b.u32(frameBytes + 8);  // dwSuggestedBufferSize
  b.u32(uint32_t(w));
  b.u32(uint32_t(h));
  for (int i = 0; i < 4; ++i) b.u32(0);
  close(b, avih);

  size_t strl = open(b, "LIST", "strl");
  size_t strh = open(b, "strh");
  b.fourcc("vids");
  b.fourcc("DIB ");
  b.u32(0);      // dwFlags
  b.u16(0);      // wPriority
  b.u16(0);      // wLanguage
  b.u32(0);      // dwInitialFrames
  b.u32(scale);  // dwScale
  b.u32(rate);   // dwRate
  b.u32(0);      // dwStart
  b.u32(n);      // dwLength
  b.u32(frameBytes + 8);
  b.u32(0xFFFFFFFF);  // dwQuality
  b.u32(0);           // dwSampleSize
  b.u16(0), b.u16(0), b.u16(uint32_t(w)), b.u16(uint32_t(h));  // rcFrame
  close(b, strh);
  size_t strf = open(b, "strf");
  std::vector<uint8_t> info;
  appendInfoHeader(info, w, h, 8, frameBytes, 256);
  for (int i = 0; i < 256; ++i) {
    Rgb c = i < int(pal.size()) ? pal[i] : Rgb{};
    info.push_back(c.b), info.push_back(c.g), info.push_back(c.r), info.push_back(0);
  }
  b.bytes(info);
  close(b, strf);
  close(b, strl);
  close(b, hdrl);

  size_t movi = open(b, "LIST", "movi");
  const size_t moviData = movi + 4;  // offset of the 'movi' type, the index's origin
  std::vector<uint32_t> offsets;
  for (const auto& r : rows) {
    offsets.push_back(uint32_t(b.size() - moviData));
    size_t ck = open(b, "00db");
    b.bytes(r);
    close(b, ck);
  }
  close(b, movi);

  size_t idx = open(b, "idx1");
  for (uint32_t i = 0; i < n; ++i) {
    b.fourcc("00db");
    b.u32(0x10);  // AVIIF_KEYFRAME
    b.u32(offsets[i]);
    b.u32(frameBytes);
  }
  close(b, idx);
  close(b, riff);
  return b.data();
}

}  // namespace gen
