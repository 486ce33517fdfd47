#include "platform/graphics/text/draw_text.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tlb {
namespace {

// One character after "&" prefixes are resolved.
struct TextChar {
  uint8_t byte;
  bool prefixed;  // drawn with an underline ("&x")
};

struct Line {
  size_t begin, end;  // indexes into the resolved characters
  int width;
};

int FloorDiv2(int v) { return v >= 0 ? v / 2 : -((-v + 1) / 2); }

std::vector<TextChar> ResolvePrefixes(std::string_view text, unsigned format) {
  std::vector<TextChar> out;
  out.reserve(text.size());
  bool prefixes = !(format & DT_NOPREFIX);
  bool showPrefix = !(format & DT_HIDEPREFIX);
  for (size_t i = 0; i < text.size(); ++i) {
    uint8_t c = uint8_t(text[i]);
    if (c != '&' || !prefixes) {
      out.push_back({c, false});
      continue;
    }
    if (i + 1 == text.size()) break;  // a closing "&" marks nothing
    uint8_t next = uint8_t(text[++i]);
    if (next == '&') out.push_back({'&', false});
    else out.push_back({next, showPrefix && next >= 0x20});
  }
  return out;
}

// Advances of one font, looked up once per byte during a call.
class Measurer {
 public:
  Measurer(FontEngine& engine, const FontSpec& font, bool expandTabs)
      : engine_(engine), font_(font), expandTabs_(expandTabs) {
    widths_.fill(-1);
    if (expandTabs_) tabWidth_ = std::max(1, 8 * engine.Metrics(font).averageCharWidth);
  }

  int Advance(uint8_t byte) {
    int16_t& w = widths_[byte];
    if (w < 0) w = int16_t(engine_.CharWidth(font_, byte));
    return w;
  }
  bool IsTab(uint8_t byte) const { return expandTabs_ && byte == '\t'; }
  int NextTabStop(int pen) const { return (pen / tabWidth_ + 1) * tabWidth_; }

  // The pen after laying out chars[begin, end) from `pen`, measured from a line start.
  int Extend(int pen, const std::vector<TextChar>& chars, size_t begin, size_t end) {
    for (size_t i = begin; i < end; ++i) pen = IsTab(chars[i].byte) ? NextTabStop(pen) : pen + Advance(chars[i].byte);
    return pen;
  }
  int Width(const std::vector<TextChar>& chars, size_t begin, size_t end) { return Extend(0, chars, begin, end); }

