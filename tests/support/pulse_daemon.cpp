#include "tests/support/pulse_daemon.h"

#include <fcntl.h>
#include <pulse/error.h>
#include <pulse/simple.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/formats/wav_reader.h"

namespace tlb::testing {

namespace fs = std::filesystem;

namespace {

std::string Quote(const std::string& s) {
  std::string out = "'";
  for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

bool OnPath(const char* program) {
  std::string out;
  return RunWithEnv({}, std::string("command -v ") + program, out) && !out.empty();
}

std::string Tail(const std::string& path, size_t lines) {
  std::ifstream in(path);
  std::vector<std::string> all;
  for (std::string line; std::getline(in, line);) all.push_back(line);
  std::string out;
  for (size_t i = all.size() > lines ? all.size() - lines : 0; i < all.size(); ++i) out += "  " + all[i] + "\n";
  return out;
}

// Runs `argv` as a child in a process group of its own, with `env` added to this
// process's environment less `unset`, its output going to `log`.
pid_t Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env,
            const std::vector<std::string>& unset, const std::string& log) {
  pid_t pid = fork();
  if (pid != 0) return pid;
  setpgid(0, 0);
  for (const std::string& name : unset) unsetenv(name.c_str());
  for (const std::string& var : env) {
    size_t eq = var.find('=');
    setenv(var.substr(0, eq).c_str(), var.substr(eq + 1).c_str(), 1);
  }
  int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
  if (fd >= 0) {
    dup2(fd, 1);
    dup2(fd, 2);
    close(fd);
  }
  int null = open("/dev/null", O_RDONLY);
  if (null >= 0) dup2(null, 0);
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  execvp(args[0], args.data());
  std::fprintf(stderr, "cannot run %s\n", args[0]);
  _exit(127);
}

}  // namespace

int64_t MonotonicUs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return int64_t(t.tv_sec) * 1000000 + t.tv_nsec / 1000;
}

void PulseEnv::Apply() const {
  for (const std::string& var : vars) {
    size_t eq = var.find('=');
    setenv(var.substr(0, eq).c_str(), var.substr(eq + 1).c_str(), 1);
  }
}

std::string PulseEnv::ShellPrefix() const {
  if (vars.empty()) return "";
  std::string out = "env";
  for (const std::string& var : vars) out += " " + Quote(var);
  return out + " ";
}

std::string PulseEnv::Get(const std::string& name) const {
  for (const std::string& var : vars)
    if (var.compare(0, name.size() + 1, name + "=") == 0) return var.substr(name.size() + 1);
  return "";
}

std::unique_ptr<PulseDaemon> StartBenchServer(const std::string& parent, bool pipewire) {
  const char* kind = pipewire ? "PipeWire" : "PulseAudio";
  auto daemon = std::make_unique<PulseDaemon>(parent, pipewire ? PulseDaemon::Kind::PipeWire : PulseDaemon::Kind::PulseAudio);
  if (!daemon->Ready()) {
    std::printf("no %s server can be started here, so nothing is measured: %s\n", kind, daemon->Why().c_str());
    return nullptr;
  }
  daemon->Env().Apply();
  std::printf("a %s server of its own in %s\n", kind, daemon->Dir().c_str());
  return daemon;
}

