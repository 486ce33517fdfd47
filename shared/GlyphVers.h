#pragma once
// The version of the glyph-button library, as its Version property reports it.
#include <string>

namespace tq {

// A string type used only by the glyph button's Version property.
using TGlyphLibVersion = std::string;

// "Glyph buttons version 1.0".
const TGlyphLibVersion& GlyphLibVersion();

}  // namespace tq
