#include "platform/graphics/text/font_engine.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "platform/core/cp1250.h"
#include "platform/core/exceptions.h"

namespace tlb {
namespace {

// The five bytes code page 1250 leaves unassigned keep their own value, which
// no font has a glyph for, so they draw as the missing-glyph box.
char32_t CodePointOf(uint8_t byte) {
  char32_t cp = Cp1250ToCodePoint(byte);
  return cp == 0xFFFD ? char32_t(byte) : cp;
}

// Control characters take no room and leave no ink.
bool IsControl(uint8_t byte) { return byte < 0x20 || byte == 0x7F; }

// The largest |height| served; larger requests draw at this size rather than
// filling memory with glyph bitmaps.
constexpr int kMaxPixelHeight = 512;

std::string Folded(std::string_view name) {
  std::string out;
  for (char c : name) out += (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
  while (!out.empty() && out.back() == ' ') out.pop_back();
  while (!out.empty() && out.front() == ' ') out.erase(out.begin());
  // "Arial CE" and the like name a character set of the same face.
  if (out.size() > 3 && out.compare(out.size() - 3, 3, " ce") == 0) out.resize(out.size() - 3);
  return out;
}

// The fonts of the class library's world and the installed faces that stand in
// for them with the same metrics; any other name goes to fontconfig as it is.
std::string FamilyFor(const std::string& folded) {
  if (folded == "arial") return "Liberation Sans";
  if (folded == "times new roman" || folded == "times") return "Liberation Serif";
  if (folded == "courier new" || folded == "courier") return "Liberation Mono";
  if (folded == "ms sans serif" || folded == "system" || folded == "ms shell dlg") return "Liberation Sans";
  return folded;
}

int RoundToInt(double v) { return int(std::lround(v)); }

}  // namespace

struct FontEngine::Library {
  FT_Library ft = nullptr;
  FcConfig* config = nullptr;
  Library() {
    if (FT_Init_FreeType(&ft) != 0) throw EOutOfResources("Cannot start the font renderer");
    config = FcInitLoadConfigAndFonts();
    if (!config) throw EOutOfResources("Cannot read the font configuration");
  }
  ~Library() {
    if (config) FcConfigDestroy(config);
    // The engine is the process's only user of fontconfig and goes only at
    // exit. Beyond the configuration, reading it left state in the library's
    // own globals (the object names and user folders its files declare, the
    // font caches, the default languages); FcFini frees that too, so that
    // nothing fontconfig allocated outlives the engine, whatever files the
    // machine's configuration holds.
    FcFini();
    if (ft) FT_Done_FreeType(ft);
  }
};

struct FontEngine::Face {
  FT_Face face = nullptr;
  std::string family;
  bool bold = false, italic = false;  // what the file itself provides
  // Design metrics in font units.
  double unitsPerEm = 2048, winAscent = 0, winDescent = 0, avgCharWidth = 0;
  double underlinePosition = 0, underlineThickness = 0, strikeOutPosition = 0, strikeOutSize = 0;
  ~Face() {
    if (face) FT_Done_Face(face);
  }
};

struct FontEngine::SizedFont {
  struct Glyph {
    bool loaded = false;
    int advance = 0;
    int left = 0, top = 0, width = 0, rows = 0;  // bitmap placement: left of the pen, above the baseline
    std::vector<uint8_t> coverage;               // width * rows, 0..255
  };
  Face* face = nullptr;
  FT_Size size = nullptr;
  bool fakeBold = false, fakeItalic = false;
  FontMetrics metrics;
  int underlineTop = 0, underlineThickness = 1, strikeOutTop = 0, strikeOutThickness = 1;
  std::array<Glyph, 256> glyphs;

