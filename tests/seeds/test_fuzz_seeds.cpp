// The seed inputs of the fuzz targets (tests/fuzz/corpus/<target>/): small,
// well-formed files that take each fuzzer deep into its reader from the first
// input. Every committed seed must still be read without an error, or the
// fuzzer would start at the reader's first check again.
//
// TULIMBO_REWRITE_SEEDS=1 writes the seeds anew from the fixtures below (and
// the compiled-in cursors of the sample data generator) before checking them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/core/exceptions.h"
#include "platform/core/registry_store.h"
#include "platform/core/resources.h"
#include "platform/formats/avi_reader.h"
#include "platform/formats/bmp_reader.h"
#include "platform/formats/cursor_reader.h"
#include "platform/formats/midi_file.h"
#include "platform/formats/wav_reader.h"
#include "platform/ui/form_reader.h"
#include "platform/ui/forms.h"
#include "tests/support/headless_run.h"
#include "tests/support/media_fixtures.h"

// The compiled-in resources of every program (the sample data generator's cursors).
void RegisterCommonResources();

namespace tlb {
namespace {

namespace fs = std::filesystem;
using testing::Append;
using testing::Bytes;
using testing::Put16;
using testing::Put32;

const fs::path kCorpus = fs::path(TULIMBO_SOURCE_DIR) / "tests" / "fuzz" / "corpus";

Bytes Text(std::string_view s) { return Bytes(s.begin(), s.end()); }

// A bitmap file: the 14-byte file header, a 40-byte (or 12-byte core) info
// header, then `table` (colour table or masks) and the bits.
Bytes BmpFile(int headerSize, int width, int height, int bpp, uint32_t compression, const Bytes& table,
              const Bytes& bits) {
  Bytes info;
  Put32(info, uint32_t(headerSize));
  if (headerSize == 12) {
    Put16(info, uint32_t(width));
    Put16(info, uint32_t(height));
    Put16(info, 1);
    Put16(info, uint32_t(bpp));
  } else {
    Put32(info, uint32_t(width));
    Put32(info, uint32_t(height));
    Put16(info, 1);
    Put16(info, uint32_t(bpp));
    Put32(info, compression);
    Put32(info, uint32_t(bits.size()));
    Put32(info, 2835);
    Put32(info, 2835);
    Put32(info, bpp <= 8 && compression != 3 ? uint32_t(table.size() / 4) : 0);
    Put32(info, 0);
  }
  Bytes file{'B', 'M'};
  const uint32_t offBits = uint32_t(14 + info.size() + table.size());
  Put32(file, uint32_t(offBits + bits.size()));
  Put32(file, 0);
  Put32(file, offBits);
  Append(file, info);
  Append(file, table);
  Append(file, bits);
  return file;
}

Bytes Palette(int entries, int bytesEach = 4) {
  Bytes p;
  for (int i = 0; i < entries; ++i) {
    p.push_back(uint8_t(i * 70));
    p.push_back(uint8_t(255 - i * 60));
    p.push_back(uint8_t(i * 40));
    if (bytesEach == 4) p.push_back(0);
  }
  return p;
}

Bytes Resource(const char* name) {
  const ResourceEntry* entry = FindResource(name);
  if (entry == nullptr) throw std::runtime_error(std::string("no resource ") + name);
  return ResourceBytes(*entry);
}

std::string RegistryText(bool handEdited) {
  RegistryData data;
  data.SetValue("Software\\Orvo Team\\TQ2\\Nastaveni - obecne", "WAV HLASITOST", RegistryValue::Dword(255));
  data.SetValue("Software\\Orvo Team\\TQ2\\Nastaveni - Hry", "Hry_starty", RegistryValue::Dword(12));
  data.SetValue("Software\\Orvo Team\\TQ2\\Odklon", "ODKLON_x1", RegistryValue::String("a\"%\x9E"));
  std::string text = SerializeRegistry(data);
  if (handEdited) text += "key \"Po konci\"\n  dword \"n\" 1";  // after the end, no final line break
  return text;
}

constexpr const char* kForm = R"(object FORM_Fuzz: TFORM_Fuzz
  Left = 0
  ClientWidth = 640
  ClientHeight = 480
  BorderStyle = bsNone
  Caption = 'Kámen, nůžky, papír...'
  Color = clGreen
  KeyPreview = True
  OnCreate = Handler
  object panel: TPanel
    Left = 10
    Top = 20
    Width = 100
    Height = 50
    BevelOuter = bvNone
    Color = $00AA00
    object label: TLabel
      Caption = 'a''b'
      Font.Height = -27
      Font.Style = [fsBold, fsItalic]
      OnClick = Handler
    end
  end
  object list: TListBox
    Items.Strings = ('jedna' 'dva')
  end
  object tick: TTimer
    Interval = 500
    OnTimer = Handler
  end
end
)";

struct Seed {
  const char* file;
  std::function<Bytes()> make;
};

// The seeds of each target, by the target's name.
std::map<std::string, std::vector<Seed>> Seeds() {
  using namespace testing;
  return {
      {"avi", {{"clip8.avi", [] { return AviFile(5, 3, 2, 10); }}}},
      {"bmp",
       {{"indexed8.bmp", [] { return BmpFile(40, 3, 2, 8, 0, Palette(4), {0, 1, 2, 0, 3, 2, 1, 0}); }},
        {"core1.bmp", [] { return BmpFile(12, 9, 2, 1, 0, Palette(2, 3), {0xA5, 0x80, 0, 0, 0x5A, 0, 0, 0}); }},
        {"rgb24.bmp", [] { return BmpFile(40, 2, 2, 24, 0, {}, {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0}); }},
        {"rle8.bmp",
         [] { return BmpFile(40, 4, 2, 8, 1, Palette(4), {2, 1, 2, 2, 0, 0, 0, 4, 1, 2, 3, 1, 0, 1}); }},
        {"rle4.bmp", [] { return BmpFile(40, 4, 2, 4, 2, Palette(5), {4, 0x12, 0, 0, 0, 4, 0x12, 0x34, 0, 1}); }},
        {"fields16.bmp", [] {
           Bytes masks;
           Put32(masks, 0xF800);
           Put32(masks, 0x07E0);
           Put32(masks, 0x001F);
           return BmpFile(40, 2, 2, 16, 3, masks, {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0xFF, 0xFF});
         }}}},
      {"cursor", {{"ruka.cur", [] { return Resource("cursor.ruka1.cur"); }},
                  {"sipka.cur", [] { return Resource("cursor.sipka1.cur"); }}}},
      {"form", {{"form.dfm", [] { return Text(kForm); }}}},
      {"midi", {{"tempo.mid", [] { return MidiWithTempoChange(); }},
                {"format0.mid", [] {
                   return MidiFile(0, 480, {MidiTrack({MidiTempo(0, 600000), MidiEv(0, {0xC0, 5}),
                                                       MidiEv(0, {0x90, 64, 100}), MidiEv(240, {0x80, 64, 0})})});
                 }}}},
      {"registry", {{"whole", [] { return Text(RegistryText(false)); }},
                    {"hand_edited", [] { return Text(RegistryText(true)); }}}},
      {"wav", {{"mono8k.wav", [] { return WavFile(20, 8000, 1); }},
               {"stereo11k.wav", [] { return WavFile(10, 11025, 2, 1000); }}}},
  };
}

class TFORM_Fuzz : public TForm {
 public:
  explicit TFORM_Fuzz(TComponent* owner) : TForm(owner) {}
  const char* ClassName() const override { return "TFORM_Fuzz"; }
};

// Reads one seed as its fuzz target does; throws when the reader refuses it.
void ReadAsTarget(const std::string& target, const Bytes& b) {
  if (target == "avi") {
    AviClip clip = AviClip::Parse(b);
    (void)clip.frame(0);
  } else if (target == "bmp") {
    (void)ReadBmp(b.data(), b.size());
  } else if (target == "cursor") {
    (void)ReadCursor(b.data(), b.size());
  } else if (target == "form") {
    ClassRegistry::Instance().RegisterClass("TFORM_Fuzz", "TForm", nullptr);
    HandlerTable handlers;
    handlers.Add("Handler", TNotifyEvent([](TObject*) {}));
    auto* form = new TFORM_Fuzz(Application);
    try {
      LoadFormDescriptionText(form, std::string(b.begin(), b.end()), "seed.dfm", handlers);
    } catch (...) {
      delete form;
      throw;
    }
    delete form;
  } else if (target == "midi") {
    (void)ReadMidi(b.data(), b.size());
  } else if (target == "registry") {
    const RegistryData data = ParseRegistry(std::string(b.begin(), b.end())).data;
    if (data.FindValue("Software\\Orvo Team\\TQ2\\Nastaveni - Hry", "Hry_starty") == nullptr)
      throw std::runtime_error("the launch counter was not read");
  } else if (target == "wav") {
    (void)ReadWav(b.data(), b.size());
  }
}

TEST(FuzzSeeds, EverySeedIsReadWithoutAnError) {
  testing::HeadlessRun run;
  ::RegisterCommonResources();
  RegisterStandardClasses();
  const char* rewrite = std::getenv("TULIMBO_REWRITE_SEEDS");
  for (const auto& [target, seeds] : Seeds()) {
    const fs::path folder = kCorpus / target;
    if (rewrite != nullptr && std::string(rewrite) == "1") {
      fs::create_directories(folder);
      for (const Seed& seed : seeds) testing::WriteFile((folder / seed.file).string(), seed.make());
    }
    ASSERT_TRUE(fs::is_directory(folder)) << folder;
    int count = 0;
    for (const auto& entry : fs::directory_iterator(folder)) {
      std::ifstream in(entry.path(), std::ios::binary);
      const Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      ++count;
      try {
        ReadAsTarget(target, bytes);
      } catch (const std::exception& e) {
        ADD_FAILURE() << entry.path() << ": " << e.what();
      }
    }
    EXPECT_GT(count, 0) << "no seeds for " << target;
  }
}

}  // namespace
}  // namespace tlb
