#pragma once
// Speech from espeak-ng, run as a separate process for every utterance.
//
// The process writes its WAV into a private temporary folder; the file is read
// back, converted to the data set's rate and deleted. The same request always
// gives the same samples, and a request made twice is synthesised once.
#include <map>
#include <mutex>
#include <string>

#include "audio.h"

namespace gen {

struct Utterance {
  std::string voice = "cs";  // "cs" or "sk"
  std::string text;          // UTF-8; [[...]] holds espeak phonemes
  int speed = 140;           // words a minute
  int pitch = 50;            // 0..99
  bool monotone = false;     // one steady pitch throughout, no intonation (for singing)
  bool operator<(const Utterance& o) const;
};

class Speech {
 public:
  // Checks that espeak-ng runs and has both voices; throws std::runtime_error
  // with what to install otherwise.
  explicit Speech(const std::string& tempRoot = "/tmp");
  ~Speech();
  Speech(const Speech&) = delete;
  Speech& operator=(const Speech&) = delete;

  // The utterance at kSampleRate, untrimmed. `forFile` names the data file in errors.
  Audio say(const Utterance& u, const std::string& forFile);

 private:
  Audio synthesise(const Utterance& u, const std::string& forFile);
  void removeFiles();

  std::string dir_;
  std::mutex mu_;
  std::map<Utterance, Audio> cache_;
  unsigned counter_ = 0;
};

}  // namespace gen
