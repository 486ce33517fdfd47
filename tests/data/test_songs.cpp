// The songs are sung: each syllable of pis<N>.wav at its note's pitch (or an
// octave below) to the end of its note, and both recordings of a song start a sound within 30 ms of
// each karaoke time. Pitch and onsets are measured with aubio on the mixed
// recordings, against the tunes the generator sings from.
#include <aubio/aubio.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "sample_set.h"
#include "songbook.h"
#include "tune.h"

namespace {

struct Track {
  std::vector<double> times, values;
};

sample::WavInfo recording(const std::string& root, const std::string& name) {
  return sample::readWav(sample::readDataFile(root, "zvuky/" + name));
}

sample::KaraokeInfo karaoke(const std::string& root, const std::string& name) {
  return sample::readKaraoke(sample::readDataFile(root, "texty/" + name));
}

// Runs aubio over the recording hop by hop; `each` gets the input frame and
// the time of the hop's end.
template <class Each>
void hops(const sample::WavInfo& w, uint_t hop, Each each) {
  fvec_t* in = new_fvec(hop);
  for (size_t i = 0; i + hop <= w.samples.size(); i += hop) {
    for (uint_t k = 0; k < hop; ++k) in->data[k] = w.samples[i + k] / 32768.0f;
    each(in, double(i + hop) / w.rate);
  }
  del_fvec(in);
}

// Pitch in MIDI key numbers (fractional), one value a hop. The spectral YIN
// tracker with a strict threshold follows the voice over the quieter band.
Track pitchTrack(const sample::WavInfo& w) {
  const uint_t window = 1024, hop = 128;
  aubio_pitch_t* p = new_aubio_pitch("yinfft", window, hop, uint_t(w.rate));
  aubio_pitch_set_unit(p, "midi");
  aubio_pitch_set_tolerance(p, 0.2);
  aubio_pitch_set_silence(p, -40);
  fvec_t* out = new_fvec(1);
  Track t;
  hops(w, hop, [&](fvec_t* in, double end) {
    aubio_pitch_do(p, in, out);
    if (out->data[0] <= 0) return;
    t.times.push_back(end - window / 2.0 / w.rate);  // the middle of the analysed window
    t.values.push_back(out->data[0]);
  });
  del_fvec(out);
  del_aubio_pitch(p);
  return t;
}

std::vector<double> onsets(const sample::WavInfo& w) {
  const uint_t window = 512, hop = 64;
  aubio_onset_t* o = new_aubio_onset("hfc", window, hop, uint_t(w.rate));
  aubio_onset_set_threshold(o, 0.3f);
  aubio_onset_set_minioi_ms(o, 50);
  fvec_t* out = new_fvec(1);
  std::vector<double> found;
  hops(w, hop, [&](fvec_t* in, double) {
    aubio_onset_do(o, in, out);
    if (out->data[0] > 0) found.push_back(aubio_onset_get_last_s(o));
  });
  del_fvec(out);
  del_aubio_onset(o);
  return found;
}

struct SungNote {
  double start, end;  // seconds into the recording
  int key;
};

// The notes of song n at the times its karaoke text gives, which must be one
// a syllable.
std::vector<SungNote> sungNotes(const std::string& root, int n) {
  const gen::Song song = gen::songs().at(size_t(n - 1));
  const std::vector<gen::NoteEvent> melody = gen::parseMelody(song.melody);
  const sample::KaraokeInfo k = karaoke(root, "pis" + std::to_string(n) + ".syn");
  EXPECT_EQ(k.syllables.size(), melody.size()) << "pis" << n << ".syn has a syllable for each note";
  std::vector<SungNote> notes;
  for (size_t i = 0; i < std::min(k.syllables.size(), melody.size()); ++i) {
    double start = k.syllables[i].timeMs / 1000.0;
    notes.push_back({start, start + melody[i].length * 60.0 / song.bpm, melody[i].key});
  }
  return notes;
}

TEST(SampleSongs, EachSyllableIsSungWithinASemitoneOfItsNote) {
  REQUIRE_SAMPLE_SET(root);
  for (int n = 1; n <= 4; ++n) {
    SCOPED_TRACE("pis" + std::to_string(n) + ".wav");
    const Track track = pitchTrack(recording(root, "pis" + std::to_string(n) + ".wav"));
    for (const SungNote& note : sungNotes(root, n)) {
      // The note's steady part, past the syllable's consonant and before the
      // next one; and, on notes of two beats or more, its second half alone,
      // where a syllable that stops short of its note would leave only the band.
      std::vector<std::pair<double, double>> parts = {{note.start + 0.06, note.end - 0.03}};
      if (note.end - note.start >= 0.9) parts.push_back({(note.start + note.end) / 2, note.end - 0.03});
      for (auto [from, to] : parts) {
        std::vector<double> heard;
        for (size_t i = 0; i < track.times.size(); ++i)
          if (track.times[i] > from && track.times[i] < to) heard.push_back(track.values[i]);
        ASSERT_GE(heard.size(), 3u) << "no pitch heard in the note at " << note.start << " s";
        std::nth_element(heard.begin(), heard.begin() + long(heard.size() / 2), heard.end());
        const double median = heard[heard.size() / 2];
        const double off = std::min(std::fabs(median - note.key), std::fabs(median - (note.key - 12)));
        EXPECT_LE(off, 1.0) << "the note at " << note.start << " s is key " << note.key << ", sung at " << median
                            << " from " << from << " s to " << to << " s";
      }
    }
  }
}

TEST(SampleSongs, BothVersionsStartASoundWithinThirtyMillisecondsOfEachSyllable) {
  REQUIRE_SAMPLE_SET(root);
  for (int n = 1; n <= 4; ++n) {
    const std::vector<SungNote> notes = sungNotes(root, n);
    for (const char* version : {".wav", "a.wav"}) {
      const std::string name = "pis" + std::to_string(n) + version;
      SCOPED_TRACE(name);
      const std::vector<double> found = onsets(recording(root, name));
      for (const SungNote& note : notes) {
        double nearest = 1e9;
        for (double t : found) nearest = std::min(nearest, std::fabs(t - note.start));
        EXPECT_LE(nearest, 0.030) << "no onset near the syllable at " << note.start << " s";
      }
    }
  }
}

}  // namespace
