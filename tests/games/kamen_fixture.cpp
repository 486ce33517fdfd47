#include "tests/games/kamen_fixture.h"

#include <fstream>

#include "platform/core/paths.h"
#include "platform/media/media_player.h"

namespace tq::testing {

using namespace tlb;

void KamenRun::Start(const Options& o) {
  data_ = NewRun("tq2_hry", o.screen, o.audio);
  for (const char* f : o.omit) std::filesystem::remove(data_ / f);
  for (const char* d : o.damage) {
    std::filesystem::remove(data_ / d);
    std::ofstream(data_ / d, std::ios::binary) << "RIFF\x10\0\0\0garbage";
  }
  StartGamesProgram();
  if (o.afterStart) o.afterStart();
  FORM_Menu->Show();
  run_->backend.Click(kOpen, Centre(FORM_Menu->AVI_obr2));
}

void KamenRun::At(int64_t ms, std::function<void(TFORM_kamen&)> check) {
  run_->backend.At(ms, [ms, check] {
    if (!FORM_kamen) {
      ADD_FAILURE() << "the form is not open at " << ms;
      return;
    }
    check(*FORM_kamen);
  });
}

void KamenRun::ClickAt(int64_t ms, std::function<TControl*(TFORM_kamen&)> control) {
  At(ms, [this, ms, control](TFORM_kamen& f) { run_->backend.Click(ms, Centre(control(f))); });
}

void KamenRun::MoveTo(int64_t ms, std::function<TControl*(TFORM_kamen&)> control) {
  At(ms, [this, ms, control](TFORM_kamen& f) { run_->backend.MoveMouse(ms, Centre(control(f))); });
}

void KamenRun::EndAt(int64_t ms) {
  At(ms, [](TFORM_kamen& f) { f.BTN_KonecClick(f.BTN_Konec); });
  run_->RunUntil(ms + 100);
  EXPECT_EQ(FORM_kamen, nullptr) << "the form is still open";
}

std::vector<Sound> KamenRun::Sounds(SoundKind kind) {
  std::vector<Sound> out;
  for (const auto& r : AsHeadlessAudio(run_->backend.Audio())->Played())
    if (r.kind == kind) out.push_back({ExtractFileName(r.file), r.startMs, r.flags});
  return out;
}

std::vector<std::string> KamenRun::Names(SoundKind kind) {
  std::vector<std::string> out;
  for (const auto& h : Sounds(kind)) out.push_back(h.file);
  return out;
}

int KamenRun::LengthMs(const std::string& name) {
  TMediaPlayer probe(nullptr);
  probe.FileName = tlb::testing::SampleDataDir().string() + "/zvuky/" + name;
  probe.Open();
  return probe.Length();
}

int64_t KamenRun::QueueTickAtOrAfter(int64_t ms) {
  int64_t first = kOpen + 250;
  if (ms <= first) return first;
  return first + (ms - first + 199) / 200 * 200;
}

std::vector<int64_t> KamenRun::IntroStarts() {
  std::vector<int64_t> starts{kOpen + 250};
  for (int i = 1; i < 9; ++i)
    starts.push_back(QueueTickAtOrAfter(starts.back() + LengthMs("knp_uv" + std::to_string(i) + ".wav")));
  return starts;
}

std::string KamenRun::Pose(TFORM_kamen& f, TImage* figure) {
  auto* shown = dynamic_cast<TBitmap*>(figure->Picture().Graphic());
  if (!shown || shown->Empty()) return "";
  for (TImage* h : {f.dite_poz1, f.dite_poz1a, f.dite_poz2, f.dite_poz2a, f.dite_poz3, f.dite_poz3a, f.dite_poz4,
                    f.mys_poz1, f.mys_poz1a, f.mys_poz2, f.mys_poz2a, f.mys_poz3, f.mys_poz3a, f.mys_poz4}) {
    auto* held = dynamic_cast<TBitmap*>(h->Picture().Graphic());
    if (held && held->Pixels().bits() == shown->Pixels().bits() && held->Width() == shown->Width()) return h->Name;
  }
  return "?";
}

uint32_t KamenRun::SeedFor(int sign, uint32_t from) {
  for (uint32_t seed = from;; ++seed) {
    RandomGenerator g;
    g.seed = seed;
    if (g.Random(29999) / 10000 + 1 == sign) return seed;
  }
}

}  // namespace tq::testing
