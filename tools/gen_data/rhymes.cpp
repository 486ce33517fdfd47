// The six counting-out rhymes: spoken syllable by syllable on a steady beat,
// each syllable placed where its karaoke line says it is heard. Traditional
// Czech rhymes, in short versions.
#include <algorithm>
#include <string>
#include <vector>

#include "audio.h"
#include "karaoke.h"
#include "output.h"
#include "songbook.h"
#include "speech_clips.h"

namespace gen {

namespace {

constexpr double kLeadIn = 0.6;  // silence before the first syllable

void renderRhyme(Output& out, int n, const Rhyme& r) {
  const std::string wavName = "zvuky/lym" + std::to_string(n) + ".wav";
  std::vector<Syllable> syl;
  for (const std::string& line : r.lines)
    for (Syllable& s : splitLine(line)) syl.push_back(s);
  if (syl.size() > 99 || r.lines.size() > 9) throw std::runtime_error(wavName + ": rhyme too long for the display");

  Audio a;
  double t = kLeadIn;
  for (size_t i = 0; i < syl.size(); ++i) {
    Syllable& s = syl[i];
    Utterance u;
    u.text = s.speak;
    u.speed = 175;
    u.pitch = s.wordStart ? 60 : 48;
    Audio clip = spokenClip(out.speech(), u, wavName);
    normalise(clip, s.wordStart ? -4.0 : -6.0);
    limitLength(clip, s.lineEnd ? r.beat * 1.8 : r.beat * 0.88, 0.03);
    // The clip starts 5 ms before its first heard sample; that sample lands on the beat.
    mixInto(a, clip, t - 0.005);
    s.time = t;
    t += r.beat * (s.lineEnd ? 2.0 : 1.0);
  }
  a.s.resize(std::max(a.s.size(), a.at(t)), 0.0f);
  normalise(a, kPeakDb);
  out.data(wavName, wavFile(a));
  out.data("texty/lym" + std::to_string(n) + ".syn", [&] {
    std::string f = synFile(r.title, syl);
    return std::vector<uint8_t>(f.begin(), f.end());
  }());
}

}  // namespace

void addRhymeJobs(Jobs& jobs) {
  std::vector<Rhyme> all = rhymes();
  for (size_t i = 0; i < all.size(); ++i) {
    Rhyme r = all[i];
    int n = int(i) + 1;
    jobs.push_back({"karaoke rhyme " + std::to_string(n), [n, r](Output& out) { renderRhyme(out, n, r); }});
  }
}

}  // namespace gen
