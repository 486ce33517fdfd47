#include "platform/media/output_pacer.h"

namespace tlb {

OutputPacer::OutputPacer(int rate, int64_t maxLateUs, int64_t slackUs)
    : rate_(rate > 0 ? rate : 1), maxLateUs_(maxLateUs), slackUs_(slackUs) {}

int64_t OutputPacer::BlockDue(int64_t nowUs, int frames) {
  int64_t due = startUs_ + framesHanded_ * 1'000'000 / rate_;
  if (!started_ || nowUs - due > maxLateUs_) {
    started_ = true;
    startUs_ = nowUs;
    framesHanded_ = 0;
    due = nowUs;
  }
  framesHanded_ += frames;
  return due;
}

int64_t OutputPacer::WaitUs(int64_t nowUs, int frames) {
  int64_t wait = BlockDue(nowUs, frames) - nowUs;
  return wait > slackUs_ ? wait : 0;
}

}  // namespace tlb
