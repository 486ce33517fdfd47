#pragma once
// Five-cell glyph strips for the glyph buttons: up, disabled, down, held
// down and mouse over, each cell the size of its button.
//
// Every cell's bottom-left pixel is the form's green, which the buttons take
// as their transparent colour. The disabled cell holds only that green, pure
// white and $808080 grey, the two colours the button recolours to the current
// 3-D colours: the dark lines of the picture in grey with a white copy one
// pixel down and right, as a disabled button looks.
#include <functional>

#include "canvas.h"
#include "palette.h"

namespace gen {

// Draws the picture into a 100x100 local box.
using GlyphArt = std::function<void(Canvas&)>;

Canvas glyphStrip(int cellW, int cellH, const GlyphArt& art);
// The strip as an 8-bit picture whose green, white and grey stay exact.
Indexed glyphStripIndexed(const Canvas& strip);

// Pictures used on several buttons.
void artExitDoor(Canvas& c);
void artQuestion(Canvas& c);
void artGridLevel(Canvas& c, int n);
void artHandSign(Canvas& c, int sign);
void artSinging(Canvas& c);
void artMusicOnly(Canvas& c);

}  // namespace gen
