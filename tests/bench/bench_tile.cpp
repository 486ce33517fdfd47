// Benchmark of an animation tile playing a 140x140 clip at its frame rate: the
// processor time of decoding, painting and composing its frames, per second of
// playing, on the headless backend (whose virtual clock runs the minute fast).
//
//   bench_tile [seconds] [clip.avi]
//
// Without a clip it plays a generated one, written into the build folder.
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "platform/backend/headless/headless_backend.h"
#include "platform/formats/avi_reader.h"
#include "platform/ui/forms.h"
#include "shared/AVI_delp.h"
#include "tests/support/media_fixtures.h"

using namespace tlb;

static double CpuSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

int main(int argc, char** argv) {
  int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
  std::string clip = argc > 2 ? argv[2] : TULIMBO_BUILD_DIR "/bench-tile.avi";
  if (argc <= 2) testing::WriteFile(clip, testing::AviFile(140, 140, 12, 15));
  // The rate the tile plays at is the clip's own.
  double fps = 0;
  try {
    std::ifstream in(clip, std::ios::binary);
    fps = AviClip::Parse(std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {})).framesPerSecond();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_tile: %s: %s\n", clip.c_str(), e.what());
    return 1;
  }
  HeadlessBackend backend({800, 600});
  StartProgramRun(&backend);
  auto* form = new TForm(Application);
  form->SetBounds(80, 60, 640, 480);
  form->SetColor(clGreen);
  auto* tile = new tq::TAVI_orvo1(form);
  tile->SetParent(form);
  tile->SetAutoSize(false);
  tile->SetCenter(false);
  tile->SetTransparent(false);
  tile->SetBounds(54, 40, 140, 140);
  tile->SetFileName(clip);
  form->Show();
  Application->ProcessMessages();
  int frames = 0, last = tile->CurrentFrame();
  tile->SetActive(true);
  double cpu0 = CpuSeconds();
  int64_t until = backend.NowMs() + int64_t(seconds) * 1000;
  backend.At(until, [] {});
  PumpUntil([&] {
    if (tile->CurrentFrame() != last) {
      ++frames;
      last = tile->CurrentFrame();
    }
    return backend.NowMs() >= until;
  });
  double cpu = CpuSeconds() - cpu0;
  std::printf("tile 140x140 at %.4g frames a second, %d s: %d frames shown, %d presents\n", fps, seconds, frames,
              backend.PresentCount());
  std::printf("  %.3f ms of processor time per second of playing = %.3f%% of one core\n", cpu * 1e3 / seconds,
              cpu * 100 / seconds);
  EndProgramRun();
  return 0;
}
