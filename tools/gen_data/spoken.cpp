// Every spoken sound file of the three programs, with what it says, and the
// few sounds that are not speech (the clap, the card flip, the little tunes
// under "right", "wrong" and "bravo").
//
// Czech throughout, except the games menu's tile names and the first song's
// name, whose captions are Slovak and are spoken with the Slovak voice.
#include <stdexcept>
#include <string>
#include <vector>

#include "output.h"
#include "speech_clips.h"
#include "synth.h"

namespace gen {

namespace {

enum class Jingle { None, Right, Wrong, Bravo };

struct Spoken {
  std::string file;  // under zvuky/, spelled as the programs open it
  std::string voice;
  std::vector<std::string> sentences;
  int pitch = 50;
  Jingle jingle = Jingle::None;
  int speed = 140;
};

// What the memory games call each card picture: the name in the accusative
// ("Najdi ..."), and the picture's own line after a right card.
struct CardWords {
  const char* accusative;
  const char* own;
};
const CardWords kCards[20] = {
    {"jablíčko", "Mňam, jablíčko!"},
    {"kočičku", "Mňau! To je kočička."},
    {"domeček", "Ťuk, ťuk, tady je domeček."},
    {"sluníčko", "Sluníčko svítí a hřeje."},
    {"rybičku", "Rybička plave, blub, blub."},
    {"auto", "Tú, tú! Auto jede."},
    {"strom", "Strom má zelené listy."},
    {"kytičku", "Kytička krásně voní."},
    {"míč", "Hop, hop, míč skáče."},
    {"pejska", "Haf, haf! To je pejsek."},
    {"ptáčka", "Píp, píp, ptáček zpívá."},
    {"hvězdičku", "Hvězdička svítí v noci."},
    {"srdíčko", "Srdíčko. Mám tě rád."},
    {"měsíc", "Měsíček svítí. Dobrou noc."},
    {"deštník", "Deštník, když prší."},
    {"hrníček", "Z hrníčku pijeme kakao."},
    {"loďku", "Loďka pluje po vodě."},
    {"muchomůrku", "Muchomůrka, ta se nejí!"},
    {"balónek", "Balónek letí vysoko."},
    {"berušku", "Beruška má černé tečky."},
};

std::vector<Spoken> gamesSounds() {
  std::vector<Spoken> v;
  auto add = [&](std::string file, std::vector<std::string> s, int pitch = 52, Jingle j = Jingle::None,
                 std::string voice = "cs") { v.push_back({std::move(file), std::move(voice), std::move(s), pitch, j}); };
  // Menu tiles (their captions are Slovak).
  add("iko_kim1.WAV", {"Nájdi obrázok."}, 52, Jingle::None, "sk");
  add("iko_knp.WAV", {"Kameň, nožnice, papier."}, 52, Jingle::None, "sk");
  add("iko_kim2.WAV", {"Popletené obrázky."}, 52, Jingle::None, "sk");
  add("iko_kon.WAV", {"Konec."});
  // The memory games' shell.
  add("k1_uvod.wav",
      {"Ahoj! Já jsem myšák a zahrajeme si na paměť.", "Nejdřív si dobře prohlédni obrázky.",
       "Potom se otočí a já ti řeknu, který obrázek máš najít.",
       "Dole si vyber, kolik bude obrázků: čtyři, devět, nebo šestnáct."},
      62);
  add("k2_uvod.wav",
      {"Ahoj! Zahrajeme si na popletené obrázky.", "Dobře si prohlédni obrázky na bílé ploše.",
       "Potom se schovají, zamíchají a přibudou nové.", "Ty najdeš ty, které už jsi viděl.",
       "Dole si vyber, kolik bude obrázků."},
      62);
  add("kim_go.wav", {"Začínáme!"}, 56);
  add("k1_lo.WAV", {"Čtyři obrázky."});
  add("k1_med.WAV", {"Devět obrázků."});
  add("k1_high.WAV", {"Šestnáct obrázků."});
  add("iko_help.WAV", {"Nápověda."});
  add("k1_ukol.wav", {"Dobře si prohlédni obrázky a zapamatuj si, kde který je."}, 56);
  add("k2_ukol.wav", {"Dobře si prohlédni všechny obrázky."}, 56);
  for (int n = 1; n <= 20; ++n) {
    const std::string num = std::to_string(n);
    add("k_z" + num + ".WAV", {std::string("Najdi ") + kCards[n - 1].accusative + "."}, 56);
    add("k_ok" + num + ".WAV", {kCards[n - 1].own}, 58);
    add("k_bad" + num + ".WAV", {"To není ono.", std::string("Hledáme ") + kCards[n - 1].accusative + "."}, 54);
  }
  add("kim_ok.wav", {"Správně!"}, 60, Jingle::Right);
  add("kim_brav.WAV", {"Bravo! Našel jsi všechno!"}, 62, Jingle::Bravo);
  add("kim_bad.wav", {"Ne, ten to není."}, 50, Jingle::Wrong);
  add("k1_end.WAV", {"Konec hry. Byl jsi moc šikovný!", "Jestli chceš hrát znovu, vyber si dole, kolik bude obrázků."},
      60);
  add("k1_help.WAV",
      {"Dole si vyber, kolik bude obrázků: čtyři, devět, nebo šestnáct.", "Tlačítkem vpravo dole hru ukončíš."}, 56);
  add("k2_ukol2.wav", {"Teď se obrázky zamíchaly a přibyly nové.", "Najdi obrázky, které jsi už viděl!"}, 62);
  add("k2_help.WAV", {"Klikej na obrázky, které jsi už viděl předtím."}, 56);
  add("k2_bad1.WAV", {"Tenhle tu předtím nebyl."}, 52);
  add("k2_bad2.WAV", {"Ten jsi ještě neviděl."}, 52);
  add("k2_bad3.WAV", {"Ne, ten je nový."}, 52);
  add("k2_bad4.WAV", {"Zkus jiný obrázek."}, 52);
  add("k2_bad5.WAV", {"Ten tam předtím nebyl."}, 52);
  // Rock-paper-scissors: the introduction in nine pieces, one for each change of the pictures.
  add("knp_uv1.wav", {"Zahrajeme si kámen, nůžky, papír.", "Já jsem myšák a hraju proti tobě."}, 62);
  add("knp_uv2.wav", {"Kámen je zavřená pěst."}, 60);
  add("knp_uv3.wav", {"Papír je otevřená dlaň."}, 60);
  add("knp_uv4.wav", {"Nůžky jsou dva prsty."}, 60);
  add("knp_uv5.wav", {"Oba zatřeseme pěstí, raz, dva, tři, a ukážeme, co jsme si vybrali."}, 60);
  add("knp_uv6.wav", {"Papír zabalí kámen. Papír vyhrává."}, 60);
  add("knp_uv7.wav", {"Nůžky stříhají papír. Nůžky vyhrávají."}, 60);
  add("knp_uv8.wav", {"Kámen ztupí nůžky. Kámen vyhrává."}, 60);
  add("knp_uv9.wav", {"Teď ty! Vyber si vpravo kámen, nůžky, nebo papír."}, 62);
  add("knp_k.WAV", {"Kámen."});
  add("knp_n.WAV", {"Nůžky."});
  add("knp_p.WAV", {"Papír."});
  add("knp_v1.wav", {"Vyhrál jsi! Hurá!"}, 64, Jingle::Bravo);
  add("knp_v2.wav", {"Tentokrát jsem vyhrál já."}, 58);
  add("knp_v0.wav", {"Nerozhodně! Máme to stejně."}, 58);
  add("knp_pk.wav", {"Papír zabalí kámen."}, 58);
  add("knp_np.wav", {"Nůžky stříhají papír."}, 58);
  add("knp_kn.wav", {"Kámen ztupí nůžky."}, 58);
  add("knp_help.wav",
      {"Klikni vpravo na kámen, nůžky, nebo papír.", "Pak zatřeseme pěstí a uvidíme, kdo vyhraje."}, 58);
  return v;
}

std::vector<Spoken> rhymesSounds() {
  std::vector<Spoken> v;
  auto add = [&](std::string file, std::vector<std::string> s, int pitch = 56) {
    v.push_back({std::move(file), "cs", std::move(s), pitch});
  };
  add("r_help1.wav",
      {"Klikni dole na obrázek a já ti řeknu básničku.", "Šipka skočí s každou slabikou na dalšího kamaráda.",
       "Na koho zbude, ten to je!", "Tlačítkem vpravo dole program skončíš."},
      62);
  add("r_konec1.wav", {"To byla pěkná básnička!", "Vyber si další."}, 62);
  add("iko_p1.WAV", {"Ententýky."});
  add("iko_p2.WAV", {"Enyky benyky."});
  add("iko_p3.WAV", {"Ene bene."});
  add("iko_p4.WAV", {"Kolo, kolo mlýnský."});
  add("iko_p5.WAV", {"Vařila myška kašičku."});
  add("iko_p6.WAV", {"Skákal pes."});
  return v;
}

std::vector<Spoken> songsSounds() {
  std::vector<Spoken> v;
  v.push_back({"iko_z1.WAV", "sk", {"Maličká som."}, 54});
  v.push_back({"iko_z2.WAV", "cs", {"Pec nám spadla."}, 54});
  v.push_back({"iko_z3.WAV", "cs", {"Prší, prší."}, 54});
  v.push_back({"iko_z4.WAV", "cs", {"Holka modrooká."}, 54});
  v.push_back({"iko_zpe1.WAV", "cs", {"Písnička se zpěvem."}, 54});
  v.push_back({"iko_zpe2.WAV", "cs", {"Jenom hudba. Zpívej sám!"}, 54});
  return v;
}

Audio jingle(Jingle j) {
  Audio a;
  switch (j) {
    case Jingle::Right:
      for (int i = 0; i < 3; ++i) renderNote(a, Voice::Bell, i * 0.09, 0.1, 76 + 4 * i - (i == 2 ? 1 : 0), 0.5);
      break;
    case Jingle::Bravo: {
      const int keys[5] = {72, 76, 79, 84, 88};
      for (int i = 0; i < 5; ++i) renderNote(a, Voice::Bell, i * 0.1, 0.12, keys[i], 0.45);
      break;
    }
    case Jingle::Wrong:
      renderNote(a, Voice::Soft, 0.0, 0.16, 62, 0.45);
      renderNote(a, Voice::Soft, 0.2, 0.3, 57, 0.45);
      break;
    case Jingle::None: break;
  }
  return a;
}

Audio render(Output& out, const Spoken& sp) {
  std::vector<Audio> parts;
  for (const std::string& s : sp.sentences) {
    Utterance u;
    u.voice = sp.voice;
    u.text = s;
    u.pitch = sp.pitch;
    u.speed = sp.speed;
    parts.push_back(spokenClip(out.speech(), u, "zvuky/" + sp.file));
  }
  Audio speech = joined(parts, 0.35);
  normalise(speech, -4.0);
  if (sp.jingle == Jingle::None) return speech;
  Audio j = jingle(sp.jingle);
  normalise(j, -9.0);
  Audio a;
  mixInto(a, j, 0);
  mixInto(a, speech, j.seconds() * 0.8);
  return a;
}

// The rhymes' introduction. The faces appear while the narration plays 8 to
// 9 seconds into it and the arrow at 12 to 13 seconds, so each piece starts
// where the picture it talks about turns up.
void rhymesIntroduction(Output& out) {
  struct Piece {
    double at;
    const char* text;
  };
  const Piece pieces[] = {
      {0.0, "Ahoj děti! Já jsem myšák a budeme spolu rozpočítávat."},
      {-1, "Básničky říkám hezky po slabikách."},
      {8.15, "Podívej, v kroužku stojí osm kamarádů."},
      {12.15, "Uprostřed je šipka. S každou slabikou skočí na dalšího kamaráda."},
      {-1, "Dole si vyber básničku. Na koho šipka ukáže nakonec, ten to je!"},
  };
  Audio a;
  double end = 0;
  for (const Piece& p : pieces) {
    Utterance u;
    u.text = p.text;
    u.pitch = 62;
    Audio clip = spokenClip(out.speech(), u, "zvuky/r_uvod1.wav");
    normalise(clip, -4.0);
    double at = p.at >= 0 ? p.at : end + 0.45;
    if (at < end) throw std::runtime_error("zvuky/r_uvod1.wav: the piece \"" + std::string(p.text) + "\" runs late");
    mixInto(a, clip, at);
    end = at + clip.seconds();
  }
  out.data("zvuky/r_uvod1.wav", wavFile(finished(a)));
}

}  // namespace

void addSpeechJobs(Jobs& jobs) {
  std::vector<Spoken> all = gamesSounds();
  for (auto& s : rhymesSounds()) all.push_back(s);
  for (auto& s : songsSounds()) all.push_back(s);
  for (const Spoken& sp : all)
    jobs.push_back({"speech " + sp.file, [sp](Output& out) { out.data("zvuky/" + sp.file, wavFile(finished(render(out, sp)))); }});
  jobs.push_back({"speech r_uvod1.wav", rhymesIntroduction});
  jobs.push_back({"sound tlesk.wav", [](Output& out) { out.data("zvuky/tlesk.wav", wavFile(finished(clapSound()))); }});
  jobs.push_back({"sound kim_otoc.wav", [](Output& out) { out.data("zvuky/kim_otoc.wav", wavFile(finished(cardFlipSound()))); }});
}

}  // namespace gen
