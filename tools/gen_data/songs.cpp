// The four songs of the songs menu: a sung recording and a music-only
// recording with the same timing, so that one karaoke text fits both.
//
// The band (guitar, bass, light percussion) and, in the music-only version, a
// recorder playing the tune are a MIDI arrangement of the song played through
// FluidSynth. The singing is the speech engine saying each syllable on one
// steady pitch, which Rubber Band moves to the syllable's note and stretches
// to the note's length; aubio measures the pitch it starts from.
#include <algorithm>
#include <cmath>
#include <future>
#include <map>
#include <string>
#include <vector>

#include "audio.h"
#include "karaoke.h"
#include "midi_render.h"
#include "midi_writer.h"
#include "output.h"
#include "pitch.h"
#include "songbook.h"
#include "speech_clips.h"
#include "stretch.h"
#include "synth.h"
#include "tune.h"

namespace gen {

namespace {

constexpr double kLead = 0.1;  // silence before the first chord
constexpr int kTicks = 480;

struct Arranged {
  Tune tune;
  std::vector<Syllable> syllables;
  double endBeat;
};

Arranged arrange(const Song& s, const std::string& forFile) {
  Arranged a;
  a.tune.bpm = s.bpm;
  a.tune.beatsPerBar = s.beatsPerBar;
  const double intro = 2.0 * s.beatsPerBar;
  a.tune.melody = parseMelody(s.melody, intro);
  a.tune.chords = parseChords(s.introChords + " | " + s.chords, s.beatsPerBar);
  for (const std::string& line : s.lines)
    for (Syllable& y : splitLine(line)) a.syllables.push_back(y);
  if (a.syllables.size() != a.tune.melody.size())
    throw std::runtime_error(forFile + ": " + std::to_string(a.syllables.size()) + " syllables but " +
                             std::to_string(a.tune.melody.size()) + " notes");
  if (a.syllables.size() > 139 || s.lines.size() > 12)
    throw std::runtime_error(forFile + ": song too long for the display");
  for (size_t i = 0; i < a.syllables.size(); ++i) a.syllables[i].time = kLead + a.tune.seconds(a.tune.melody[i].beat);
  // One bar of the home chord to end on.
  double last = a.tune.lengthBeats();
  double end = std::ceil(last / s.beatsPerBar) * s.beatsPerBar;
  const ChordEvent& home = a.tune.chords[size_t(0)];
  a.tune.chords.push_back({end, double(s.beatsPerBar), home.root, home.intervals});
  a.endBeat = end + s.beatsPerBar;
  return a;
}

uint32_t tick(double beat) { return uint32_t(std::lround(beat * kTicks)); }

// The song as a General MIDI file: a nylon guitar picking the chords, a bass on
// the chords' roots and fifths, a quiet kick and hi-hat, and, when asked for,
// a recorder playing the tune.
std::vector<uint8_t> songMidi(const Song& s, const Arranged& a, bool withTune) {
  MidiFile m(kTicks);
  m.title(s.title);
  m.tempo(s.bpm);
  m.timeSignature(s.beatsPerBar, 4);
  const int guitar = m.addTrack("guitar", 0, 24, 90, 56);
  const int bass = m.addTrack("bass", 1, 32, 100, 64);
  const int drums = m.addTrack("percussion", 9, 0, 70, 64);
  for (const ChordEvent& c : a.tune.chords) {
    std::vector<int> tones;
    for (int iv : c.intervals) {
      int k = c.root - 12 + iv;
      while (k < 52) k += 12;
      while (k > 66) k -= 12;
      tones.push_back(k);
    }
    std::sort(tones.begin(), tones.end());
    const int order[4] = {0, 1, 2, 1};
    for (int k = 0; k < int(c.length * 2); ++k)
      m.note(guitar, tick(c.beat + k * 0.5), tick(0.9), tones[size_t(order[k % 4]) % tones.size()], k % 2 ? 52 : 62);
    const int root = c.root - 24;
    m.note(bass, tick(c.beat), tick(std::min(c.length, 2.0) * 0.9), root, 80);
    if (c.length >= 4) m.note(bass, tick(c.beat + 2), tick(1.8), root + 7, 70);
  }
  for (int b = 0; b < int(a.endBeat); ++b) {
    if (b % s.beatsPerBar == 0) m.note(drums, tick(b), tick(0.25), 36, 50);
    m.note(drums, tick(b), tick(0.2), 42, b % s.beatsPerBar == 0 ? 34 : 24);
  }
  if (withTune) {
    const int recorder = m.addTrack("tune", 2, 74, 110, 72);
    for (const NoteEvent& n : a.tune.melody) m.note(recorder, tick(n.beat), tick(n.length * 0.92), n.key, 92);
  }
  // The last chord rings for a beat past the end, then the file ends.
  m.controller(guitar, tick(a.endBeat + 1), 7, 90);
  return m.bytes();
}

// espeak-ng's pitch setting (0..99) whose steady voice lies nearest `hz`. Its
// female voice spans about 137 Hz at 0 to 332 Hz at 99, evenly in semitones;
// the stretcher moves the voice the rest of the way.
int espeakPitchFor(double hz) {
  double p = 99.0 * std::log(hz / 137.0) / std::log(332.0 / 137.0);
  return int(std::clamp(std::lround(p), 0L, 99L));
}

// Syllable i sung on its note: said on a steady pitch near the note, moved
// exactly onto it and stretched to fill the note. The first heard sample lies
// 5 ms into the returned clip.
Audio sungSyllable(Output& out, const Song& s, const Syllable& y, const NoteEvent& note, double seconds,
                   const std::string& forFile) {
  const double target = midiToHz(note.key);
  Utterance u;
  u.voice = s.voice + "+f3";
  u.text = y.speak;
  u.monotone = true;
  u.pitch = espeakPitchFor(target);
  // A long note is said slowly, so that the stretcher has less to do.
  u.speed = int(std::clamp(140 * 0.36 / seconds, 80.0, 220.0));
  Audio clip = spokenClip(out.speech(), u, forFile);
  // Said without intonation, every syllable at one setting has the same pitch.
  // It is measured on a long open vowel: on a close vowel such as [i], whose
  // first formant lies near the pitch, the tracker reads several percent high.
  Utterance vowel = u;
  vowel.text = "[['a:]]";
  const double said = medianPitch(spokenClip(out.speech(), vowel, forFile));
  // The shifter resamples by the scale's nearest fraction; a scale in
  // hundredths (at most 0.09 semitones away) keeps its filters short and the
  // generator fast.
  const double pitchScale = said > 0 ? std::round(100.0 * target / said) / 100.0 : 1.0;
  // The vowel carries the note: the consonants before and after it keep their
  // natural length, and the voiced part takes up the rest of the note.
  std::map<size_t, size_t> keyFrames;
  const size_t outLength = size_t(seconds * clip.rate);
  const auto [voicedFrom, voicedTo] = voicedSpan(clip);
  const size_t after = clip.s.size() - voicedTo;
  if (voicedTo > voicedFrom && outLength > clip.s.size() && voicedFrom + after + (voicedTo - voicedFrom) / 2 < outLength) {
    keyFrames[voicedFrom] = voicedFrom;
    keyFrames[voicedTo] = outLength - after;
  }
  Audio sung = stretched(clip, pitchScale, double(outLength) / double(clip.s.size()), keyFrames);
  limitLength(sung, seconds, 0.03);
  fadeIn(sung, 0.004);
  return sung;
}

void renderSong(Output& out, int n, const Song& s) {
  const std::string base = "zvuky/pis" + std::to_string(n);
  const Arranged a = arrange(s, base + ".wav");
  const double spb = 60.0 / s.bpm;
  const double tail = 0.6;
  // A song is the longest job of the data set: its two band recordings and
  // its syllables are made side by side, each piece on its own, so the result
  // does not depend on the order they finish in.
  auto band = std::async(std::launch::async, [&] { return renderMidi(songMidi(s, a, false), tail, base + ".wav"); });
  auto tune = std::async(std::launch::async, [&] { return renderMidi(songMidi(s, a, true), tail, base + "a.wav"); });
  std::vector<Audio> syllables(a.syllables.size());
  auto sing = [&](size_t first, size_t step) {
    for (size_t i = first; i < a.syllables.size(); i += step) {
      const NoteEvent& note = a.tune.melody[i];
      // Each syllable fills its note, leaving a breath before the next one.
      const bool restAfter =
          i + 1 == a.syllables.size() || a.tune.melody[i + 1].beat > note.beat + note.length + 0.01;
      const double seconds = note.length * spb * (restAfter ? 1.0 : 0.98);
      syllables[i] = sungSyllable(out, s, a.syllables[i], note, seconds, base + ".wav");
      normalise(syllables[i], -4.0);
    }
  };
  constexpr size_t kSingers = 4;
  std::vector<std::future<void>> singers;
  for (size_t k = 1; k < kSingers; ++k) singers.push_back(std::async(std::launch::async, sing, k, kSingers));
  sing(0, kSingers);
  for (auto& f : singers) f.get();
  Audio accompaniment = band.get();
  Audio music = tune.get();
  padSilence(accompaniment, kLead, 0);
  padSilence(music, kLead, 0);
  Audio voice;
  for (size_t i = 0; i < syllables.size(); ++i) mixInto(voice, syllables[i], a.syllables[i].time - 0.005);
  // The voice leads; the band stays well under it.
  normalise(voice, -3.0);
  normalise(accompaniment, -13.0);
  Audio sung = accompaniment;
  mixInto(sung, voice, 0);
  // Both versions end together, with a moment of silence.
  size_t length = std::max(sung.s.size(), music.s.size());
  sung.s.resize(length, 0.0f);
  music.s.resize(length, 0.0f);
  fadeOut(sung, 0.3);
  fadeOut(music, 0.3);
  padSilence(sung, 0, 0.1);
  padSilence(music, 0, 0.1);
  normalise(sung, kPeakDb);
  normalise(music, kPeakDb);
  out.data(base + ".wav", wavFile(sung));
  out.data(base + "a.wav", wavFile(music));
  std::string syn = synFile(s.title, a.syllables);
  out.data("texty/pis" + std::to_string(n) + ".syn", std::vector<uint8_t>(syn.begin(), syn.end()));
}

}  // namespace

void addSongJobs(Jobs& jobs) {
  std::vector<Song> all = songs();
  for (size_t i = 0; i < all.size(); ++i) {
    Song s = all[i];
    int n = int(i) + 1;
    jobs.push_back({"karaoke song " + std::to_string(n), [n, s](Output& out) { renderSong(out, n, s); }});
  }
}

void addKaraokeJobs(Jobs& jobs) {
  addSongJobs(jobs);
  addRhymeJobs(jobs);
}

}  // namespace gen
