// gen_data: writes the sample data set (music, sounds, pictures, clips and
// karaoke texts) and the programs' compiled-in resources from nothing but
// this source and Debian's espeak-ng, FluidSynth with its General MIDI
// soundfont, aubio and Rubber Band. The output is the same, byte for byte, on
// every run and with any number of worker threads.
//
//   gen_data --data <folder of the programs> --res <resource folder> [--jobs N] [--only PREFIX]
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <mutex>
#include <string>
#include <thread>

#include "output.h"
#include "speech.h"

namespace {

void usage() {
  std::fprintf(stderr,
               "usage: gen_data --data DIR --res DIR [--jobs N] [--only PREFIX]\n"
               "  --data DIR   folder that receives hudba, zvuky, obrazky, animace and texty\n"
               "  --res DIR    folder that receives games, rhymes, songs, common and MANIFEST.txt\n"
               "  --jobs N     worker threads (default: the number of processors)\n"
               "  --only P     run only the jobs whose name starts with P (for development)\n");
}

}  // namespace

int main(int argc, char** argv) {
  std::string dataDir, resDir, only;
  unsigned workers = std::max(1u, std::thread::hardware_concurrency());
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) {
        usage();
        std::exit(2);
      }
      return argv[++i];
    };
    if (a == "--data") dataDir = value();
    else if (a == "--res") resDir = value();
    else if (a == "--jobs") workers = unsigned(std::max(1, std::atoi(value().c_str())));
    else if (a == "--only") only = value();
    else {
      usage();
      return 2;
    }
  }
  if (dataDir.empty() || resDir.empty()) {
    usage();
    return 2;
  }

  const auto started = std::chrono::steady_clock::now();
  try {
    gen::Speech speech;
    gen::Output out(dataDir, resDir, speech);
    gen::Jobs jobs;
    // The slow jobs (songs and rhymes, many utterances each) go first so that
    // the pool stays busy to the end.
    gen::addKaraokeJobs(jobs);
    gen::addSpeechJobs(jobs);
    gen::addMusicJobs(jobs);
    gen::addSongPictureJobs(jobs);
    gen::addClipJobs(jobs);
    gen::addFigureJobs(jobs);
    gen::addCardPictureJobs(jobs);
    gen::addGamePictureJobs(jobs);
    gen::addRhymePictureJobs(jobs);
    gen::addFormResourceJobs(jobs);
    gen::addCursorJobs(jobs);
    if (!only.empty())
      jobs.erase(std::remove_if(jobs.begin(), jobs.end(), [&](const gen::Job& j) { return j.name.rfind(only, 0) != 0; }),
                 jobs.end());

    std::atomic<size_t> next{0};
    std::mutex errMu;
    std::string firstError;
    auto worker = [&] {
      for (;;) {
        size_t k = next++;
        if (k >= jobs.size()) return;
        {
          std::lock_guard<std::mutex> lock(errMu);
          if (!firstError.empty()) return;
        }
        try {
          jobs[k].run(out);
        } catch (const std::exception& e) {
          std::lock_guard<std::mutex> lock(errMu);
          if (firstError.empty()) firstError = jobs[k].name + ": " + e.what();
        }
      }
    };
    std::vector<std::thread> pool;
    for (unsigned i = 0; i < std::min<size_t>(workers, jobs.size()); ++i) pool.emplace_back(worker);
    for (auto& t : pool) t.join();
    if (!firstError.empty()) {
      std::fprintf(stderr, "gen_data: %s\n", firstError.c_str());
      return 1;
    }
    out.writeManifest();
    double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("gen_data: %zu data files (%.1f MB) in %s, resources in %s, %.1f s\n", out.dataFiles(),
                out.dataBytes() / 1e6, dataDir.c_str(), resDir.c_str(), secs);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "gen_data: %s\n", e.what());
    return 1;
  }
  return 0;
}