bool RunWithEnv(const PulseEnv& env, const std::string& command, std::string& output) {
  output.clear();
  const std::string line = "LC_ALL=C " + env.ShellPrefix() + "sh -c " + Quote(command) + " 2>/dev/null";
  FILE* pipe = popen(line.c_str(), "r");
  if (!pipe) return false;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
  int status = pclose(pipe);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

PulseDaemon::PulseDaemon(const std::string& parent, Kind kind) : kind_(kind) {
  std::error_code ec;
  fs::create_directories(parent, ec);
  const char* name = kind == Kind::PulseAudio ? "pulse-XXXXXX" : "pipewire-XXXXXX";
  std::string pattern = (fs::absolute(parent) / name).string();
  if (!mkdtemp(pattern.data())) {
    why_ = "cannot make a folder under " + parent;
    return;
  }
  dir_ = pattern;
  chmod(dir_.c_str(), 0700);
  fs::create_directories(dir_ + "/home", ec);
  fs::create_directories(dir_ + "/state", ec);
  log_ = dir_ + "/server.log";
  // No client may start a server of its own, whatever the desktop's configuration says.
  std::ofstream(dir_ + "/client.conf") << "autospawn = no\n";
  ready_ = kind == Kind::PulseAudio ? StartPulseAudio() : StartPipeWire();
  if (!ready_) Stop();
}

PulseDaemon::~PulseDaemon() { Stop(); }

bool PulseDaemon::StartPulseAudio() {
  if (!OnPath("pulseaudio") || !OnPath("pactl")) {
    why_ = "pulseaudio or pactl is not installed (Debian: pulseaudio, pulseaudio-utils)";
    return false;
  }
  socket_ = dir_ + "/native";
  env_.vars = {"PULSE_SERVER=unix:" + socket_, "PULSE_CLIENTCONFIG=" + dir_ + "/client.conf",
               "PULSE_COOKIE=" + dir_ + "/cookie", "PULSE_RUNTIME_PATH=" + dir_, "SDL_AUDIODRIVER=pulseaudio"};
  // The daemon's own folders; no session bus and no display, so that it announces
  // itself nowhere a desktop's clients would look.
  const std::vector<std::string> daemonEnv = {
      "HOME=" + dir_ + "/home",           "XDG_RUNTIME_DIR=" + dir_,
      "PULSE_RUNTIME_PATH=" + dir_,       "PULSE_STATE_PATH=" + dir_ + "/state",
      "PULSE_COOKIE=" + dir_ + "/cookie", "PULSE_CLIENTCONFIG=" + dir_ + "/client.conf",
      "XDG_CONFIG_HOME=" + dir_ + "/home/.config", "DBUS_SESSION_BUS_ADDRESS=unix:path=" + dir_ + "/no-bus"};
  const std::vector<std::string> argv = {"pulseaudio",
                                         "-n",
                                         "--daemonize=no",
                                         "--exit-idle-time=-1",
                                         "--use-pid-file=no",
                                         "--system=no",
                                         "--realtime=no",
                                         "--high-priority=no",
                                         "--disallow-exit=yes",
                                         "--log-level=info",
                                         "-L",
                                         std::string("module-null-sink sink_name=") + kSink + " rate=44100 channels=2",
                                         "-L",
                                         "module-native-protocol-unix auth-anonymous=1 socket=" + socket_};
  pid_ = Spawn(argv, daemonEnv, {"DISPLAY", "WAYLAND_DISPLAY", "PULSE_SERVER"}, log_);
  if (pid_ < 0) {
    why_ = "cannot start a process";
    return false;
  }
  return WaitUntilAnswering(10000);
}

bool PulseDaemon::StartPipeWire() {
  for (const char* p : {"pipewire", "wireplumber", "pipewire-pulse", "dbus-run-session", "pactl"}) {
    if (!OnPath(p)) {
      why_ = std::string(p) + " is not installed";
      return false;
    }
  }
  socket_ = dir_ + "/pulse/native";
  env_.vars = {"PULSE_SERVER=unix:" + socket_,   "PULSE_CLIENTCONFIG=" + dir_ + "/client.conf",
               "PULSE_COOKIE=" + dir_ + "/cookie", "PULSE_RUNTIME_PATH=" + dir_ + "/pulse",
               "PIPEWIRE_RUNTIME_DIR=" + dir_,    "SDL_AUDIODRIVER=pipewire"};
  const std::vector<std::string> serverEnv = {
      "HOME=" + dir_ + "/home", "XDG_RUNTIME_DIR=" + dir_, "PIPEWIRE_RUNTIME_DIR=" + dir_,
      "PULSE_RUNTIME_PATH=" + dir_ + "/pulse", "XDG_CONFIG_HOME=" + dir_ + "/home/.config",
      "XDG_STATE_HOME=" + dir_ + "/state", "XDG_DATA_HOME=" + dir_ + "/home/.local/share"};
  // A session bus of its own for the session manager; each process's id goes to a file.
  const std::string script = "pipewire & echo $! > " + Quote(dir_ + "/pids") +
                             "; sleep 0.5; wireplumber & echo $! >> " + Quote(dir_ + "/pids") +
                             "; pipewire-pulse & echo $! >> " + Quote(dir_ + "/pids") + "; wait";
  pid_ = Spawn({"dbus-run-session", "--", "sh", "-c", script}, serverEnv,
               {"DISPLAY", "WAYLAND_DISPLAY", "PULSE_SERVER", "DBUS_SESSION_BUS_ADDRESS"}, log_);
  if (pid_ < 0) {
    why_ = "cannot start a process";
    return false;
  }
  if (!WaitUntilAnswering(15000)) return false;
  std::string out;
  if (!RunWithEnv(env_, std::string("pactl load-module module-null-sink sink_name=") + kSink +
                            " rate=44100 channels=2 && pactl set-default-sink " + kSink,
                  out)) {
    why_ = "the null sink cannot be made; the server's log " + log_ + ":\n" + Tail(log_, 20);
    return false;
  }
  return true;
}

bool PulseDaemon::WaitUntilAnswering(int timeoutMs) {
  const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  std::string out;
  while (std::chrono::steady_clock::now() < limit) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      why_ = "the server ended at once; its log " + log_ + ":\n" + Tail(log_, 20);
      return false;
    }
    if (RunWithEnv(env_, "pactl info", out)) return true;
    SleepMs(50);
  }
  why_ = "the server does not answer within " + std::to_string(timeoutMs / 1000) + " s; its log " + log_ + ":\n" +
         Tail(log_, 20);
  return false;
}

