#pragma once
// Whether short sounds played over music reach a sound server whole: the
// sink's monitor is recorded together with the music's own stream, recorded
// apart (what the server took from that stream), and the music is lined up
// with the monitor and taken off it. What is left is exactly what the other
// outputs delivered, and each sound in it must last as long as its recording:
// silence the server inserted when an output fell behind makes it longer, a
// piece lost makes it shorter.
#include <sys/types.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/pulse_daemon.h"

namespace tlb {
class AudioDevice;
class AudioStream;
}  // namespace tlb

namespace tlb::testing {

// The index of the one stream playing on the server; -1 unless there is exactly one.
int OnlySinkInput(const PulseEnv& env);

// Records what one stream (a sink input) gives the server, with parec, into a
// WAV file (16-bit stereo 44.1 kHz).
class StreamRecorder {
 public:
  StreamRecorder(const PulseDaemon& daemon, int sinkInput, std::string wavPath);
  ~StreamRecorder();
  // False, with the reason, when parec cannot be started.
  bool Start(std::string& why);
  // Stops recording; the samples can be read then.
  void Stop();
  // The recording, mono, in -1..1.
  std::vector<float> Samples() const;

 private:
  const PulseDaemon& daemon_;
  int sinkInput_;
  std::string wavPath_;
  pid_t pid_ = -1;
};

// `mixed` less `part`, `part` moved to where it lines up best with `mixed`: found
// by correlating `part`'s samples [alignFrom, alignFrom + alignLength), which
// must hold music alone, with `mixed` near the same place, within `searchSamples`.
// `shift` is where part's sample 0 falls in `mixed`; false when no place lines up.
bool Subtract(const std::vector<float>& mixed, const std::vector<float>& part, size_t alignFrom, size_t alignLength,
              size_t searchSamples, std::vector<float>& rest, long& shift);

// Where a sound lies in `rest` between `from` and `to` and how long it lasts
// there, against its recording: each span runs from the first to the last
// sample louder than a thirty-second of that signal's peak.
struct HeardSpan {
  long at = -1;          // the sound's first loud sample in `rest`; -1 not found
  double score = 0;      // its correlation with the recording there
  double heardMs = 0;    // its span as heard
  double ownMs = 0;      // its span in the recording
};
HeardSpan MeasureSpan(const std::vector<float>& rest, const std::vector<float>& sound, size_t from, size_t to);

// A MIDI song on the device's music output, started again whenever it ends.
class LoopingMusic {
 public:
  LoopingMusic(AudioDevice& device, const std::string& midiPath);
  ~LoopingMusic();

 private:
  std::unique_ptr<AudioStream> stream_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// A short sound and its recording at 44.1 kHz, mono.
struct ShortSound {
  std::string path;
  std::vector<float> samples;
};
std::vector<ShortSound> LoadShortSounds(const std::vector<std::string>& paths);

// Plays `count` sounds of `sounds` in turn through PlaySound over the music of
// `midiPath` (none when empty), each to its end; every fifth comes after a
// quiet spell that closes the output for quick sounds, the others 0.4 s after
// the one before. Then tells how many were not heard whole. Recordings go
// into `folder`.
struct WholeSounds {
  bool measured = false;
  std::string why;     // when not measured
  int played = 0;
  int broken = 0;      // not heard whole
  std::string detail;  // each broken one: its name, heard and own span
};
WholeSounds PlayOverMusic(const PulseDaemon& daemon, AudioDevice& device, const std::vector<ShortSound>& sounds,
                          int count, const std::string& midiPath, const std::string& folder);

}  // namespace tlb::testing
