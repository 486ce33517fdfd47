// The timer rules the forms rely on, on the virtual clock.
#include <gtest/gtest.h>

#include <vector>

#include "platform/ui/message_queue.h"
#include "platform/ui/timer.h"
#include "tests/support/headless_run.h"

namespace tlb {
namespace {

using testing::HeadlessRun;

struct TimerFixture : ::testing::Test {
  HeadlessRun run;
  TForm* owner = new TForm(Application);
  std::vector<int64_t> ticks;
  TTimer* MakeTimer(int interval) {
    auto* t = new TTimer(owner);
    t->SetInterval(interval);
    t->SetOnTimer([this](TObject*) { ticks.push_back(run.backend.NowMs()); });
    return t;
  }
};

// A counted pump (the forms pump a fixed number of times in places) must not wait
// for a timer period; only PumpUntil waits.
TEST_F(TimerFixture, ProcessMessagesReturnsAtOnceWhenNothingIsDue) {
  MakeTimer(100);
  for (int i = 0; i < 50; ++i) Application->ProcessMessages();
  EXPECT_EQ(run.backend.NowMs(), 0);
  EXPECT_TRUE(ticks.empty());
  run.RunUntil(100);
  Application->ProcessMessages();
  EXPECT_EQ(ticks, (std::vector<int64_t>{100}));
}

TEST_F(TimerFixture, TicksAtEachPeriod) {
  MakeTimer(100);
  run.RunUntil(350);
  EXPECT_EQ(ticks, (std::vector<int64_t>{100, 200, 300}));
}

TEST_F(TimerFixture, FiresOnlyWhenEnabledWithIntervalAndHandler) {
  auto* disabled = MakeTimer(100);
  disabled->SetEnabled(false);
  auto* zero = MakeTimer(0);
  auto* noHandler = new TTimer(owner);
  noHandler->SetInterval(100);
  run.RunUntil(500);
  EXPECT_TRUE(ticks.empty());
  (void)zero;
}

TEST_F(TimerFixture, SettingEnabledToItsValueKeepsThePeriodAndTag) {
  auto* t = MakeTimer(100);
  t->Tag = 7;
  run.backend.At(50, [&] { t->SetEnabled(true); });
  run.RunUntil(150);
  EXPECT_EQ(ticks, (std::vector<int64_t>{100}));
  EXPECT_EQ(t->Tag, 7);
}

TEST_F(TimerFixture, HandlerOrIntervalChangeRestartsThePeriod) {
  auto* t = MakeTimer(100);
  run.backend.At(70, [&] { t->SetInterval(100); t->SetInterval(100); });  // equal value: no restart
  run.backend.At(150, [&] { t->SetOnTimer(t->OnTimer()); });               // reassigning restarts
  run.RunUntil(400);
  EXPECT_EQ(ticks, (std::vector<int64_t>{100, 250, 350}));
}

TEST_F(TimerFixture, DisableThenEnableResumesWithAFullPeriod) {
  auto* t = MakeTimer(100);
  run.backend.At(130, [&] { t->SetEnabled(false); });
  run.backend.At(160, [&] { t->SetEnabled(true); });
  run.RunUntil(300);
  EXPECT_EQ(ticks, (std::vector<int64_t>{100, 260}));
}

TEST_F(TimerFixture, LateTimerTicksOnce) {
  MakeTimer(100);
  // A handler that blocks the loop for 350 ms of virtual time.
  auto* blocker = new TTimer(owner);
  blocker->SetInterval(50);
  blocker->SetOnTimer([&](TObject* s) {
    static_cast<TTimer*>(s)->SetEnabled(false);
    run.backend.WaitUntil(run.backend.NowMs() + 350);
  });
  run.RunUntil(450);
  // The 100, 200 and 300 ticks merge into one at 400; then the period starts again.
  ASSERT_GE(ticks.size(), 1u);
  EXPECT_EQ(ticks[0], 400);
  EXPECT_EQ(ticks.size(), 1u);
}

TEST_F(TimerFixture, TimerOfAFreedOwnerNeverFires) {
  auto* form = new TForm(Application);
  auto* t = new TTimer(form);
  t->SetInterval(100);
  t->SetOnTimer([&](TObject*) { ticks.push_back(1); });
  run.backend.At(50, [&] { delete form; });
  run.RunUntil(300);
  EXPECT_TRUE(ticks.empty());
}

TEST_F(TimerFixture, TimerMayFreeItselfInItsOwnTick) {
  auto* t = new TTimer(owner);
  t->SetInterval(100);
  t->SetOnTimer([&](TObject* s) {
    ticks.push_back(run.backend.NowMs());
    delete s;
  });
  run.RunUntil(500);
  EXPECT_EQ(ticks, (std::vector<int64_t>{100}));
}

// A timer whose ticks would do nothing lets the thread sleep through them; the
// ticks that do something come on the timer's own beat, and input taken at a
// tick's moment is seen by that tick.
TEST_F(TimerFixture, AQuietTimerIsSleptThroughAndKeepsItsBeat) {
  struct Case {
    int64_t wakeAt;
    std::vector<int64_t> ticks;
  } cases[] = {
      {1234, {1240, 1250, 1260}},
      {2000, {2000, 2010, 2020}},
  };
  int sleeps = 0;
  MessageQueue::Instance().AddWakeSource([&] {
    ++sleeps;
    return int64_t(-1);
  });
  for (const Case& c : cases) {
    ticks.clear();
    sleeps = 0;
    int left = 0;
    auto* t = MakeTimer(10);
    t->SetOnTimer([&](TObject*) {
      ticks.push_back(run.backend.NowMs());
      --left;
    });
    t->SetQuietWhile([&] { return left == 0; });
    const int64_t start = run.backend.NowMs();
    run.backend.At(start + c.wakeAt, [&] { left = 3; });
    run.RunUntil(start + 5000);
    std::vector<int64_t> relative;
    for (int64_t at : ticks) relative.push_back(at - start);
    EXPECT_EQ(relative, c.ticks) << c.wakeAt;
    // Woken for the change and the three ticks, not for the 500 beats.
    EXPECT_LT(sleeps, 20) << c.wakeAt;
    delete t;
  }
}

}  // namespace
}  // namespace tlb
