#include "speech.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <tuple>
#include <vector>

extern char** environ;

namespace gen {

namespace {

const char* kInstallHint = "install the Debian package espeak-ng (apt-get install espeak-ng)";

// Runs the program with the arguments, its output silenced; returns the exit
// status, or -1 when it could not be started at all (errno kept).
int run(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t fa;
  posix_spawn_file_actions_init(&fa);
  posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
  pid_t pid;
  int rc = posix_spawnp(&pid, argv[0], &fa, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&fa);
  if (rc != 0) {
    errno = rc;
    return -1;
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
}

std::string xmlEscaped(const std::string& text) {
  std::string out;
  for (char ch : text) {
    if (ch == '<') out += "&lt;";
    else if (ch == '>') out += "&gt;";
    else if (ch == '&') out += "&amp;";
    else out += ch;
  }
  return out;
}

std::vector<uint8_t> readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

bool Utterance::operator<(const Utterance& o) const {
  return std::tie(voice, text, speed, pitch, monotone) < std::tie(o.voice, o.text, o.speed, o.pitch, o.monotone);
}

Speech::Speech(const std::string& tempRoot) {
  std::string tmpl = tempRoot + "/gen_data.XXXXXX";
  std::vector<char> buf(tmpl.begin(), tmpl.end());
  buf.push_back(0);
  if (!mkdtemp(buf.data())) throw std::runtime_error("cannot create a temporary folder in " + tempRoot);
  dir_ = buf.data();
  try {
    if (run({"espeak-ng", "--version"}) < 0)
      throw std::runtime_error(std::string("espeak-ng cannot be run (") + std::strerror(errno) +
                               "); it speaks every zvuky/*.wav: " + kInstallHint);
    for (const char* v : {"cs", "sk"}) {
      Utterance probe;
      probe.voice = v;
      probe.text = "a";
      Audio a = synthesise(probe, std::string("the voice check of \"") + v + "\"");
      if (a.s.empty())
        throw std::runtime_error(std::string("espeak-ng has no voice \"") + v + "\": " + kInstallHint);
    }
  } catch (...) {
    removeFiles();
    throw;
  }
}

Speech::~Speech() { removeFiles(); }

void Speech::removeFiles() {
  // Only files this object created live in the folder.
  for (unsigned i = 0; i < counter_; ++i) std::remove((dir_ + "/u" + std::to_string(i) + ".wav").c_str());
  rmdir(dir_.c_str());
}

Audio Speech::say(const Utterance& u, const std::string& forFile) {
  {
    std::lock_guard<std::mutex> lock(mu_);
    auto it = cache_.find(u);
    if (it != cache_.end()) return it->second;
  }
  Audio a = synthesise(u, forFile);
  std::lock_guard<std::mutex> lock(mu_);
  cache_.emplace(u, a);
  return a;
}

Audio Speech::synthesise(const Utterance& u, const std::string& forFile) {
  unsigned n;
  {
    std::lock_guard<std::mutex> lock(mu_);
    n = counter_++;
  }
  std::string out = dir_ + "/u" + std::to_string(n) + ".wav";
  std::vector<std::string> args = {"espeak-ng", "-v", u.voice, "-s", std::to_string(u.speed),
                                   "-p",        std::to_string(u.pitch), "-w", out};
  if (u.monotone) {
    // A pitch range of zero takes the sentence melody away. The blank before the
    // closing tag ends a [[phoneme]] spelling, which would otherwise swallow it.
    args.push_back("-m");
    args.push_back("<speak><prosody range=\"0\">" + xmlEscaped(u.text) + " </prosody></speak>");
  } else {
    args.push_back(u.text);
  }
  int rc = run(args);
  if (rc != 0)
    throw std::runtime_error(forFile + ": espeak-ng " + (rc < 0 ? std::string("could not be started: ") + kInstallHint
                                                                : "failed with status " + std::to_string(rc)) +
                             " (text \"" + u.text + "\")");
  std::vector<uint8_t> bytes = readAll(out);
  std::remove(out.c_str());
  Audio a = parseWav(bytes, forFile + " (espeak-ng output)");
  return resampled(a, kSampleRate);
}

}  // namespace gen
