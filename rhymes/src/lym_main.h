#pragma once
// The rhymes program's one window: eight faces in a circle around an arrow, a
// talking mouse that introduces the program, and six buttons that each play a
// counting-out rhyme karaoke-style while the arrow counts the faces out.
#include <cstdint>
#include <memory>

#include "karaoke/BarevnyText.h"
#include "karaoke/karaoke_display.h"
#include "karaoke/karaoke_text.h"
#include "platform/media/media_player.h"
#include "platform/ui/forms.h"
#include "platform/ui/stdctrls.h"
#include "platform/ui/timer.h"
#include "shared/AVI_delp.h"
#include "shared/GlyphButton.h"

namespace tq {

// The unit-level state of the rhymes form; a program run starts with a fresh one.
struct LymbalState {
  // The karaoke text read last: 100 entries, 99 syllables and the empty entry.
  KaraokeText Text{100};
  uint8_t CurrentRhyme = 0;  // the rhyme started last, 1..6; 0 before the first
  uint8_t WasPlaying = 0;    // the recording played at the last tick
  uint8_t SkipRequested = 0;
  uint8_t Closing = 0;  // the end button asked to close; never cleared
  int32_t HoveredButton = 0;    // 1..6 the rhyme buttons, 7 the end button, 0 none
  int32_t AnnouncedButton = 0;  // the button whose name was spoken last
  uint8_t BlinkIcons = 0;
  // The count-out: the face picture at positions 1..8, the face the arrow points at.
  uint8_t FaceOrder[8] = {};
  uint8_t ArrowPosition = 0;
  uint8_t EndSoundPending = 0;  // until the end narration has been started once
};
LymbalState& LymbalUnit();
void ResetLymbalUnit();

// The six fixed orders in which the face pictures are dealt to positions 1..8.
extern const uint8_t kFaceOrders[6][8];

class TFORM_Lymbal : public tlb::TForm {
 public:
  explicit TFORM_Lymbal(tlb::TComponent* AOwner);
  ~TFORM_Lymbal() override;
  const char* ClassName() const override { return "TFORM_Lymbal"; }

  tlb::TImage *wait_image, *stit, *sipka;
  tlb::TImage* ksicht[9] = {};  // ksicht_1 .. ksicht_8
  tlb::TImage *roh_LH, *roh_PH, *roh_PD, *roh_LD;
  TAVI_orvo1* mluvici_mys;
  tlb::TMediaPlayer *mysakPlayer, *MIDIPlayer, *wavplayer;
  tlb::TListBox* box_s_textem;
  TBarevnyText* text_0;
  tlb::TLabel* lbl_snimek;
  TGlyphButton* btn[7] = {};  // btn_1 .. btn_6
  TGlyphButton* btn_konec;
  tlb::TPanel* oddeleni;
  tlb::TTimer *spoustec, *wavspoustec, *uvodni_blikajici_ikony, *Midi_spoustec, *timer_pro_podbarvovani;

  void FormCreate(tlb::TObject* Sender);
  void FormShow(tlb::TObject* Sender);
  void FormKeyPress(tlb::TObject* Sender, char& Key);
  void FormCloseQuery(tlb::TObject* Sender, bool& CanClose);
  void spoustecTimer(tlb::TObject* Sender);
  void wavspoustecTimer(tlb::TObject* Sender);
  void uvodni_blikajici_ikonyTimer(tlb::TObject* Sender);
  void Midi_spoustecTimer(tlb::TObject* Sender);
  void timer_pro_podbarvovaniTimer(tlb::TObject* Sender);
  void stitClick(tlb::TObject* Sender);
  void mluvici_mysClick(tlb::TObject* Sender);
  void btn_konecClick(tlb::TObject* Sender);
  void btn_1Click(tlb::TObject* Sender);
  void btn_2Click(tlb::TObject* Sender);
  void btn_3Click(tlb::TObject* Sender);
  void btn_4Click(tlb::TObject* Sender);
  void btn_5Click(tlb::TObject* Sender);
  void btn_6Click(tlb::TObject* Sender);
  void btn_1MouseEnter(tlb::TObject* Sender);
  void btn_2MouseEnter(tlb::TObject* Sender);
  void btn_3MouseEnter(tlb::TObject* Sender);
  void btn_4MouseEnter(tlb::TObject* Sender);
  void btn_5MouseEnter(tlb::TObject* Sender);
  void btn_6MouseEnter(tlb::TObject* Sender);
  void btn_konecMouseEnter(tlb::TObject* Sender);
  void btn_2MouseExit(tlb::TObject* Sender);

  KaraokeDisplay& Display() { return *display_; }

  // The karaoke display of the rhymes (lym_karaoke.cpp).
  void ParseKaraokeText();
  void ShowWholeText();
  void HighlightSyllables(int32_t position);
  void LoadRhyme(uint8_t N);

  // The count-out (lym_countout.cpp).
  void ResetFaces();
  void TurnArrow(uint8_t value, bool advance);
  void RhymeEnd();

  void StopIconBlinking();

 private:
  void RhymeButtonClick(uint8_t N);
  void HoverEnter(int32_t button);
  void PrepareFaces();
  void LoadArrows();
  void OpenBackgroundMusic();
  void SetupCursors();
  bool RhymePlaying() const;
  // When a tick of the colouring, announcing or music timer would change nothing.
  // A sound reaching its end on its own time can only begin such a rest; what ends
  // one (a click, a key, a sound started) happens on this thread, which is awake.
  bool IntroductionOver() const;
  bool ColouringAtRest() const;
  bool AnnouncingAtRest() const;
  bool MusicLoopAtRest() const;
  bool SetPictureFrom(tlb::TImage* target, const std::string& storeName);

  std::unique_ptr<KaraokeDisplay> display_;
};

extern TFORM_Lymbal* FORM_Lymbal;

}  // namespace tq
