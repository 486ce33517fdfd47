// The speech queue of the rock-paper-scissors form on its own: a list box, a
// media player and a 200 ms timer on a bare form, over the sample data.
#include <gtest/gtest.h>

#include <memory>

#include "games/src/kamen_speech.h"
#include "platform/core/sysutils.h"
#include "platform/media/audio_device.h"
#include "platform/ui/timer.h"
#include "shared/Technic2.h"
#include "tests/support/sample_data.h"

namespace tq {
namespace {

using namespace tlb;
using tlb::testing::HeadlessRun;
using tlb::testing::TempDir;

struct Start {
  std::string file;
  int64_t at;
};

class SpeechQueueRun : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!tlb::testing::HaveSampleData()) GTEST_SKIP() << "no sample data set (TULIMBO_SAMPLE_DATA)";
  }
  void TearDown() override {
    queue_.reset();
    run_.reset();
    ResetTechnic2();
  }

  // A form holding the queue; its player timer starts ticking at time 0.
  void Make(std::initializer_list<const char*> omit = {}, std::initializer_list<const char*> damage = {}) {
    run_ = std::make_unique<HeadlessRun>();
    flags_ = SpeechQueueFlags{};
    dir_ = std::make_unique<TempDir>();
    data_ = tlb::testing::MakeDataCopy(*dir_, omit, damage);
    ResetTechnic2();
    Technic2().DataDir = data_.string();
    form_ = new TForm(Application);
    playlist_ = new TListBox(form_);
    player_ = new TMediaPlayer(form_);
    queue_ = std::make_unique<TSpeechQueue>(playlist_, player_, flags_);
    timer_ = new TTimer(form_);
    timer_->SetInterval(200);
    timer_->SetOnTimer([this](TObject*) { queue_->Tick(); });
  }
  // The length of a sample file in milliseconds, as the player reports it.
  int LengthMs(const std::string& name) {
    TMediaPlayer probe(nullptr);
    probe.FileName = data_.string() + "\\zvuky\\" + name;
    probe.Open();
    return probe.Length();
  }
  std::vector<Start> Started() {
    std::vector<Start> out;
    for (const auto& r : AsHeadlessAudio(run_->backend.Audio())->Played())
      if (r.kind == SoundKind::Wave) out.push_back({ExtractFileName(r.file), r.startMs});
    return out;
  }
  // The first tick of the player timer at or after `ms`.
  static int64_t TickAtOrAfter(int64_t ms) { return (ms + 199) / 200 * 200; }

  std::unique_ptr<TempDir> dir_;
  std::filesystem::path data_;
  std::unique_ptr<HeadlessRun> run_;
  SpeechQueueFlags flags_;
  TForm* form_ = nullptr;
  TListBox* playlist_ = nullptr;
  TMediaPlayer* player_ = nullptr;
  TTimer* timer_ = nullptr;
  std::unique_ptr<TSpeechQueue> queue_;
};

TEST_F(SpeechQueueRun, PlaysTheFilesInOrderEachAtTheFirstTickAfterThePreviousEnds) {
  Make();
  for (const char* f : {"knp_uv2.wav", "knp_k.WAV", "knp_uv3.wav"}) queue_->Queue(f);
  EXPECT_EQ(playlist_->Items()[0], data_.string() + "\\zvuky\\knp_uv2.wav");
  run_->RunUntil(30000);
  auto started = Started();
  ASSERT_EQ(started.size(), 3u);
  int64_t expected = 200;
  const char* names[3] = {"knp_uv2.wav", "knp_k.WAV", "knp_uv3.wav"};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(started[size_t(i)].file, names[i]);
    EXPECT_EQ(started[size_t(i)].at, expected) << names[i];
    expected = TickAtOrAfter(started[size_t(i)].at + LengthMs(names[i]));
  }
  EXPECT_EQ(flags_.IntroStep, 3);
  EXPECT_EQ(playlist_->Items().Count(), 0);
  EXPECT_FALSE(flags_.QueueBusy);
}

