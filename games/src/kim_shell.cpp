#include "games/src/kim_shell.h"

#include "platform/core/cp1250.h"
#include "platform/core/sysutils.h"
#include "platform/ui/dialogs.h"
#include "shared/FormLook.h"
#include "shared/GlyphCtls.h"
#include "shared/MouseNarration.h"
#include "shared/Technic2.h"

namespace tq {

using namespace tlb;

namespace {

// The names the hover speech gives the buttons, by HoverHint; the same in both games.
const char* HoverWave(int hint) {
  switch (hint) {
    case 1: return "\\zvuky\\k1_lo.WAV";
    case 2: return "\\zvuky\\k1_med.WAV";
    case 3: return "\\zvuky\\k1_high.WAV";
    case 8: return "\\zvuky\\iko_help.WAV";
    case 9: return "\\zvuky\\iko_kon.WAV";
    default: return nullptr;
  }
}

std::string TwoDigits(int v) { return (v < 10 ? "0" : "") + IntToStr(v); }

}  // namespace

TKimShell::TKimShell(TComponent* AOwner, KimShellState& state, KimRoundData& round, const KimShellConfig& cfg)
    : TForm(AOwner), S(state), R(round), config(cfg) {
  RegisterAviDelpClasses();
  RegisterGlyphClasses();
}

void TKimShell::BindShellHandlers(HandlerTable& h) {
  TLB_HANDLER(h, FormCreate);
  TLB_HANDLER(h, FormShow);
  TLB_HANDLER(h, FormKeyPress);
  TLB_HANDLER(h, FormCloseQuery);
  TLB_HANDLER(h, FormDestroy);
  TLB_HANDLER(h, startertimerTimer);
  TLB_HANDLER(h, wav_spoustecTimer);
  TLB_HANDLER(h, uvodni_blikajici_ikonyTimer);
  TLB_HANDLER(h, pocitac_casuTimer);
  TLB_HANDLER(h, odpocet_timerTimer);
  TLB_HANDLER(h, delay_tqTimer);
  TLB_HANDLER(h, Midi_spoustecTimer);
  TLB_HANDLER(h, btn_hra2x2Click);
  TLB_HANDLER(h, btn_hra3x3Click);
  TLB_HANDLER(h, btn_hra4x4Click);
  TLB_HANDLER(h, BTN_KonecClick);
  TLB_HANDLER(h, btn_hra2x2MouseEnter);
  TLB_HANDLER(h, btn_hra3x3MouseEnter);
  TLB_HANDLER(h, btn_hra4x4MouseEnter);
  TLB_HANDLER(h, btn_helpMouseEnter);
  TLB_HANDLER(h, BTN_KonecMouseEnter);
  TLB_HANDLER(h, BTN_KonecMouseExit);
  TLB_HANDLER(h, stitClick);
}

void TKimShell::LoadShell(const HandlerTable& h) {
  LoadFormDescription(this, config.formResource, h);
  TLB_COMPONENT(kim_11);
  TLB_COMPONENT(kim_12);
  TLB_COMPONENT(kim_13);
  TLB_COMPONENT(kim_14);
  TLB_COMPONENT(kim_21);
  TLB_COMPONENT(kim_22);
  TLB_COMPONENT(kim_23);
  TLB_COMPONENT(kim_24);
  TLB_COMPONENT(kim_31);
  TLB_COMPONENT(kim_32);
  TLB_COMPONENT(kim_33);
  TLB_COMPONENT(kim_34);
  TLB_COMPONENT(kim_41);
  TLB_COMPONENT(kim_42);
  TLB_COMPONENT(kim_43);
  TLB_COMPONENT(kim_44);
  TLB_COMPONENT(btn_hra2x2);
  TLB_COMPONENT(btn_hra3x3);
  TLB_COMPONENT(btn_hra4x4);
  TLB_COMPONENT(btn_help);
  TLB_COMPONENT(BTN_Konec);
  TLB_COMPONENT(mluvici_mys);
  TLB_COMPONENT(stit);
  TLB_COMPONENT(img_time);
  TLB_COMPONENT(img_ok);
  TLB_COMPONENT(img_bad);
  TLB_COMPONENT(lbl_cas);
  TLB_COMPONENT(lbl_dobre);
  TLB_COMPONENT(lbl_spatne);
  TLB_COMPONENT(Image00);
  TLB_COMPONENT(roh_LH);
  TLB_COMPONENT(roh_PH);
  TLB_COMPONENT(roh_LD);
  TLB_COMPONENT(roh_PD);
  TLB_COMPONENT(oddeleni);
  TLB_COMPONENT(MIDIPlayer);
  TLB_COMPONENT(WavPlayer);
  TLB_COMPONENT(starter);
  TLB_COMPONENT(wav_spoustec);
  TLB_COMPONENT(uvodni_blikajici_ikony);
  TLB_COMPONENT(pocitac_casu);
  TLB_COMPONENT(odpocet_timer);
  TLB_COMPONENT(delay_tq);
  TLB_COMPONENT(Midi_spoustec);
}

TImage* TKimShell::Card(int c, int r) const { return dynamic_cast<TImage*>(FindComponent(CardName(c, r))); }

void TKimShell::CardPlace(TObject* sender, int& c, int& r) {
  auto* card = dynamic_cast<TComponent*>(sender);
  int tag = card ? card->Tag : 0;
  c = tag / 10;
  r = tag % 10;
  if (c < 1 || c > 4 || r < 1 || r > 4) {
    ShowMessage(Cz("Nelze zaměřit pozici karty. Vnitřní chyba."));
    c = 1;
    r = 1;
  }
}

// ---- creation and introduction ----

void TKimShell::FormCreate(TObject*) {
  DoubleBuffered = true;
  S.Closing = false;
  CreateSeed();
  S.HoverHint = 0;
  // Corner pictures: navy shows through on the bottom-left one; all four go on narrow screens.
  SetupCornerPictures(roh_LH, roh_PH, roh_PD, roh_LD, 0x800000);
  lbl_cas->SetCaption("");
  stit->SetTop(0);
  stit->SetLeft(0);
  S.ClickBusy = false;
  try {
    mluvici_mys->SetFileName(DataDir() + "\\animace\\mys_mluv.avi");
  } catch (const std::exception&) {
    ShowMessage("Nenalezena animace mluviciho mysaka...");
  }
  // The countdown frames and the idle clock; a picture that fails leaves its holder empty.
  for (int k = 0; k <= 15; ++k) {
    try {
      auto* holder = dynamic_cast<TImage*>(FindComponent("Image" + IntToStr(k)));
      if (holder) holder->Picture().LoadFromFile(DataDir() + "\\obrazky\\wait_" + TwoDigits(k) + ".bmp");
    } catch (const std::exception&) {
    }
  }
  try {
    Image00->Picture().LoadFromFile(DataDir() + "\\obrazky\\hodiny.bmp");
  } catch (const std::exception&) {
  }
  CreateOwn();
  try {
    if (MusicOn()) {
      MIDIPlayer->FileName = DataDir() + config.musicFile;
      MIDIPlayer->Close();
      MIDIPlayer->Open();
    }
  } catch (const std::exception&) {
    ShowMessage("Nenalez soubor s hudbou:" + DataDir() + config.musicFile);
  }
  starter->SetEnabled(true);
}

void TKimShell::FormShow(TObject*) {}

void TKimShell::startertimerTimer(TObject*) {
  starter->SetEnabled(false);
  S.GameRunning = false;
  Screen->SetCursor(crDefault);
  StopWave();
  S.SkipRequested = false;
  stit->SetVisible(true);
  TalkingMouseSpeech(config.introWave, true);
  stit->SetVisible(false);
  uvodni_blikajici_ikony->SetEnabled(true);
  lbl_dobre->SetCaption("0");
  lbl_spatne->SetCaption("0");
  lbl_cas->SetCaption("00:00");
  S.ElapsedSeconds = 0;
  S.GoodCount = 0;
  S.BadCount = 0;
  S.HoverHint = 0;
  S.RoundBusy = false;
  S.GameRunning = false;
  S.KeyCode = 0;
  Application->ProcessMessages();
  Midi_spoustec->SetEnabled(false);
  Repaint();
  for (int i = 0; i < 6; ++i) Application->ProcessMessages();
  SetLevelButtonsVisible(true);
  BTN_Konec->SetVisible(true);
  oddeleni->SetVisible(true);
  if (MusicOn()) {
    try {
      MIDIPlayer->FileName = DataDir() + config.musicFile;
      MIDIPlayer->Close();
      MIDIPlayer->Open();
    } catch (const std::exception&) {
      ShowMessage(config.musicMissing);
    }
  }
  SetLevelButtonsVisible(true);
  BTN_Konec->SetVisible(true);
  Midi_spoustec->SetEnabled(true);
}

// ---- waits ----

void TKimShell::TickDelay(int n) {
  S.DelayTicks = n;
  delay_tq->SetEnabled(true);
  PumpUntil([this] { return !delay_tq->Enabled() || S.KeyCode == 27; });
  S.KeyCode = 0;
}

void TKimShell::TalkingMouseSpeech(const std::string& file, bool freshSkip) {
  StartMouseNarration(WavPlayer, mluvici_mys, DataDir() + file, "Nenalez soubor s uvodem:");
  if (freshSkip) S.SkipRequested = false;
  // An exception from any of the three waits ends the waiting.
  try {
    PumpUntil([this] { return WavPlayer->Mode() != mpOpen || S.SkipRequested; });
    PumpUntil([this] { return WavPlayer->Mode() != mpSeeking || S.SkipRequested; });
    // Re-activating the clip on every pass restarts it whenever it has run out,
    // so the mouth moves for as long as the wave plays.
    bool first = true;
    PumpUntil([&] {
      if (!first && (WavPlayer->Mode() != mpPlaying || S.SkipRequested)) return true;
      first = false;
      mluvici_mys->SetActive(true);
      return false;
    });
  } catch (const std::exception&) {
  }
  S.SkipRequested = false;
  StopMouseNarration(WavPlayer, mluvici_mys);
}

void TKimShell::StopPlayingNarration() {
  try {
    if (WavPlayer->Mode() == mpPlaying) WavPlayer->Stop();
  } catch (const std::exception&) {
  }
}

void TKimShell::MemorizePhase() {
  pocitac_casu->SetEnabled(false);
  odpocet_timer->Tag = S.GridSize == 2 ? 15 : S.GridSize == 3 ? 30 : 45;
  lbl_cas->SetCaption(IntToStr(odpocet_timer->Tag));
  stit->SetHeight(479);
  SetLevelButtonsVisible(false);
  btn_help->SetVisible(false);
  MemorizeHideOwn();
  BTN_Konec->SetVisible(false);
  stit->SetVisible(true);
  img_time->SetVisible(true);
  lbl_cas->SetVisible(true);
  TickDelay(8);
  PlayWave(DataDir() + config.taskWave, 1);
  odpocet_timer->SetEnabled(true);
  PumpUntil([this] { return !odpocet_timer->Enabled(); });
  MemorizeCountdownOverOwn();
  lbl_cas->SetVisible(false);
  img_time->Picture().Assign(&Image00->Picture());
  stit->SetVisible(false);
  MemorizeEndOwn();
}

// ---- timers ----

void TKimShell::wav_spoustecTimer(TObject*) {
  if (S.Closing) {
    Close();
    return;
  }
  TGlyphButton* levels[] = {btn_hra2x2, btn_hra3x3, btn_hra4x4};
  for (int n = 2; n <= 4; ++n) levels[n - 2]->SetEnabled(!(S.GameRunning && S.GridSize == n));
  try {
    if (WavPlayer->Mode() == mpPlaying) return;  // no name over a narration
  } catch (const std::exception&) {
  }
  try {
    wav_spoustec->Tag = wav_spoustec->Tag + 1;
    if (S.HoverHint == 0) {
      wav_spoustec->Tag = 0;
      return;
    }
    if (wav_spoustec->Tag > 5 && WaveOn()) {
      TCursor saved = Screen->Cursor();
      Screen->SetCursor(crHourGlass);
      try {
        if (const char* wave = HoverWave(S.HoverHint)) PlayWave(DataDir() + wave, 17);
      } catch (const std::exception&) {
      }
      S.HoverHint = 0;
      Screen->SetCursor(saved);
    }
  } catch (const std::exception&) {
  }
}

void TKimShell::uvodni_blikajici_ikonyTimer(TObject*) {
  uvodni_blikajici_ikony->Tag = uvodni_blikajici_ikony->Tag == 0 ? 1 : 0;
  TButtonDisplayMode mode = uvodni_blikajici_ikony->Tag == 1 ? dmGlyphOnly : dmTextOnly;
  btn_hra2x2->SetDisplayMode(mode);
  btn_hra3x3->SetDisplayMode(mode);
  btn_hra4x4->SetDisplayMode(mode);
}

void TKimShell::pocitac_casuTimer(TObject*) {
  if (!S.GameRunning || S.Closing) return;
  ClockTickOwn();
  S.ElapsedSeconds += 1;
  lbl_cas->SetCaption(TwoDigits(S.ElapsedSeconds / 60) + ":" + TwoDigits(S.ElapsedSeconds % 60));
}

void TKimShell::odpocet_timerTimer(TObject*) {
  if (S.Closing) {
    odpocet_timer->SetEnabled(false);
    return;
  }
  if (S.KeyCode == 27) {
    odpocet_timer->SetEnabled(false);
    S.KeyCode = 0;
    return;
  }
  int tag = odpocet_timer->Tag - 1;
  odpocet_timer->Tag = tag;
  if (tag < 0 || tag > 45) odpocet_timer->SetEnabled(false);
  lbl_cas->SetCaption(IntToStr(tag));
  int k = S.GridSize == 2 ? tag : S.GridSize == 3 ? tag / 2 : tag / 3;
  if (auto* frame = dynamic_cast<TImage*>(FindComponent("Image" + IntToStr(k))))
    img_time->Picture().Assign(&frame->Picture());
  if (tag == 0) odpocet_timer->SetEnabled(false);
}

void TKimShell::delay_tqTimer(TObject*) {
  if (S.Closing) {
    delay_tq->SetEnabled(false);
    return;
  }
  delay_tq->Tag = delay_tq->Tag + 1;
  if (delay_tq->Tag > S.DelayTicks) {
    delay_tq->SetEnabled(false);
    delay_tq->Tag = 0;
  }
}

void TKimShell::Midi_spoustecTimer(TObject*) {
  if (!MusicOn()) return;
  try {
    if (MIDIPlayer->Mode() == mpStopped) MIDIPlayer->Play();
  } catch (const std::exception&) {
  }
}

// ---- buttons ----

void TKimShell::LevelClick(int n) {
  if (S.RoundBusy || LevelRefused(n)) return;
  S.RoundBusy = true;
  S.GameRunning = false;
  S.GridSize = n;
  PlayWave(DataDir() + "\\zvuky\\kim_go.wav", 1);
  CallStartRound(S.GridSize);
  S.ElapsedSeconds = 0;
  S.GoodCount = 0;
  S.BadCount = 0;
  lbl_dobre->SetCaption("0");
  lbl_spatne->SetCaption("0");
  lbl_cas->SetCaption("");
  img_time->SetVisible(true);
  lbl_cas->SetVisible(true);
  btn_help->SetVisible(true);
  pocitac_casu->SetEnabled(true);
  S.KeyCode = 0;
}

void TKimShell::btn_hra2x2Click(TObject*) { LevelClick(2); }
void TKimShell::btn_hra3x3Click(TObject*) { LevelClick(3); }
void TKimShell::btn_hra4x4Click(TObject*) { LevelClick(4); }

void TKimShell::BTN_KonecClick(TObject*) {
  Midi_spoustec->SetEnabled(false);
  Application->ProcessMessages();
  Application->ProcessMessages();
  S.Closing = true;
  Close();
}

void TKimShell::StopIconBlinking() {
  uvodni_blikajici_ikony->SetEnabled(false);
  btn_hra2x2->SetDisplayMode(dmGlyphOnly);
  btn_hra3x3->SetDisplayMode(dmGlyphOnly);
  btn_hra4x4->SetDisplayMode(dmGlyphOnly);
}

void TKimShell::Hover(int hint) { S.HoverHint = hint; }

void TKimShell::btn_hra2x2MouseEnter(TObject*) {
  StopIconBlinking();
  Hover(1);
}
void TKimShell::btn_hra3x3MouseEnter(TObject*) {
  StopIconBlinking();
  Hover(2);
}
void TKimShell::btn_hra4x4MouseEnter(TObject*) {
  StopIconBlinking();
  Hover(3);
}
void TKimShell::btn_helpMouseEnter(TObject*) { Hover(8); }
void TKimShell::BTN_KonecMouseEnter(TObject*) { Hover(9); }
void TKimShell::BTN_KonecMouseExit(TObject*) { Hover(0); }

void TKimShell::HideRoundScreen() {
  lbl_dobre->SetVisible(false);
  lbl_spatne->SetVisible(false);
  img_bad->SetVisible(false);
  img_ok->SetVisible(false);
  btn_hra2x2->SetDisplayMode(dmGlyphOnly);
  btn_hra3x3->SetDisplayMode(dmGlyphOnly);
  btn_hra4x4->SetDisplayMode(dmGlyphOnly);
  mluvici_mys->SetVisible(false);
}

void TKimShell::SetLevelButtonsVisible(bool visible) {
  btn_hra2x2->SetVisible(visible);
  btn_hra3x3->SetVisible(visible);
  btn_hra4x4->SetVisible(visible);
}

void TKimShell::EnableOtherLevels() {
  btn_hra2x2->SetEnabled(S.GridSize != 2);
  btn_hra3x3->SetEnabled(S.GridSize != 3);
  btn_hra4x4->SetEnabled(S.GridSize != 4);
}

void TKimShell::ResetCounts() {
  lbl_spatne->SetCaption("0");
  S.BadCount = 0;
  lbl_dobre->SetCaption("0");
  S.GoodCount = 0;
  lbl_dobre->SetVisible(true);
  lbl_spatne->SetVisible(true);
  img_bad->SetVisible(true);
  img_ok->SetVisible(true);
}

// ---- skip, keys and the close ----

void TKimShell::stitClick(TObject*) {
  S.KeyCode = 27;
  S.SkipRequested = true;
}

void TKimShell::FormKeyPress(TObject*, char& Key) {
  if (Key == 27) {
    S.KeyCode = 27;
    S.SkipRequested = true;
  }
}

void TKimShell::FormCloseQuery(TObject*, bool&) {
  Midi_spoustec->SetEnabled(false);
  StopWave();
  try {
    WavPlayer->Stop();
  } catch (const std::exception&) {
  }
  try {
    MIDIPlayer->Stop();
  } catch (const std::exception&) {
  }
}

void TKimShell::FormDestroy(TObject*) {
  if (!MusicOn()) return;
  try {
    Midi_spoustec->SetEnabled(false);
    MIDIPlayer->Stop();
    MIDIPlayer->Close();
  } catch (const std::exception&) {
  }
}

}  // namespace tq