std::vector<pid_t> PulseDaemon::ServerPids() const {
  if (pid_ < 0) return {};
  if (kind_ == Kind::PulseAudio) return {pid_};
  std::vector<pid_t> pids;
  std::ifstream in(dir_ + "/pids");
  for (long p; in >> p;) pids.push_back(pid_t(p));
  return pids;
}

void PulseDaemon::Stop() { Kill(SIGTERM); }

void PulseDaemon::Kill(int signal) {
  if (pid_ <= 0) return;
  kill(kind_ == Kind::PulseAudio ? pid_ : -pid_, signal);
  for (int i = 0; i < 100; ++i) {
    if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
      pid_ = -1;
      return;
    }
    SleepMs(50);
  }
  kill(kind_ == Kind::PulseAudio ? pid_ : -pid_, SIGKILL);
  waitpid(pid_, nullptr, 0);
  pid_ = -1;
}

bool PulseDaemon::Restart() {
  Kill(SIGTERM);
  ready_ = kind_ == Kind::PulseAudio ? StartPulseAudio() : StartPipeWire();
  return ready_;
}

std::optional<SinkLatency> ReadSinkLatency(const PulseEnv& env, const std::string& sink) {
  std::string out;
  if (!RunWithEnv(env, "pactl list sinks", out)) return std::nullopt;
  std::istringstream in(out);
  bool ours = false;
  for (std::string line; std::getline(in, line);) {
    size_t at = line.find_first_not_of(" \t");
    if (at == std::string::npos) continue;
    line = line.substr(at);
    if (line.rfind("Sink #", 0) == 0) ours = false;
    if (line.rfind("Name: ", 0) == 0) ours = line.substr(6) == sink;
    double current = 0, configured = 0;
    if (ours && std::sscanf(line.c_str(), "Latency: %lf usec, configured %lf usec", &current, &configured) == 2)
      return SinkLatency{current / 1000.0, configured / 1000.0};
  }
  return std::nullopt;
}

int CountSinkInputs(const PulseEnv& env) {
  std::string out;
  if (!RunWithEnv(env, "pactl list short sink-inputs", out)) return -1;
  return int(std::count(out.begin(), out.end(), '\n'));
}

