#pragma once
// The singing form: one of four children's songs with its picture, its words as
// karaoke coloured shortly before each syllable is sung, buttons to switch song,
// to stop and restart it and to switch between the sung version and music only.
// It is made once at start-up, shown modally by the menu for the song in
// ChosenSong, and hidden (never freed) when its end button closes it.
#include <cstdint>
#include <memory>

#include "karaoke/BarevnyText.h"
#include "karaoke/karaoke_display.h"
#include "karaoke/karaoke_text.h"

#include "platform/media/media_player.h"
#include "platform/ui/forms.h"
#include "platform/ui/stdctrls.h"
#include "platform/ui/timer.h"
#include "shared/GlyphButton.h"

namespace tq::songs {

class TFORM_Fumbamesi : public tlb::TForm {
 public:
  explicit TFORM_Fumbamesi(tlb::TComponent* AOwner);
  const char* ClassName() const override { return "TFORM_Fumbamesi"; }

  tlb::TImage *wait_image, *podklad, *Image1, *Image2;
  TGlyphButton *btn_konec, *btn_1, *btn_2, *btn_3, *btn_4, *btn_hrej;
  tlb::TLabel* lbl_snimek;
  TBarevnyText* text_0;  // the title; the display lines text_1 to text_12 are found by name
  tlb::TImage *iko_pswap1, *iko_pswap2;
  tlb::TListBox* box_s_textem;
  tlb::TMediaPlayer* wavplayer;
  tlb::TTimer *Timer1, *spoustec, *wavspoustec;

  void FormCreate(tlb::TObject* Sender);
  void FormShow(tlb::TObject* Sender);
  void FormHide(tlb::TObject* Sender);
  void FormCloseQuery(tlb::TObject* Sender, bool& CanClose);
  void FormKeyPress(tlb::TObject* Sender, char& Key);
  void Timer1Timer(tlb::TObject* Sender);
  void spoustecTimer(tlb::TObject* Sender);
  void wavspoustecTimer(tlb::TObject* Sender);
  void btn_1Click(tlb::TObject* Sender);
  void btn_2Click(tlb::TObject* Sender);
  void btn_3Click(tlb::TObject* Sender);
  void btn_4Click(tlb::TObject* Sender);
  void btn_hrejClick(tlb::TObject* Sender);
  void btn_konecClick(tlb::TObject* Sender);
  void btn_1MouseEnter(tlb::TObject* Sender);
  void btn_2MouseEnter(tlb::TObject* Sender);
  void btn_3MouseEnter(tlb::TObject* Sender);
  void btn_4MouseEnter(tlb::TObject* Sender);
  void btn_hrejMouseEnter(tlb::TObject* Sender);
  void btn_konecMouseEnter(tlb::TObject* Sender);
  void btn_konecMouseExit(tlb::TObject* Sender);

 private:
  void ParseKaraokeText();
  void ShowWholeText();
  void HighlightSyllables(int32_t position);
  void SongButtonClick(uint8_t song);
  void LoadSong(uint8_t N);
  void OpenRecording(uint8_t N);

  std::unique_ptr<KaraokeDisplay> display_;
};

extern TFORM_Fumbamesi* FORM_Fumbamesi;

// The unit-level state of the singing form; it starts afresh with each program run.
struct SingingState {
  uint8_t ChosenSong = 0;   // written by the menu before each show: 1 to 4
  uint8_t CurrentSong = 0;  // the song started last; 0 before the first
  uint8_t SingingOn = 0;    // 1 the sung recording, 0 music only
  int HoveredButton = 0;    // 0 none, 1 to 4 the song buttons, 7 the switch, 9 the end button
  int AnnouncedButton = 0;  // the button whose name was spoken last; never reset
  // The song's karaoke text: 140 entries, so at most 139 syllables and the empty entry.
  KaraokeText Text{140};
};
SingingState& SingingUnit();

}  // namespace tq::songs
