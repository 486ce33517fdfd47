#include "platform/formats/avi_reader.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/core/exceptions.h"

namespace tlb {

namespace {

constexpr int kMaxSide = 4096;
constexpr size_t kMainHeaderSize = 56;
constexpr size_t kStreamHeaderSize = 48;  // up to the frame rectangle, which is not read
constexpr size_t kBitmapHeaderSize = 40;
constexpr uint32_t kCompressionRgb = 0;
constexpr uint32_t kCompressionRle8 = 1;
// Frame rates outside this range are treated as missing: a rate near zero
// would freeze the clip and a huge one would make its timer spin.
constexpr double kMinRate = 0.01, kMaxRate = 1000;

[[noreturn]] void CannotOpen() { throw EAnimateError("Cannot open AVI"); }

uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t Le32(const uint8_t* p) {
  return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
bool Is(const uint8_t* p, const char* fourcc) { return std::memcmp(p, fourcc, 4) == 0; }

// One chunk inside a parent's byte range. `size` is clipped to the parent;
// `complete` tells whether the declared size fitted.
struct Chunk {
  const uint8_t* id;
  size_t body;
  size_t size;
  bool complete;

  bool isList(const uint8_t* data, const char* type) const {
    return Is(id, "LIST") && size >= 4 && Is(data + body, type);
  }
};

// Walks the chunks of the range [begin, end), each padded to an even size.
class ChunkWalker {
 public:
  ChunkWalker(const uint8_t* data, size_t begin, size_t end) : data_(data), pos_(begin), end_(end) {}

  bool next(Chunk& chunk) {
    if (end_ - pos_ < 8) return false;
    uint64_t declared = Le32(data_ + pos_ + 4);
    chunk.id = data_ + pos_;
    chunk.body = pos_ + 8;
    size_t available = end_ - chunk.body;
    chunk.complete = declared <= available;
    chunk.size = chunk.complete ? size_t(declared) : available;
    uint64_t next = uint64_t(chunk.body) + declared + (declared & 1);
    pos_ = next > end_ ? end_ : size_t(next);
    return true;
  }

 private:
  const uint8_t* data_;
  size_t pos_, end_;
};

// The walker over a list's children, after its four-byte type.
ChunkWalker Children(const uint8_t* data, const Chunk& list) {
  return ChunkWalker(data, list.body + 4, list.body + list.size);
}

double RateOrZero(double rate) { return rate >= kMinRate && rate <= kMaxRate ? rate : 0; }

}  // namespace

AviClip AviClip::Parse(std::vector<uint8_t> bytes) {
  AviClip clip;
  clip.bytes_ = std::move(bytes);
  const uint8_t* data = clip.bytes_.data();
  const size_t size = clip.bytes_.size();
  if (size < 12 || !Is(data, "RIFF") || !Is(data + 8, "AVI ")) CannotOpen();
  // As with sounds, the RIFF size is not trusted; the first header and movie
  // lists count, and extension RIFF chunks after them are skipped.
  const size_t end = size;

  bool haveHeaders = false, haveMovi = false;
  Chunk hdrl{}, movi{};
  ChunkWalker top(data, 12, end);
  for (Chunk c; top.next(c);) {
    if (!haveHeaders && c.isList(data, "hdrl")) { hdrl = c; haveHeaders = true; }
    else if (!haveMovi && c.isList(data, "movi")) { movi = c; haveMovi = true; }
  }
  if (!haveHeaders || !hdrl.complete) CannotOpen();

  // The main header and the first video stream that has both its headers.
  const uint8_t* mainHeader = nullptr;
  const uint8_t* streamHeader = nullptr;
  Chunk format{};
  int videoStream = -1;
  int streamNumber = 0;
  ChunkWalker headers = Children(data, hdrl);
  for (Chunk c; headers.next(c);) {
    if (Is(c.id, "avih") && mainHeader == nullptr) {
      if (!c.complete || c.size < kMainHeaderSize) CannotOpen();
      mainHeader = data + c.body;
    } else if (c.isList(data, "strl")) {
      const uint8_t* strh = nullptr;
      Chunk strf{};
      bool haveFormat = false;
      ChunkWalker parts = Children(data, c);
      for (Chunk p; parts.next(p);) {
        if (Is(p.id, "strh") && strh == nullptr) {
          if (!p.complete || p.size < kStreamHeaderSize) CannotOpen();
          strh = data + p.body;
        } else if (Is(p.id, "strf") && !haveFormat) {
          if (!p.complete) CannotOpen();
          strf = p;
          haveFormat = true;
        }
      }
      if (videoStream < 0 && strh != nullptr && haveFormat && Is(strh, "vids")) {
        videoStream = streamNumber;
        streamHeader = strh;
        format = strf;
      }
      ++streamNumber;
    }
  }
  if (mainHeader == nullptr || videoStream < 0 || videoStream > 99) CannotOpen();

  // The frame format: a bitmap info header and its palette.
  if (format.size < kBitmapHeaderSize) CannotOpen();
  const uint8_t* bih = data + format.body;
  uint32_t headerSize = Le32(bih);
  if (headerSize < kBitmapHeaderSize || headerSize > format.size) CannotOpen();
  int64_t width = int32_t(Le32(bih + 4));
  int64_t height = int32_t(Le32(bih + 8));
  uint16_t bitCount = Le16(bih + 14);
  uint32_t compression = Le32(bih + 16);
  uint32_t colorsUsed = Le32(bih + 32);
  if (height < 0) {
    height = -height;
    clip.topDown_ = true;
  }
  if (width < 1 || width > kMaxSide || height < 1 || height > kMaxSide) CannotOpen();
  clip.width_ = int(width);
  clip.height_ = int(height);
  if (bitCount == 8 && compression == kCompressionRgb) clip.coding_ = Coding::Rgb8;
  else if (bitCount == 24 && compression == kCompressionRgb) clip.coding_ = Coding::Rgb24;
  else if (bitCount == 8 && compression == kCompressionRle8 && !clip.topDown_) clip.coding_ = Coding::Rle8;
  else CannotOpen();
  if (bitCount == 8) {
    // A stated colour count must be there in full; with none stated, the
    // palette is whatever follows the header, up to 256 entries.
    if (colorsUsed > 256) CannotOpen();
    size_t present = (format.size - headerSize) / 4;
    if (colorsUsed != 0 && present < colorsUsed) CannotOpen();
    size_t count = std::min<size_t>(colorsUsed != 0 ? colorsUsed : 256, present);
    const uint8_t* entry = bih + headerSize;
    for (size_t i = 0; i < count; ++i, entry += 4) clip.palette_.push_back({entry[0], entry[1], entry[2], 0});
  }

  uint32_t scale = Le32(streamHeader + 20), rate = Le32(streamHeader + 24);
  uint32_t usPerFrame = Le32(mainHeader);
  double fps = scale != 0 ? RateOrZero(double(rate) / double(scale)) : 0;
  if (fps == 0 && usPerFrame != 0) fps = RateOrZero(1e6 / double(usPerFrame));
  clip.framesPerSecond_ = fps != 0 ? fps : 15;

  // Frames of the video stream: 'NNdb' or 'NNdc', NN its two-digit number,
  // in the movie list itself or in its record lists.
  uint32_t totalFrames = Le32(mainHeader + 16);
  if (haveMovi) {
    const char digits[2] = {char('0' + videoStream / 10), char('0' + videoStream % 10)};
    auto isFrame = [&](const Chunk& c) {
      return c.id[0] == digits[0] && c.id[1] == digits[1] && c.id[2] == 'd' && (c.id[3] == 'b' || c.id[3] == 'c');
    };
    ChunkWalker chunks = Children(data, movi);
    for (Chunk c; clip.frames_.size() < totalFrames && chunks.next(c);) {
      if (isFrame(c)) {
        clip.frames_.push_back({c.body, c.size});
      } else if (c.isList(data, "rec ")) {
        ChunkWalker record = Children(data, c);
        for (Chunk r; clip.frames_.size() < totalFrames && record.next(r);)
          if (isFrame(r)) clip.frames_.push_back({r.body, r.size});
      }
    }
  }
  if (clip.frames_.empty()) CannotOpen();
  return clip;
}

Dib AviClip::frame(int index) const {
  if (index < 0 || index >= frameCount())
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  if (coding_ != Coding::Rle8) {
    Dib out = blankFrame();
    decodeRgb(frames_[size_t(index)], out);
    return out;
  }
  if (cachedIndex_ < 0 || cachedIndex_ > index) {
    cached_ = blankFrame();
    cachedIndex_ = -1;
  }
  while (cachedIndex_ < index) {
    decodeRle8(frames_[size_t(cachedIndex_ + 1)], cached_);
    ++cachedIndex_;
  }
  return cached_;
}

Dib AviClip::blankFrame() const {
  return Dib(width_, height_, coding_ == Coding::Rgb24 ? 24 : 8, palette_);
}

void AviClip::decodeRgb(const FrameChunk& chunk, Dib& out) const {
  const size_t stride = size_t(out.stride());
  if (chunk.size < stride * size_t(height_)) CannotOpen();
  const uint8_t* src = bytes_.data() + chunk.offset;
  for (int y = 0; y < height_; ++y) {
    int sourceRow = topDown_ ? y : height_ - 1 - y;
    std::memcpy(out.row(y), src + size_t(sourceRow) * stride, stride);
  }
}

// Run-length 8-bit data paints over `out`, which holds the previous frame:
// pixels the data skips keep their value. Rows count from the bottom. Runs
// past the right edge are clipped, and data that ends without the end-of-
// bitmap mark ends the frame where it stops.
void AviClip::decodeRle8(const FrameChunk& chunk, Dib& out) const {
  const uint8_t* p = bytes_.data() + chunk.offset;
  const size_t n = chunk.size;
  size_t i = 0;
  int64_t x = 0, y = 0;
  auto put = [&](const uint8_t* values, size_t count, uint8_t fill, bool literal) {
    if (y < height_ && x < width_) {
      size_t visible = std::min<size_t>(count, size_t(width_ - x));
      uint8_t* row = out.row(int(height_ - 1 - y)) + x;
      if (literal) std::memcpy(row, values, visible);
      else std::memset(row, fill, visible);
    }
    x += int64_t(count);
  };
  while (n - i >= 2 && y < height_) {
    uint8_t count = p[i], value = p[i + 1];
    i += 2;
    if (count > 0) {
      put(nullptr, count, value, false);
    } else if (value == 0) {  // end of line
      x = 0;
      ++y;
    } else if (value == 1) {  // end of bitmap
      break;
    } else if (value == 2) {  // move right and up
      if (n - i < 2) break;
      x += p[i];
      y += p[i + 1];
      i += 2;
    } else {  // `value` literal pixels, padded to an even count
      size_t present = std::min<size_t>(value, n - i);
      put(p + i, present, 0, true);
      if (present < value) break;
      i += value + (value & 1);
      if (i > n) break;
    }
  }
}

}  // namespace tlb