MonitorRecorder::MonitorRecorder(const PulseDaemon& daemon, int latencyMs, std::string rawPath)
    : server_("unix:" + daemon.Socket()),
      sink_(PulseDaemon::kSink),
      latencyMs_(latencyMs),
      rawPath_(std::move(rawPath)) {}

MonitorRecorder::~MonitorRecorder() { Stop(); }

bool MonitorRecorder::Start(std::string& why) {
  pa_sample_spec spec{PA_SAMPLE_S16LE, uint32_t(kRate), 2};
  pa_buffer_attr attr{};
  attr.maxlength = uint32_t(-1);
  attr.tlength = uint32_t(-1);
  attr.prebuf = uint32_t(-1);
  attr.minreq = uint32_t(-1);
  attr.fragsize = uint32_t(pa_usec_to_bytes(pa_usec_t(latencyMs_) * 1000, &spec));
  int error = 0;
  const std::string device = sink_ + ".monitor";
  pa_simple* s = pa_simple_new(server_.c_str(), "tulimbo-test", PA_STREAM_RECORD, device.c_str(), "monitor", &spec,
                               nullptr, &attr, &error);
  if (!s) {
    why = std::string("cannot record the sink's monitor: ") + pa_strerror(error);
    return false;
  }
  simple_ = s;
  thread_ = std::thread([this] { Run(); });
  return true;
}

void MonitorRecorder::Run() {
  auto* s = static_cast<pa_simple*>(simple_);
  // Reads of at most 5 ms keep the marks close together whatever the stream's latency.
  const size_t frames = std::max<size_t>(1, std::min<size_t>(size_t(kRate) * latencyMs_ / 1000, kRate / 200));
  std::vector<int16_t> block(frames * 2);
  while (!stop_) {
    int error = 0;
    if (pa_simple_read(s, block.data(), block.size() * sizeof(int16_t), &error) < 0) break;
    const int64_t now = MonotonicUs();
    std::lock_guard<std::mutex> lock(mutex_);
    raw_.insert(raw_.end(), block.begin(), block.end());
    for (size_t i = 0; i < frames; ++i) mono_.push_back((float(block[2 * i]) + float(block[2 * i + 1])) / 65536.0f);
    marks_.push_back({mono_.size(), now});
  }
}

void MonitorRecorder::Stop() {
  if (!simple_) return;
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  pa_simple_free(static_cast<pa_simple*>(simple_));
  simple_ = nullptr;
  std::lock_guard<std::mutex> lock(mutex_);
  std::ofstream out(rawPath_, std::ios::binary);
  out.write(reinterpret_cast<const char*>(raw_.data()), std::streamsize(raw_.size() * sizeof(int16_t)));
}

std::vector<float> MonitorRecorder::Samples() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return mono_;
}

size_t MonitorRecorder::SampleCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return mono_.size();
}

int64_t MonitorRecorder::LineStartUs(size_t index) const {
  if (marks_.empty()) return 0;
  // The reads from the one holding the sample on, for two seconds: the line
  // moves when the sink's latency changes (another stream opens or closes), so
  // it is taken from the reads near the sample, after it.
  auto first = std::lower_bound(marks_.begin(), marks_.end(), index,
                                [](const Mark& m, size_t i) { return m.endSample < i; });
  if (first == marks_.end()) --first;
  int64_t start = INT64_MAX;
  for (auto it = first; it != marks_.end() && it->returnedUs <= first->returnedUs + kLineSpanUs; ++it)
    start = std::min(start, it->returnedUs - int64_t(it->endSample) * 1000000 / kRate);
  return start;
}

int64_t MonitorRecorder::SampleTimeUs(size_t index) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return LineStartUs(index) + int64_t(index) * 1000000 / kRate;
}

size_t MonitorRecorder::SampleAtUs(int64_t monoUs) const {
  std::lock_guard<std::mutex> lock(mutex_);
  // The first read that returned at or after the time, and the line near it.
  auto it = std::find_if(marks_.begin(), marks_.end(), [&](const Mark& m) { return m.returnedUs >= monoUs; });
  if (it == marks_.end()) return mono_.size();
  const int64_t since = monoUs - LineStartUs(it->endSample);
  if (since <= 0) return 0;
  return std::min(mono_.size(), size_t(since * kRate / 1000000));
}

