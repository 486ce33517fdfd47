// The heard position of the real output, against a simulated sound card: it
// plays its buffer at a steady rate into an output with a known latency, and
// asks for blocks in bursts when its buffer runs low, sometimes late. What a
// voice reports must never run ahead of what the card has played, never go back
// while it plays, stay close to it, and the voice must sound until its last
// frame has been heard.
#include "platform/media/audio_clock.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/media/mixer.h"

namespace tlb {
namespace {

struct Card {
  const char* name;
  int block;          // frames a callback fills
  int burst;          // blocks asked for at once
  int capacity;       // the card's buffer, in frames
  int64_t outputUs;   // latency after the buffer
  int64_t lateUs;     // how late a burst may come, at most
  int drift;          // the card's clock against the program's, in parts per million
};

constexpr int kRate = 44100;

int64_t FramesIn(int64_t us) { return us * kRate / 1'000'000; }

TEST(AudioClock, AVoiceIsHeardNeverAheadNeverBackAndEndsWhenItsLastFrameIsHeard) {
  const Card cards[] = {
      {"even blocks, no latency", 256, 1, 512, 0, 0, 0},
      {"even blocks, 20 ms after the buffer", 256, 1, 768, 20'000, 300, 0},
      {"bursts of four, late by up to 2 ms", 256, 4, 2048, 10'000, 2'000, 0},
      {"large bursts of a sound server", 256, 8, 4096, 25'000, 4'000, 0},
      // A card whose clock runs slow is overtaken by a bound kept too long.
      {"a card 0.05% slow", 256, 4, 2048, 10'000, 1'000, -500},
      {"a card 0.05% fast", 256, 4, 2048, 10'000, 1'000, 500},
  };
  for (const Card& card : cards) {
    SCOPED_TRACE(card.name);
    Mixer mixer(kRate);
    // Every block handed is heard at most this long after: the rest of a full
    // buffer before it, and the output after the buffer.
    mixer.SetLatencyFrames(card.capacity - card.block + FramesIn(card.outputUs));
    const int64_t length = kRate * 2;
    auto voice = mixer.Add(std::make_unique<PcmSource>(std::vector<int16_t>(size_t(length) * 2, 100)));
    voice->Play();

    std::mt19937 random(7);
    std::vector<int16_t> out(size_t(card.block) * 2);
    int64_t handed = 0, startUs = -1, burstAt = 0;
    int64_t previous = 0, worstError = 0;
    bool endChecked = false;
    int64_t heardAllAt = -1;
    const int64_t allowedUs = (card.block + 2) * 1'000'000LL / kRate + card.lateUs + 250;
    const double cardRate = kRate * (1 + card.drift / 1e6);
    auto played = [&](int64_t us) {
      return startUs < 0 || us < startUs ? 0 : int64_t(double(us - startUs) * cardRate / 1e6);
    };
    for (int64_t us = 0; us < 3'000'000; us += 100) {
      // The card asks for a burst once its buffer has room for one, perhaps late.
      if (burstAt < 0 && handed - played(us) <= card.capacity - card.block * card.burst)
        burstAt = us + int64_t(random() % uint32_t(card.lateUs + 1));
      if (burstAt >= 0 && us >= burstAt) {
        for (int i = 0; i < card.burst; ++i) {
          mixer.Mix(out.data(), card.block, us + i * 20);
          handed += card.block;
        }
        if (startUs < 0) startUs = us;  // it starts playing with its first burst
        burstAt = -1;
        ASSERT_GT(handed - played(us), 0) << "the simulated card ran dry at " << us;
      }
      if (us % 1000 != 0) continue;
      // What has been heard: the frames played out of the buffer, the output's time ago.
      int64_t heard = std::min(length, played(us - card.outputUs));
      int64_t reported = voice->HeardFrame(us);
      ASSERT_LE(reported, heard) << "ahead at " << us << " us";
      ASSERT_GE(reported, previous) << "went back at " << us << " us";
      previous = reported;
      worstError = std::max(worstError, heard - reported);
      if (heard < length) {
        ASSERT_TRUE(voice->Sounding(us)) << "stopped before its last frame was heard, at " << us;
      } else if (heardAllAt < 0) {
        heardAllAt = us;
      } else if (us > heardAllAt + allowedUs && !endChecked) {
        // Within the error allowed after its last frame is heard, it no longer sounds.
        EXPECT_FALSE(voice->Sounding(us));
        EXPECT_EQ(voice->HeardFrame(us), length);
        endChecked = true;
      }
    }
    EXPECT_TRUE(endChecked);
    // One block, the time a late burst loses, and the margin kept for a slow clock.
    EXPECT_LE(worstError, card.block + FramesIn(card.lateUs) + FramesIn(250) + 2) << "frames";
    EXPECT_LT(worstError, FramesIn(10'000)) << "frames: under 10 ms";
  }
}

// A voice started while others play is heard from its first frame only once
// the output reaches the block it was first mixed into; until then it reports
// the frame it starts from. Paused, it stands at what was heard, and goes on
// from there.
TEST(AudioClock, AVoiceStartedLateWaitsForItsFirstBlockAndPausesAtWhatWasHeard) {
  Mixer mixer(1000);  // a frame a millisecond
  mixer.SetLatencyFrames(30);
  auto music = mixer.Add(std::make_unique<PcmSource>(std::vector<int16_t>(2000 * 2, 1)));
  auto speech = mixer.Add(std::make_unique<PcmSource>(std::vector<int16_t>(1000 * 2, 1)));
  music->Play();
  std::vector<int16_t> out(20);
  int64_t t = 0;
  auto block = [&] {
    mixer.Mix(out.data(), 10, t * 1000);
    t += 10;
  };
  for (int i = 0; i < 10; ++i) block();  // 100 ms of music
  speech->SeekFrame(200);
  speech->Play();
  block();  // speech's frame 200 goes out at output frame 100, heard at 130 ms
  EXPECT_EQ(speech->HeardFrame(t * 1000), 200);
  for (int i = 0; i < 4; ++i) block();
  EXPECT_EQ(speech->HeardFrame(125'000), 200) << "not heard yet";
  EXPECT_EQ(speech->HeardFrame(135'000), 205);
  EXPECT_EQ(music->HeardFrame(135'000), 105);
  speech->Pause(137'000);
  EXPECT_FALSE(speech->Sounding(137'000));
  EXPECT_EQ(speech->HeardFrame(200'000), 207) << "stands at what was heard";
  EXPECT_EQ(speech->Frame(), 207);
  for (int i = 0; i < 2; ++i) block();  // the fade-out
  speech->Play();
  block();
  EXPECT_EQ(speech->Frame(), 217) << "goes on from what was heard";
}

// An output that stops taking blocks while nothing plays and starts again at
// the next sound: the frames after the gap are heard from the block that starts
// again, not from the line of the blocks before it, which would put them up to
// a gap too early. Before the gap the position follows those blocks to their end.
TEST(AudioClock, AfterTheDeviceStopsAndStartsAgainTheNextFramesAreNotHeardEarly) {
  const int64_t kLatency = 20;  // frames; a frame a millisecond
  for (int64_t gapMs : {30, 100, 400}) {
    SCOPED_TRACE(gapMs);
    AudioClock clock(1000);
    clock.SetLatencyFrames(kLatency);
    for (int64_t t = 0; t < 100; t += 10) clock.Handed(t, 10, t * 1000);  // frames 0..99
    const int64_t resumeMs = 90 + gapMs;
    int64_t previous = 0;
    for (int64_t now = 90; now < resumeMs; ++now) {
      int64_t heard = clock.Heard(now * 1000);
      EXPECT_LE(heard, std::max<int64_t>(0, now - kLatency + 10)) << now;
      EXPECT_GE(heard, previous) << now;
      previous = heard;
    }
    if (resumeMs > 120) {
      EXPECT_EQ(previous, 100) << "the last block was heard to its end";
    }
    clock.Restart();
    for (int64_t now = resumeMs; now < resumeMs + 200; ++now) {
      if ((now - resumeMs) % 10 == 0) clock.Handed(100 + (now - resumeMs), 10, now * 1000);
      int64_t heard = clock.Heard(now * 1000);
      // Frame 100 is heard at resumeMs + kLatency at the latest, perhaps then only.
      int64_t latest = 100 + std::max<int64_t>(0, now - resumeMs - kLatency);
      EXPECT_LE(heard, std::max(latest, previous)) << now;
      EXPECT_GE(heard, previous) << now;
      if (now >= resumeMs + kLatency) {
        EXPECT_GE(heard, latest - 1) << now;
      }
      previous = heard;
    }
  }
}

}  // namespace
}  // namespace tlb
