#pragma once
// Rock-paper-scissors against the mouse: the boy on the right stands for the
// child, the mouse on the left for the computer. A spoken introduction with
// changing pictures, then rounds chosen with three blinking buttons, the score,
// a spoken verdict and the winner's blinking cup.
#include <cstdint>
#include <memory>
#include <string>

#include "games/src/kamen_speech.h"
#include "platform/media/media_player.h"
#include "platform/ui/forms.h"
#include "platform/ui/stdctrls.h"
#include "platform/ui/timer.h"
#include "shared/GlyphButton.h"

namespace tq {

class TFORM_kamen : public tlb::TForm {
 public:
  explicit TFORM_kamen(tlb::TComponent* AOwner);
  ~TFORM_kamen() override;
  const char* ClassName() const override { return "TFORM_kamen"; }

  tlb::TImage *hrdina_vlevo, *hrdina_vpravo;
  tlb::TImage *dite_poz1, *dite_poz1a, *dite_poz2, *dite_poz2a, *dite_poz3, *dite_poz3a, *dite_poz4;
  tlb::TImage *mys_poz1, *mys_poz1a, *mys_poz2, *mys_poz2a, *mys_poz3, *mys_poz3a, *mys_poz4;
  tlb::TPanel *pan_kamen, *pan_nuzky, *pan_papir, *oddeleni;
  TGlyphButton *btn_kamen, *btn_nuzky, *btn_papir, *BTN_Konec;
  tlb::TLabel *lbl_spatne, *lbl_dvojtecka, *lbl_dobre;
  tlb::TImage *pohar_tumfik, *pohar_dite, *stit;
  tlb::TListBox* playlist;
  tlb::TMediaPlayer *WavPlayer, *MIDIPlayer;
  tlb::TImage *roh_LH, *roh_PH, *roh_LD, *roh_PD;
  tlb::TTimer *starter, *playlist_tracker, *wavspoustec, *uvodni_blikajici_ikony, *Midi_spoustec, *delay_tq,
      *blikatko_s_poharem;

  void FormCreate(tlb::TObject* Sender);
  void FormCloseQuery(tlb::TObject* Sender, bool& CanClose);
  void FormDestroy(tlb::TObject* Sender);
  void FormKeyDown(tlb::TObject* Sender, uint16_t& Key, tlb::TShiftState Shift);
  void starterTimer(tlb::TObject* Sender);
  void playlist_trackerTimer(tlb::TObject* Sender);
  void wavspoustecTimer(tlb::TObject* Sender);
  void uvodni_blikajici_ikonyTimer(tlb::TObject* Sender);
  void Midi_spoustecTimer(tlb::TObject* Sender);
  void btn_kamenMouseEnter(tlb::TObject* Sender);
  void btn_nuzkyMouseEnter(tlb::TObject* Sender);
  void btn_papirMouseEnter(tlb::TObject* Sender);
  void BTN_KonecMouseEnter(tlb::TObject* Sender);
  void btn_papirMouseExit(tlb::TObject* Sender);
  void stitClick(tlb::TObject* Sender);
  void BTN_KonecClick(tlb::TObject* Sender);
  // The round (kamen_round.cpp).
  void btn_kamenClick(tlb::TObject* Sender);
  void delay_tqTimer(tlb::TObject* Sender);
  void blikatko_s_poharemTimer(tlb::TObject* Sender);
  void hrdina_vlevoClick(tlb::TObject* Sender);

  TSpeechQueue& Speech() { return *speech_; }

 private:
  void StopSpeechQueue();
  void StopIconBlinking();
  void QueueFile(const std::string& fileName) { speech_->Queue(fileName); }
  void ShowIntroPictures(int step);
  void PlayRound();
  void Shake(int firstWait);
  void Clap();
  void TickDelay(int ticks);
  tlb::TImage* BoyPose(int sign, bool winning) const;
  tlb::TImage* MousePose(int sign, bool winning) const;
  tlb::TPanel* PanelOf(int sign) const;
  TGlyphButton* ButtonOf(int sign) const;

  std::unique_ptr<TSpeechQueue> speech_;
};

extern TFORM_kamen* FORM_kamen;

// A figure shows a pose: a copy of the holder's picture, to whose size it grows.
void ShowPose(tlb::TImage* figure, tlb::TImage* holder);

// The unit-level state of the form. It outlives the form: an opened form keeps
// what its creation and introduction do not reset.
struct KamenState : SpeechQueueFlags {
  uint8_t KeyCode = 0;         // 65 after creation, 27 after Esc, 0 from the start of a round
  int HoverHint = 0;           // the button under the pointer: 1..3 the choices, 9 the end button
  uint8_t PlayerChoice = 0;    // the child's sign in the running round, 0 between rounds
  bool PlayerWon = false;      // the result of the last round; both false is a draw
  bool ComputerWon = false;
  int PlayerWins = 0;          // rounds won by the child
  int ComputerWins = 0;        // rounds won by the mouse
  int DelayTicks = 0;          // the limit of the running tick delay
};
KamenState& KamenUnit();
// A fresh program run starts with a fresh unit.
void ResetKamenUnit();

// Signs: 1 rock, 2 scissors, 3 paper. The mouse's sign from the runtime's generator.
int DrawComputerSign();
// 1 the child wins, -1 the mouse wins, 0 a draw.
int JudgeRound(int childSign, int computerSign);

}  // namespace tq
