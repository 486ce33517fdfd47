#pragma once
// A private sound server with a null sink, for tests and benchmarks that play
// through the real SDL output: its own runtime folder, socket, cookie and
// client configuration, so that nothing is shared with a desktop's own server
// and no client ever starts one by itself. With it: what the sink says of its
// latency and streams, a recorder of what the sink renders (its monitor) that
// knows when each sample was rendered on this process's monotonic clock, and
// the search for a known sound in that recording.
#include <sys/types.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace tlb::testing {

// The environment a client of the private server needs, as NAME=VALUE.
struct PulseEnv {
  std::vector<std::string> vars;
  // Sets every variable in this process (before SDL starts, so that it sees them).
  void Apply() const;
  // The variables as a prefix of a shell command ("env 'A=b' ... ").
  std::string ShellPrefix() const;
  // The value of one variable; empty when absent.
  std::string Get(const std::string& name) const;
};

class PulseDaemon {
 public:
  enum class Kind { PulseAudio, PipeWire };
  static constexpr const char* kSink = "tulimbo_null";

  // Starts the server in a new folder under `parent` (made when missing) and
  // waits until it answers. On failure Ready() is false and Why() says why.
  explicit PulseDaemon(const std::string& parent, Kind kind = Kind::PulseAudio);
  ~PulseDaemon();
  PulseDaemon(const PulseDaemon&) = delete;
  PulseDaemon& operator=(const PulseDaemon&) = delete;

  bool Ready() const { return ready_; }
  const std::string& Why() const { return why_; }
  const PulseEnv& Env() const { return env_; }
  const std::string& Dir() const { return dir_; }
  const std::string& LogPath() const { return log_; }
  const std::string& Socket() const { return socket_; }
  // The processes that do the server's work (the daemon; under PipeWire its
  // three processes), for their processor time.
  std::vector<pid_t> ServerPids() const;
  // Stops the server (also done on destruction).
  void Stop();
  // Ends the server at once with `signal` (SIGTERM or SIGKILL), as a crash or
  // a shutdown would, and waits until it is gone; its folder stays.
  void Kill(int signal);
  // Starts it again in the same folder, on the same socket; false, said why, when it does not answer.
  bool Restart();

 private:
  bool StartPulseAudio();
  bool StartPipeWire();
  bool WaitUntilAnswering(int timeoutMs);

  Kind kind_;
  bool ready_ = false;
  std::string why_;
  std::string dir_;
  std::string log_;
  std::string socket_;
  PulseEnv env_;
  pid_t pid_ = -1;  // the daemon, or the session holding PipeWire's processes (a group of its own)
};

// A private server for a benchmark, PulseAudio or PipeWire, its environment set
// in this process and its folder said on standard output; nullptr, said why,
// when none can be started.
std::unique_ptr<PulseDaemon> StartBenchServer(const std::string& parent, bool pipewire);

// Runs a shell command with the server's environment and returns what it printed
// (standard output); false when it could not be run or failed.
bool RunWithEnv(const PulseEnv& env, const std::string& command, std::string& output);

// What `pactl list sinks` says of the sink's latency: "Latency: X usec, configured Y usec".
struct SinkLatency {
  double currentMs = 0;
  double configuredMs = 0;
};
std::optional<SinkLatency> ReadSinkLatency(const PulseEnv& env, const std::string& sink);
// The streams playing on the server (`pactl list short sink-inputs`); -1 when it cannot be asked.
int CountSinkInputs(const PulseEnv& env);

// Records the sink's monitor (s16le stereo 44100 Hz, kept as mono) on a thread
// of its own. A record stream on a monitor holds the sink at its own latency
// or below: record at 250 ms while the sink's own latency is looked at, and
// at a few milliseconds only to time how quickly a sound starts.
class MonitorRecorder {
 public:
  static constexpr int kRate = 44100;

  MonitorRecorder(const PulseDaemon& daemon, int latencyMs, std::string rawPath);
  ~MonitorRecorder();
  // Connects and starts recording; false with the reason when it cannot.
  bool Start(std::string& why);
  // Stops recording and writes the raw samples (s16le stereo) to the file.
  void Stop();

  // The recording so far, mono, in -1..1.
  std::vector<float> Samples() const;
  size_t SampleCount() const;
  // When sample `index` was rendered on the sink, on CLOCK_MONOTONIC in microseconds.
  // The sink renders every sample, silence too, at a steady rate, so the samples
  // lie on a line against the clock while the sink's latency stays; a read
  // returns after the samples it holds were rendered, so each read bounds that
  // line from below, and the tightest bound of the reads in the two seconds
  // after the sample is taken. (The record latency the server reports for a monitor is no
  // help: it counts the sink's own latency with a sign that the simple API loses.)
  // A sample is heard once the sink's clock reaches it: about the sink's
  // configured latency after this time, as the sink renders that far ahead.
  int64_t SampleTimeUs(size_t index) const;
  // The first sample rendered at or after `monoUs`.
  size_t SampleAtUs(int64_t monoUs) const;
  const std::string& RawPath() const { return rawPath_; }

 private:
  // One read: the samples it ended at and where that end was rendered.
  struct Mark {
    size_t endSample;
    int64_t returnedUs;  // when the read holding the samples up to endSample returned
  };
  void Run();
  // Where sample 0 lies on the line near sample `index` (see SampleTimeUs); the
  // caller holds mutex_.
  int64_t LineStartUs(size_t index) const;
  static constexpr int64_t kLineSpanUs = 2'000'000;

  std::string server_;
  std::string sink_;
  int latencyMs_;
  std::string rawPath_;
  void* simple_ = nullptr;  // pa_simple
  std::thread thread_;
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::vector<int16_t> raw_;  // interleaved stereo
  std::vector<float> mono_;
  std::vector<Mark> marks_;
};

int64_t MonotonicUs();

// A known sound as the sink renders it: 44.1 kHz mono in -1..1.
std::vector<float> LoadWavAt44k(const std::string& path);
// The index of the first sample whose magnitude exceeds `threshold` at or after `from`; -1 none.
long FindOnset(const std::vector<float>& samples, size_t from, float threshold);

// Where `pattern` begins in `samples` between `from` and `to` (start indices), by
// normalised cross-correlation: coarse on a tenth of the rate, then sample-exact.
struct Match {
  long index = -1;
  double score = 0;        // at the full rate
  double coarseScore = 0;  // at a tenth of it, where only the lower band counts
};
Match FindWave(const std::vector<float>& samples, const std::vector<float>& pattern, size_t from, size_t to);
// How well `pattern` shows at `at` when its `pieces` parts may each be found up to
// `slack` samples off (a server that fell behind for a moment shifts the rest):
// the mean of the parts' best correlations.
double PiecewiseScore(const std::vector<float>& samples, const std::vector<float>& pattern, long at, int pieces,
                      size_t slack);

}  // namespace tlb::testing
