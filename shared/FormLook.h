#pragma once
// What the programs' full-screen forms share in their look: the cursors and the
// four corner pictures.
#include "platform/ui/stdctrls.h"

namespace tq {

// Loads the forms' cursors: the arrow as the default and in slot 5, "sipka2" in
// slot 6, the hand in slot 7 and the hourglass. A failure goes on to the caller,
// which skips the cursors after it.
void RegisterFormCursors();

// The corner pictures: `transparent` shows through the bottom-left one; on a screen
// narrower than 641 pixels all four hide (bottom-left, bottom-right, top-left,
// top-right).
void SetupCornerPictures(tlb::TImage* topLeft, tlb::TImage* topRight, tlb::TImage* bottomRight,
                         tlb::TImage* bottomLeft, tlb::TColor transparent);

}  // namespace tq
