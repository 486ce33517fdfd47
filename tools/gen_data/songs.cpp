// The four songs of the songs menu: a sung recording (each syllable voiced
// on its note over a small band of plucked chords, bass and a quiet melody)
// and a music-only recording with the same timing, where a flute plays the
// melody. One karaoke text fits both. The words are the traditional ones, in
// short versions; the tunes were written for this set in the folk manner.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "audio.h"
#include "karaoke.h"
#include "output.h"
#include "speech_clips.h"
#include "synth.h"
#include "tune.h"

namespace gen {

namespace {

struct Song {
  std::string title;
  std::string voice;
  double bpm;
  int beatsPerBar;
  std::string introChords;  // two bars before the singing starts
  std::vector<std::string> lines;
  std::string melody;       // one note a syllable
  std::string chords;       // under the melody
};

std::vector<Song> songs() {
  return {
      {"Maličká som", "sk", 112, 4, "G | D7",
       {"Ma/li/čká /som, /hús/ky /pa/siem,", "hús/ky /pa/siem /na /lúč/ke.", "Hús/ky /bie/le, /hús/ky /mo/je,",
        "poď/te /so /mnou /do/mov!"},
       "G4e A4e B4q B4q D5q | C5q B4q A4h | A4q B4q C5q A4q | B4q A4q G4h | "
       "D5e D5e E5q D5q B4q | C5q A4q B4h | A4q A4q B4q A4q | D4h G4h",
       "G | D | D7 | G | G | C G | D | D7 G"},
      {"Pec nám spadla", "cs", 120, 4, "C | G7",
       {"Pec /nám /spad/la, /pec /nám /spad/la,", "kdo/pak /nám /ji /po/sta/ví?", "Sta/rý /pe/cař /ne/ní /do/ma",
        "a /mla/dý /to /ne/u/mí."},
       "G4q G4q E4q C4q | G4q G4q E4q C4q | F4q F4q E4q D4q | E4q D4q G4h | "
       "E4q E4q F4q F4q | G4q G4q E4q C4q | D4q E4q F4q D4q | E4q D4q C4h",
       "C | C | F G | C G | C F | C | G7 | C"},
      {"Prší, prší", "cs", 112, 4, "C | G7",
       {"Pr/ší, /pr/ší, /jen /se /le/je,", "kam /ko/níč/ky /po/je/de/me?", "Po/je/de/me /na /lu/ka,",
        "až /tam /ku/kač/ka /ku/ká."},
       "G4q E4q G4q E4q | G4e G4e E4q G4h | A4q A4q F4q A4q | G4q G4q E4q C4q | "
       "G4q G4q E4q E4q | G4q G4q E4h | F4q F4q D4q D4q | E4q D4q C4h",
       "C | C | F | C | C | C | G7 | C"},
      {"Holka modrooká", "cs", 116, 4, "G | D7",
       {"Hol/ka /mo/dro/o/ká,", "ne/se/dá/vej /u /po/to/ka,", "hol/ka /mo/dro/o/ká,", "ne/se/dá/vej /tam!",
        "V po/to/ce /je /has/tr/má/nek,", "za/ta/há /tě /za /co/pá/nek,", "hol/ka /mo/dro/o/ká,",
        "ne/se/dá/vej /tam!"},
       "G4q B4q B4q D5q | C5h B4h | A4e A4e A4q C5q A4q | G4q A4q B4h | G4q B4q B4q D5q | C5h B4h | "
       "A4q A4q B4q A4q | G4w | D5e D5e D5q B4q D5q | C5e C5e A4h. | C5e C5e C5q A4q C5q | B4e B4e G4h. | "
       "G4q B4q B4q D5q | C5h B4h | A4q A4q B4q A4q | G4w",
       "G | C G | D7 | G | G | C G | D7 | G | G | D7 | D7 | G | G | C G | D7 | G"},
  };
}

constexpr double kLead = 0.1;  // silence before the first chord

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

Audio band(const Tune& t, double endBeat) {
  Audio a;
  const double spb = 60.0 / t.bpm;
  for (const ChordEvent& c : t.chords) {
    std::vector<int> tones;
    for (int iv : c.intervals) {
      int k = c.root - 12 + iv;
      while (k < 52) k += 12;
      while (k > 66) k -= 12;
      tones.push_back(k);
    }
    std::sort(tones.begin(), tones.end());
    const int order[4] = {0, 1, 2, 1};
    for (int k = 0; k < int(c.length * 2); ++k) {
      int key = tones[size_t(order[k % 4]) % tones.size()];
      renderNote(a, Voice::Pluck, kLead + (c.beat + k * 0.5) * spb, 0.45 * spb, key, k % 2 ? 0.13 : 0.17,
                 uint64_t(c.beat * 8 + k));
    }
    int bass = c.root - 24;
    renderNote(a, Voice::Bass, kLead + c.beat * spb, std::min(c.length, 2.0) * spb * 0.9, bass, 0.32);
    if (c.length >= 4) renderNote(a, Voice::Bass, kLead + (c.beat + 2) * spb, 1.8 * spb, bass + 7, 0.26);
  }
  for (int b = 0; b < int(endBeat); ++b) {
    renderShaker(a, kLead + b * spb, b % t.beatsPerBar == 0 ? 0.07 : 0.045, uint64_t(b) + 17);
    if (b % t.beatsPerBar == 0) renderKick(a, kLead + b * spb, 0.18);
  }
  a.s.resize(std::max(a.s.size(), a.at(kLead + endBeat * spb + 0.5)), 0.0f);
  return a;
}

void renderSong(Output& out, int n, const Song& s) {
  const std::string base = "zvuky/pis" + std::to_string(n);
  Arranged a = arrange(s, base + ".wav");
  const double spb = 60.0 / s.bpm;
  Audio accompaniment = band(a.tune, a.endBeat);

  // Music only: a flute carries the tune.
  Audio music = accompaniment;
  for (const NoteEvent& note : a.tune.melody)
    renderNote(music, Voice::Flute, kLead + note.beat * spb, note.length * spb * 0.9, note.key, 0.30);

  // Singing: each syllable on its note, the tune quietly underneath.
  Audio sung = accompaniment;
  for (const NoteEvent& note : a.tune.melody)
    renderNote(sung, Voice::Soft, kLead + note.beat * spb, note.length * spb * 0.9, note.key, 0.08);
  Audio voice;
  for (size_t i = 0; i < a.syllables.size(); ++i) {
    const NoteEvent& note = a.tune.melody[i];
    const double noteSec = note.length * spb;
    Utterance u;
    u.voice = s.voice;
    u.text = a.syllables[i].speak;
    u.speed = int(std::clamp(140 * 0.32 / noteSec, 90.0, 240.0));
    u.pitch = int(std::clamp(50 + (note.key - 67) * 2.5, 25.0, 80.0));
    Audio clip = spokenClip(out.speech(), u, base + ".wav");
    normalise(clip, -4.0);
    bool gapAfter = i + 1 == a.syllables.size() || a.tune.melody[i + 1].beat > note.beat + note.length + 0.01;
    limitLength(clip, noteSec * (a.syllables[i].lineEnd || gapAfter ? 1.4 : 0.97), 0.04);
    mixInto(voice, clip, a.syllables[i].time - 0.005);
  }
  normalise(voice, -3.0);
  normalise(sung, -9.0);
  mixInto(sung, voice, 0, 1.0);
  // Both versions end together, with a moment of silence.
  size_t length = std::max(sung.s.size(), music.s.size());
  sung.s.resize(length, 0.0f);
  music.s.resize(length, 0.0f);
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
