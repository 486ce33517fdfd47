#include "data_inventory.h"

#include <cstdio>

namespace sample {

namespace {

void numbered(std::vector<DataFile>& v, const char* folder, const char* kind, const char* pattern, int from, int to) {
  for (int n = from; n <= to; ++n) {
    char name[64];
    std::snprintf(name, sizeof name, pattern, n);
    v.push_back({folder, name, kind});
  }
}

}  // namespace

std::vector<DataFile> dataInventory() {
  std::vector<DataFile> v;
  // Music.
  for (const char* f : {"h_menu.mid", "kim1.mid", "kim2.mid", "kamen.mid", "lymbal.mid", "z_menu.mid"})
    v.push_back({"hudba", f, "midi"});
  // Clips.
  for (const char* f : {"h_01.avi", "h_02.avi", "h_03.avi", "zp_01.avi", "zp_02.avi", "zp_03.avi", "zp_04.avi"})
    v.push_back({"animace", f, "tile"});
  v.push_back({"animace", "konec.avi", "exit tile"});
  v.push_back({"animace", "mys_mluv.avi", "talking mouse"});
  // Pictures.
  numbered(v, "obrazky", "countdown", "wait_%02d.bmp", 0, 15);
  v.push_back({"obrazky", "hodiny.bmp", "countdown"});
  v.push_back({"obrazky", "k_rub.bmp", "card"});
  numbered(v, "obrazky", "card", "k_%d.bmp", 1, 20);
  numbered(v, "obrazky", "card", "nk_%d.bmp", 1, 20);
  for (const char* f : {"mriz2x2.bmp", "mriz3x3.bmp", "mriz4x4.bmp"}) v.push_back({"obrazky", f, "grid"});
  for (const char* who : {"kluk", "mysak"})
    for (const char* pose : {"1", "1a", "2", "2a", "3", "3a", "4"})
      v.push_back({"obrazky", std::string(who) + "_" + pose + ".bmp", "figure"});
  numbered(v, "obrazky", "face", "obl_%d.bmp", 1, 8);
  numbered(v, "obrazky", "face", "obl_%da.bmp", 1, 8);
  numbered(v, "obrazky", "arrow", "sipka%d.bmp", 1, 8);
  numbered(v, "obrazky", "song picture", "obr_p%d.bmp", 1, 4);
  v.push_back({"obrazky", "iko_psw1.bmp", "switch glyph"});
  v.push_back({"obrazky", "iko_psw2.bmp", "switch glyph"});
  // Sounds of the games program, spelled as its code opens them.
  for (const char* f : {"iko_kim1.WAV", "iko_knp.WAV", "iko_kim2.WAV", "iko_kon.WAV", "k1_uvod.wav", "k2_uvod.wav",
                        "kim_go.wav", "k1_lo.WAV", "k1_med.WAV", "k1_high.WAV", "iko_help.WAV", "k1_ukol.wav",
                        "k2_ukol.wav", "kim_otoc.wav", "kim_ok.wav", "kim_brav.WAV", "kim_bad.wav", "k1_end.WAV",
                        "k1_end.wav", "k1_help.WAV", "k2_ukol2.wav", "k2_help.WAV", "knp_k.WAV", "knp_n.WAV",
                        "knp_p.WAV", "tlesk.wav", "knp_v1.wav", "knp_v2.wav", "knp_v0.wav", "knp_pk.wav", "knp_np.wav",
                        "knp_kn.wav", "knp_help.wav"})
    v.push_back({"zvuky", f, "sound"});
  numbered(v, "zvuky", "sound", "k_z%d.WAV", 1, 20);
  numbered(v, "zvuky", "sound", "k_ok%d.WAV", 1, 20);
  numbered(v, "zvuky", "sound", "k_bad%d.WAV", 1, 20);
  numbered(v, "zvuky", "sound", "k2_bad%d.WAV", 1, 5);
  numbered(v, "zvuky", "sound", "knp_uv%d.wav", 1, 9);
  // Rhymes program.
  numbered(v, "zvuky", "rhyme", "lym%d.wav", 1, 6);
  for (const char* f : {"r_uvod1.wav", "r_help1.wav", "r_konec1.wav"}) v.push_back({"zvuky", f, "sound"});
  numbered(v, "zvuky", "sound", "iko_p%d.WAV", 1, 6);
  // Songs program.
  numbered(v, "zvuky", "sound", "iko_z%d.WAV", 1, 4);
  numbered(v, "zvuky", "song", "pis%d.wav", 1, 4);
  numbered(v, "zvuky", "song", "pis%da.wav", 1, 4);
  v.push_back({"zvuky", "iko_zpe1.WAV", "sound"});
  v.push_back({"zvuky", "iko_zpe2.WAV", "sound"});
  // Karaoke texts.
  numbered(v, "texty", "rhyme text", "lym%d.syn", 1, 6);
  numbered(v, "texty", "song text", "pis%d.syn", 1, 4);
  return v;
}

}  // namespace sample
