#pragma once
// Reading RIFF AVI clips for the animation control: the first video stream,
// its frame rate, and its frames decoded to bitmaps.
//
// Frames may be uncompressed 8-bit with a palette or 24-bit, or 8-bit
// run-length encoded, where each frame paints over the one before it. Sound
// streams, the index and palette changes are ignored. Everything else throws
// EAnimateError("Cannot open AVI").
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/graphics/dib.h"

namespace tlb {

class AviClip {
 public:
  AviClip() = default;

  // Checks the headers and finds the frames; the bytes are kept for decoding.
  static AviClip Parse(std::vector<uint8_t> bytes);

  // The main header's frame total, capped at the frames really present.
  int frameCount() const { return int(frames_.size()); }
  int width() const { return width_; }
  int height() const { return height_; }
  // From the video stream's rate and scale, else the main header's time per
  // frame, else 15.
  double framesPerSecond() const { return framesPerSecond_; }

  // The full picture of frame `index` (0-based): 8 bits with the clip's
  // palette, or 24 bits. Run-length frames are decoded in order from the last
  // frame decoded (or from the start), so playing forward costs one frame a
  // call. An uncompressed frame with too few bytes throws EAnimateError; an
  // index out of range throws EListError.
  Dib frame(int index) const;

 private:
  enum class Coding { Rgb8, Rgb24, Rle8 };
  struct FrameChunk {
    size_t offset;
    size_t size;
  };

  Dib blankFrame() const;
  void decodeRgb(const FrameChunk& chunk, Dib& out) const;
  void decodeRle8(const FrameChunk& chunk, Dib& out) const;

  std::vector<uint8_t> bytes_;
  std::vector<FrameChunk> frames_;
  std::vector<RGBQuad> palette_;
  Coding coding_ = Coding::Rgb8;
  bool topDown_ = false;
  int width_ = 0, height_ = 0;
  double framesPerSecond_ = 15;

  // The last decoded frame, so that run-length frames build on it; a cache
  // behind a const interface, used from the one event-loop thread.
  mutable Dib cached_;
  mutable int cachedIndex_ = -1;
};

}  // namespace tlb
