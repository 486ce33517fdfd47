#include "stretch.h"

#include <rubberband/RubberBandStretcher.h>

#include <memory>
#include <mutex>
#include <vector>

namespace gen {

namespace {
std::mutex setupLock;  // the library's first use fills shared tables
}  // namespace

Audio stretched(const Audio& a, double pitchScale, double timeRatio) {
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
  const float* in = a.s.data();
  rb->study(&in, a.s.size(), true);
  rb->process(&in, a.s.size(), true);
  Audio out;
  out.rate = a.rate;
  std::vector<float> block;
  while (true) {
    int n = rb->available();
    if (n <= 0) break;
    block.resize(size_t(n));
    float* dst = block.data();
    size_t got = rb->retrieve(&dst, size_t(n));
    out.s.insert(out.s.end(), block.begin(), block.begin() + long(got));
  }
  return out;
}

}  // namespace gen
