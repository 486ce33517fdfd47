#pragma once
// The words and tunes of the four songs and the six counting-out rhymes: what
// the recordings say and sing, and what their karaoke texts show. The tests of
// the data set read the tunes from here to measure the recordings against them.
#include <string>
#include <vector>

namespace gen {

// A song: its lines with "/" between syllables (see splitLine), one melody
// note a syllable, and the chords under the melody. Tunes are written as
// tune.h describes.
struct Song {
  std::string title;
  std::string voice;  // espeak-ng's language: "cs" or "sk"
  double bpm;
  int beatsPerBar;
  std::string introChords;  // two bars before the singing starts
  std::vector<std::string> lines;
  std::string melody;  // one note a syllable
  std::string chords;  // under the melody
};

// Traditional words, in short versions; the tunes were written for this set
// in the folk manner. Numbered from 1 as the data files are.
std::vector<Song> songs();

struct Rhyme {
  std::string title;
  double beat;  // seconds from one syllable to the next
  std::vector<std::string> lines;
};

// Traditional Czech counting-out rhymes, in short versions.
std::vector<Rhyme> rhymes();

}  // namespace gen
