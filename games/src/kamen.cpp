#include "games/src/kamen.h"

#include "platform/core/cp1250.h"
#include "platform/core/exceptions.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/form_reader.h"
#include "platform/ui/randomize.h"
#include "shared/GlyphCtls.h"
#include "shared/Technic2.h"

namespace tq {

using namespace tlb;

TFORM_kamen* FORM_kamen = nullptr;

namespace {

KamenState state;

const char* const kBoyPictures[7] = {"\\obrazky\\kluk_1.bmp",  "\\obrazky\\kluk_1a.bmp", "\\obrazky\\kluk_2.bmp",
                                     "\\obrazky\\kluk_2a.bmp", "\\obrazky\\kluk_3.bmp",  "\\obrazky\\kluk_3a.bmp",
                                     "\\obrazky\\kluk_4.bmp"};
const char* const kMousePictures[7] = {"\\obrazky\\mysak_1.bmp",  "\\obrazky\\mysak_1a.bmp", "\\obrazky\\mysak_2.bmp",
                                       "\\obrazky\\mysak_2a.bmp", "\\obrazky\\mysak_3.bmp",  "\\obrazky\\mysak_3a.bmp",
                                       "\\obrazky\\mysak_4.bmp"};

}  // namespace

KamenState& KamenUnit() { return state; }
void ResetKamenUnit() { state = KamenState{}; }

void ShowPose(TImage* figure, TImage* holder) { figure->Picture().Assign(&holder->Picture()); }

TFORM_kamen::TFORM_kamen(TComponent* AOwner) : TForm(AOwner) {
  RegisterGlyphClasses();
  ClassRegistry::Instance().RegisterClass("TFORM_kamen", "TForm", nullptr);
  FORM_kamen = this;
  HandlerTable h;
  TLB_HANDLER(h, FormCreate);
  TLB_HANDLER(h, FormCloseQuery);
  TLB_HANDLER(h, FormDestroy);
  TLB_HANDLER(h, FormKeyDown);
  TLB_HANDLER(h, starterTimer);
  TLB_HANDLER(h, playlist_trackerTimer);
  TLB_HANDLER(h, wavspoustecTimer);
  TLB_HANDLER(h, uvodni_blikajici_ikonyTimer);
  TLB_HANDLER(h, Midi_spoustecTimer);
  TLB_HANDLER(h, btn_kamenMouseEnter);
  TLB_HANDLER(h, btn_nuzkyMouseEnter);
  TLB_HANDLER(h, btn_papirMouseEnter);
  TLB_HANDLER(h, BTN_KonecMouseEnter);
  TLB_HANDLER(h, btn_papirMouseExit);
  TLB_HANDLER(h, stitClick);
  TLB_HANDLER(h, BTN_KonecClick);
  TLB_HANDLER(h, btn_kamenClick);
  TLB_HANDLER(h, delay_tqTimer);
  TLB_HANDLER(h, blikatko_s_poharemTimer);
  TLB_HANDLER(h, hrdina_vlevoClick);
  LoadFormDescription(this, "FORM_kamen.dfm", h);
  TLB_COMPONENT(hrdina_vlevo);
  TLB_COMPONENT(hrdina_vpravo);
  TLB_COMPONENT(dite_poz1);
  TLB_COMPONENT(dite_poz1a);
  TLB_COMPONENT(dite_poz2);
  TLB_COMPONENT(dite_poz2a);
  TLB_COMPONENT(dite_poz3);
  TLB_COMPONENT(dite_poz3a);
  TLB_COMPONENT(dite_poz4);
  TLB_COMPONENT(mys_poz1);
  TLB_COMPONENT(mys_poz1a);
  TLB_COMPONENT(mys_poz2);
  TLB_COMPONENT(mys_poz2a);
  TLB_COMPONENT(mys_poz3);
  TLB_COMPONENT(mys_poz3a);
  TLB_COMPONENT(mys_poz4);
  TLB_COMPONENT(pan_kamen);
  TLB_COMPONENT(pan_nuzky);
  TLB_COMPONENT(pan_papir);
  TLB_COMPONENT(oddeleni);
  TLB_COMPONENT(btn_kamen);
  TLB_COMPONENT(btn_nuzky);
  TLB_COMPONENT(btn_papir);
  TLB_COMPONENT(BTN_Konec);
  TLB_COMPONENT(lbl_spatne);
  TLB_COMPONENT(lbl_dvojtecka);
  TLB_COMPONENT(lbl_dobre);
  TLB_COMPONENT(pohar_tumfik);
  TLB_COMPONENT(pohar_dite);
  TLB_COMPONENT(stit);
  TLB_COMPONENT(playlist);
  TLB_COMPONENT(WavPlayer);
  TLB_COMPONENT(MIDIPlayer);
  TLB_COMPONENT(roh_LH);
  TLB_COMPONENT(roh_PH);
  TLB_COMPONENT(roh_LD);
  TLB_COMPONENT(roh_PD);
  TLB_COMPONENT(starter);
  TLB_COMPONENT(playlist_tracker);
  TLB_COMPONENT(wavspoustec);
  TLB_COMPONENT(uvodni_blikajici_ikony);
  TLB_COMPONENT(Midi_spoustec);
  TLB_COMPONENT(delay_tq);
  TLB_COMPONENT(blikatko_s_poharem);
  speech_ = std::make_unique<TSpeechQueue>(playlist, WavPlayer, state);
  DoCreate();
}

TFORM_kamen::~TFORM_kamen() {
  if (FORM_kamen == this) FORM_kamen = nullptr;
}

void TFORM_kamen::FormCreate(TObject*) {
  Randomize();
  DoubleBuffered = true;
  playlist->Items().Clear();
  // Corner pictures: navy shows through on the bottom-left one; narrow screens lose the bottom two.
  roh_LD->Picture().Bitmap()->SetTransparentColor(clNavy);
  if (Screen->Width() < 641) {
    roh_LD->SetVisible(false);
    roh_PD->SetVisible(false);
  }
  try {
    if (MusicOn() && MidiAllowed()) {
      MIDIPlayer->FileName = DataDir() + "\\hudba\\kamen.mid";
      MIDIPlayer->Close();
      MIDIPlayer->Open();
    }
  } catch (const Exception&) {
    ShowMessage("Nelze nalezt hudbu pro kamen, nuzky, papir...");
  }
  state.PlayerWins = 0;
  lbl_dobre->SetCaption("0");
  state.ComputerWins = 0;
  lbl_spatne->SetCaption("0");
  state.KeyCode = 65;
  state.Closing = false;
  for (int sign = 1; sign <= 3; ++sign) {
    PanelOf(sign)->SetColor(clGreen);
    ButtonOf(sign)->SetCursor(7);
  }
  TImage* holders[14] = {dite_poz1, dite_poz1a, dite_poz2, dite_poz2a, dite_poz3, dite_poz3a, dite_poz4,
                         mys_poz1,  mys_poz1a,  mys_poz2,  mys_poz2a,  mys_poz3,  mys_poz3a,  mys_poz4};
  for (int i = 0; i < 14; ++i) {
    // A picture that cannot be read leaves its holder empty: that pose shows nothing.
    try {
      holders[i]->Picture().LoadFromFile(DataDir() + (i < 7 ? kBoyPictures[i] : kMousePictures[i - 7]));
    } catch (const Exception&) {
    }
  }
  state.HoverHint = 0;
  state.PlayerChoice = 0;
  state.IntroStep = 0;
  state.QueueBusy = false;
  stit->SetBounds(0, 0, 639, 479);
  stit->SetVisible(true);
  Screen->SetCursor(crDefault);
}

void TFORM_kamen::StopSpeechQueue() { speech_->Stop(); }

void TFORM_kamen::playlist_trackerTimer(TObject*) { speech_->Tick(); }

void TFORM_kamen::ShowIntroPictures(int step) {
  struct Pair {
    TImage *boy, *mouse;
  };
  Pair p{nullptr, nullptr};
  switch (step) {
    case 2: p = {dite_poz1, mys_poz1}; break;
    case 3: p = {dite_poz3, mys_poz3}; break;
    case 4: p = {dite_poz2, mys_poz2}; break;
    case 5: p = {dite_poz4, mys_poz4}; break;
    case 6: p = {dite_poz1, mys_poz3a}; break;
    case 7: p = {dite_poz3, mys_poz2a}; break;
    case 8: p = {dite_poz1a, mys_poz2}; break;
    case 9: p = {dite_poz1, mys_poz1}; break;
    default: return;  // before the second file and after the ninth the figures stay
  }
  ShowPose(hrdina_vpravo, p.boy);
  ShowPose(hrdina_vlevo, p.mouse);
}

void TFORM_kamen::starterTimer(TObject*) {
  // A tick that comes before the form shows (inside a message box of its creation)
  // waits for the next one, so that the introduction plays on the shown form.
  if (!Showing()) return;
  starter->SetEnabled(false);
  Midi_spoustec->SetEnabled(true);
  ShowPose(hrdina_vpravo, dite_poz4);
  ShowPose(hrdina_vlevo, mys_poz4);
  state.IntroStep = 0;
  StopSpeechQueue();
  for (int i = 1; i <= 9; ++i) QueueFile("knp_uv" + std::to_string(i) + ".wav");
  playlist_tracker->SetEnabled(true);
  state.SkipRequested = false;
  // Runs until the ninth file has been started and has ended, or a skip or the end.
  int shownStep = -1;
  bool notPlaying = true;
  auto alive = AliveToken();
  auto showStep = [&] {
    if (state.IntroStep == shownStep) return;
    shownStep = state.IntroStep;
    ShowIntroPictures(shownStep);
  };
  showStep();
  PumpUntil([&] {
    if (alive.expired()) return true;
    try {
      notPlaying = WavPlayer->Mode() != mpPlaying;
    } catch (const Exception&) {
    }
    if (state.Closing || state.SkipRequested || (state.IntroStep >= 9 && notPlaying)) return true;
    showStep();
    return false;
  });
  if (alive.expired()) return;
  ShowPose(hrdina_vpravo, dite_poz1);
  ShowPose(hrdina_vlevo, mys_poz1);
  StopSpeechQueue();
  // After a skip the closing words are still said.
  if (state.SkipRequested && state.IntroStep < 9) QueueFile("knp_uv9.wav");
  state.SkipRequested = false;
  stit->SetVisible(false);
  for (TControl* c : std::initializer_list<TControl*>{BTN_Konec, oddeleni, btn_kamen, btn_nuzky, btn_papir,
                                                      lbl_spatne, lbl_dobre, lbl_dvojtecka})
    c->SetVisible(true);
  uvodni_blikajici_ikony->SetEnabled(true);
}

void TFORM_kamen::btn_kamenMouseEnter(TObject*) {
  state.HoverHint = 1;
  StopIconBlinking();
}

void TFORM_kamen::btn_nuzkyMouseEnter(TObject*) {
  state.HoverHint = 2;
  StopIconBlinking();
}

void TFORM_kamen::btn_papirMouseEnter(TObject*) {
  state.HoverHint = 3;
  StopIconBlinking();
}

void TFORM_kamen::BTN_KonecMouseEnter(TObject*) { state.HoverHint = 9; }

void TFORM_kamen::btn_papirMouseExit(TObject*) { state.HoverHint = 0; }

void TFORM_kamen::wavspoustecTimer(TObject*) {
  if (state.Closing) Close();
  // The count pauses while the queue speaks, so a name never talks over it.
  if (speech_->Speaking()) return;
  wavspoustec->Tag = wavspoustec->Tag + 1;
  if (state.HoverHint == 0) {
    wavspoustec->Tag = 0;
    return;
  }
  if (wavspoustec->Tag > 5 && WaveOn()) {
    const char* name = state.HoverHint == 1   ? "\\zvuky\\knp_k.WAV"
                       : state.HoverHint == 2 ? "\\zvuky\\knp_n.WAV"
                       : state.HoverHint == 3 ? "\\zvuky\\knp_p.WAV"
                                              : "\\zvuky\\iko_kon.WAV";
    TCursor saved = Screen->Cursor();
    Screen->SetCursor(crHourGlass);
    try {
      PlayWave(DataDir() + name, 17);
    } catch (const Exception&) {
    }
    state.HoverHint = 0;
    Screen->SetCursor(saved);
  }
}

void TFORM_kamen::uvodni_blikajici_ikonyTimer(TObject*) {
  uvodni_blikajici_ikony->Tag = uvodni_blikajici_ikony->Tag == 0 ? 1 : 0;
  TButtonDisplayMode mode = uvodni_blikajici_ikony->Tag == 1 ? dmGlyphOnly : dmTextOnly;
  for (int sign = 1; sign <= 3; ++sign) ButtonOf(sign)->SetDisplayMode(mode);
}

void TFORM_kamen::StopIconBlinking() {
  uvodni_blikajici_ikony->SetEnabled(false);
  for (int sign = 1; sign <= 3; ++sign) ButtonOf(sign)->SetDisplayMode(dmGlyphOnly);
}

void TFORM_kamen::Midi_spoustecTimer(TObject*) {
  if (!MusicOn() || !MidiAllowed()) return;
  try {
    if (MIDIPlayer->Mode() == mpStopped) MIDIPlayer->Play();
  } catch (const Exception&) {
  }
}

void TFORM_kamen::FormKeyDown(TObject*, uint16_t& Key, TShiftState) {
  if (Key != 27) return;
  state.KeyCode = 27;
  state.SkipRequested = true;
}

void TFORM_kamen::stitClick(TObject*) { state.SkipRequested = true; }

void TFORM_kamen::BTN_KonecClick(TObject*) {
  state.HoverHint = 0;
  state.Closing = true;
  Screen->SetCursor(crDefault);
  Close();
}

void TFORM_kamen::FormCloseQuery(TObject*, bool&) {
  for (TControl* c : std::initializer_list<TControl*>{hrdina_vpravo, hrdina_vlevo, btn_kamen, btn_nuzky, btn_papir,
                                                      oddeleni, pan_kamen, pan_nuzky, pan_papir})
    c->SetVisible(false);
  Repaint();
  Application->ProcessMessages();
  try {
    StopSpeechQueue();
    StopWave();
  } catch (const Exception&) {
  }
  wavspoustec->Tag = 0;
  wavspoustec->SetEnabled(false);
  try {
    Midi_spoustec->SetEnabled(false);
    MIDIPlayer->Stop();
  } catch (const Exception&) {
  }
}

void TFORM_kamen::FormDestroy(TObject*) {
  if (!MusicOn() || !MidiAllowed()) return;
  try {
    Midi_spoustec->SetEnabled(false);
    MIDIPlayer->Stop();
    MIDIPlayer->Close();
  } catch (const Exception&) {
  }
}

}  // namespace tq
