#pragma once
// Tunes written as text in this generator's sources: a melody line and the
// chords under it, measured in beats (quarter notes).
//
// A melody is a list of space-separated notes "E4q", "G4h.", "F#4e", "r q"
// (a rest), where the letter is the pitch with an optional # or b, the digit
// the octave (C4 is middle C), and the length w, h, q, e or s (whole to
// sixteenth), dotted with a trailing ".". "|" between notes is ignored and
// only helps the eye. Chords are one symbol a bar, or several separated by
// spaces inside a bar, bars separated by "|": "C | G7 | C F | G".
#include <string>
#include <vector>

namespace gen {

struct NoteEvent {
  double beat = 0;    // start, in beats from the tune's start
  double length = 0;  // in beats
  int key = 60;       // MIDI key number
};

struct ChordEvent {
  double beat = 0, length = 0;
  int root = 60;               // MIDI key of the root, in the octave above middle C
  std::vector<int> intervals;  // semitones above the root: 0 4 7, 0 3 7, 0 4 7 10, ...
};

struct Tune {
  double bpm = 100;
  int beatsPerBar = 4;
  std::vector<NoteEvent> melody;
  std::vector<ChordEvent> chords;
  double lengthBeats() const;
  double seconds(double beat) const { return beat * 60.0 / bpm; }
};

// Throws std::runtime_error on text it does not understand.
std::vector<NoteEvent> parseMelody(const std::string& text, double startBeat = 0);
std::vector<ChordEvent> parseChords(const std::string& text, int beatsPerBar, double startBeat = 0);

}  // namespace gen
