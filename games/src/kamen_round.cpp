// One round of rock-paper-scissors: the shaking, the mouse's draw, the poses,
// the score, the spoken verdict and the blinking cup; and the help click.
#include "games/src/kamen.h"

#include "platform/core/exceptions.h"
#include "platform/core/sysutils.h"
#include "shared/Technic2.h"

namespace tq {

using namespace tlb;

namespace {

// The highlight behind the chosen sign's button.
constexpr TColor kChosenPanel = 0x00C800;  // RGB(0, 200, 0)

}  // namespace

int DrawComputerSign() { return Random(29999) / 10000 + 1; }

int JudgeRound(int childSign, int computerSign) {
  if (childSign == computerSign) return 0;
  // Rock blunts scissors, scissors cut paper, paper wraps rock.
  bool childWins = (childSign == 1 && computerSign == 2) || (childSign == 2 && computerSign == 3) ||
                   (childSign == 3 && computerSign == 1);
  return childWins ? 1 : -1;
}

TImage* TFORM_kamen::BoyPose(int sign, bool winning) const {
  switch (sign) {
    case 1: return winning ? dite_poz1a : dite_poz1;
    case 2: return winning ? dite_poz2a : dite_poz2;
    case 3: return winning ? dite_poz3a : dite_poz3;
    default: return dite_poz4;
  }
}

TImage* TFORM_kamen::MousePose(int sign, bool winning) const {
  switch (sign) {
    case 1: return winning ? mys_poz1a : mys_poz1;
    case 2: return winning ? mys_poz2a : mys_poz2;
    case 3: return winning ? mys_poz3a : mys_poz3;
    default: return mys_poz4;
  }
}

TPanel* TFORM_kamen::PanelOf(int sign) const { return sign == 1 ? pan_kamen : sign == 2 ? pan_nuzky : pan_papir; }

TGlyphButton* TFORM_kamen::ButtonOf(int sign) const {
  return sign == 1 ? btn_kamen : sign == 2 ? btn_nuzky : btn_papir;
}

void TFORM_kamen::btn_kamenClick(TObject* Sender) {
  auto* button = dynamic_cast<TComponent*>(Sender);
  int sign = button ? button->Tag : 0;
  KamenState& s = KamenUnit();
  if (sign == s.PlayerChoice) return;
  StopIconBlinking();
  StopSpeechQueue();
  if (sign >= 1 && sign <= 3) s.PlayerChoice = uint8_t(sign);
  for (int other = 1; other <= 3; ++other) {
    PanelOf(other)->SetColor(other == sign ? kChosenPanel : clGreen);
    ButtonOf(other)->SetCursor(other == sign ? crArrow : 7);
  }
  PlayRound();
}

void TFORM_kamen::delay_tqTimer(TObject*) {
  delay_tq->Tag = delay_tq->Tag + 1;
  if (delay_tq->Tag > KamenUnit().DelayTicks) {
    delay_tq->SetEnabled(false);
    delay_tq->Tag = 0;
  }
}

// Waits `ticks` + 1 ticks of the 100 ms delay timer; Esc and the end request end it early.
void TFORM_kamen::TickDelay(int ticks) {
  KamenState& s = KamenUnit();
  s.DelayTicks = ticks;
  delay_tq->SetEnabled(true);
  Application->ProcessMessages();
  PumpUntil([&] { return !delay_tq->Enabled() || s.KeyCode == 27 || s.Closing; });
}

void TFORM_kamen::Shake(int firstWait) {
  const bool& closing = KamenUnit().Closing;
  if (!closing) ShowPose(hrdina_vpravo, dite_poz1);
  if (!closing) ShowPose(hrdina_vlevo, mys_poz1);
  TickDelay(firstWait);
  if (!closing) ShowPose(hrdina_vpravo, dite_poz4);
  if (!closing) ShowPose(hrdina_vlevo, mys_poz4);
  TickDelay(4);
}

void TFORM_kamen::Clap() {
  if (!KamenUnit().Closing) PlayWave(DataDir() + "\\zvuky\\tlesk.wav", 1);
}

void TFORM_kamen::PlayRound() {
  KamenState& s = KamenUnit();
  if (!btn_kamen->Enabled()) return;  // a round is already running
  for (int sign = 1; sign <= 3; ++sign) ButtonOf(sign)->SetEnabled(false);
  s.KeyCode = 0;
  Shake(2);
  Clap();
  Shake(4);
  Clap();
  Shake(4);
  int computer = DrawComputerSign();
  Clap();
  if (!s.Closing) ShowPose(hrdina_vpravo, BoyPose(s.PlayerChoice, false));
  if (!s.Closing) ShowPose(hrdina_vlevo, MousePose(computer, false));
  int verdict = JudgeRound(s.PlayerChoice, computer);
  s.PlayerWon = verdict > 0;
  s.ComputerWon = verdict < 0;
  TickDelay(5);
  if (!s.Closing) ShowPose(hrdina_vpravo, BoyPose(s.PlayerChoice, s.PlayerWon));
  if (!s.Closing) ShowPose(hrdina_vlevo, MousePose(computer, s.ComputerWon));
  TickDelay(6);
  if (s.PlayerWon) {
    s.PlayerWins += 1;
    lbl_dobre->SetCaption(IntToStr(s.PlayerWins));
  }
  if (s.ComputerWon) {
    s.ComputerWins += 1;
    lbl_spatne->SetCaption(IntToStr(s.ComputerWins));
  }
  StopSpeechQueue();
  QueueFile(s.PlayerWon ? "knp_v1.wav" : s.ComputerWon ? "knp_v2.wav" : "knp_v0.wav");
  Application->ProcessMessages();
  if (verdict != 0) {
    // The explanation names the pair, whoever showed which sign.
    int pair = s.PlayerChoice * computer;  // 3 rock and paper, 6 scissors and paper, 2 rock and scissors
    QueueFile(pair == 3 ? "knp_pk.wav" : pair == 6 ? "knp_np.wav" : "knp_kn.wav");
  }
  blikatko_s_poharem->Tag = 0;
  blikatko_s_poharem->SetEnabled(true);
}

void TFORM_kamen::blikatko_s_poharemTimer(TObject*) {
  KamenState& s = KamenUnit();
  blikatko_s_poharem->Tag = blikatko_s_poharem->Tag + 1;
  const int tag = blikatko_s_poharem->Tag;
  if (tag > 6) blikatko_s_poharem->SetEnabled(false);
  if (s.ComputerWon) pohar_tumfik->SetVisible(tag % 2 == 0);
  if (s.PlayerWon) pohar_dite->SetVisible(tag % 2 == 0);
  if (s.ComputerWon) lbl_spatne->SetVisible(tag % 2 == 1);
  if (s.PlayerWon) lbl_dobre->SetVisible(tag % 2 == 1);
  if (blikatko_s_poharem->Enabled()) return;
  for (int sign = 1; sign <= 3; ++sign) {
    ButtonOf(sign)->SetEnabled(true);
    PanelOf(sign)->SetColor(clGreen);
    ButtonOf(sign)->SetCursor(7);
  }
  s.PlayerChoice = 0;
}

void TFORM_kamen::hrdina_vlevoClick(TObject*) {
  if (!lbl_dvojtecka->Visible() || Speech().Speaking()) return;
  StopSpeechQueue();
  StopWave();
  uvodni_blikajici_ikony->SetEnabled(true);
  QueueFile("knp_help.wav");
}

}  // namespace tq
