#include "rhymes/src/lym_main.h"

#include "platform/core/cp1250.h"
#include "platform/core/sysutils.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/form_reader.h"
#include "platform/ui/randomize.h"
#include "shared/FormLook.h"
#include "shared/GlyphCtls.h"
#include "shared/MouseNarration.h"
#include "shared/Technic2.h"
#include "shared/pozadi.h"

namespace tq {

using namespace tlb;

TFORM_Lymbal* FORM_Lymbal = nullptr;

namespace {

std::unique_ptr<LymbalState> state = std::make_unique<LymbalState>();

// How the rhymes form differs from the singing form: nine lines, and a coloured
// count that takes in the blank each line begins with.
constexpr KaraokeDisplaySettings kRhymeDisplay{9, 1, false};

}  // namespace

LymbalState& LymbalUnit() { return *state; }
void ResetLymbalUnit() { state = std::make_unique<LymbalState>(); }

TFORM_Lymbal::TFORM_Lymbal(TComponent* AOwner) : TForm(AOwner) {
  RegisterAviDelpClasses();
  RegisterGlyphClasses();
  RegisterBarevnyTextClass();
  ClassRegistry::Instance().RegisterClass("TFORM_Lymbal", "TForm", nullptr);
  FORM_Lymbal = this;
  display_ = std::make_unique<KaraokeDisplay>(this, state->Text, kRhymeDisplay);
  HandlerTable h;
  TLB_HANDLER(h, FormCreate);
  TLB_HANDLER(h, FormShow);
  TLB_HANDLER(h, FormKeyPress);
  TLB_HANDLER(h, FormCloseQuery);
  TLB_HANDLER(h, spoustecTimer);
  TLB_HANDLER(h, wavspoustecTimer);
  TLB_HANDLER(h, uvodni_blikajici_ikonyTimer);
  TLB_HANDLER(h, Midi_spoustecTimer);
  TLB_HANDLER(h, timer_pro_podbarvovaniTimer);
  TLB_HANDLER(h, stitClick);
  TLB_HANDLER(h, mluvici_mysClick);
  TLB_HANDLER(h, btn_konecClick);
  TLB_HANDLER(h, btn_1Click);
  TLB_HANDLER(h, btn_2Click);
  TLB_HANDLER(h, btn_3Click);
  TLB_HANDLER(h, btn_4Click);
  TLB_HANDLER(h, btn_5Click);
  TLB_HANDLER(h, btn_6Click);
  TLB_HANDLER(h, btn_1MouseEnter);
  TLB_HANDLER(h, btn_2MouseEnter);
  TLB_HANDLER(h, btn_3MouseEnter);
  TLB_HANDLER(h, btn_4MouseEnter);
  TLB_HANDLER(h, btn_5MouseEnter);
  TLB_HANDLER(h, btn_6MouseEnter);
  TLB_HANDLER(h, btn_konecMouseEnter);
  TLB_HANDLER(h, btn_2MouseExit);
  LoadFormDescription(this, "FORM_Lymbal.dfm", h);
  TLB_COMPONENT(wait_image);
  TLB_COMPONENT(stit);
  TLB_COMPONENT(sipka);
  for (int k = 1; k <= 8; ++k) FindInto(this, "ksicht_" + IntToStr(k), ksicht[k]);
  TLB_COMPONENT(roh_LH);
  TLB_COMPONENT(roh_PH);
  TLB_COMPONENT(roh_PD);
  TLB_COMPONENT(roh_LD);
  TLB_COMPONENT(mluvici_mys);
  TLB_COMPONENT(mysakPlayer);
  TLB_COMPONENT(MIDIPlayer);
  TLB_COMPONENT(wavplayer);
  // The recording is long and the karaoke follows its heard position: it needs
  // no quick start, and an output with long blocks costs a sound server less.
  wavplayer->QuickStart = false;
  TLB_COMPONENT(box_s_textem);
  TLB_COMPONENT(text_0);
  TLB_COMPONENT(lbl_snimek);
  for (int k = 1; k <= 6; ++k) FindInto(this, "btn_" + IntToStr(k), btn[k]);
  TLB_COMPONENT(btn_konec);
  TLB_COMPONENT(oddeleni);
  TLB_COMPONENT(spoustec);
  TLB_COMPONENT(wavspoustec);
  TLB_COMPONENT(uvodni_blikajici_ikony);
  TLB_COMPONENT(Midi_spoustec);
  TLB_COMPONENT(timer_pro_podbarvovani);
  // At rest after the introduction only the blinking icons and the music's loop
  // have something to do: the other timers sleep through their ticks. Until then
  // they tick: the introduction's waiting loop looks at the narration after each.
  timer_pro_podbarvovani->SetQuietWhile([this] { return IntroductionOver() && ColouringAtRest(); });
  wavspoustec->SetQuietWhile([this] { return IntroductionOver() && AnnouncingAtRest(); });
  Midi_spoustec->SetQuietWhile([this] { return IntroductionOver() && MusicLoopAtRest(); });
  DoCreate();
}

TFORM_Lymbal::~TFORM_Lymbal() {
  // The quiet tests read members of this form, which go before its timers do.
  for (TTimer* t : {timer_pro_podbarvovani, wavspoustec, Midi_spoustec})
    if (t) t->SetQuietWhile({});
  if (FORM_Lymbal == this) FORM_Lymbal = nullptr;
}

void TFORM_Lymbal::FormCreate(TObject*) {
  Screen->SetCursor(crHourGlass);
  DoubleBuffered = true;
  // Corner pictures: the form's green shows through; narrow screens have no room for them.
  roh_LD->Picture().Bitmap()->SetTransparentColor(0x008000);
  if (Screen->Width() < 641) {
    roh_LH->SetVisible(false);
    roh_PH->SetVisible(false);
    roh_PD->SetVisible(false);
    roh_LD->SetVisible(false);
  }
  stit->SetBounds(0, 0, stit->Width(), stit->Height());
  Randomize();
  state->WasPlaying = 0;
  state->SkipRequested = 0;
  state->Closing = 0;
  PrepareFaces();
  ResetFaces();
  state->EndSoundPending = 1;
  try {
    mluvici_mys->SetFileName(DataDir() + "\\animace\\mys_mluv.avi");
  } catch (const std::exception&) {
    ShowMessage("Nenalezena animace mluviciho mysaka...");
  }
  LoadArrows();
  TurnArrow(uint8_t(Random(79999) / 10000 + 1), false);
  text_0->SetCaption("");
  display_->ClearLines();
  OpenBackgroundMusic();
  for (int k = 1; k <= 6; ++k) btn[k]->SetDisplayMode(dmTextOnly);
  SetupCursors();
  Screen->SetCursor(crDefault);
}

void TFORM_Lymbal::OpenBackgroundMusic() {
  if (!MusicOn()) return;
  const std::string path = DataDir() + "\\hudba\\lymbal.mid";
  try {
    MIDIPlayer->FileName = path;
    MIDIPlayer->Close();
    MIDIPlayer->Open();
  } catch (const std::exception&) {
    ShowMessage("Nenalez soubor s hudbou:" + path);
  }
}

void TFORM_Lymbal::SetupCursors() {
  try {
    // "sipka2" is not among the resources: its slot stays empty.
    RegisterFormCursors();
  } catch (const std::exception&) {
  }
}

void TFORM_Lymbal::FormShow(TObject*) {
  // The introduction runs once, 200 ms after the form first shows.
  if (spoustec->Tag == 111) {
    spoustec->Tag = 222;
    spoustec->SetEnabled(true);
  }
}

void TFORM_Lymbal::spoustecTimer(TObject*) {
  if (spoustec->Tag == 111) return;
  spoustec->Tag = 0;
  spoustec->SetEnabled(false);
  wait_image->SetVisible(false);

  StartMouseNarration(mysakPlayer, mluvici_mys, DataDir() + "\\zvuky\\r_uvod1.wav", "Nenalez soubor s uvodem:");

  // The narration plays while the messages are pumped: Esc and the shield's click
  // skip it, the faces appear 8 s into it and the arrow at 12 s. A player without
  // a device, or a mouth clip that cannot run, ends the waiting at once.
  try {
    state->SkipRequested = 0;
    PumpUntil([&] { return !(mysakPlayer->Mode() == mpOpen && !state->SkipRequested); });
    PumpUntil([&] { return !(mysakPlayer->Mode() == mpSeeking && !state->SkipRequested); });
    bool started = false;
    int position = 0;
    PumpUntil([&] {
      if (started) {
        if (position >= 8000 && position <= 9000 && !ksicht[1]->Visible()) {
          for (int k = 1; k <= 8; ++k) ksicht[k]->SetVisible(true);
        } else if (position >= 12000 && position <= 13000 && !sipka->Visible()) {
          sipka->SetVisible(true);
        }
        if (mysakPlayer->Mode() != mpPlaying || state->SkipRequested) return true;
      }
      started = true;
      // The one-pass mouth clip starts again whenever it has ended.
      mluvici_mys->SetActive(true);
      position = mysakPlayer->Position();
      return false;  // pump once, then look at the position read before it
    });
  } catch (const std::exception&) {
  }

  state->SkipRequested = 0;
  StopMouseNarration(mysakPlayer, mluvici_mys);
  sipka->SetVisible(true);
  btn_konec->SetVisible(true);
  oddeleni->SetVisible(true);
  for (int k = 1; k <= 6; ++k) btn[k]->SetVisible(true);
  for (int k = 1; k <= 8; ++k) ksicht[k]->SetVisible(true);
  state->BlinkIcons = 1;
  uvodni_blikajici_ikony->SetEnabled(true);
  stit->SetVisible(false);
}

void TFORM_Lymbal::stitClick(TObject*) { state->SkipRequested = 1; }

void TFORM_Lymbal::FormKeyPress(TObject*, char& Key) {
  if (Key == '/') lbl_snimek->SetVisible(!lbl_snimek->Visible());
  else if (Key == 27) state->SkipRequested = 1;
}

void TFORM_Lymbal::uvodni_blikajici_ikonyTimer(TObject*) {
  if (!state->BlinkIcons) {
    uvodni_blikajici_ikony->SetEnabled(false);
    return;
  }
  uvodni_blikajici_ikony->Tag = uvodni_blikajici_ikony->Tag == 0 ? 1 : 0;
  const TButtonDisplayMode mode = uvodni_blikajici_ikony->Tag == 1 ? dmGlyphOnly : dmTextOnly;
  for (int k = 1; k <= 6; ++k) btn[k]->SetDisplayMode(mode);
}

void TFORM_Lymbal::StopIconBlinking() {
  uvodni_blikajici_ikony->SetEnabled(false);
  for (int k = 1; k <= 6; ++k) {
    btn[k]->SetDisplayMode(dmGlyphOnly);
    btn[k]->SetVisible(true);
  }
}

void TFORM_Lymbal::HoverEnter(int32_t button) {
  state->HoveredButton = button;
  StopIconBlinking();
}

void TFORM_Lymbal::btn_1MouseEnter(TObject*) { HoverEnter(1); }
void TFORM_Lymbal::btn_2MouseEnter(TObject*) { HoverEnter(2); }
void TFORM_Lymbal::btn_3MouseEnter(TObject*) { HoverEnter(3); }
void TFORM_Lymbal::btn_4MouseEnter(TObject*) { HoverEnter(4); }
void TFORM_Lymbal::btn_5MouseEnter(TObject*) { HoverEnter(5); }
void TFORM_Lymbal::btn_6MouseEnter(TObject*) { HoverEnter(6); }
void TFORM_Lymbal::btn_konecMouseEnter(TObject*) { HoverEnter(7); }
void TFORM_Lymbal::btn_2MouseExit(TObject*) { state->HoveredButton = 0; }

bool TFORM_Lymbal::RhymePlaying() const {
  try {
    return wavplayer->Mode() == mpPlaying;
  } catch (const std::exception&) {
    return false;
  }
}

void TFORM_Lymbal::wavspoustecTimer(TObject*) {
  // Nothing is announced while a rhyme plays, and the count stands still.
  if (RhymePlaying()) return;
  try {
    // The mouse keeps talking while the help or the end narration plays.
    if (btn[3]->Visible() && mysakPlayer->Mode() == mpPlaying) mluvici_mys->SetActive(true);
  } catch (const std::exception&) {
  }
  if (state->HoveredButton == 0) {
    wavspoustec->Tag = 0;
    return;
  }
  if (state->HoveredButton == state->AnnouncedButton) return;
  wavspoustec->Tag = wavspoustec->Tag + 1;
  if (wavspoustec->Tag <= 6) return;
  state->AnnouncedButton = state->HoveredButton;
  wavspoustec->Tag = 0;
  try {
    if (!RhymePlaying() && WaveOn()) {
      const TCursor saved = Screen->Cursor();
      Screen->SetCursor(crHourGlass);
      const std::string name = state->HoveredButton == 7 ? "\\zvuky\\iko_kon.WAV"
                                                         : "\\zvuky\\iko_p" + IntToStr(state->HoveredButton) + ".WAV";
      PlayWave(DataDir() + name, 1);
      Screen->SetCursor(saved);
    }
  } catch (const std::exception&) {
  }
}

// The rhyme buttons come when the introduction ends, and stay.
bool TFORM_Lymbal::IntroductionOver() const { return btn[3]->Visible(); }

bool TFORM_Lymbal::AnnouncingAtRest() const {
  const LymbalState& s = LymbalUnit();
  // While a narration plays the tick keeps the mouse talking; one starts only on
  // this thread.
  if (btn[3]->Visible() && mysakPlayer->Mode() == mpPlaying) return false;
  return s.HoveredButton == 0 ? wavspoustec->Tag == 0 : s.HoveredButton == s.AnnouncedButton;
}

void TFORM_Lymbal::mluvici_mysClick(TObject*) {
  // The help: only once the introduction is over and while no rhyme plays.
  if (!btn[3]->Visible() || RhymePlaying()) return;
  StopWave();
  StartMouseNarration(mysakPlayer, mluvici_mys, DataDir() + "\\zvuky\\r_help1.wav", "Nenalez soubor s helpem:");
}

void TFORM_Lymbal::Midi_spoustecTimer(TObject*) {
  // Play at the end of the file starts it again: the music loops.
  try {
    if (MIDIPlayer->Mode() == mpStopped) MIDIPlayer->Play();
  } catch (const std::exception&) {
  }
}

// A playing file may end at any moment and a stopped one is started: only a
// player with nothing open, or paused, leaves the tick nothing to do.
bool TFORM_Lymbal::MusicLoopAtRest() const {
  const TMPModes mode = MIDIPlayer->Mode();
  return mode != mpStopped && mode != mpPlaying;
}

void TFORM_Lymbal::btn_konecClick(TObject*) {
  state->SkipRequested = 1;
  state->Closing = 1;
  Screen->SetCursor(crHourGlass);
  Close();
  Screen->SetCursor(crDefault);
}

void TFORM_Lymbal::FormCloseQuery(TObject*, bool&) {
  try {
    timer_pro_podbarvovani->SetEnabled(false);
  } catch (const std::exception&) {
  }
  if (MusicOn()) {
    try {
      Midi_spoustec->SetEnabled(false);
      MIDIPlayer->Stop();
      MIDIPlayer->Close();
    } catch (const std::exception&) {
    }
  }
  Screen->SetCursor(crHourGlass);
  try {
    if (FORMPozadi) FORMPozadi->Release();
  } catch (const std::exception&) {
    ShowMessage("TQ2 - fumbame si: Nelze uvolnit pozadi aplikace...");
  }
}

}  // namespace tq