std::vector<float> LoadWavAt44k(const std::string& path) {
  WaveData wave = LoadWavFile(path);
  std::vector<int16_t> mono = Resample(wave, MonitorRecorder::kRate, 1);
  std::vector<float> out(mono.size());
  for (size_t i = 0; i < mono.size(); ++i) out[i] = float(mono[i]) / 32768.0f;
  return out;
}

long FindOnset(const std::vector<float>& samples, size_t from, float threshold) {
  for (size_t i = from; i < samples.size(); ++i)
    if (std::fabs(samples[i]) > threshold) return long(i);
  return -1;
}

namespace {

// The normalised correlation of `pattern` with `samples` at `at`; `energy` is
// the pattern's sum of squares.
double Correlation(const std::vector<float>& samples, const std::vector<float>& pattern, size_t at, double energy) {
  double dot = 0, power = 0;
  for (size_t k = 0; k < pattern.size(); ++k) {
    double x = samples[at + k];
    dot += x * pattern[k];
    power += x * x;
  }
  return power > 0 && energy > 0 ? dot / std::sqrt(power * energy) : 0;
}

std::vector<float> Decimate(const std::vector<float>& v, size_t factor) {
  std::vector<float> out(v.size() / factor);
  for (size_t i = 0; i < out.size(); ++i) {
    float sum = 0;
    for (size_t k = 0; k < factor; ++k) sum += v[i * factor + k];
    out[i] = sum / float(factor);
  }
  return out;
}

double Energy(const std::vector<float>& v) {
  double e = 0;
  for (float x : v) e += double(x) * x;
  return e;
}

}  // namespace

Match FindWave(const std::vector<float>& samples, const std::vector<float>& pattern, size_t from, size_t to) {
  Match best;
  if (pattern.empty() || samples.size() < pattern.size()) return best;
  to = std::min(to, samples.size() - pattern.size());
  if (from > to) return best;
  // Coarse: a tenth of the rate, where speech still correlates well.
  constexpr size_t kFactor = 10;
  const std::vector<float> smallSamples = Decimate(samples, kFactor);
  const std::vector<float> smallPattern = Decimate(pattern, kFactor);
  const double smallEnergy = Energy(smallPattern);
  long coarse = -1;
  double coarseScore = -2;
  for (size_t at = from / kFactor; at <= to / kFactor && at + smallPattern.size() <= smallSamples.size(); ++at) {
    double c = Correlation(smallSamples, smallPattern, at, smallEnergy);
    if (c > coarseScore) {
      coarseScore = c;
      coarse = long(at * kFactor);
    }
  }
  if (coarse < 0) return best;
  best.coarseScore = coarseScore;
  // Fine: every sample around the coarse peak.
  const double energy = Energy(pattern);
  size_t lo = size_t(std::max<long>(long(from), coarse - long(2 * kFactor)));
  size_t hi = std::min(to, size_t(coarse) + 2 * kFactor);
  best.score = -2;
  for (size_t at = lo; at <= hi; ++at) {
    double c = Correlation(samples, pattern, at, energy);
    if (c > best.score) {
      best.score = c;
      best.index = long(at);
    }
  }
  return best;
}

double PiecewiseScore(const std::vector<float>& samples, const std::vector<float>& pattern, long at, int pieces,
                      size_t slack) {
  if (at < 0 || pieces < 1 || pattern.size() < size_t(pieces)) return 0;
  const size_t length = pattern.size() / size_t(pieces);
  double sum = 0;
  for (int k = 0; k < pieces; ++k) {
    const size_t offset = size_t(k) * length;
    const std::vector<float> piece(pattern.begin() + long(offset), pattern.begin() + long(offset + length));
    const size_t expected = size_t(at) + offset;
    sum += std::max(0.0, FindWave(samples, piece, expected > slack ? expected - slack : 0, expected + slack).score);
  }
  return sum / pieces;
}

}  // namespace tlb::testing
