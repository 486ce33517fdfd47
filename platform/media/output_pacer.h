#pragma once
// Keeps an output that takes its blocks faster than it plays them to real
// time. The null and file outputs have no sound card behind them: they ask for
// the next block after sleeping a whole number of milliseconds, a little less
// than a block lasts, so without pacing they would take sound a few percent
// faster than it is heard and every position would run ahead of the clock.
//
// The output's thread asks, before it mixes each block, when that block is
// due: the schedule's start plus the frames handed so far at the output's
// rate. It waits until then. When the thread comes back after an idle wait
// (nothing played for a while) or falls further behind than a stall allows,
// the schedule starts again from that moment instead of handing the missed
// blocks in one burst. The pacer reads no clock: the caller passes the time.
//
// Waiting for every block would wake the thread twice a block: once for the
// driver's own sleep and once for the fraction of a millisecond it falls
// short. So a block may go up to a slack early: the driver's sleeps run a
// little ahead of the schedule for a few blocks, and once they are a slack
// ahead the thread waits out the whole of it at once.
#include <cstdint>

namespace tlb {

class OutputPacer {
 public:
  // How far behind its schedule a paced output may fall before the schedule
  // starts again: well over the oversleeping of a busy machine, so that real
  // time is kept, and short enough that a stall is not made up for at length.
  static constexpr int64_t kMaxLateUs = 40'000;
  // How far ahead of its schedule a paced output may take a block: about half
  // a block, a few milliseconds that nobody can hear or see, against a wake-up
  // of the output's thread saved on nine blocks out of ten.
  static constexpr int64_t kSlackUs = 6'000;

  // `rate` in frames a second; a block later than `maxLateUs` behind its
  // schedule starts the schedule again.
  // A block due less than `slackUs` ahead is handed at once (see WaitUs).
  OutputPacer(int rate, int64_t maxLateUs, int64_t slackUs = 0);

  // A block of `frames` is about to be mixed at `nowUs`: returns the time at
  // which it is due (at most `nowUs` when it is due already) and counts it as
  // handed from then.
  int64_t BlockDue(int64_t nowUs, int frames);
  // The output took no blocks for a while: the next block starts the schedule.
  void Restart() { started_ = false; }
  // The same as BlockDue, told as how long to wait from `nowUs`: 0 while the
  // block is due within the slack.
  int64_t WaitUs(int64_t nowUs, int frames);

 private:
  int rate_;
  int64_t maxLateUs_;
  int64_t slackUs_;
  bool started_ = false;
  int64_t startUs_ = 0;
  int64_t framesHanded_ = 0;
};

}  // namespace tlb
