#include "shared/GlyphVers.h"

namespace tq {

const TGlyphLibVersion& GlyphLibVersion() {
  static const TGlyphLibVersion version = "Glyph buttons version 1.0";
  return version;
}

}  // namespace tq
