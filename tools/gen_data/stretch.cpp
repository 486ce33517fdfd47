#include "stretch.h"

#include <rubberband/RubberBandStretcher.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <vector>

namespace gen {

namespace {
std::mutex setupLock;  // the library's first use fills shared tables
}  // namespace

Audio stretched(const Audio& a, double pitchScale, double timeRatio, const std::map<size_t, size_t>& keyFrames) {
  using RB = RubberBand::RubberBandStretcher;
  // Offline: the whole sound is studied first, and the output is aligned with
  // the input (no start delay to remove). One thread, so the result does not
  // depend on how the work is shared.
  const RB::Options options = RB::OptionProcessOffline | RB::OptionEngineFiner | RB::OptionFormantPreserved |
                              RB::OptionThreadingNever | RB::OptionPitchHighQuality;
  std::unique_ptr<RB> rb;
  {
    std::lock_guard<std::mutex> lock(setupLock);
    rb = std::make_unique<RB>(size_t(a.rate), 1, options, timeRatio, pitchScale);
  }
  rb->setExpectedInputDuration(a.s.size());
  // Both passes go block by block: the stretcher takes in at most its
  // process size at a time, and gives out what it has made after each block.
  constexpr size_t kBlock = 1024;
  rb->setMaxProcessSize(kBlock);
  for (size_t at = 0; at < a.s.size(); at += kBlock) {
    const float* in = a.s.data() + at;
    rb->study(&in, std::min(kBlock, a.s.size() - at), at + kBlock >= a.s.size());
  }
  if (!keyFrames.empty()) rb->setKeyFrameMap(keyFrames);
  Audio out;
  out.rate = a.rate;
  std::vector<float> block;
  auto collect = [&] {
    for (int n; (n = rb->available()) > 0;) {
      block.resize(size_t(n));
      float* dst = block.data();
      size_t got = rb->retrieve(&dst, size_t(n));
      out.s.insert(out.s.end(), block.begin(), block.begin() + long(got));
    }
  };
  for (size_t at = 0; at < a.s.size(); at += kBlock) {
    const float* in = a.s.data() + at;
    rb->process(&in, std::min(kBlock, a.s.size() - at), at + kBlock >= a.s.size());
    collect();
  }
  // Once the last block is in, the stretcher finishes on its own thread-free
  // calls; available() turns negative when everything has been given out.
  while (rb->available() >= 0) {
    collect();
    if (rb->available() == 0) break;
  }
  return out;
}

}  // namespace gen
