#pragma once
// Where the generated files go, and the list of jobs that make them.
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "canvas.h"

namespace gen {

class Speech;

class Output {
 public:
  Output(std::string dataDir, std::string resDir, Speech& speech);

  // A data file, relative to the data folder ("obrazky/k_1.bmp").
  void data(const std::string& rel, const std::vector<uint8_t>& bytes);
  // A compiled-in resource, relative to the resource folder ("games/FORM_Menu.wait_image.bmp"),
  // listed in the manifest with its purpose.
  void res(const std::string& rel, const std::vector<uint8_t>& bytes, const std::string& purpose);

  // Picture helpers: an 8-bit BMP with its own palette (reserved colours kept exact).
  void dataBmp8(const std::string& rel, const Canvas& c, const std::vector<Rgb>& reserved = {});
  void resBmp8(const std::string& rel, const Canvas& c, const std::string& purpose,
               const std::vector<Rgb>& reserved = {});

  Speech& speech() { return speech_; }

  void writeManifest();
  size_t dataFiles() const { return dataCount_; }
  size_t dataBytes() const { return dataBytes_; }

 private:
  struct Entry {
    std::string name;
    size_t size;
    std::string purpose;
  };
  std::string dataDir_, resDir_;
  Speech& speech_;
  std::mutex mu_;
  std::vector<Entry> manifest_;
  size_t dataCount_ = 0, dataBytes_ = 0;
};

struct Job {
  std::string name;
  std::function<void(Output&)> run;
};
using Jobs = std::vector<Job>;

// Each content module adds its jobs.
void addCardPictureJobs(Jobs& jobs);
void addGamePictureJobs(Jobs& jobs);
void addFigureJobs(Jobs& jobs);
void addRhymePictureJobs(Jobs& jobs);
void addSongPictureJobs(Jobs& jobs);
void addClipJobs(Jobs& jobs);
void addFormResourceJobs(Jobs& jobs);
void addCursorJobs(Jobs& jobs);
void addMusicJobs(Jobs& jobs);
void addSpeechJobs(Jobs& jobs);
void addKaraokeJobs(Jobs& jobs);  // the songs and the rhymes
void addRhymeJobs(Jobs& jobs);
void addSongJobs(Jobs& jobs);

}  // namespace gen
