// The counting-out game played with every rhyme: eight faces dealt in one of six
// orders, an arrow that moves one face on per coloured syllable and never goes
// back to the start, and the counted-out face when the recording stops.
#include "platform/core/sysutils.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/form_reader.h"
#include "rhymes/src/lym_main.h"
#include "shared/MouseNarration.h"
#include "shared/Technic2.h"

namespace tq {

using namespace tlb;

const uint8_t kFaceOrders[6][8] = {
    {1, 2, 3, 4, 5, 6, 7, 8}, {8, 5, 3, 6, 1, 7, 4, 2}, {4, 7, 1, 6, 3, 5, 8, 2},
    {5, 4, 3, 7, 8, 1, 2, 6}, {3, 7, 8, 1, 2, 6, 5, 4}, {1, 8, 7, 3, 4, 5, 6, 2},
};

void TFORM_Lymbal::PrepareFaces() {
  LymbalState& s = LymbalUnit();
  // Row 6 has 9999 chances in 59999, each other row 10000.
  const int row = Random(59999) / 10000 + 1;
  for (int i = 0; i < 8; ++i) s.FaceOrder[i] = kFaceOrders[row - 1][i];
  for (int i = 1; i <= 8; ++i) {
    const std::string n = IntToStr(s.FaceOrder[i - 1]);
    try {
      FindAs<TImage>(this, "swp_ksicht" + IntToStr(i))->Picture().LoadFromFile(DataDir() + "\\obrazky\\obl_" + n + ".bmp");
    } catch (const std::exception&) {
      ShowMessage("nelze natahnout oblicej cislo " + n);
    }
    try {
      FindAs<TImage>(this, "swp_ksicht" + IntToStr(i) + "a")
          ->Picture()
          .LoadFromFile(DataDir() + "\\obrazky\\obl_" + n + "a.bmp");
    } catch (const std::exception&) {
      ShowMessage("nelze natahnout oblicej cislo " + n);
    }
  }
}

void TFORM_Lymbal::LoadArrows() {
  for (int k = 1; k <= 8; ++k) {
    try {
      FindAs<TImage>(this, "swp_sipka" + IntToStr(k))
          ->Picture()
          .LoadFromFile(DataDir() + "\\obrazky\\sipka" + IntToStr(k) + ".bmp");
    } catch (const std::exception&) {
      ShowMessage("nelze natahnout sipku cislo " + IntToStr(k));
    }
  }
}

bool TFORM_Lymbal::SetPictureFrom(TImage* target, const std::string& storeName) {
  try {
    target->Picture().Assign(&FindAs<TImage>(this, storeName)->Picture());
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

void TFORM_Lymbal::ResetFaces() {
  for (int k = 1; k <= 8; ++k)
    if (!SetPictureFrom(ksicht[k], "swp_ksicht" + IntToStr(k))) ShowMessage("nelze prenest oblicej" + IntToStr(k));
}

void TFORM_Lymbal::TurnArrow(uint8_t value, bool advance) {
  LymbalState& s = LymbalUnit();
  if (advance) {
    s.ArrowPosition = uint8_t(s.ArrowPosition + 1);
    if (s.ArrowPosition > 8) s.ArrowPosition = 1;
  } else {
    s.ArrowPosition = value > 8 ? 1 : value;
  }
  if (s.ArrowPosition >= 1 && s.ArrowPosition <= 8) SetPictureFrom(sipka, "swp_sipka" + IntToStr(s.ArrowPosition));
}

void TFORM_Lymbal::RhymeEnd() {
  LymbalState& s = LymbalUnit();
  s.BlinkIcons = 1;
  uvodni_blikajici_ikony->SetEnabled(true);
  const int k = s.ArrowPosition;
  if (k < 1 || k > 8 || !SetPictureFrom(ksicht[k], "swp_ksicht" + IntToStr(k) + "a"))
    ShowMessage("nelze prenest oblicej" + IntToStr(k));
  if (!s.EndSoundPending) return;
  // After the first rhyme of the run the mouse says its end narration, without waiting for it.
  s.EndSoundPending = 0;
  StartMouseNarration(mysakPlayer, mluvici_mys, DataDir() + "\\zvuky\\r_konec1.wav", "Nenalez soubor s helpem:");
}

}  // namespace tq
