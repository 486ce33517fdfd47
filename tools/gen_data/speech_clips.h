#pragma once
// Turning utterances into the finished sound files: silence trimmed, pieces
// joined with pauses or placed at given times, 80 ms of silence at both ends,
// and the level brought to a peak of -3 dBFS.
#include <string>
#include <vector>

#include "audio.h"
#include "speech.h"

namespace gen {

constexpr double kPeakDb = -3.0;
constexpr double kEdgeSilence = 0.08;
constexpr double kTrimThreshold = 0.02;  // of the peak: what counts as heard

// The utterance with its silence cut away (5 ms kept before the first heard
// sample, 30 ms after the last).
Audio spokenClip(Speech& s, const Utterance& u, const std::string& forFile);

// Glues clips together with `gap` seconds between them.
Audio joined(const std::vector<Audio>& clips, double gap);

// Pads with the edge silence and normalises: the form every spoken file is written in.
Audio finished(Audio a);

}  // namespace gen