// A file that cannot be opened, even on the retry, leaves the queue, counts once and
// costs one tick; the file after it is played, and nothing is reported.
TEST_F(SpeechQueueRun, AFileThatCannotBeOpenedIsSkippedAndCountedOnce) {
  for (bool damaged : {false, true}) {
    if (damaged) Make({}, {"zvuky/knp_n.WAV"});
    else Make({"zvuky/knp_n.WAV"});
    for (const char* f : {"knp_k.WAV", "knp_n.WAV", "knp_p.WAV"}) queue_->Queue(f);
    run_->RunUntil(10000);
    auto started = Started();
    ASSERT_EQ(started.size(), 2u) << damaged;
    EXPECT_EQ(started[0].file, "knp_k.WAV");
    EXPECT_EQ(started[1].file, "knp_p.WAV");
    // The failed file takes the first tick after knp_k ends; knp_p starts at the next one.
    EXPECT_EQ(started[1].at, TickAtOrAfter(200 + LengthMs("knp_k.WAV")) + 200) << damaged;
    EXPECT_EQ(flags_.IntroStep, 3) << damaged;
    EXPECT_FALSE(flags_.QueueBusy) << damaged;
    EXPECT_EQ(playlist_->Items().Count(), 0) << damaged;
    EXPECT_TRUE(run_->backend.Dialogs().empty()) << damaged;
    TearDown();
  }
}

TEST_F(SpeechQueueRun, StopCutsOffTheFileAndEmptiesTheQueue) {
  Make();
  for (const char* f : {"knp_uv1.wav", "knp_uv2.wav"}) queue_->Queue(f);
  run_->backend.At(1000, [&] {
    ASSERT_TRUE(queue_->Speaking());
    queue_->Stop();
    EXPECT_FALSE(queue_->Speaking());
    EXPECT_EQ(playlist_->Items().Count(), 0);
  });
  run_->RunUntil(20000);
  ASSERT_EQ(Started().size(), 1u);
  EXPECT_EQ(flags_.IntroStep, 1);
  // A stopped but open player stays open.
  queue_->Queue("knp_k.WAV");
  run_->RunUntil(22000);
  EXPECT_EQ(player_->Mode(), mpStopped);
  queue_->Stop();
  EXPECT_TRUE(player_->DeviceOpen());
}

// A Stop that comes while the player pumps for a file it is starting leaves the
// queue empty and the player idle, whether the file opened or not.
TEST_F(SpeechQueueRun, AStopDuringThePlayersPumpsLeavesItIdle) {
  for (bool missing : {false, true}) {
    if (missing) Make({"zvuky/knp_k.WAV"});
    else Make();
    queue_->Queue("knp_k.WAV");
    queue_->Queue("knp_n.WAV");
    // Due together with the player's first tick and created after it, this timer
    // ticks inside the player's pumps.
    auto* stopper = new TTimer(form_);
    bool stoppedWhileBusy = false;
    stopper->SetInterval(200);
    stopper->SetOnTimer([&](TObject*) {
      stopper->SetEnabled(false);
      stoppedWhileBusy = flags_.QueueBusy;
      queue_->Stop();
    });
    run_->RunUntil(3000);
    EXPECT_TRUE(stoppedWhileBusy) << missing;
    EXPECT_TRUE(Started().empty()) << missing;
    EXPECT_EQ(playlist_->Items().Count(), 0) << missing;
    EXPECT_FALSE(flags_.QueueBusy) << missing;
    EXPECT_FALSE(queue_->Speaking()) << missing;
    TearDown();
  }
}

TEST_F(SpeechQueueRun, NothingStartsWhileTheEndIsRequested) {
  Make();
  flags_.Closing = true;
  queue_->Queue("knp_k.WAV");
  run_->RunUntil(2000);
  EXPECT_TRUE(Started().empty());
  EXPECT_EQ(playlist_->Items().Count(), 1);
  flags_.Closing = false;
  run_->RunUntil(2500);
  ASSERT_EQ(Started().size(), 1u);
  EXPECT_EQ(Started()[0].at, 2200);
}

TEST_F(SpeechQueueRun, WithoutAWaveDeviceEveryFileIsGivenUpOneTickEach) {
  Make();
  run_->backend.SetAudioEnabled(false);
  for (int i = 1; i <= 9; ++i) queue_->Queue("knp_uv" + std::to_string(i) + ".wav");
  run_->RunUntil(1799);
  EXPECT_EQ(flags_.IntroStep, 8);
  run_->RunUntil(1800);
  EXPECT_EQ(flags_.IntroStep, 9);
  EXPECT_EQ(playlist_->Items().Count(), 0);
  EXPECT_TRUE(run_->backend.Dialogs().empty());
}

}  // namespace
}  // namespace tq
