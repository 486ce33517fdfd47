#pragma once
// The games program on the headless backend with a memory game opened from its
// menu tile, and the observations the memory-game tests share: sounds by name and
// time, wave lengths of the sample data, and the centres of controls to click.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "games/src/kim_1.h"
#include "games/src/kim_2.h"
#include "games/src/m_hry.h"
#include "games/src/tq2_hry.h"
#include "platform/core/paths.h"
#include "platform/core/sysutils.h"
#include "platform/formats/wav_reader.h"
#include "platform/media/audio_device.h"
#include "shared/Technic2.h"
#include "tests/support/program_run.h"

namespace tq::testing {

using namespace tlb;
using tlb::testing::HeadlessRun;
using tlb::testing::ProgramRun;
using tlb::testing::TempDir;

struct Heard {
  std::string name;  // file name without the folder
  SoundKind kind;
  int64_t at;
  bool operator==(const Heard& o) const { return name == o.name && kind == o.kind && at == o.at; }
};

class KimRun : public ProgramRun {
 protected:
  // The menu's reveal is over at 1.8 s; the game tiles are clicked at this time.
  static constexpr int64_t kOpenAt = 2000;
  // The introduction starts on the starter's first tick, 500 ms after the form was made.
  static constexpr int64_t kIntroAt = kOpenAt + 500;

  // Starts the program as its main block does, with files of the data set left out or damaged.
  void Start(std::initializer_list<const char*> omit = {}, std::initializer_list<const char*> damage = {},
             bool audio = true, Size screen = {800, 600}) {
    data_ = NewRun("tq2_hry", screen, audio, omit, damage);
    StartGamesProgram();
    FORM_Menu->Show();
  }

  // Clicks the menu tile of game 1 or 3 (the tile numbers) at `at`.
  void OpenGame(int tile, int64_t at = kOpenAt) {
    TControl* t = tile == 1 ? static_cast<TControl*>(FORM_Menu->AVI_obr1) : FORM_Menu->AVI_obr3;
    backend().Click(at, Centre(t));
  }

  // Runs `fn` at `ms`, inside whatever wait the program is in then.
  void At(int64_t ms, std::function<void()> fn) { backend().At(ms, std::move(fn)); }
  // Clicks the centre of a control at `ms`; the control is looked up then, so it may not exist yet.
  void ClickAt(int64_t ms, std::function<TControl*()> control) {
    At(ms, [this, ms, control] {
      TControl* c = control();
      ASSERT_NE(c, nullptr) << ms;
      backend().Click(ms, Centre(c));
    });
  }
  void RunUntil(int64_t ms) { run_->RunUntil(ms); }

  // Checks at `ms`; the test fails if the program never gets there.
  void Check(int64_t ms, std::function<void()> fn) {
    ++checks_;
    At(ms, [this, fn = std::move(fn)] {
      ++checked_;
      fn();
    });
  }
  // Ends the program run at `ms`, whatever wait it is in, and expects every check to have run.
  void EndAt(int64_t ms) {
    At(ms, [] { Application->Terminate(); });
    run_->RunUntil(ms + 1);
    EXPECT_EQ(checked_, checks_) << "checks that never ran";
  }
  // Runs until the game form has closed and the menu has resumed, or fails at `limitMs`.
  void RunUntilMenuBack(int64_t limitMs) {
    bool stuck = false;
    At(limitMs, [&stuck] {
      stuck = form_kim1 || form_kim2;
      if (stuck) Application->Terminate();
    });
    run_->RunUntil(limitMs + 1);
    EXPECT_FALSE(stuck) << "the game did not close by " << limitMs;
    EXPECT_EQ(checked_, checks_) << "checks that never ran";
  }

  HeadlessRun& run() { return *run_; }
  HeadlessBackend& backend() { return run_->backend; }

  // Every sound started since the program run began, with its time.
  std::vector<Heard> Sounds() const {
    std::vector<Heard> out;
    HeadlessAudio* a = AsHeadlessAudio(run_->backend.Audio());
    if (a)
      for (const auto& r : a->Played()) out.push_back({ExtractFileName(r.file), r.kind, r.startMs});
    return out;
  }
  // The names of the sounds of one kind started in [from, to).
  std::vector<std::string> Names(SoundKind kind, int64_t from = 0, int64_t to = INT64_MAX) const {
    std::vector<std::string> out;
    for (const auto& h : Sounds())
      if (h.kind == kind && h.at >= from && h.at < to) out.push_back(h.name);
    return out;
  }
  std::vector<std::string> Effects(int64_t from = 0, int64_t to = INT64_MAX) const {
    return Names(SoundKind::Effect, from, to);
  }
  // The start time of the first sound of that name at or after `from`; -1 if none.
  int64_t StartOf(const std::string& name, int64_t from = 0) const {
    for (const auto& h : Sounds())
      if (h.name == name && h.at >= from) return h.at;
    return -1;
  }

  // The length in ms of a wave of the sample data, as the players time it.
  static int64_t WaveMs(const std::string& relative) {
    return LoadWavFile((tlb::testing::SampleDataDir() / relative).string()).durationMs();
  }

  // Takes a file out of the program's data folder, or replaces it by garbage, at any time.
  void Remove(const std::string& relative) { std::filesystem::remove(data_ / relative); }
  void Damage(const std::string& relative) {
    std::filesystem::remove(data_ / relative);
    std::ofstream(data_ / relative, std::ios::binary) << "BM garbage";
  }

  // The two pictures hold the same pixels.
  static bool SamePicture(TPicture& a, TPicture& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height() || a.Width() == 0) return false;
    const Dib& x = a.Bitmap()->Pixels();
    const Dib& y = b.Bitmap()->Pixels();
    for (int j = 0; j < a.Height(); ++j)
      for (int i = 0; i < a.Width(); ++i)
        if (x.pixel(i, j) != y.pixel(i, j)) return false;
    return true;
  }
  // A picture of the data set, loaded as the games load it.
  std::unique_ptr<TPicture> DataPicture(const std::string& relative) {
    auto p = std::make_unique<TPicture>();
    p->LoadFromFile(DataDir() + "\\" + relative);
    return p;
  }

  std::filesystem::path data_;
  int checks_ = 0, checked_ = 0;
};

}  // namespace tq::testing
