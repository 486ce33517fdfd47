// The pacing of the null and file outputs, against a simulated driver thread
// that sleeps a whole number of milliseconds after each block, as those
// drivers do, and sometimes oversleeps or stalls.
#include "platform/media/output_pacer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace tlb {
namespace {

constexpr int kRate = 44100;
constexpr int64_t kMaxLateUs = OutputPacer::kMaxLateUs;

int64_t BlockUs(int frames) { return int64_t(frames) * 1'000'000 / kRate; }

TEST(OutputPacer, BlocksAreDueAtTheStartPlusTheFramesHandedAtTheRate) {
  OutputPacer pacer(kRate, kMaxLateUs);
  EXPECT_EQ(pacer.BlockDue(5'000'000, 441), 5'000'000);  // the first block goes at once
  // Called early, the caller is told to wait; the schedule does not move with the caller.
  EXPECT_EQ(pacer.BlockDue(5'001'000, 441), 5'010'000);
  EXPECT_EQ(pacer.BlockDue(5'010'000, 441), 5'020'000);
  // Late by less than a stall: still on the old schedule, so the lateness is caught up.
  EXPECT_EQ(pacer.BlockDue(5'033'000, 441), 5'030'000);
  EXPECT_EQ(pacer.BlockDue(5'034'000, 882), 5'040'000);
  EXPECT_EQ(pacer.BlockDue(5'040'000, 441), 5'060'000);
}

// The driver thread: mixes when the block is due, then sleeps the block's
// length in whole milliseconds plus some oversleep, and comes back.
struct Driver {
  int block;
  int64_t oversleepUs;  // at most, evenly spread
};

TEST(OutputPacer, ADriverThatSleepsWholeMillisecondsTakesSoundInRealTime) {
  const Driver drivers[] = {{256, 0}, {256, 500}, {512, 0}, {512, 400}, {1024, 200}, {2048, 600}};
  for (const Driver& d : drivers) {
    SCOPED_TRACE(testing::Message() << d.block << " frames, oversleeping up to " << d.oversleepUs << " us");
    std::mt19937 random(d.block);
    std::uniform_int_distribution<int64_t> oversleep(0, d.oversleepUs);
    OutputPacer pacer(kRate, kMaxLateUs);
    const int64_t start = 1'000'000;
    int64_t now = start;
    int64_t handed = 0;
    const int64_t end = start + 10'000'000;
    while (now < end) {
      now = std::max(now, pacer.BlockDue(now, d.block));
      // Never ahead of real time by more than the block just handed.
      EXPECT_LE(handed * 1'000'000 / kRate, now - start) << "at " << now;
      handed += d.block;
      now += BlockUs(d.block) / 1000 * 1000 + oversleep(random);
    }
    double secondsOfSound = double(handed) / kRate;
    double seconds = double(now - start) / 1e6;
    EXPECT_NEAR(secondsOfSound / seconds, 1.0, 0.001);
  }
}

TEST(OutputPacer, WithASlackTheThreadWaitsSeldomAndStillKeepsRealTime) {
  const int64_t slack = OutputPacer::kSlackUs;
  const Driver drivers[] = {{256, 0}, {512, 0}, {512, 400}, {2048, 600}};
  for (const Driver& d : drivers) {
    SCOPED_TRACE(testing::Message() << d.block << " frames, oversleeping up to " << d.oversleepUs << " us");
    std::mt19937 random(d.block);
    std::uniform_int_distribution<int64_t> oversleep(0, d.oversleepUs);
    OutputPacer pacer(kRate, kMaxLateUs, slack);
    const int64_t start = 1'000'000;
    int64_t now = start;
    int64_t handed = 0;
    int blocks = 0, waits = 0;
    while (now < start + 10'000'000) {
      int64_t wait = pacer.WaitUs(now, d.block);
      if (wait > 0) ++waits;
      now += wait;
      // Ahead of real time by the block just handed and the slack at most.
      EXPECT_LE(handed * 1'000'000 / kRate, now - start + slack) << "at " << now;
      handed += d.block;
      ++blocks;
      now += BlockUs(d.block) / 1000 * 1000 + oversleep(random);
    }
    EXPECT_NEAR(double(handed) / kRate / (double(now - start) / 1e6), 1.0, 0.001);
    // The driver falls short by under a millisecond a block, so a wait comes
    // once in several blocks, not every block.
    EXPECT_LT(waits * 4, blocks);
  }
}

TEST(OutputPacer, AfterAStallOrAnIdleWaitTheScheduleStartsAgainWithoutABurst) {
  const int block = 256;
  struct Case {
    const char* what;
    int64_t gapUs;
    bool idle;  // the output told the pacer it waited
  };
  const Case cases[] = {
      {"a stall of 200 ms", 200'000, false},
      {"a stall just over the limit", kMaxLateUs + BlockUs(block) + 1, false},
      {"an idle wait of 3 s", 3'000'000, true},
      {"an idle wait shorter than the stall limit", 10'000, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    OutputPacer pacer(kRate, kMaxLateUs);
    int64_t now = 0;
    for (int i = 0; i < 20; ++i) now = std::max(now, pacer.BlockDue(now, block)) + 100;
    now += c.gapUs;
    if (c.idle) pacer.Restart();
    const int64_t back = now;
    EXPECT_EQ(pacer.BlockDue(now, block), back);
    // The blocks after it are due a block apart from the return, not at once.
    for (int i = 1; i <= 10; ++i) {
      now += 50;
      EXPECT_EQ(pacer.BlockDue(now, block), back + int64_t(i) * block * 1'000'000 / kRate) << "block " << i;
    }
  }
}

}  // namespace
}  // namespace tlb
