#pragma once
// The shell both memory games stand on: the talking mouse and its introduction,
// the three blinking level buttons, the help and end buttons, the hover speech,
// the skip shield and Esc, the countdown and the clock, the tick-delay waits,
// the music loop and the close. Each game derives its form from it, adds its
// own components and rules, and keeps the shell's state in its own unit.
#include <cstdint>
#include <string>

#include "games/src/kim_round.h"
#include "platform/media/media_player.h"
#include "platform/ui/form_reader.h"
#include "platform/ui/forms.h"
#include "platform/ui/stdctrls.h"
#include "platform/ui/timer.h"
#include "shared/AVI_delp.h"
#include "shared/GlyphButton.h"

namespace tq {

// The state a game's unit keeps for the whole program run; a new form resets only
// what its create handler and its introduction reset.
struct KimShellState {
  int32_t GridSize = 0;        // n of the current or last round
  bool GameRunning = false;    // the search phase runs
  bool RoundBusy = false;      // a round is being started; level clicks are ignored
  bool ClickBusy = false;      // a card click is being judged
  uint8_t KeyCode = 0;         // 27 once Esc or a skip click was seen
  bool SkipRequested = false;  // skip the narration in progress
  bool Closing = false;        // the end was asked for; never cleared again by the form
  int32_t DelayTicks = 0;      // limit of the running tick-delay wait
  int32_t HoverHint = 0;       // button under the pointer: 1, 2, 3 level, 8 help, 9 end
  int32_t ElapsedSeconds = 0;
  int32_t GoodCount = 0;
  int32_t BadCount = 0;
};

// What differs between the two games' shells.
struct KimShellConfig {
  const char* formResource;   // "form_kim1.dfm"
  const char* introWave;      // "\zvuky\k1_uvod.wav"
  const char* musicFile;      // "\hudba\kim1.mid"
  const char* musicMissing;   // message when the music cannot be opened after the introduction
  const char* taskWave;       // the task spoken before the countdown
};

class TKimShell : public tlb::TForm {
 public:
  TKimShell(tlb::TComponent* AOwner, KimShellState& state, KimRoundData& round, const KimShellConfig& config);

  // Shared by both forms.
  tlb::TImage *kim_11, *kim_12, *kim_13, *kim_14, *kim_21, *kim_22, *kim_23, *kim_24;
  tlb::TImage *kim_31, *kim_32, *kim_33, *kim_34, *kim_41, *kim_42, *kim_43, *kim_44;
  TGlyphButton *btn_hra2x2, *btn_hra3x3, *btn_hra4x4, *btn_help, *BTN_Konec;
  TAVI_orvo1* mluvici_mys;
  tlb::TImage *stit, *img_time, *img_ok, *img_bad;
  tlb::TLabel *lbl_cas, *lbl_dobre, *lbl_spatne;
  tlb::TImage *Image00, *roh_LH, *roh_PH, *roh_LD, *roh_PD;
  tlb::TPanel* oddeleni;
  tlb::TMediaPlayer *MIDIPlayer, *WavPlayer;
  tlb::TTimer *starter, *wav_spoustec, *uvodni_blikajici_ikony, *pocitac_casu, *odpocet_timer, *delay_tq,
      *Midi_spoustec;

  void FormCreate(tlb::TObject* Sender);
  void FormShow(tlb::TObject* Sender);
  void FormKeyPress(tlb::TObject* Sender, char& Key);
  void FormCloseQuery(tlb::TObject* Sender, bool& CanClose);
  void FormDestroy(tlb::TObject* Sender);
  void startertimerTimer(tlb::TObject* Sender);
  void wav_spoustecTimer(tlb::TObject* Sender);
  void uvodni_blikajici_ikonyTimer(tlb::TObject* Sender);
  void pocitac_casuTimer(tlb::TObject* Sender);
  void odpocet_timerTimer(tlb::TObject* Sender);
  void delay_tqTimer(tlb::TObject* Sender);
  void Midi_spoustecTimer(tlb::TObject* Sender);
  void btn_hra2x2Click(tlb::TObject* Sender);
  void btn_hra3x3Click(tlb::TObject* Sender);
  void btn_hra4x4Click(tlb::TObject* Sender);
  void BTN_KonecClick(tlb::TObject* Sender);
  void btn_hra2x2MouseEnter(tlb::TObject* Sender);
  void btn_hra3x3MouseEnter(tlb::TObject* Sender);
  void btn_hra4x4MouseEnter(tlb::TObject* Sender);
  void btn_helpMouseEnter(tlb::TObject* Sender);
  void BTN_KonecMouseEnter(tlb::TObject* Sender);
  void BTN_KonecMouseExit(tlb::TObject* Sender);
  void stitClick(tlb::TObject* Sender);

  // The card kim_<c><r>, found by its name; nullptr when there is none.
  tlb::TImage* Card(int c, int r) const;

 protected:
  // The column and row a card's Tag names; card 11 (with the message) when it names none.
  static void CardPlace(tlb::TObject* sender, int& c, int& r);
  // The shell's handlers, offered to the form description by their names.
  void BindShellHandlers(tlb::HandlerTable& h);
  // Reads the description and fetches the shell's components; the form then fetches its own.
  void LoadShell(const tlb::HandlerTable& h);

  // The round of the game: lays out the cards, memorising phase, search phase.
  virtual void StartRound(int n) = 0;
  // How the level click calls StartRound (the first game guards it).
  virtual void CallStartRound(int n) { StartRound(n); }
  // A level click the game refuses besides a round being started.
  virtual bool LevelRefused(int) const { return false; }
  // FormCreate: the reseed of the first game, before anything else is drawn.
  virtual void CreateSeed() {}
  // FormCreate: the game's own placements, pictures and draws, after the countdown frames.
  virtual void CreateOwn() {}
  // The clock's extra work, before the second is counted.
  virtual void ClockTickOwn() {}
  // The memorising phase's own steps: hiding at its start, after the countdown, at its end.
  virtual void MemorizeHideOwn() {}
  virtual void MemorizeCountdownOverOwn() {}
  virtual void MemorizeEndOwn() {}

  // Waits n+1 ticks of 100 ms, pumping messages; Esc, a skip click and the close end it early.
  void TickDelay(int n);
  // Stops WavPlayer if it is playing; a failure is passed over.
  void StopPlayingNarration();
  // The narration through WavPlayer while the mouse moves its mouth; ends with the wave or on a skip.
  void TalkingMouseSpeech(const std::string& file, bool freshSkip);
  // The pause, the spoken task and the countdown before a round's search phase.
  void MemorizePhase();
  void StopIconBlinking();
  // A round's start: the counts and their pictures go, the level buttons show their
  // glyphs and the mouse hides.
  void HideRoundScreen();
  void SetLevelButtonsVisible(bool visible);
  // Enables the level buttons other than the one of GridSize.
  void EnableOtherLevels();
  void ResetCounts();

  KimShellState& S;
  KimRoundData& R;
  const KimShellConfig& config;

 private:
  void LevelClick(int n);
  void Hover(int hint);
};

}  // namespace tq
