#include "pitch.h"

#include <aubio/aubio.h>

#include <algorithm>
#include <mutex>
#include <vector>

namespace gen {

namespace {
// aubio makes its FFT plans through FFTW, whose planner is not thread-safe.
std::mutex planLock;
}  // namespace

double medianPitch(const Audio& a) {
  const uint_t window = 1024, hop = 256;
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
  std::vector<double> voiced;
  for (size_t i = 0; i + hop <= a.s.size(); i += hop) {
    for (uint_t k = 0; k < hop; ++k) in->data[k] = a.s[i + k];
    aubio_pitch_do(tracker, in, out);
    // YIN's confidence: how periodic the frame is. Between 60 Hz and 1.2 kHz
    // lies every voice this generator makes.
    if (aubio_pitch_get_confidence(tracker) > 0.7 && out->data[0] > 60 && out->data[0] < 1200)
      voiced.push_back(out->data[0]);
  }
  {
    std::lock_guard<std::mutex> lock(planLock);
    del_aubio_pitch(tracker);
    del_fvec(in);
    del_fvec(out);
  }
  if (voiced.size() < 3) return 0;
  std::nth_element(voiced.begin(), voiced.begin() + long(voiced.size() / 2), voiced.end());
  return voiced[voiced.size() / 2];
}

}  // namespace gen
