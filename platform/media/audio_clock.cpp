#include "platform/media/audio_clock.h"

#include <algorithm>
#include <cmath>

namespace tlb {

namespace {
// Enough marks for the window in 64-frame blocks at 192 kHz.
constexpr size_t kMarks = 1024;
}  // namespace

AudioClock::AudioClock(int rate) : rate_(rate > 0 ? rate : 1), marks_(kMarks) {}

void AudioClock::Handed(int64_t frame, int count, int64_t nowUs) {
  if (restarted_) {
    // The blocks before the device stopped would put the line too early.
    count_ = 0;
    restarted_ = false;
  }
  int64_t dueUs = nowUs;
  if (serverStream_ && count_ > 0 && nowUs - lastTakenUs_ < blockUs_ / 2)
    dueUs = std::max(nowUs, lastDueUs_ + blockUs_);
  lastTakenUs_ = nowUs;
  lastDueUs_ = dueUs;
  double line = double(dueUs) + double(latencyFrames_) * 1e6 / rate_ - double(frame) * 1e6 / rate_;
  marks_[next_] = {nowUs, line};
  next_ = (next_ + 1) % marks_.size();
  count_ = std::min(count_ + 1, marks_.size());
  handedEnd_ = std::max(handedEnd_, frame + count);
  blockUs_ = int64_t(count) * 1'000'000 / rate_;
}

int64_t AudioClock::Heard(int64_t nowUs) {
  if (count_ == 0) return 0;
  // The latest bound: the smallest line among the blocks of the window, each
  // older one moved on by how far a slow device clock may have fallen behind
  // since it, counted to the newest block.
  const Mark& newest = marks_[(next_ + marks_.size() - 1) % marks_.size()];
  const int64_t window = std::max(kWindowUs, kWindowBlocks * blockUs_);
  // A server's stream now and then takes a block early, with more queued
  // before it than usual: its bound would put the line too early for as long as
  // it stays in the window. There the tightest bound is left out when three
  // or more blocks give one.
  double line = 0, second = 0;
  int bounds = 0;
  for (size_t i = 0; i < count_; ++i) {
    const Mark& m = marks_[(next_ + marks_.size() - 1 - i) % marks_.size()];
    if (m.us < nowUs - window) break;  // older marks follow
    double bound = m.lineUs + double(newest.us - m.us) * kSlowestClock;
    if (bounds == 0 || bound < line) {
      second = line;
      line = bound;
    } else if (bounds == 1 || bound < second) {
      second = bound;
    }
    ++bounds;
  }
  if (serverStream_ && bounds >= 3) line = second;
  const bool any = bounds > 0;
  if (any) lastLineUs_ = line;
  else line = lastLineUs_;
  double frames = std::floor((double(nowUs) - line) * rate_ / 1e6);
  int64_t heard = std::clamp<int64_t>(int64_t(frames), 0, handedEnd_);
  // Time going on never takes the position back (a bound that left the window
  // may have been the tightest); asked about an earlier time, it answers for it.
  if (nowUs >= lastQueryUs_) heard = std::max(heard, std::min(lastHeard_, handedEnd_));
  lastHeard_ = heard;
  lastQueryUs_ = nowUs;
  return heard;
}

}  // namespace tlb
