#include "games/src/kim_1.h"

#include "platform/core/sysutils.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/randomize.h"
#include "shared/Technic2.h"

namespace tq {

using namespace tlb;

Tform_kim1* form_kim1 = nullptr;

namespace {

Kim1State& Unit() {
  static Kim1State state;
  return state;
}

const KimShellConfig kConfig = {
    "form_kim1.dfm",
    "\\zvuky\\k1_uvod.wav",
    "\\hudba\\kim1.mid",
    "Nelze nalezt hudbu pro Kimovu hru 1...",
    "\\zvuky\\k1_ukol.wav",
};

// Offsets of the cards from the grid picture's corner, by grid size, and the card size.
struct GridLayout {
  int left[4];  // by column
  int top[4];   // by row
  int size;
};
const GridLayout& Layout(int n) {
  static const GridLayout layouts[3] = {
      {{42, 241, 0, 0}, {40, 242, 0, 0}, 125},
      {{8, 142, 277, 0}, {8, 142, 277, 0}, 125},
      {{6, 107, 208, 309}, {6, 107, 208, 309}, 95},
  };
  return layouts[n == 2 ? 0 : n == 3 ? 1 : 2];
}

}  // namespace

Kim1State& Kim1Unit() { return Unit(); }
void ResetKim1Unit() { Unit() = Kim1State(); }

Tform_kim1::Tform_kim1(TComponent* AOwner) : TKimShell(AOwner, Unit(), Unit(), kConfig), U(Unit()) {
  ClassRegistry::Instance().RegisterClass("Tform_kim1", "TForm", nullptr);
  form_kim1 = this;
  HandlerTable h;
  BindShellHandlers(h);
  TLB_HANDLER(h, kim_11Click);
  TLB_HANDLER(h, btn_helpClick);
  LoadShell(h);
  TLB_COMPONENT(podklad);
  TLB_COMPONENT(img_rub);
  TLB_COMPONENT(vzor);
  TLB_COMPONENT(panel_vzor);
  DoCreate();
}

Tform_kim1::~Tform_kim1() {
  if (form_kim1 == this) form_kim1 = nullptr;
}

// ---- the shell's differences ----

void Tform_kim1::CreateSeed() { Randomize(); }

void Tform_kim1::CreateOwn() {
  podklad->SetLeft(20);
  podklad->SetTop(2);
  U.TargetPos = 0;
  try {
    img_rub->Picture().LoadFromFile(DataDir() + "\\obrazky\\k_rub.bmp");
  } catch (const std::exception&) {
  }
}

void Tform_kim1::CallStartRound(int n) {
  try {
    StartRound(n);
  } catch (const std::exception&) {
    ShowMessage("chyba inicializace");
  }
}

bool Tform_kim1::LevelRefused(int n) const { return n == 2 && U.TargetBusy; }

void Tform_kim1::ClockTickOwn() {
  // The sample's frame blinks once a second; the first tick of a round gives the darker green.
  panel_vzor->SetColor(S.ElapsedSeconds % 2 != 0 ? TColor(0x00FF00) : TColor(0x1EC81E));
}

void Tform_kim1::MemorizeHideOwn() { panel_vzor->SetVisible(false); }

void Tform_kim1::MemorizeCountdownOverOwn() {
  for (int c = 1; c <= 4; ++c)
    for (int r = 1; r <= 4; ++r)
      if (TImage* card = Card(c, r)) card->Picture().Assign(&img_rub->Picture());
}

void Tform_kim1::MemorizeEndOwn() {
  BTN_Konec->SetVisible(true);
  panel_vzor->SetColor(TColor(0x008000));
  panel_vzor->SetVisible(true);
  SetLevelButtonsVisible(true);
  btn_help->SetVisible(true);
}

// ---- the round ----

int Tform_kim1::TargetCount() const {
  switch (S.GridSize) {
    case 2: return 4;
    case 3: return 9;
    case 4: return 16;
    default: return 0;
  }
}

const std::string& Tform_kim1::Target() const {
  static const std::string none;
  return U.TargetPos >= 1 && U.TargetPos <= 16 ? U.ShuffledNames[U.TargetPos] : none;
}

void Tform_kim1::StartRound(int n) {
  try {
    S.RoundBusy = true;
    vzor->SetVisible(false);
    HideRoundScreen();
    ClearRoundData(R);
    for (auto& name : U.ShuffledNames) name.clear();
    // The generator is seeded once, when the form is made.
    ChoosePictures(R, n);
    ShuffleTargets(R, n, U.ShuffledNames);
    FillGridNames(R, n);
    try {
      podklad->Picture().LoadFromFile(DataDir() + "\\obrazky\\mriz" + IntToStr(n) + "x" + IntToStr(n) + ".bmp");
    } catch (const std::exception&) {
      // The previous grid picture stays.
    }
    for (int c = 1; c <= 4; ++c)
      for (int r = 1; r <= 4; ++r) Card(c, r)->SetVisible(false);
    const GridLayout& layout = Layout(n);
    int left = podklad->Left(), top = podklad->Top();
    for (int c = 1; c <= 4; ++c)
      for (int r = 1; r <= 4; ++r) {
        TImage* card = Card(c, r);
        bool inGrid = c <= n && r <= n;
        card->SetCursor(7);
        if (inGrid) card->SetBounds(left + layout.left[c - 1], top + layout.top[r - 1], card->Width(), card->Height());
        card->SetVisible(inGrid);
        card->SetBounds(card->Left(), card->Top(), layout.size, layout.size);
        if (inGrid) card->Picture().LoadFromFile(DataDir() + CardFaceFile(R.GridNames[c][r]));
      }
    MemorizePhase();
    if (S.Closing) return;
    EnableOtherLevels();
    ResetCounts();
    U.TargetPos = 0;
    S.GameRunning = true;
    NextTarget();
    S.RoundBusy = false;
  } catch (const std::exception&) {
    S.RoundBusy = false;
  }
}

void Tform_kim1::NextTarget() {
  if (!S.GameRunning || U.TargetBusy) return;
  U.TargetBusy = true;
  // Cleared on every way out, a failure included: a flag left set would refuse
  // the 2x2 button for the rest of the program run.
  struct ClearOnExit {
    bool& flag;
    ~ClearOnExit() { flag = false; }
  } clear{U.TargetBusy};
  int targets = TargetCount();
  if (targets == 0) {
    ShowMessage("zadani: spatny rozmer");
    return;
  }
  U.TargetPos += 1;
  if (U.TargetPos > targets) {
    stit->SetHeight(479);
    stit->SetVisible(true);
    S.GameRunning = false;
    TickDelay(14);
    stit->SetVisible(false);
    PlayWave(DataDir() + "\\zvuky\\k1_end.WAV", 1);
    TickDelay(20);
    panel_vzor->SetColor(TColor(0x008000));
    vzor->SetVisible(false);
    U.TargetBusy = false;
    uvodni_blikajici_ikony->SetEnabled(true);
    return;
  }
  try {
    vzor->Picture().LoadFromFile(DataDir() + CardFaceFile(Target()));
  } catch (const std::exception&) {
    ShowMessage("nenalezen vzor");
  }
  vzor->SetVisible(true);
  PlayWave(DataDir() + "\\zvuky\\k_z" + Target() + ".WAV", 1);
}

void Tform_kim1::kim_11Click(TObject* Sender) {
  if (S.RoundBusy || U.TargetBusy || S.ClickBusy) return;
  S.ClickBusy = true;
  StopWave();
  int c, r;
  CardPlace(Sender, c, r);
  TImage* card = Card(c, r);
  if (!card) {
    ShowMessage("chyba zamereni cislo 2");
    S.ClickBusy = false;
    return;
  }
  if (card->Cursor() == crArrow) {
    S.ClickBusy = false;
    return;
  }
  try {
    card->Picture().LoadFromFile(DataDir() + CardFaceFile(R.GridNames[c][r]));
  } catch (...) {
    // The failure goes on to the application's stop box; the game stays playable.
    S.ClickBusy = false;
    throw;
  }
  PlayWave(DataDir() + "\\zvuky\\kim_otoc.wav", 1);
  TickDelay(5);
  try {
    // Read after the waits: a level button may have started a new round inside them.
    if (R.GridNames[c][r] == Target()) {
      PlayWave(DataDir() + "\\zvuky\\kim_ok.wav", 1);
      S.GoodCount += 1;
      lbl_dobre->SetCaption(IntToStr(S.GoodCount));
      TickDelay(10);
      card->SetCursor(crArrow);
      PlayWave(DataDir() + "\\zvuky\\k_ok" + R.GridNames[c][r] + ".WAV", 1);
      stit->SetHeight(430);
      stit->SetVisible(true);
      TickDelay(30);
      if (U.TargetPos == TargetCount()) PlayWave(DataDir() + "\\zvuky\\kim_brav.WAV", 1);
      stit->SetVisible(false);
      NextTarget();
    } else {
      PlayWave(DataDir() + "\\zvuky\\kim_bad.wav", 1);
      S.BadCount += 1;
      lbl_spatne->SetCaption(IntToStr(S.BadCount));
      TickDelay(10);
      PlayWave(DataDir() + "\\zvuky\\k_bad" + Target() + ".WAV", 1);
      stit->SetHeight(430);
      stit->SetVisible(true);
      TickDelay(15);
      stit->SetVisible(false);
      card->Picture().Assign(&img_rub->Picture());
    }
  } catch (const std::exception&) {
    ShowMessage("chyba ve vyhodnocovaci smycce");
  }
  S.ClickBusy = false;
}

void Tform_kim1::btn_helpClick(TObject*) {
  StopPlayingNarration();
  StopWave();
  if (S.GameRunning) PlayWave(DataDir() + "\\zvuky\\k_z" + Target() + ".WAV", 1);
  else PlayWave(DataDir() + "\\zvuky\\k1_help.WAV", 1);
}

}  // namespace tq
