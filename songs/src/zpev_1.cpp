#include "songs/src/zpev_1.h"

#include <string>

#include "platform/core/cp1250.h"
#include "platform/core/exceptions.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/form_reader.h"
#include "shared/GlyphCtls.h"
#include "shared/FormLook.h"
#include "shared/Technic2.h"

namespace tq::songs {

using namespace tlb;

TFORM_Fumbamesi* FORM_Fumbamesi = nullptr;

namespace {

SingingState state;

// The starter's Tag: armed and waiting for a show, or shown and due to start the song.
constexpr int kArmed = 111;
constexpr int kDue = 222;

// Twelve display lines; a line's coloured count is its coloured text's length, which
// so takes in the blank each line begins with; the lines are shown again at each show.
constexpr KaraokeDisplaySettings kSongDisplay{12, 0, true};

std::string SongFile(const char* folder, const char* prefix, int song, const char* suffix) {
  return DataDir() + "\\" + folder + "\\" + prefix + std::to_string(song) + suffix;
}

std::string RecordingFile(int song) { return SongFile("zvuky", "pis", song, state.SingingOn == 1 ? ".wav" : "a.wav"); }

// The file spoken after a rest on a button, by HoveredButton.
std::string ButtonName(int button) {
  if (button >= 1 && button <= 4) return DataDir() + "\\zvuky\\iko_z" + std::to_string(button) + ".WAV";
  if (button == 7) return DataDir() + (state.SingingOn == 1 ? "\\zvuky\\iko_zpe1.WAV" : "\\zvuky\\iko_zpe2.WAV");
  return DataDir() + "\\zvuky\\iko_kon.WAV";
}

}  // namespace

SingingState& SingingUnit() { return state; }

TFORM_Fumbamesi::TFORM_Fumbamesi(TComponent* AOwner) : TForm(AOwner) {
  // The form is made once per program run, so its unit starts afresh here.
  state = SingingState{};
  RegisterGlyphClasses();
  RegisterBarevnyTextClass();
  ClassRegistry::Instance().RegisterClass("TFORM_Fumbamesi", "TForm", nullptr);
  FORM_Fumbamesi = this;
  HandlerTable h;
  TLB_HANDLER(h, FormCreate);
  TLB_HANDLER(h, FormShow);
  TLB_HANDLER(h, FormHide);
  TLB_HANDLER(h, FormCloseQuery);
  TLB_HANDLER(h, FormKeyPress);
  TLB_HANDLER(h, Timer1Timer);
  TLB_HANDLER(h, spoustecTimer);
  TLB_HANDLER(h, wavspoustecTimer);
  TLB_HANDLER(h, btn_1Click);
  TLB_HANDLER(h, btn_2Click);
  TLB_HANDLER(h, btn_3Click);
  TLB_HANDLER(h, btn_4Click);
  TLB_HANDLER(h, btn_hrejClick);
  TLB_HANDLER(h, btn_konecClick);
  TLB_HANDLER(h, btn_1MouseEnter);
  TLB_HANDLER(h, btn_2MouseEnter);
  TLB_HANDLER(h, btn_3MouseEnter);
  TLB_HANDLER(h, btn_4MouseEnter);
  TLB_HANDLER(h, btn_hrejMouseEnter);
  TLB_HANDLER(h, btn_konecMouseEnter);
  TLB_HANDLER(h, btn_konecMouseExit);
  LoadFormDescription(this, "FORM_Fumbamesi.dfm", h);
  TLB_COMPONENT(wait_image);
  TLB_COMPONENT(podklad);
  TLB_COMPONENT(Image1);
  TLB_COMPONENT(Image2);
  TLB_COMPONENT(btn_konec);
  TLB_COMPONENT(btn_1);
  TLB_COMPONENT(btn_2);
  TLB_COMPONENT(btn_3);
  TLB_COMPONENT(btn_4);
  TLB_COMPONENT(btn_hrej);
  TLB_COMPONENT(lbl_snimek);
  TLB_COMPONENT(text_0);
  TLB_COMPONENT(iko_pswap1);
  TLB_COMPONENT(iko_pswap2);
  TLB_COMPONENT(box_s_textem);
  TLB_COMPONENT(wavplayer);
  // The recording is long and the karaoke follows its heard position: it needs
  // no quick start, and an output with long blocks costs a sound server less.
  wavplayer->QuickStart = false;
  TLB_COMPONENT(Timer1);
  TLB_COMPONENT(spoustec);
  TLB_COMPONENT(wavspoustec);
  display_ = std::make_unique<KaraokeDisplay>(this, state.Text, kSongDisplay);
  DoCreate();
}

void TFORM_Fumbamesi::FormCreate(TObject*) {
  Screen->SetCursor(crHourGlass);
  DoubleBuffered = true;
  // The bottom corners: green shows through; both go on narrow screens.
  TBitmap* corner = Image1->Picture().Bitmap();
  corner->SetTransparent(true);
  corner->SetTransparentColor(0x8000);
  if (Screen->Width() < 641) {
    Image1->SetVisible(false);
    Image2->SetVisible(false);
  }
  state.SingingOn = 1;
  text_0->SetCaption("");
  display_->ClearLines();
  // The switch's two glyphs; without them the switch shows an empty glyph.
  try {
    iko_pswap1->Picture().LoadFromFile(DataDir() + "\\obrazky\\iko_psw1.bmp");
    iko_pswap2->Picture().LoadFromFile(DataDir() + "\\obrazky\\iko_psw2.bmp");
  } catch (const std::exception&) {
  }
  try {
    RegisterFormCursors();
  } catch (const std::exception&) {
  }
  Screen->SetCursor(crDefault);
}

// Arms the starter at a show; its next tick starts the chosen song.
void TFORM_Fumbamesi::FormShow(TObject*) {
  if (spoustec->Tag == kArmed) {
    spoustec->Tag = kDue;
    spoustec->SetEnabled(true);
  }
}

void TFORM_Fumbamesi::spoustecTimer(TObject* Sender) {
  if (spoustec->Tag == kArmed) return;
  spoustec->Tag = 0;
  spoustec->SetEnabled(false);
  podklad->SetVisible(true);
  Timer1->SetEnabled(true);
  switch (state.ChosenSong) {
    case 1: btn_1Click(Sender); break;
    case 2: btn_2Click(Sender); break;
    case 3: btn_3Click(Sender); break;
    case 4: btn_4Click(Sender); break;
    default: break;
  }
}

// The current song's button stops a playing song at its start, and loads and plays a
// stopped one again; another song's button loads and plays that song.
void TFORM_Fumbamesi::SongButtonClick(uint8_t song) {
  if (state.CurrentSong == song) {
    try {
      if (wavplayer->Mode() != mpStopped) {
        // Stopped at its start: the next tick shows the whole text uncoloured.
        wavplayer->Stop();
        wavplayer->Rewind();
        state.Text.ClearDone();
        return;
      }
    } catch (const std::exception&) {
      // A recording closed at the last close: load the song afresh.
    }
  }
  state.CurrentSong = song;
  LoadSong(song);
  btn_hrej->SetVisible(true);
  try {
    wavplayer->Play();
  } catch (const std::exception&) {
  }
}

void TFORM_Fumbamesi::btn_1Click(TObject*) { SongButtonClick(1); }
void TFORM_Fumbamesi::btn_2Click(TObject*) { SongButtonClick(2); }
void TFORM_Fumbamesi::btn_3Click(TObject*) { SongButtonClick(3); }
void TFORM_Fumbamesi::btn_4Click(TObject*) { SongButtonClick(4); }

void TFORM_Fumbamesi::ParseKaraokeText() {
  state.Text.Parse(box_s_textem->Items(), [](const std::string& message) { ShowMessage(message); });
}

void TFORM_Fumbamesi::ShowWholeText() { display_->ShowWholeText(); }

void TFORM_Fumbamesi::HighlightSyllables(int32_t position) { display_->HighlightSyllables(position); }

void TFORM_Fumbamesi::OpenRecording(uint8_t N) {
  try {
    wavplayer->FileName = RecordingFile(N);
    wavplayer->Close();
    wavplayer->Open();
  } catch (const std::exception&) {
    ShowMessage(Cz("chyba: soubor s pisnickou nelze otevřít..."));
  }
}

// Each step has its own guard: a song without its text still plays, one without its
// recording still shows its words, and a missing picture leaves the previous one.
void TFORM_Fumbamesi::LoadSong(uint8_t N) {
  try {
    box_s_textem->Items().LoadFromFile(SongFile("texty", "pis", N, ".syn"));
    for (int k = 1; k <= kSongDisplay.DisplayLines; ++k)
      if (TBarevnyText* line = display_->Line(k)) line->SetAktivni_barva(N == 3 ? clYellow : clRed);
    ParseKaraokeText();
    text_0->SetCaption(state.Text.KaraokeTitle);
    ShowWholeText();
  } catch (const std::exception&) {
    ShowMessage("Pri nahravani dat karaoke doslo k chybe - neni mozne prehrat pisnicky...");
  }
  OpenRecording(N);
  try {
    podklad->Picture().LoadFromFile(SongFile("obrazky", "obr_p", N, ".bmp"));
  } catch (const std::exception&) {
    ShowMessage(Cz("chyba: obrazek k pisnicce nelze na disku otevřít..."));
  }
}

void TFORM_Fumbamesi::Timer1Timer(TObject*) {
  try {
    if (wavplayer->Mode() == mpPlaying) {
      lbl_snimek->SetCaption(std::to_string(wavplayer->Position()) + "/" + std::to_string(wavplayer->Length()));
      HighlightSyllables(wavplayer->Position());
    } else {
      // Nothing plays: the whole text, uncoloured.
      ShowWholeText();
    }
  } catch (const std::exception&) {
  }
}

// Switches between the sung recording and music only, and plays the current song from its
// beginning in the other version.
void TFORM_Fumbamesi::btn_hrejClick(TObject*) {
  state.SingingOn = uint8_t(1 - state.SingingOn);
  try {
    wavplayer->Stop();
    wavplayer->Rewind();
    state.Text.ClearDone();
  } catch (const std::exception&) {
  }
  // A text past the display's lines was reported when it was loaded; here its failure
  // must not keep the switch from playing the other version.
  try {
    ShowWholeText();
  } catch (const std::exception&) {
  }
  TImage* glyph = state.SingingOn == 1 ? iko_pswap1 : iko_pswap2;
  btn_hrej->Glyph()->Assign(*glyph->Picture().Bitmap());
  OpenRecording(state.CurrentSong);
  state.Text.ClearDone();
  try {
    wavplayer->Play();
  } catch (const std::exception&) {
  }
}

// Speaks the name of the button the pointer has rested on for 0.7 s, unless a song plays.
void TFORM_Fumbamesi::wavspoustecTimer(TObject*) {
  if (state.HoveredButton == 0) {
    wavspoustec->Tag = 0;
    return;
  }
  if (state.HoveredButton == state.AnnouncedButton) return;
  wavspoustec->Tag = wavspoustec->Tag + 1;
  if (wavspoustec->Tag <= 6) return;
  state.AnnouncedButton = state.HoveredButton;
  wavspoustec->Tag = 0;
  try {
    if (wavplayer->Mode() != mpPlaying && WaveOn()) {
      TCursor saved = Screen->Cursor();
      Screen->SetCursor(crHourGlass);
      try {
        PlayWave(ButtonName(state.HoveredButton), 17);
      } catch (const std::exception&) {
      }
      Screen->SetCursor(saved);
    }
  } catch (const std::exception&) {
  }
}

void TFORM_Fumbamesi::btn_1MouseEnter(TObject*) { state.HoveredButton = 1; }
void TFORM_Fumbamesi::btn_2MouseEnter(TObject*) { state.HoveredButton = 2; }
void TFORM_Fumbamesi::btn_3MouseEnter(TObject*) { state.HoveredButton = 3; }
void TFORM_Fumbamesi::btn_4MouseEnter(TObject*) { state.HoveredButton = 4; }
void TFORM_Fumbamesi::btn_hrejMouseEnter(TObject*) { state.HoveredButton = 7; }
void TFORM_Fumbamesi::btn_konecMouseEnter(TObject*) { state.HoveredButton = 9; }
void TFORM_Fumbamesi::btn_konecMouseExit(TObject*) { state.HoveredButton = 0; }

// Only the slash reaches the form, and only once a song has been started.
void TFORM_Fumbamesi::FormKeyPress(TObject*, char& Key) {
  if (btn_hrej->Visible() && Key == '/') lbl_snimek->SetVisible(!lbl_snimek->Visible());
}

void TFORM_Fumbamesi::btn_konecClick(TObject*) {
  Screen->SetCursor(crHourGlass);
  Close();
  Screen->SetCursor(crDefault);
}

// Stops and closes the recording, so the next show starts its song afresh.
void TFORM_Fumbamesi::FormCloseQuery(TObject*, bool&) {
  try {
    Timer1->SetEnabled(false);
    if (btn_hrej->Visible()) {
      if (wavplayer->Mode() == mpPlaying) wavplayer->Stop();
      wavplayer->Close();
    }
  } catch (const std::exception&) {
  }
  Screen->SetCursor(crHourGlass);
}

// Resets the display for the next show and re-arms the starter.
void TFORM_Fumbamesi::FormHide(TObject*) {
  spoustec->Tag = kArmed;
  spoustec->SetEnabled(true);
  text_0->SetVisible(false);
  text_0->SetCaption("");
  display_->ClearLines();
  state.Text.ClearAllDone();
  for (int k = 1; k <= kSongDisplay.DisplayLines; ++k)
    if (TBarevnyText* line = display_->Line(k)) line->SetVisible(false);
  podklad->SetVisible(false);
}

}  // namespace tq::songs
