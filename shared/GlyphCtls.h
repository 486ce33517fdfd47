#pragma once
// The glyph-button library: the glyph button and what it is made of (the shared
// glyph lists, the state pictures of a button's glyph, the face layout), and the
// registration of the button with the form reader.
#include "shared/ButtonGlyph.h"
#include "shared/GlyphButton.h"
#include "shared/GlyphLists.h"

namespace tq {

// Registers TGlyphButton and its properties with the form reader (once).
void RegisterGlyphClasses();

}  // namespace tq