  const Glyph& GlyphOf(uint8_t byte);
};

const FontEngine::SizedFont::Glyph& FontEngine::SizedFont::GlyphOf(uint8_t byte) {
  Glyph& g = glyphs[byte];
  if (g.loaded) return g;
  g.loaded = true;
  if (IsControl(byte)) return g;
  FT_Activate_Size(size);
  FT_Face f = face->face;
  FT_UInt index = FT_Get_Char_Index(f, CodePointOf(byte));  // 0: the missing-glyph box
  if (FT_Load_Glyph(f, index, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP) != 0) return g;
  if (fakeItalic) FT_GlyphSlot_Oblique(f->glyph);
  if (fakeBold) FT_GlyphSlot_Embolden(f->glyph);
  g.advance = int((f->glyph->advance.x + 32) >> 6);
  if (FT_Render_Glyph(f->glyph, FT_RENDER_MODE_NORMAL) != 0) return g;
  const FT_Bitmap& bm = f->glyph->bitmap;
  if (bm.pixel_mode != FT_PIXEL_MODE_GRAY || bm.width == 0 || bm.rows == 0) return g;
  g.left = f->glyph->bitmap_left;
  g.top = f->glyph->bitmap_top;
  g.width = int(bm.width);
  g.rows = int(bm.rows);
  g.coverage.resize(size_t(g.width) * size_t(g.rows));
  for (int r = 0; r < g.rows; ++r) {
    const unsigned char* src = bm.buffer + std::ptrdiff_t(r) * bm.pitch;
    std::copy(src, src + g.width, g.coverage.begin() + std::ptrdiff_t(r) * g.width);
  }
  return g;
}

FontEngine& FontEngine::Instance() {
  static FontEngine engine;
  return engine;
}

FontEngine::FontEngine() : library_(std::make_unique<Library>()) {}

FontEngine::~FontEngine() {
  sized_.clear();
  facesByFile_.clear();
}

FontEngine::Face& FontEngine::FaceFor(const std::string& family, bool bold, bool italic) {
  auto requestKey = std::make_tuple(family, bold, italic);
  if (auto it = facesByRequest_.find(requestKey); it != facesByRequest_.end()) return *it->second;

  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  // Unknown names end at the default sans rather than whatever sorts first.
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("sans-serif"));
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(library_->config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(library_->config, pattern, &result);
  FcPatternDestroy(pattern);
  FcChar8* file = nullptr;
  if (!match || FcPatternGetString(match, FC_FILE, 0, &file) != FcResultMatch) {
    if (match) FcPatternDestroy(match);
    throw EOutOfResources("No font is installed for \"" + family + "\"");
  }
  int faceIndex = 0, weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
  FcPatternGetInteger(match, FC_INDEX, 0, &faceIndex);
  FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
  FcPatternGetInteger(match, FC_SLANT, 0, &slant);
  std::string path = reinterpret_cast<const char*>(file);
  FcPatternDestroy(match);

  std::string fileKey = path + "#" + std::to_string(faceIndex);
  auto found = facesByFile_.find(fileKey);
  if (found == facesByFile_.end()) {
    auto face = std::make_unique<Face>();
    if (FT_New_Face(library_->ft, path.c_str(), faceIndex, &face->face) != 0 || !FT_IS_SCALABLE(face->face))
      throw EOutOfResources("Cannot load the font file " + path);
    FT_Face f = face->face;
    face->family = f->family_name ? f->family_name : "";
    face->bold = weight >= FC_WEIGHT_DEMIBOLD;
    face->italic = slant != FC_SLANT_ROMAN;
    face->unitsPerEm = f->units_per_EM > 0 ? f->units_per_EM : 2048;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(f, FT_SFNT_OS2));
    double em = face->unitsPerEm;
    if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
      face->winAscent = os2->usWinAscent;
      face->winDescent = os2->usWinDescent;
      face->avgCharWidth = os2->xAvgCharWidth;
      face->strikeOutPosition = os2->yStrikeoutPosition;
      face->strikeOutSize = os2->yStrikeoutSize;
    } else {
      face->winAscent = f->ascender > 0 ? f->ascender : em * 0.9;
      face->winDescent = f->descender < 0 ? -f->descender : em * 0.2;
    }
    if (face->avgCharWidth <= 0) face->avgCharWidth = em * 0.45;
    if (face->strikeOutSize <= 0) face->strikeOutSize = em * 0.07;
    if (face->strikeOutPosition <= 0) face->strikeOutPosition = em * 0.26;
    face->underlinePosition = f->underline_position != 0 ? f->underline_position : -em * 0.1;
    face->underlineThickness = f->underline_thickness > 0 ? f->underline_thickness : em * 0.07;
    found = facesByFile_.emplace(fileKey, std::move(face)).first;
  }
  facesByRequest_[requestKey] = found->second.get();
  return *found->second;
}

