// The rhymes form's karaoke player: the six rhyme buttons, the loading of a
// rhyme's text and recording, and the 50 ms tick that colours the syllables
// and notices the end of the recording.
#include "platform/core/cp1250.h"
#include "platform/core/sysutils.h"
#include "platform/ui/dialogs.h"
#include "rhymes/src/lym_main.h"
#include "shared/Technic2.h"

namespace tq {

using namespace tlb;

void TFORM_Lymbal::ParseKaraokeText() {
  LymbalUnit().Text.Parse(box_s_textem->Items(), [](const std::string& message) { ShowMessage(message); });
}

void TFORM_Lymbal::ShowWholeText() { display_->ShowWholeText(); }

void TFORM_Lymbal::HighlightSyllables(int32_t position) {
  // Each syllable coloured on a display line moves the arrow one face on.
  display_->HighlightSyllables(position, [this](const tslovo&) { TurnArrow(0, true); });
}

void TFORM_Lymbal::timer_pro_podbarvovaniTimer(TObject*) {
  LymbalState& s = LymbalUnit();
  if (s.Closing) Close();
  try {
    if (wavplayer->Mode() == mpPlaying) {
      lbl_snimek->SetCaption(IntToStr(wavplayer->Position()) + "/" + IntToStr(wavplayer->Length()));
      s.WasPlaying = 1;
      HighlightSyllables(wavplayer->Position());
    } else {
      if (s.WasPlaying == 1) {
        s.WasPlaying = 0;
        RhymeEnd();
      }
      ShowWholeText();
    }
  } catch (const std::exception&) {
    // The next tick tries again.
  }
}

bool TFORM_Lymbal::ColouringAtRest() const {
  const LymbalState& s = LymbalUnit();
  // A recording starts only on this thread; its end is noticed by the ticks,
  // which run while WasPlaying says it played.
  return !s.Closing && !s.WasPlaying && wavplayer->Mode() != mpPlaying && display_->ShowsWholeText();
}

void TFORM_Lymbal::RhymeButtonClick(uint8_t N) {
  LymbalState& s = LymbalUnit();
  if (s.CurrentRhyme == N) {
    try {
      if (wavplayer->Mode() != mpStopped) {
        // The playing rhyme's button stops it at its beginning; the next tick ends the rhyme.
        wavplayer->Stop();
        wavplayer->Rewind();
        s.Text.ClearDone();
        return;
      }
    } catch (const std::exception&) {
    }
  }
  s.CurrentRhyme = N;
  LoadRhyme(N);
  s.BlinkIcons = 0;
  for (int k = 1; k <= 6; ++k) {
    btn[k]->SetVisible(true);
    btn[k]->SetDisplayMode(dmGlyphOnly);
  }
  try {
    wavplayer->Play();
  } catch (const std::exception&) {
  }
}

void TFORM_Lymbal::btn_1Click(TObject*) { RhymeButtonClick(1); }
void TFORM_Lymbal::btn_2Click(TObject*) { RhymeButtonClick(2); }
void TFORM_Lymbal::btn_3Click(TObject*) { RhymeButtonClick(3); }
void TFORM_Lymbal::btn_4Click(TObject*) { RhymeButtonClick(4); }
void TFORM_Lymbal::btn_5Click(TObject*) { RhymeButtonClick(5); }
void TFORM_Lymbal::btn_6Click(TObject*) { RhymeButtonClick(6); }

void TFORM_Lymbal::LoadRhyme(uint8_t N) {
  LymbalState& s = LymbalUnit();
  try {
    ResetFaces();
    StopIconBlinking();
    StopWave();
    box_s_textem->Items().LoadFromFile(DataDir() + "\\texty\\lym" + IntToStr(N) + ".syn");
    ParseKaraokeText();
    text_0->SetCaption(s.Text.KaraokeTitle);
    ShowWholeText();
  } catch (const std::exception&) {
    ShowMessage("Pri nahravani dat karaoke doslo k chybe - neni mozne prehrat lymbal...");
  }
  try {
    wavplayer->FileName = DataDir() + "\\zvuky\\lym" + IntToStr(s.CurrentRhyme) + ".wav";
    wavplayer->Close();
    wavplayer->Open();
  } catch (const std::exception&) {
    ShowMessage(Cz("chyba: soubor s lymbalem nelze otevřít..."));
  }
  try {
    if (mysakPlayer->Mode() == mpPlaying) mysakPlayer->Stop();
  } catch (const std::exception&) {
  }
  StopWave();
}

}  // namespace tq