 private:
  FontEngine& engine_;
  const FontSpec& font_;
  bool expandTabs_;
  int tabWidth_ = 1;
  std::array<int16_t, 256> widths_;
};

// Breaks one hard line between words so that each piece fits `maxWidth`; the
// spaces at a break belong to neither piece, and a word too wide stays whole.
void BreakWords(const std::vector<TextChar>& chars, size_t begin, size_t end, int maxWidth, Measurer& measure,
                std::vector<Line>& lines) {
  auto isSpace = [&](size_t i) { return chars[i].byte == ' '; };
  size_t start = begin;
  size_t fitEnd = begin;  // end of the last word placed on the current piece
  int fitWidth = 0;       // the width of chars[start, fitEnd)
  bool hasWord = false;
  size_t pos = begin;
  while (pos < end) {
    size_t wordStart = pos;
    while (wordStart < end && isSpace(wordStart)) ++wordStart;
    if (wordStart == end) break;
    size_t wordEnd = wordStart;
    while (wordEnd < end && !isSpace(wordEnd)) ++wordEnd;
    int width = measure.Extend(fitWidth, chars, fitEnd, wordEnd);
    if (hasWord && width > maxWidth) {
      lines.push_back({start, fitEnd, fitWidth});
      start = wordStart;
      width = measure.Width(chars, wordStart, wordEnd);
    }
    fitEnd = wordEnd;
    fitWidth = width;
    hasWord = true;
    pos = wordEnd;
  }
  lines.push_back({start, end, measure.Extend(fitWidth, chars, fitEnd, end)});
}

std::vector<Line> LayOut(const std::vector<TextChar>& chars, unsigned format, int maxWidth, Measurer& measure) {
  std::vector<Line> lines;
  bool singleLine = format & DT_SINGLELINE;
  bool wordBreak = (format & DT_WORDBREAK) && !singleLine;
  size_t pos = 0, n = chars.size();
  while (pos < n) {
    size_t end = pos;
    if (!singleLine)
      while (end < n && chars[end].byte != '\r' && chars[end].byte != '\n') ++end;
    else
      end = n;
    if (wordBreak) BreakWords(chars, pos, end, maxWidth, measure, lines);
    else lines.push_back({pos, end, measure.Width(chars, pos, end)});
    pos = end;
    if (pos < n && chars[pos].byte == '\r') ++pos;
    if (pos < n && chars[pos].byte == '\n' && (pos == end || chars[pos - 1].byte == '\r')) ++pos;
  }
  return lines;
}

struct Placement {
  std::vector<TextChar> chars;
  std::vector<Line> lines;
  int lineHeight = 0;
  int textHeight = 0;
  int widest = 0;
};

Placement Place(std::string_view text, const Rect& rect, unsigned format, const FontSpec& font,
                Measurer& measure) {
  Placement p;
  p.chars = ResolvePrefixes(text, format);
  p.lines = LayOut(p.chars, format, rect.width(), measure);
  p.lineHeight = FontEngine::Instance().Metrics(font).height;
  p.textHeight = int(p.lines.size()) * p.lineHeight;
  for (const Line& l : p.lines) p.widest = std::max(p.widest, l.width);
  return p;
}

void DrawLine(Dib& target, const Placement& p, const Line& line, int x, int y, const FontSpec& font,
              const FontSpec& plain, COLORREF color, const Rect& clip, Measurer& measure) {
  FontEngine& engine = FontEngine::Instance();
  std::string run;
  int pen = x, runX = x;
  auto flush = [&] {
    if (!run.empty()) engine.DrawTextRun(target, runX, y, plain, run, color, clip);
    run.clear();
  };
  for (size_t i = line.begin; i < line.end; ++i) {
    uint8_t b = p.chars[i].byte;
    if (measure.IsTab(b)) {
      flush();
      pen = x + measure.NextTabStop(pen - x);
      runX = pen;
      continue;
    }
    int advance = measure.Advance(b);
    if (p.chars[i].prefixed) engine.DrawUnderline(target, pen, y, advance, font, color, clip);
    run += char(b);
    pen += advance;
  }
  flush();
  if (font.underline) engine.DrawUnderline(target, x, y, line.width, font, color, clip);
  if (font.strikeOut) engine.DrawStrikeOut(target, x, y, line.width, font, color, clip);
}

int Measure(const Placement& p, Rect& rect) {
  rect.right = rect.left + p.widest;
  rect.bottom = rect.top + p.textHeight;
  return p.textHeight;
}

}  // namespace

int MeasureTextCp(std::string_view text, Rect& rect, unsigned format, const FontSpec& font) {
  Measurer measure(FontEngine::Instance(), font, format & DT_EXPANDTABS);
  return Measure(Place(text, rect, format, font, measure), rect);
}

int DrawTextCp(Dib& target, std::string_view text, Rect& rect, unsigned format, const FontSpec& font,
               COLORREF color, const Rect& clip) {
  Measurer measure(FontEngine::Instance(), font, format & DT_EXPANDTABS);
  Placement p = Place(text, rect, format, font, measure);
  if (format & DT_CALCRECT) return Measure(p, rect);
  if (p.lines.empty()) return 0;

  // Vertical placement applies to text that is one line.
  int y = rect.top;
  bool aligned = false;
  if (p.lines.size() == 1 && (format & (DT_VCENTER | DT_BOTTOM))) {
    y = (format & DT_VCENTER) ? rect.top + FloorDiv2(rect.height() - p.textHeight) : rect.bottom - p.textHeight;
    aligned = true;
  }
  int result = aligned ? y - rect.top + p.textHeight : p.textHeight;

  Rect area = clip.Intersect({0, 0, target.width(), target.height()});
  if (!(format & DT_NOCLIP)) area = area.Intersect(rect);
  if (area.empty()) return result;

  FontSpec plain = font;
  plain.underline = plain.strikeOut = false;
  // Glyphs may reach a little beyond their cell; lines further away are skipped.
  int margin = p.lineHeight / 2 + 1;
  for (const Line& line : p.lines) {
    if (y + p.lineHeight + margin > area.top && y - margin < area.bottom) {
      int x = rect.left;
      if (format & DT_CENTER) x = rect.left + FloorDiv2(rect.width() - line.width);
      else if (format & DT_RIGHT) x = rect.right - line.width;
      DrawLine(target, p, line, x, y, font, plain, color, area, measure);
    }
    y += p.lineHeight;
  }
  return result;
}

}  // namespace tlb