FontEngine::SizedFont& FontEngine::Sized(const FontSpec& font) {
  if (lastSized_ && font.height == lastSpec_.height && font.bold == lastSpec_.bold &&
      font.italic == lastSpec_.italic && font.name == lastSpec_.name)
    return *lastSized_;

  std::string folded = Folded(font.name);
  bool bold = font.bold || folded == "system";  // the system font exists only in bold
  long long requested = font.height == 0 ? 13 : font.height;
  int height = int(std::clamp<long long>(requested, -kMaxPixelHeight, kMaxPixelHeight));
  if (height == 0) height = requested < 0 ? -1 : 1;
  SizeKey key{folded, height, bold, font.italic};
  auto it = sized_.find(key);
  if (it == sized_.end()) {
    Face& face = FaceFor(FamilyFor(folded), bold, font.italic);
    auto sf = std::make_unique<SizedFont>();
    sf->face = &face;
    sf->fakeBold = bold && !face.bold;
    sf->fakeItalic = font.italic && !face.italic;
    if (FT_New_Size(face.face, &sf->size) != 0) throw EOutOfResources("Cannot size the font");
    FT_Activate_Size(sf->size);

    FontMetrics& m = sf->metrics;
    double cellUnits = face.winAscent + face.winDescent;
    double emPixels, scale;
    if (height < 0) {
      emPixels = -height;
      scale = emPixels / face.unitsPerEm;
      m.ascent = RoundToInt(face.winAscent * scale);
      m.descent = RoundToInt(face.winDescent * scale);
    } else {
      // The cell is given: the em follows from the face's cell-to-em ratio.
      emPixels = height * face.unitsPerEm / cellUnits;
      scale = emPixels / face.unitsPerEm;
      m.ascent = RoundToInt(face.winAscent * height / cellUnits);
      m.descent = height - m.ascent;
    }
    FT_Set_Char_Size(face.face, 0, FT_F26Dot6(std::max(1L, std::lround(emPixels * 64))), 72, 72);
    m.height = m.ascent + m.descent;
    m.internalLeading = std::max(0, m.height - RoundToInt(emPixels));
    m.averageCharWidth = std::max(1, RoundToInt(face.avgCharWidth * scale));

    sf->underlineThickness = std::max(1, RoundToInt(face.underlineThickness * scale));
    sf->underlineTop = m.ascent - RoundToInt(face.underlinePosition * scale);
    sf->underlineTop = std::max(m.ascent, std::min(sf->underlineTop, m.height - sf->underlineThickness));
    sf->strikeOutThickness = std::max(1, RoundToInt(face.strikeOutSize * scale));
    sf->strikeOutTop = std::clamp(m.ascent - RoundToInt(face.strikeOutPosition * scale), 0,
                                  std::max(0, m.ascent - sf->strikeOutThickness));
    it = sized_.emplace(key, std::move(sf)).first;
  }
  lastSized_ = it->second.get();
  lastSpec_ = font;
  return *lastSized_;
}

FontMetrics FontEngine::Metrics(const FontSpec& font) {
  std::lock_guard lock(mutex_);
  return Sized(font).metrics;
}

int FontEngine::CharWidth(const FontSpec& font, uint8_t cp1250) {
  std::lock_guard lock(mutex_);
  return Sized(font).GlyphOf(cp1250).advance;
}

int FontEngine::TextWidth(const FontSpec& font, std::string_view cp1250) {
  std::lock_guard lock(mutex_);
  SizedFont& sf = Sized(font);
  int width = 0;
  for (char c : cp1250) width += sf.GlyphOf(uint8_t(c)).advance;
  return width;
}

std::string FontEngine::ResolvedFamily(const FontSpec& font) {
  std::lock_guard lock(mutex_);
  return Sized(font).face->family;
}

namespace {

// Writes coverage-weighted colour into a target of any depth. Paletted targets
// take the nearest palette entry, computed once per run, where coverage >= 50%.
class Painter {
 public:
  Painter(Dib& target, COLORREF color, const Rect& clip)
      : dib_(target), clip_(clip.Intersect({0, 0, target.width(), target.height()})) {
    color &= 0x00FFFFFF;
    r_ = GetRValue(color);
    g_ = GetGValue(color);
    b_ = GetBValue(color);
    if (target.paletted()) index_ = uint32_t(target.nearestIndex(color));
  }

