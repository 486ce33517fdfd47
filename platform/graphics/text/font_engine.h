#pragma once
// Fonts as the class library describes them, resolved to the system's scalable
// fonts and rendered with FreeType.
//
// Every text of the system is a code page 1250 byte string, so the engine keeps
// its glyphs per byte: a run is measured and drawn by table look-ups once each
// byte has been seen. Advances are whole pixels and kerning is off, so the width
// of a run is the sum of the widths of its characters, as GDI measures it.
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <tuple>

#include "platform/graphics/color.h"
#include "platform/graphics/dib.h"
#include "platform/graphics/geometry.h"

namespace tlb {

struct FontSpec {
  std::string name;
  // Negative: the character (em) height in pixels. Positive: the cell height
  // (ascent + descent) in pixels. 0: the default 13-pixel cell.
  int height = 0;
  bool bold = false, italic = false, underline = false, strikeOut = false;
  bool operator==(const FontSpec&) const = default;
};

struct FontMetrics {
  int ascent = 0;           // cell top to baseline
  int descent = 0;          // baseline to cell bottom
  int height = 0;           // ascent + descent: the line height
  int internalLeading = 0;  // height minus the em size (room for accents)
  int averageCharWidth = 0;
};

class FontEngine {
 public:
  // The process-wide engine and its cache of faces and glyphs.
  static FontEngine& Instance();

  FontMetrics Metrics(const FontSpec& font);
  // The advance of one cp1250 character; control characters (below 0x20 and 0x7F) are 0.
  int CharWidth(const FontSpec& font, uint8_t cp1250);
  // The width of a run: the sum of its characters' advances.
  int TextWidth(const FontSpec& font, std::string_view cp1250);

  // Draws a run whose cell has its top left corner at (x, y), in `color`,
  // touching only pixels inside `clip` and the target. Glyphs are blended by
  // their coverage onto 16-, 24- and 32-bit targets; on paletted targets a pixel
  // takes the palette colour nearest to `color` where coverage is at least half.
  // The font's underline and strike-out are drawn across the run.
  void DrawTextRun(Dib& target, int x, int y, const FontSpec& font, std::string_view text, COLORREF color,
                   const Rect& clip);
  // The font's underline and strike-out lines for a span of `width` pixels
  // starting at x, on the cell whose top is y (drawn whatever the font's flags).
  void DrawUnderline(Dib& target, int x, int y, int width, const FontSpec& font, COLORREF color,
                     const Rect& clip);
  void DrawStrikeOut(Dib& target, int x, int y, int width, const FontSpec& font, COLORREF color,
                     const Rect& clip);

  // The family that a font name resolves to (for diagnostics and tests).
  std::string ResolvedFamily(const FontSpec& font);

  FontEngine(const FontEngine&) = delete;
  FontEngine& operator=(const FontEngine&) = delete;

 private:
  FontEngine();
  ~FontEngine();

  struct Library;
  struct Face;
  struct SizedFont;
  using SizeKey = std::tuple<std::string, int, bool, bool>;  // folded name, height, bold, italic

  SizedFont& Sized(const FontSpec& font);
  Face& FaceFor(const std::string& family, bool bold, bool italic);

  std::mutex mutex_;
  std::unique_ptr<Library> library_;
  std::map<std::tuple<std::string, bool, bool>, Face*> facesByRequest_;
  std::map<std::string, std::unique_ptr<Face>> facesByFile_;
  std::map<SizeKey, std::unique_ptr<SizedFont>> sized_;
  // The last font asked for: the forms draw many runs in one font in a row.
  SizedFont* lastSized_ = nullptr;
  FontSpec lastSpec_;
};

}  // namespace tlb
