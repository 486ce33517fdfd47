// The six background music loops, as standard MIDI files with General MIDI
// instruments: a melody, chords, a bass and light percussion on channel 10.
// Four are traditional tunes (the tune of "Běží liška k Táboru", the round
// "Bratře Kubo", "Twinkle" and the "Ode to Joy" theme), two were written for
// this set.
#include <cmath>
#include <string>
#include <vector>

#include "midi_writer.h"
#include "output.h"
#include "tune.h"

namespace gen {

namespace {

enum class ChordStyle { Arpeggio, Offbeat, Waltz };

struct Loop {
  const char* file;
  double bpm;
  int beatsPerBar;
  std::string melody;
  std::string chords;
  int transpose;       // semitones added to the melody
  int melodyProgram;   // first pass
  int altProgram;      // second pass (the melody changes colour)
  int chordProgram;
  int bassProgram;
  ChordStyle style;
  int passes;
  std::vector<double> canonEntries;  // extra entries of the melody, in bars (a round)
};

constexpr int kTicks = 480;

uint32_t tick(double beat) { return uint32_t(std::lround(beat * kTicks)); }

void addDrums(MidiFile& m, int track, int beatsPerBar, double bars) {
  for (int b = 0; b < int(bars); ++b) {
    double bar = b * beatsPerBar;
    m.note(track, tick(bar), tick(0.25), 36, 42);  // soft kick on the first beat
    for (int k = 0; k < beatsPerBar * 2; ++k) {
      double at = bar + k * 0.5;
      m.note(track, tick(at), tick(0.2), 42, k % 2 ? 18 : 28);  // closed hi-hat, quietly
    }
    if (beatsPerBar == 4) {
      m.note(track, tick(bar + 1), tick(0.2), 37, 32);  // side stick on 2 and 4
      m.note(track, tick(bar + 3), tick(0.2), 37, 32);
    } else if (beatsPerBar == 2) {
      m.note(track, tick(bar + 1), tick(0.2), 37, 30);
    } else {
      m.note(track, tick(bar + 1), tick(0.2), 70, 26);  // shaker on the waltz's 2 and 3
      m.note(track, tick(bar + 2), tick(0.2), 70, 22);
    }
  }
}

void addChords(MidiFile& m, int chordTrack, int bassTrack, const std::vector<ChordEvent>& chords, ChordStyle style,
               int beatsPerBar) {
  for (const ChordEvent& c : chords) {
    // Close voicing around F3..F4.
    std::vector<int> tones;
    for (int iv : c.intervals) {
      int k = c.root - 12 + iv;
      while (k < 53) k += 12;
      while (k > 67) k -= 12;
      tones.push_back(k);
    }
    int bass = c.root - 24;
    if (bass > 47) bass -= 12;
    switch (style) {
      case ChordStyle::Arpeggio: {
        const int order[4] = {0, 1, 2, 1};
        for (int k = 0; k < int(c.length * 2); ++k) {
          int t = tones[size_t(order[k % 4]) % tones.size()];
          m.note(chordTrack, tick(c.beat + k * 0.5), tick(0.9), t, k % 2 ? 42 : 50);
        }
        break;
      }
      case ChordStyle::Offbeat:
        for (int k = 0; k < int(c.length); ++k)
          for (int t : tones) m.note(chordTrack, tick(c.beat + k + 0.5), tick(0.3), t, 40);
        break;
      case ChordStyle::Waltz:
        for (int k = 1; k < int(c.length); ++k)
          for (int t : tones) m.note(chordTrack, tick(c.beat + k), tick(0.6), t, 36);
        break;
    }
    m.note(bassTrack, tick(c.beat), tick(std::min(c.length, 1.5) * 0.9), bass, 70);
    if (c.length >= 4 || (beatsPerBar == 4 && c.length >= 3))
      m.note(bassTrack, tick(c.beat + 2), tick(1.6), bass + 7, 60);
  }
}

std::vector<uint8_t> render(const Loop& l) {
  MidiFile m(kTicks);
  m.title(l.file);
  m.tempo(l.bpm);
  m.timeSignature(l.beatsPerBar, 4);
  int melodyA = m.addTrack("melody", 0, l.melodyProgram, 100, 64);
  int melodyB = m.addTrack("melody 2", 1, l.altProgram, 96, 72);
  int chordT = m.addTrack("chords", 2, l.chordProgram, 78, 44);
  int bassT = m.addTrack("bass", 3, l.bassProgram, 92, 64);
  int drumT = m.addTrack("percussion", 9, 0, 60, 64);

  std::vector<NoteEvent> melody = parseMelody(l.melody);
  std::vector<ChordEvent> chords = parseChords(l.chords, l.beatsPerBar);
  Tune t;
  t.melody = melody;
  t.chords = chords;
  const double bar = l.beatsPerBar;
  const double passBeats = std::ceil(t.lengthBeats() / bar) * bar;
  double canonTail = l.canonEntries.empty() ? 0 : l.canonEntries.back() * bar;
  const double total = passBeats * l.passes + canonTail;

  for (int p = 0; p < l.passes; ++p) {
    double off = p * passBeats;
    std::vector<double> entries = {0};
    for (double e : l.canonEntries) entries.push_back(e * bar);
    for (size_t v = 0; v < entries.size(); ++v) {
      int track = (p + int(v)) % 2 ? melodyB : melodyA;
      int shift = l.transpose + (v == 1 ? -12 : v == 2 ? 12 : 0);
      for (const NoteEvent& n : melody) {
        double at = off + entries[v] + n.beat;
        bool strong = std::fmod(n.beat, bar) < 0.01;
        m.note(track, tick(at), tick(n.length * 0.92), n.key + shift, strong ? 84 : 72);
      }
    }
    std::vector<ChordEvent> shifted = chords;
    for (auto& c : shifted) c.beat += off;
    addChords(m, chordT, bassT, shifted, l.style, l.beatsPerBar);
  }
  if (canonTail > 0) {
    // The round's last voices end over the home chord.
    std::vector<ChordEvent> tail;
    for (double b = passBeats * l.passes; b < total; b += bar) tail.push_back({b, bar, chords.front().root, chords.front().intervals});
    addChords(m, chordT, bassT, tail, l.style, l.beatsPerBar);
  }
  addDrums(m, drumT, l.beatsPerBar, total / bar);
  // One quiet beat at the end, so that the loop breathes before it starts again.
  m.controller(chordT, tick(total + 1), 7, 78);
  return m.bytes();
}

std::vector<Loop> loops() {
  std::vector<Loop> v;
  // Games menu: the tune of "Běží liška k Táboru", piano and guitar.
  v.push_back({"h_menu.mid", 112, 4,
               "G4q E4q E4h | F4q D4q D4h | C4q D4q E4q F4q | G4q G4q G4h | G4q E4q E4h | F4q D4q D4h | "
               "C4q E4q G4q G4q | C4w | D4q D4q D4q D4q | D4q E4q F4h | E4q E4q E4q E4q | E4q F4q G4h | "
               "G4q E4q E4h | F4q D4q D4h | C4q E4q G4q G4q | C4w",
               "C | G7 | C G7 | C | C | G7 | C G7 | C | G7 | G7 | C | C | C | G7 | C G7 | C", 12, 0, 73, 24, 32,
               ChordStyle::Arpeggio, 2, {}});
  // First memory game: the round "Bratře Kubo" in three voices.
  v.push_back({"kim1.mid", 100, 4,
               "F4q G4q A4q F4q | F4q G4q A4q F4q | A4q Bb4q C5h | A4q Bb4q C5h | C5e D5e C5e Bb4e A4q F4q | "
               "C5e D5e C5e Bb4e A4q F4q | F4q C4q F4h | F4q C4q F4h",
               "F | F | F | F | F | F | F | F", 12, 11, 73, 46, 32, ChordStyle::Arpeggio, 2, {2, 4}});
  // Second memory game: a waltz written for the set, on a music box.
  v.push_back({"kim2.mid", 132, 3,
               "D5q B4q G4q | A4h. | C5q A4q F#4q | G4h. | B4q C5q D5q | E5q D5q B4q | A4q B4q A4q | D4h. | "
               "D5q B4q G4q | A4h. | C5q A4q F#4q | G4h. | E5q D5q C5q | B4q A4q G4q | A4q F#4q D4q | G4h. | "
               "B4q B4q C5q | D5h B4q | C5q C5q A4q | B4h. | A4q A4q B4q | C5h A4q | B4q A4q F#4q | G4h. | "
               "D5q B4q G4q | A4h. | C5q A4q F#4q | G4h. | E5q D5q C5q | B4q A4q G4q | A4q F#4q D4q | G4h.",
               "G | D | D7 | G | G | C | D | D | G | D | D7 | G | C | G | D7 | G | G | G | Am | G | D | Am | D7 | G | "
               "G | D | D7 | G | C | G | D7 | G",
               0, 10, 9, 46, 32, ChordStyle::Waltz, 1, {}});
  // Rock-paper-scissors: a bouncy tune written for the set, xylophone and pizzicato.
  v.push_back({"kamen.mid", 116, 2,
               "F#4e A4e D5e A4e | B4e A4e F#4q | G4e B4e E5e B4e | A4q r q | F#4e A4e D5e A4e | B4e D5e E5q | "
               "D5e C#5e B4e C#5e | D5q r q | E5e E5e C#5e A4e | D5e D5e B4e G4e | C#5e C#5e A4e F#4e | B4q A4q | "
               "G4e B4e A4e G4e | F#4e A4e G4e F#4e | E4e G4e F#4e E4e | D4q r q",
               "D | G D | G | A | D | G A | A | D | A | G | A | G A | G | D | A7 | D", 0, 13, 12, 45, 32,
               ChordStyle::Offbeat, 3, {}});
  // Rhymes: "Twinkle" on a flute over a guitar.
  v.push_back({"lymbal.mid", 88, 4,
               "C4q C4q G4q G4q | A4q A4q G4h | F4q F4q E4q E4q | D4q D4q C4h | G4q G4q F4q F4q | E4q E4q D4h | "
               "G4q G4q F4q F4q | E4q E4q D4h | C4q C4q G4q G4q | A4q A4q G4h | F4q F4q E4q E4q | D4q D4q C4h",
               "C | F C | F C | G C | C F | C G | C F | C G | C | F C | F C | G C", 12, 73, 11, 24, 32,
               ChordStyle::Arpeggio, 2, {}});
  // Songs menu: the "Ode to Joy" theme, clarinet and celesta over a piano.
  v.push_back({"z_menu.mid", 104, 4,
               "E4q E4q F4q G4q | G4q F4q E4q D4q | C4q C4q D4q E4q | E4q. D4e D4h | E4q E4q F4q G4q | "
               "G4q F4q E4q D4q | C4q C4q D4q E4q | D4q. C4e C4h | D4q D4q E4q C4q | D4q E4e F4e E4q C4q | "
               "D4q E4e F4e E4q D4q | C4q D4q G3h | E4q E4q F4q G4q | G4q F4q E4q D4q | C4q C4q D4q E4q | D4q. C4e C4h",
               "C | G | C | G | C | G | C | G C | G C | G C | G C | C G | C | G | C | G C", 12, 71, 8, 0, 32,
               ChordStyle::Offbeat, 2, {}});
  return v;
}

}  // namespace

void addMusicJobs(Jobs& jobs) {
  for (const Loop& l : loops())
    jobs.push_back({std::string("music ") + l.file, [l](Output& out) { out.data(std::string("hudba/") + l.file, render(l)); }});
}

}  // namespace gen
