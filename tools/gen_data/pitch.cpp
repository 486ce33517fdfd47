#include "pitch.h"

#include <aubio/aubio.h>

#include <algorithm>
#include <mutex>
#include <vector>

namespace gen {

namespace {
// aubio makes its FFT plans through FFTW, whose planner is not thread-safe.
std::mutex planLock;

// Runs the YIN tracker over the sound; `each` gets the hop's first sample,
// the pitch in Hz and whether the frame is confidently voiced, between 60 Hz
// and 1.2 kHz, where every voice this generator makes lies.
template <class Each>
void trackPitch(const Audio& a, uint_t hop, Each each) {
  const uint_t window = 1024;
  aubio_pitch_t* tracker;
  fvec_t *in, *out;
  {
    std::lock_guard<std::mutex> lock(planLock);
    tracker = new_aubio_pitch("yin", window, hop, uint_t(a.rate));
    in = new_fvec(hop);
    out = new_fvec(1);
  }
  aubio_pitch_set_unit(tracker, "Hz");
  aubio_pitch_set_tolerance(tracker, 0.2);
  aubio_pitch_set_silence(tracker, -50);
  for (size_t i = 0; i + hop <= a.s.size(); i += hop) {
    for (uint_t k = 0; k < hop; ++k) in->data[k] = a.s[i + k];
    aubio_pitch_do(tracker, in, out);
    const double hz = out->data[0];
    each(i, hz, aubio_pitch_get_confidence(tracker) > 0.7 && hz > 60 && hz < 1200);
  }
  {
    std::lock_guard<std::mutex> lock(planLock);
    del_aubio_pitch(tracker);
    del_fvec(in);
    del_fvec(out);
  }
}

}  // namespace

double medianPitch(const Audio& a) {
  std::vector<double> voiced;
  trackPitch(a, 256, [&](size_t, double hz, bool isVoiced) {
    if (isVoiced) voiced.push_back(hz);
  });
  if (voiced.size() < 3) return 0;
  std::nth_element(voiced.begin(), voiced.begin() + long(voiced.size() / 2), voiced.end());
  return voiced[voiced.size() / 2];
}

std::pair<size_t, size_t> voicedSpan(const Audio& a) {
  const uint_t hop = 128;
  size_t first = 0, last = 0;
  bool any = false;
  trackPitch(a, hop, [&](size_t at, double, bool isVoiced) {
    if (!isVoiced) return;
    // A frame's verdict is about the window that ends with this hop, which
    // lags the hop by about half a window.
    size_t start = at > 512 ? at - 512 : 0;
    if (!any) first = start;
    last = std::min(a.s.size(), start + hop);
    any = true;
  });
  return any ? std::pair{first, last} : std::pair<size_t, size_t>{0, 0};
}

}  // namespace gen