  bool Visible() const { return !clip_.empty(); }

  // Coverage rows: `coverage` holds `rows` rows of `width` bytes for the box at (x, y).
  void Blend(int x, int y, int width, int rows, const uint8_t* coverage) {
    Rect box = Rect{x, y, x + width, y + rows}.Intersect(clip_);
    if (box.empty()) return;
    for (int py = box.top; py < box.bottom; ++py) {
      const uint8_t* cov = coverage + std::ptrdiff_t(py - y) * width;
      Row(py, box.left, box.right, [cov, x](int px) { return cov[px - x]; });
    }
  }

  void Fill(int x, int y, int width, int rows) {
    Rect box = Rect{x, y, x + width, y + rows}.Intersect(clip_);
    for (int py = box.top; py < box.bottom; ++py) Row(py, box.left, box.right, [](int) { return uint8_t(255); });
  }

 private:
  static uint8_t Mix(uint8_t dst, uint8_t src, unsigned a) {
    return uint8_t((unsigned(dst) * (255 - a) + unsigned(src) * a + 127) / 255);
  }

  template <typename CoverageAt>
  void Row(int py, int x0, int x1, CoverageAt coverageAt) {
    int bpp = dib_.bpp();
    if (bpp == 32 || bpp == 24) {
      int step = bpp / 8;
      uint8_t* p = dib_.row(py) + std::ptrdiff_t(x0) * step;
      for (int px = x0; px < x1; ++px, p += step) {
        unsigned a = coverageAt(px);
        if (a == 0) continue;
        if (a == 255) {
          p[0] = b_; p[1] = g_; p[2] = r_;
        } else {
          p[0] = Mix(p[0], b_, a); p[1] = Mix(p[1], g_, a); p[2] = Mix(p[2], r_, a);
        }
      }
    } else if (bpp == 16) {
      for (int px = x0; px < x1; ++px) {
        unsigned a = coverageAt(px);
        if (a == 0) continue;
        COLORREF old = dib_.pixel(px, py);
        dib_.setPixel(px, py, RGB(Mix(GetRValue(old), r_, a), Mix(GetGValue(old), g_, a), Mix(GetBValue(old), b_, a)));
      }
    } else {
      for (int px = x0; px < x1; ++px)
        if (coverageAt(px) >= 128) dib_.setRawPixel(px, py, index_);
    }
  }

  Dib& dib_;
  Rect clip_;
  uint8_t r_ = 0, g_ = 0, b_ = 0;
  uint32_t index_ = 0;
};

}  // namespace

void FontEngine::DrawTextRun(Dib& target, int x, int y, const FontSpec& font, std::string_view text,
                             COLORREF color, const Rect& clip) {
  std::lock_guard lock(mutex_);
  Painter painter(target, color, clip);
  if (!painter.Visible()) return;
  SizedFont& sf = Sized(font);
  int baseline = y + sf.metrics.ascent;
  int pen = x;
  for (char c : text) {
    const SizedFont::Glyph& g = sf.GlyphOf(uint8_t(c));
    if (g.width > 0) painter.Blend(pen + g.left, baseline - g.top, g.width, g.rows, g.coverage.data());
    pen += g.advance;
  }
  if (font.underline) painter.Fill(x, y + sf.underlineTop, pen - x, sf.underlineThickness);
  if (font.strikeOut) painter.Fill(x, y + sf.strikeOutTop, pen - x, sf.strikeOutThickness);
}

void FontEngine::DrawUnderline(Dib& target, int x, int y, int width, const FontSpec& font, COLORREF color,
                               const Rect& clip) {
  std::lock_guard lock(mutex_);
  Painter painter(target, color, clip);
  if (!painter.Visible() || width <= 0) return;
  SizedFont& sf = Sized(font);
  painter.Fill(x, y + sf.underlineTop, width, sf.underlineThickness);
}

void FontEngine::DrawStrikeOut(Dib& target, int x, int y, int width, const FontSpec& font, COLORREF color,
                               const Rect& clip) {
  std::lock_guard lock(mutex_);
  Painter painter(target, color, clip);
  if (!painter.Visible() || width <= 0) return;
  SizedFont& sf = Sized(font);
  painter.Fill(x, y + sf.strikeOutTop, width, sf.strikeOutThickness);
}

}  // namespace tlb
