#include "speech_clips.h"

#include <stdexcept>

namespace gen {

Audio spokenClip(Speech& s, const Utterance& u, const std::string& forFile) {
  Audio a = trimmed(s.say(u, forFile), kTrimThreshold, 0.005, 0.03);
  if (a.s.empty()) throw std::runtime_error(forFile + ": espeak-ng gave silence for \"" + u.text + "\"");
  fadeIn(a, 0.004);
  fadeOut(a, 0.02);
  return a;
}

Audio joined(const std::vector<Audio>& clips, double gap) {
  Audio out;
  for (size_t i = 0; i < clips.size(); ++i) {
    if (i > 0) out.s.insert(out.s.end(), out.at(gap), 0.0f);
    out.s.insert(out.s.end(), clips[i].s.begin(), clips[i].s.end());
  }
  return out;
}

Audio finished(Audio a) {
  padSilence(a, kEdgeSilence, kEdgeSilence);
  normalise(a, kPeakDb);
  return a;
}

}  // namespace gen
