#include "games/src/kim_2.h"

#include <utility>

#include "platform/core/sysutils.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/randomize.h"
#include "shared/Technic2.h"

namespace tq {

using namespace tlb;

Tform_kim2* form_kim2 = nullptr;

namespace {

Kim2State& Unit() {
  static Kim2State state;
  return state;
}

const KimShellConfig kConfig = {
    "form_kim2.dfm",
    "\\zvuky\\k2_uvod.wav",
    "\\hudba\\kim2.mid",
    "Nelze nalezt hudbu pro Kimovu hru 2...",
    "\\zvuky\\k2_ukol.wav",
};

// The places of the cards on the panel, the same in every round of a size;
// {0, 0} marks a card outside the grid of that size.
struct Place {
  int left, top;
};
const Place kPlaces[3][4][4] = {
    // n = 2
    {{{76, 30}, {69, 232}, {0, 0}, {0, 0}},
     {{333, 29}, {342, 232}, {0, 0}, {0, 0}},
     {{0, 0}, {0, 0}, {0, 0}, {0, 0}},
     {{0, 0}, {0, 0}, {0, 0}, {0, 0}}},
    // n = 3
    {{{14, 17}, {66, 153}, {15, 280}, {0, 0}},
     {{187, 9}, {209, 143}, {235, 285}, {0, 0}},
     {{344, 7}, {395, 137}, {395, 284}, {0, 0}},
     {{0, 0}, {0, 0}, {0, 0}, {0, 0}}},
    // n = 4
    {{{23, 12}, {48, 118}, {6, 219}, {41, 316}},
     {{176, 4}, {216, 101}, {148, 208}, {156, 309}},
     {{301, 2}, {319, 111}, {281, 215}, {297, 319}},
     {{419, 7}, {433, 111}, {387, 210}, {436, 316}}},
};

int CardSize(int n) { return n == 4 ? 95 : 125; }

// A coordinate of the exchanges: the formulas give 0..n, and 0 counts as 1.
int AtLeastOne(int v) { return v == 0 ? 1 : v; }

}  // namespace

Kim2State& Kim2Unit() { return Unit(); }
void ResetKim2Unit() { Unit() = Kim2State(); }

Tform_kim2::Tform_kim2(TComponent* AOwner) : TKimShell(AOwner, Unit(), Unit(), kConfig), U(Unit()) {
  ClassRegistry::Instance().RegisterClass("Tform_kim2", "TForm", nullptr);
  form_kim2 = this;
  HandlerTable h;
  BindShellHandlers(h);
  TLB_HANDLER(h, kim_11Click);
  TLB_HANDLER(h, btn_helpClick);
  TLB_HANDLER(h, podkladClick);
  TLB_HANDLER(h, Button1Click);
  LoadShell(h);
  TLB_COMPONENT(podklad);
  TLB_COMPONENT(oddeleni2);
  TLB_COMPONENT(Button1);
  TLB_COMPONENT(kod);
  DoCreate();
}

Tform_kim2::~Tform_kim2() {
  if (form_kim2 == this) form_kim2 = nullptr;
}

void Tform_kim2::CreateOwn() {
  // Drawn without reseeding: the generator goes on from where the program left it.
  U.BadSoundIndex = uint8_t(Random(4) + 1);
}

// ---- the round ----

void Tform_kim2::StartRound(int n) {
  try {
    S.RoundBusy = true;
    StopWave();
    StopPlayingNarration();
    uvodni_blikajici_ikony->SetEnabled(false);
    HideRoundScreen();
    Randomize();
    ChoosePictures(R, n);
    FillGridNames(R, n);

    // Hold pictures back: 2 for n = 2, 4 to 6 for n = 3, 4 to 8 for n = 4.
    for (int i = 1; i <= n * n; ++i) U.ShownFlags[i] = 1;
    U.RemovedCount = uint8_t(n == 2 ? 2 : n == 3 ? 4 + Random(299) / 100 : 4 + Random(499) / 100);
    for (int k = 0; k < U.RemovedCount; ++k) {
      int i;
      do i = Random(n * n * 100 - 1) / 100 + 1;
      while (U.ShownFlags[i] != 1);
      U.ShownFlags[i] = 0;
    }
    for (auto& column : U.GridShown)
      for (auto& flag : column) flag = 0;
    for (int c = 1; c <= n; ++c)
      for (int r = 1; r <= n; ++r) U.GridShown[c][r] = U.ShownFlags[(c - 1) * n + r];

    const int size = CardSize(n);
    for (int c = 1; c <= 4; ++c)
      for (int r = 1; r <= 4; ++r) {
        TImage* card = Card(c, r);
        card->SetVisible(false);
        const Place& p = kPlaces[n - 2][c - 1][r - 1];
        bool inGrid = c <= n && r <= n;
        card->SetBounds(inGrid ? p.left : card->Left(), inGrid ? p.top : card->Top(), size, size);
        card->SetCursor(crArrow);
      }
    for (int c = 1; c <= 4; ++c)
      for (int r = 1; r <= 4; ++r) {
        TImage* card = Card(c, r);
        card->SetCursor(crArrow);
        card->SetVisible(U.GridShown[c][r] == 1);
        card->SetBounds(card->Left(), card->Top(), size, size);
        if (c <= n && r <= n) card->Picture().LoadFromFile(DataDir() + CardFaceFile(R.GridNames[c][r]));
      }
    podklad->SetVisible(true);
    oddeleni2->SetVisible(true);
    U.FoundCount = 0;

    MemorizePhase();
    if (S.Closing) return;

    // The mouse gives the task over the empty form.
    stit->SetHeight(479);
    stit->SetVisible(true);
    S.SkipRequested = false;
    podklad->SetVisible(false);
    Repaint();
    Application->ProcessMessages();
    mluvici_mys->SetVisible(true);
    TalkingMouseSpeech("\\zvuky\\k2_ukol2.wav", false);
    stit->SetVisible(false);
    mluvici_mys->SetVisible(false);

    // The pictures and their flags change places; the cards stay where they are.
    int exchanges = 2000 + Random(200);
    for (int k = 0; k < exchanges; ++k) {
      int c1 = AtLeastOne(Random(n * 100 + 93) / 100);
      int r1 = AtLeastOne(Random(n * 1000 + 990) / 1000);
      int c2 = AtLeastOne(Random(n * 10 + 9) / 10);
      int r2 = AtLeastOne(Random(n * 100 + 99) / 100);
      std::swap(U.GridShown[c1][r1], U.GridShown[c2][r2]);
      std::swap(R.GridNames[c1][r1], R.GridNames[c2][r2]);
    }
    for (int c = 1; c <= n; ++c)
      for (int r = 1; r <= n; ++r) Card(c, r)->Picture().LoadFromFile(DataDir() + CardFaceFile(R.GridNames[c][r]));
    for (int c = 1; c <= 4; ++c)
      for (int r = 1; r <= 4; ++r) {
        TImage* card = Card(c, r);
        card->SetCursor(7);
        card->SetVisible(c <= n && r <= n);
      }
    podklad->SetVisible(true);
    BTN_Konec->SetVisible(true);
    SetLevelButtonsVisible(true);
    btn_help->SetVisible(true);
    EnableOtherLevels();
    ResetCounts();
    S.GameRunning = true;
    PlayWave(DataDir() + "\\zvuky\\k2_help.WAV", 1);
    S.RoundBusy = false;
  } catch (const std::exception&) {
    S.RoundBusy = false;
  }
}

void Tform_kim2::MarkGridCards() {
  for (int c = 1; c <= S.GridSize && c <= 4; ++c)
    for (int r = 1; r <= S.GridSize && r <= 4; ++r)
      Card(c, r)->Picture().LoadFromFile(DataDir() + MarkedFaceFile(R.GridNames[c][r]));
}

void Tform_kim2::kim_11Click(TObject* Sender) {
  // During the countdown any card only skips it.
  if (odpocet_timer->Enabled()) {
    S.SkipRequested = true;
    S.KeyCode = 27;
    return;
  }
  if (S.RoundBusy || S.ClickBusy) return;
  S.ClickBusy = true;
  StopWave();
  int c, r;
  CardPlace(Sender, c, r);
  TImage* card = Card(c, r);
  if (!card || card->Cursor() == crArrow) {
    S.ClickBusy = false;
    return;
  }
  // A marked picture that fails to load goes on to the application's stop box;
  // the judging is over and the game stays playable.
  try {
    int toFind = S.GridSize * S.GridSize - U.RemovedCount;
    if (U.GridShown[c][r] == 1) {
      if (U.FoundCount + 1 != toFind) PlayWave(DataDir() + "\\zvuky\\kim_ok.wav", 1);
      S.GoodCount += 1;
      lbl_dobre->SetCaption(IntToStr(S.GoodCount));
      U.FoundCount += 1;
      card->SetCursor(crArrow);
      card->SetVisible(false);
      if (U.FoundCount == toFind) RoundOver();
    } else {
      PlayWave(DataDir() + "\\zvuky\\kim_bad.wav", 1);
      S.BadCount += 1;
      lbl_spatne->SetCaption(IntToStr(S.BadCount));
      card->SetCursor(crArrow);
      card->Picture().LoadFromFile(DataDir() + MarkedFaceFile(R.GridNames[c][r]));
      TickDelay(6);
      U.BadSoundIndex = uint8_t(U.BadSoundIndex + 1);
      if (U.BadSoundIndex > 5) U.BadSoundIndex = 1;
      PlayWave(DataDir() + "\\zvuky\\k2_bad" + IntToStr(U.BadSoundIndex) + ".WAV", 1);
    }
  } catch (...) {
    S.ClickBusy = false;
    throw;
  }
  S.ClickBusy = false;
}

// Every picture seen before is found: praise, the marked held-back pictures, the closing words.
void Tform_kim2::RoundOver() {
  PlayWave(DataDir() + "\\zvuky\\kim_brav.WAV", 1);
  for (int c = 1; c <= 4; ++c)
    for (int r = 1; r <= 4; ++r) Card(c, r)->SetCursor(crArrow);
  MarkGridCards();
  stit->SetHeight(479);
  stit->SetVisible(true);
  SetLevelButtonsVisible(false);
  btn_help->SetVisible(false);
  S.GameRunning = false;
  TickDelay(20);
  podklad->SetVisible(false);
  Repaint();
  mluvici_mys->SetVisible(true);
  // A skip asked for earlier in the round cuts these words at once.
  TalkingMouseSpeech("\\zvuky\\k1_end.wav", false);
  stit->SetVisible(false);
  if (!S.RoundBusy) {
    SetLevelButtonsVisible(true);
    btn_help->SetVisible(true);
    uvodni_blikajici_ikony->SetEnabled(true);
  }
}

void Tform_kim2::btn_helpClick(TObject*) {
  StopPlayingNarration();
  StopWave();
  PlayWave(DataDir() + (S.GameRunning ? "\\zvuky\\k2_help.WAV" : "\\zvuky\\k1_help.WAV"), 1);
}

void Tform_kim2::podkladClick(TObject*) {
  if (!odpocet_timer->Enabled()) return;
  S.SkipRequested = true;
  S.KeyCode = 27;
}

// Writes the cards' places into the hidden memo, one line a card.
void Tform_kim2::Button1Click(TObject*) {
  for (int c = 1; c <= 4; ++c)
    for (int r = 1; r <= 4; ++r) {
      TImage* card = Card(c, r);
      kod->Lines().Add("with kim_" + IntToStr(c) + IntToStr(r) + " do begin top:=" + IntToStr(card->Top()) +
                       "; left:=" + IntToStr(card->Left()) + "; height:=" + IntToStr(card->Height()) +
                       "; width:=" + IntToStr(card->Width()) + "; cursor:=crarrow;  visible:=" + "true" + "; end;");
    }
}

}  // namespace tq
