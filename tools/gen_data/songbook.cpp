#include "songbook.h"

namespace gen {

std::vector<Song> songs() {
  return {
      {"Maličká som", "sk", 112, 4, "G | D7",
       {"Ma/li/čká /som, /hús/ky /pa/siem,", "hús/ky /pa/siem /na /lúč/ke.", "Hús/ky /bie/le, /hús/ky /mo/je,",
        "poď/te /so /mnou /do/mov!"},
       "G4e A4e B4q B4q D5q | C5q B4q A4h | A4q B4q C5q A4q | B4q A4q G4h | "
       "D5e D5e E5q D5q B4q | C5q A4q B4h | A4q A4q B4q A4q | D4h G4h",
       "G | D | D7 | G | G | C G | D | D7 G"},
      {"Pec nám spadla", "cs", 120, 4, "C | G7",
       {"Pec /nám /spad/la, /pec /nám /spad/la,", "kdo/pak /nám /ji /po/sta/ví?", "Sta/rý /pe/cař /ne/ní /do/ma",
        "a /mla/dý /to /ne/u/mí."},
       "G4q G4q E4q C4q | G4q G4q E4q C4q | F4q F4q E4q D4q | E4q D4q G4h | "
       "E4q E4q F4q F4q | G4q G4q E4q C4q | D4q E4q F4q D4q | E4q D4q C4h",
       "C | C | F G | C G | C F | C | G7 | C"},
      {"Prší, prší", "cs", 112, 4, "C | G7",
       {"Pr/ší, /pr/ší, /jen /se /le/je,", "kam /ko/níč/ky /po/je/de/me?", "Po/je/de/me /na /lu/ka,",
        "až /tam /ku/kač/ka /ku/ká."},
       "G4q E4q G4q E4q | G4e G4e E4q G4h | A4q A4q F4q A4q | G4q G4q E4q C4q | "
       "G4q G4q E4q E4q | G4q G4q E4h | F4q F4q D4q D4q | E4q D4q C4h",
       "C | C | F | C | C | C | G7 | C"},
      {"Holka modrooká", "cs", 116, 4, "G | D7",
       {"Hol/ka /mo/dro/o/ká,", "ne/se/dá/vej /u /po/to/ka,", "hol/ka /mo/dro/o/ká,", "ne/se/dá/vej /tam!",
        "V po/to/ce /je /has/tr/má/nek,", "za/ta/há /tě /za /co/pá/nek,", "hol/ka /mo/dro/o/ká,",
        "ne/se/dá/vej /tam!"},
       "G4q B4q B4q D5q | C5h B4h | A4e A4e A4q C5q A4q | G4q A4q B4h | G4q B4q B4q D5q | C5h B4h | "
       "A4q A4q B4q A4q | G4w | D5e D5e D5q B4q D5q | C5e C5e A4h. | C5e C5e C5q A4q C5q | B4e B4e G4h. | "
       "G4q B4q B4q D5q | C5h B4h | A4q A4q B4q A4q | G4w",
       "G | C G | D7 | G | G | C G | D7 | G | G | D7 | D7 | G | G | C G | D7 | G"},
  };
}

std::vector<Rhyme> rhymes() {
  return {
      {"Ententýky", 0.40,
       {"En/ten/tý/ky, /dva /špa/lí/ky,", "čert /vy/le/těl /z e/lek/tri/ky,", "bez /če/pi/ce, /bez /kal/hot,",
        "na/tloukl /si /nos /o /plot."}},
      {"Enyky benyky", 0.40,
       {"E/ny/ky, /be/ny/ky, /kli/ky /bé,", "u/li/ty /fuk, /u/li/ty /bé,", "a/be/lo, /di/be/lo, /dy/ky /fuk!"}},
      {"Ene bene", 0.44, {"E/ne, /be/ne, /res,", "kvin/ter, /fin/ter, /žes,", "e/ne, /be/ne, /ra/ba,", "kvin/ter, /fin/ter, /ža/ba!"}},
      {"Kolo, kolo mlýnský", 0.42,
       {"Ko/lo, /ko/lo /mlýn/ský,", "za /čty/ři /rýn/ský,", "ko/lo /se /nám /po/lá/ma/lo,", "mou/ky /se /nám /na/mle/lo,",
        "u/dě/la/lo /bác!"}},
      {"Vařila myška kašičku", 0.40,
       {"Va/ři/la /myš/ka /ka/šič/ku", "na /ze/le/ném /rend/líč/ku.", "To/mu /da/la, /to/mu /da/la,",
        "to/mu /da/la, /to/mu /da/la,", "a /to/mu /nic /ne/da/la,", "frnk, /a u/le/tě/la!"}},
      {"Skákal pes", 0.42,
       {"Ská/kal /pes /přes /o/ves,", "přes /ze/le/nou /lou/ku,", "šel /za /ním /mys/li/vec,", "pé/ro /na /klo/bou/ku."}},
  };
}

}  // namespace gen
