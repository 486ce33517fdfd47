#include "shared/Technic2.h"

#include <limits>

#include "platform/core/cp1250.h"
#include "platform/core/exceptions.h"
#include "platform/core/paths.h"
#include "platform/core/registry.h"
#include "platform/core/sysutils.h"
#include "platform/media/playsound.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/forms.h"

namespace tq {

using namespace tlb;

namespace {

Technic2State& State() {
  static Technic2State state;
  return state;
}

const char* const kBaseKey = "Software\\Orvo Team\\TQ2";
const char* const kGeneralKey = "Software\\Orvo Team\\TQ2\\Nastaveni - obecne";
const char* const kGamesKey = "Software\\Orvo Team\\TQ2\\Nastaveni - Hry";
const char* const kOdklonKey = "Software\\Orvo Team\\TQ2\\Odklon";

std::string MarkerPath(const Technic2State& s) {
  return s.DataDir + (s.kind == ProgramKind::Games ? "\\zvuky" : "\\HUDBA");
}

void FindDataFolder(Technic2State& s) {
  s.DataDir = StripTrailingBackslash(ExtractFilePath(ParamStr0()));
  ChDir(s.DataDir.size() < 3 ? s.DataDir + "\\" : s.DataDir);
  if (DirectoryExists(MarkerPath(s))) return;
  Screen->SetCursor(crDefault);
  ShowErrorDialog(s.kind == ProgramKind::Games
                      ? Cz("Chyba umístění programu (nenalezen adresář ZVUKY) v místě programu tq2_poh.EXE.")
                      : Cz("Chyba umístění programu (nenalezen adresář HUDBA) v místě programu kvak32.EXE."));
  s.DataDir = InputBox(Cz("Umístění dat programu"), Cz("Prosím zadej plnou cestu k teto casti (CD-ROM):"), s.DataDir);
  s.DataDir = StripTrailingBackslash(s.DataDir);
  if (!DirectoryExists(MarkerPath(s)))
    ShowErrorDialog(Cz("Znovu nenalezeno. Program se nyní pokusí pokračovat, ale pravděpodobně nebude fungovat "
                       "správně..."));
}

void ReadSettings(Technic2State& s) {
  TRegistry reg;
  try {
    reg.CreateKey(kBaseKey);
    if (reg.OpenKey(kGeneralKey, true)) {
      // One guard for both volumes: if either read fails, both take their defaults.
      try {
        s.WavVolume = reg.ReadInteger("WAV HLASITOST");
        s.MidiVolume = reg.ReadInteger("MIDI HLASITOST");
      } catch (const Exception&) {
        s.WavVolume = 255;
        s.MidiVolume = 60;
      }
      reg.CloseKey();
    }
    if (reg.OpenKey(kGamesKey, true)) {
      try {
        s.LaunchCount = reg.ReadInteger("Hry_starty");
      } catch (const Exception&) {
        s.LaunchCount = 0;
      }
      reg.CloseKey();
    }
    if (reg.OpenKey(kOdklonKey, false)) {
      auto readString = [&reg](const char* name, std::string& into) {
        try {
          into = reg.ReadString(name);
        } catch (const Exception&) {
          into.clear();
        }
      };
      readString("ODKLON_x1", s.OdklonX1);
      readString("ODKLON_x2", s.OdklonX2);
      readString("ODKLON_x3", s.OdklonX3);
      reg.CloseKey();
    }
  } catch (const Exception&) {
    // A registry that cannot be used leaves the start values; the program goes on.
  }
}

// The launch counter with this run added: it stays at its largest value
// instead of overflowing.
int32_t WithThisRun(int32_t count) { return count < std::numeric_limits<int32_t>::max() ? count + 1 : count; }

}  // namespace

void AddThisRunToTheLaunchCount() {
  // Counted on from the value stored now, under the file's lock, so that runs
  // that overlap each add their own; the value read at start stays as it was
  // for the run.
  RegistryStore(RegistryStore::DefaultFolder()).Update([](RegistryData& data) {
    const RegistryValue* stored = data.FindValue(kGamesKey, "Hry_starty");
    const int32_t count =
        stored != nullptr && stored->type == RegistryType::Dword ? static_cast<int32_t>(stored->dword) : 0;
    data.SetValue(kGamesKey, "Hry_starty", RegistryValue::Dword(static_cast<uint32_t>(WithThisRun(count))));
  });
}

Technic2State& Technic2() { return State(); }
void ResetTechnic2() { State() = Technic2State{}; }
const std::string& DataDir() { return State().DataDir; }
bool MusicOn() { return State().MusicOn; }
bool WaveOn() { return State().WaveOn; }
bool MidiAllowed() { return State().MidiAllowed; }

std::string StripTrailingBackslash(std::string path) {
  if (path.size() > 2 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
  return path;
}

void Technic2Startup(ProgramKind kind) {
  Technic2State& s = State();
  s.kind = kind;
  s.WaveDevicePresent = true;
  s.MidiAllowed = true;
  FindDataFolder(s);
  if (kind == ProgramKind::Games) {
    s.OdklonX1.clear();
    s.OdklonX2.clear();
    s.OdklonX3.clear();
  }
  s.MusicOn = true;
  s.WaveOn = true;
  if (kind == ProgramKind::Games) {
    ReadSettings(s);
    s.LaunchCount = WithThisRun(s.LaunchCount);
  }
  if (waveOutGetNumDevs() == 0) {
    s.WaveOn = false;
    s.MusicOn = false;
    s.WaveDevicePresent = false;
    Screen->SetCursor(crDefault);
  }
}

void Technic2Shutdown() {
  Technic2State& s = State();
  if (s.kind == ProgramKind::Games) AddThisRunToTheLaunchCount();
  s.DataDir.clear();
  s.LastWaveName.clear();
}

void PlayWave(const std::string& fileName, int32_t flags) {
  Technic2State& s = State();
  if (!s.WaveDevicePresent || !s.WaveOn) return;
  s.LastWaveName = fileName;
  if (FileExists(fileName)) {
    // The whole name goes to the system: nothing is cut, whatever its length.
    PlaySound(fileName.c_str(), nullptr, unsigned(flags));
  } else {
    ShowErrorDialog(Cz("Nenalezen zvuk: ") + fileName);
  }
}

void StopWave() {
  if (State().WaveDevicePresent) PlaySound(nullptr, nullptr, 0);
}

}  // namespace tq
