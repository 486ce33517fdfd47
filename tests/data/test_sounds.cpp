// The sounds and karaoke texts of the sample data set: PCM the mixer plays,
// levels without clipping, an introduction long enough for its pictures, and
// karaoke times that follow what is heard.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "data_inventory.h"
#include "sample_set.h"

namespace {

sample::WavInfo sound(const std::string& root, const std::string& name) {
  return sample::readWav(sample::readDataFile(root, "zvuky/" + name));
}

sample::KaraokeInfo karaoke(const std::string& root, const std::string& name) {
  return sample::readKaraoke(sample::readDataFile(root, "texty/" + name));
}

int peakOf(const std::vector<int16_t>& s, size_t from, size_t to) {
  int p = 0;
  for (size_t i = from; i < std::min(to, s.size()); ++i) p = std::max(p, std::abs(int(s[i])));
  return p;
}

TEST(SampleSounds, AreSixteenBitMonoPcmAtAMixerRateWithoutClipping) {
  REQUIRE_SAMPLE_SET(root);
  int checked = 0;
  for (const sample::DataFile& f : sample::dataInventory()) {
    if (f.folder != "zvuky") continue;
    SCOPED_TRACE(f.name);
    sample::WavInfo w = sound(root, f.name);
    EXPECT_EQ(w.format, 1) << "not PCM";
    EXPECT_TRUE(w.rate == 22050 || w.rate == 44100) << w.rate;
    EXPECT_EQ(w.bits, 16);
    EXPECT_EQ(w.channels, 1);
    ASSERT_FALSE(w.samples.empty());
    int peak = peakOf(w.samples, 0, w.samples.size());
    EXPECT_LT(peak, 32440) << "clipped or at full scale";   // below -0.1 dBFS
    EXPECT_GT(peak, 16384) << "too quiet";                 // above -6 dBFS
    ++checked;
  }
  EXPECT_EQ(checked, 136);  // 135 files; k1_end is spelled twice
}

TEST(SampleSounds, BeginAndEndInSilence) {
  REQUIRE_SAMPLE_SET(root);
  for (const sample::DataFile& f : sample::dataInventory()) {
    if (f.folder != "zvuky") continue;
    SCOPED_TRACE(f.name);
    sample::WavInfo w = sound(root, f.name);
    size_t edge = size_t(0.07 * w.rate);
    EXPECT_LT(peakOf(w.samples, 0, edge), 330) << "sound in the first 70 ms";
    EXPECT_LT(peakOf(w.samples, w.samples.size() - edge, w.samples.size()), 330) << "sound in the last 70 ms";
  }
}

TEST(SampleSounds, RhymesIntroductionLastsPastTheArrowsEntrance) {
  REQUIRE_SAMPLE_SET(root);
  sample::WavInfo w = sound(root, "r_uvod1.wav");
  // The faces appear at 8 to 9 s into it and the arrow at 12 to 13 s.
  EXPECT_GE(w.seconds(), 13.0);
  // And the narration speaks across both moments, not just silence padding.
  EXPECT_GT(peakOf(w.samples, size_t(8.0 * w.rate), size_t(9.0 * w.rate)), 3000);
  EXPECT_GT(peakOf(w.samples, size_t(12.0 * w.rate), size_t(13.0 * w.rate)), 3000);
}

struct TextRule {
  const char* prefix;
  int count, maxSyllables, maxLines;
};

TEST(SampleKaraoke, TextsKeepTheDisplaysLimitsAndRisingTimes) {
  REQUIRE_SAMPLE_SET(root);
  for (TextRule r : {TextRule{"lym", 6, 99, 9}, TextRule{"pis", 4, 139, 12}}) {
    for (int n = 1; n <= r.count; ++n) {
      std::string name = r.prefix + std::to_string(n);
      SCOPED_TRACE(name);
      sample::KaraokeInfo k = karaoke(root, name + ".syn");
      ASSERT_FALSE(k.syllables.empty());
      EXPECT_FALSE(k.title.empty());
      EXPECT_LE(int(k.syllables.size()), r.maxSyllables);
      EXPECT_LE(k.displayLines, r.maxLines);
      EXPECT_LE(k.fileLines, 256u);
      EXPECT_LE(k.longestLine, 255u);
      for (size_t i = 1; i < k.syllables.size(); ++i) EXPECT_GT(k.syllables[i].timeMs, k.syllables[i - 1].timeMs);
      sample::WavInfo w = sound(root, name + ".wav");
      EXPECT_LT(k.syllables.back().timeMs, long(w.seconds() * 1000)) << "a syllable after the recording's end";
    }
  }
}

TEST(SampleKaraoke, SongTitlesAreTheMenuCaptionsInCodePage1250) {
  REQUIRE_SAMPLE_SET(root);
  // "Maličká som", "Pec nám spadla", "Prší, prší", "Holka modrooká" in code page 1250.
  const std::string titles[4] = {"Mali\xe8k\xe1 som", "Pec n\xe1m spadla", "Pr\x9a\xed, pr\x9a\xed",
                                 "Holka modrook\xe1"};
  for (int n = 1; n <= 4; ++n)
    EXPECT_EQ(karaoke(root, "pis" + std::to_string(n) + ".syn").title, titles[n - 1]) << "pis" << n;
}

TEST(SampleKaraoke, SingingAndMusicOnlyRecordingsShareOneTiming) {
  REQUIRE_SAMPLE_SET(root);
  for (int n = 1; n <= 4; ++n) {
    SCOPED_TRACE("pis" + std::to_string(n));
    sample::WavInfo sung = sound(root, "pis" + std::to_string(n) + ".wav");
    sample::WavInfo music = sound(root, "pis" + std::to_string(n) + "a.wav");
    EXPECT_NEAR(sung.seconds(), music.seconds(), 0.05);
    // The music plays under every syllable of the text in both versions.
    sample::KaraokeInfo k = karaoke(root, "pis" + std::to_string(n) + ".syn");
    for (const auto& s : k.syllables) {
      size_t at = size_t(s.timeMs / 1000.0 * music.rate);
      EXPECT_GT(peakOf(music.samples, at, at + size_t(0.1 * music.rate)), 1500) << s.timeMs;
      EXPECT_GT(peakOf(sung.samples, at, at + size_t(0.1 * sung.rate)), 1500) << s.timeMs;
    }
  }
}

// A syllable is heard from the first sample above 1% of full scale after at
// least 15 ms below it; the recordings speak each syllable on its own.
TEST(SampleKaraoke, RhymeSyllablesAreHeardWithinThirtyMillisecondsOfTheirTimes) {
  REQUIRE_SAMPLE_SET(root);
  for (int n = 1; n <= 6; ++n) {
    SCOPED_TRACE("lym" + std::to_string(n));
    sample::WavInfo w = sound(root, "lym" + std::to_string(n) + ".wav");
    sample::KaraokeInfo k = karaoke(root, "lym" + std::to_string(n) + ".syn");
    const int quiet = 328;
    const size_t hush = size_t(0.015 * w.rate);
    for (const auto& s : k.syllables) {
      long at = long(s.timeMs / 1000.0 * w.rate);
      long from = std::max(0L, at - long(0.03 * w.rate)), to = at + long(0.03 * w.rate);
      bool found = false;
      for (long i = from; i <= to && !found; ++i) {
        if (i < long(hush) || size_t(i) >= w.samples.size()) continue;
        found = std::abs(int(w.samples[size_t(i)])) >= quiet && peakOf(w.samples, size_t(i) - hush, size_t(i)) < quiet;
      }
      EXPECT_TRUE(found) << "no syllable starts within 30 ms of " << s.timeMs << " ms";
    }
  }
}

}  // namespace
