// Every data file the songs program names, missing and then damaged in turn: the message
// the program gives for it, silence where it gives none, and the other songs still play.
#include "platform/core/cp1250.h"
#include "tests/songs/songs_run.h"

namespace tq::songs::testing {
namespace {

using namespace tlb;

using BadDataRun = SongsRun;

// A message that ends in the file's path reads as its fixed beginning.
std::vector<std::string> WithoutPaths(std::vector<std::string> texts) {
  for (auto& t : texts)
    for (const std::string& prefix : {std::string("Nenalez soubor s hudbou:"), Cz("Nenalezen zvuk: ")})
      if (t.rfind(prefix, 0) == 0) t = prefix;
  return texts;
}

TEST_F(BadDataRun, EachFileMissingOrDamagedGivesItsMessageAndTheOtherSongsStillPlay) {
  const std::string noText = "Pri nahravani dat karaoke doslo k chybe - neni mozne prehrat pisnicky...";
  const std::string badText = "Format pro karaoke neni spravny.";
  const std::string noSong = Cz("chyba: soubor s pisnickou nelze otevřít...");
  const std::string noPicture = Cz("chyba: obrazek k pisnicce nelze na disku otevřít...");
  const std::string noSound = Cz("Nenalezen zvuk: ");
  struct Case {
    const char* file;
    std::vector<std::string> missing;  // the messages when the file is missing
    std::vector<std::string> damaged;  // and when it holds garbage
  } cases[] = {
      {"texty/pis2.syn", {noText}, {badText}},
      // The song's own button finds no recording to stop and loads the song again.
      {"zvuky/pis2.wav", {noSong, noSong}, {noSong, noSong}},
      {"zvuky/pis2a.wav", {noSong}, {noSong}},
      {"obrazky/obr_p2.bmp", {noPicture}, {noPicture}},
      {"obrazky/iko_psw1.bmp", {}, {}},
      {"obrazky/iko_psw2.bmp", {}, {}},
      // The spoken names: a missing one is reported by the sound call; a damaged one is silent.
      {"zvuky/iko_zpe1.WAV", {noSound}, {}},
      {"zvuky/iko_z2.WAV", {noSound}, {}},
      {"animace/zp_02.avi", {Cz("Animace č. 2 nebyla nalezena!")}, {Cz("Animace č. 2 nebyla nalezena!")}},
      {"animace/konec.avi", {Cz("Animace č. 9 nebyla nalezena!")}, {Cz("Animace č. 9 nebyla nalezena!")}},
      {"hudba/z_menu.mid", {"Nenalez soubor s hudbou:"}, {"Nenalez soubor s hudbou:"}},
  };
  // After a missing clip the reveal waits 20.1 s; every run starts its songs after that.
  const int64_t t0 = 23000;
  for (const Case& c : cases) {
    for (bool damaged : {false, true}) {
      const std::string what = std::string(c.file) + (damaged ? " damaged" : " missing");
      if (damaged) Start({}, {800, 600}, true, {c.file});
      else Start({c.file});
      OpenSong(2, t0);
      ClickAt(t0 + 1000, singing().btn_2);        // stop
      MoveTo(t0 + 1100, singing().btn_hrej);      // "iko_zpe1.WAV" at about 1.95 s
      MoveTo(t0 + 3000, singing().btn_2);         // "iko_z2.WAV" at about 3.85 s
      ClickAt(t0 + 5000, singing().btn_hrej);     // music only: "pis2a.wav"
      ClickAt(t0 + 6000, singing().btn_1);        // another song
      CheckAt(t0 + 6300, [&] {
        EXPECT_EQ(ExtractFileName(Recordings().back().file), "pis1a.wav") << what;
        EXPECT_EQ(singing().wavplayer->Mode(), mpPlaying) << what;
        EXPECT_EQ(singing().text_0->Caption(), Cz("Maličká som")) << what;
      });
      ClickEndButton(t0 + 7000);
      run().RunUntil(t0 + 9000);
      EXPECT_FALSE(singing().Visible()) << what;
      EXPECT_TRUE(menu().AVI_obr1->Visible()) << what;
      EXPECT_FALSE(Application->Terminated()) << what;
      EXPECT_EQ(WithoutPaths(run().backend.DialogTexts()), damaged ? c.damaged : c.missing) << what;
    }
  }
}

}  // namespace
}  // namespace tq::songs::testing
