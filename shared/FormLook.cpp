#include "shared/FormLook.h"

#include "platform/ui/forms.h"

namespace tq {

using namespace tlb;

void RegisterFormCursors() {
  RegisterCursor(crArrow, "sipka1");
  RegisterCursor(5, "sipka1");
  RegisterCursor(6, "sipka2");
  RegisterCursor(7, "ruka1");
  RegisterCursor(crHourGlass, "hodiny1");
}

void SetupCornerPictures(TImage* topLeft, TImage* topRight, TImage* bottomRight, TImage* bottomLeft,
                         TColor transparent) {
  bottomLeft->Picture().Bitmap()->SetTransparentColor(transparent);
  if (Screen->Width() < 641) {
    bottomLeft->SetVisible(false);
    bottomRight->SetVisible(false);
    topLeft->SetVisible(false);
    topRight->SetVisible(false);
  }
}

}  // namespace tq
