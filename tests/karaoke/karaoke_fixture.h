#pragma once
// A headless form holding two-colour lines laid out as the karaoke forms lay
// them out: green background, bold Arial, lime font, yellow highlight.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "karaoke/BarevnyText.h"
#include "platform/core/sysutils.h"
#include "tests/support/headless_run.h"

namespace tq::testing {

// A line that counts how often it is painted.
class CountingText : public TBarevnyText {
 public:
  using TBarevnyText::TBarevnyText;
  void Paint() override {
    ++paints;
    TBarevnyText::Paint();
  }
  int paints = 0;
};

struct KaraokeFormFixture : ::testing::Test {
  tlb::testing::HeadlessRun run;
  tlb::TForm* form = nullptr;

  KaraokeFormFixture() {
    RegisterBarevnyTextClass();
    form = new tlb::TForm(tlb::Application);
    form->BorderStyle = tlb::bsNone;
    form->SetBounds(0, 0, 640, 480);
    form->SetColor(tlb::clGreen);
    form->Show();
  }

  // A display line at `top`, named "text_<k>", as the rhymes form has it.
  CountingText* AddLine(int k, int top, int left = 448, int width = 185, int height = 20) {
    auto* t = new CountingText(form);
    t->Name = "text_" + tlb::IntToStr(k);
    t->SetParent(form);
    t->SetAutoSize(false);
    t->SetBounds(left, top, width, height);
    t->SetLayout(tlb::tlCenter);
    t->SetParentColor(false);
    t->SetColor(tlb::clGreen);
    t->SetParentFont(false);
    t->Font().SetName("Arial");
    t->Font().SetHeight(-13);
    t->Font().SetStyle({tlb::fsBold});
    t->Font().SetColor(tlb::clLime);
    t->SetAktivni_barva(tlb::clYellow);
    return t;
  }

  // Repaints the whole form and returns the control's pixels.
  tlb::Dib Shot(tlb::TControl* c) {
    form->InvalidateArea({0, 0, form->Width(), form->Height()});
    form->PaintNow();
    tlb::Dib out(c->Width(), c->Height(), 32);
    for (int y = 0; y < c->Height(); ++y)
      for (int x = 0; x < c->Width(); ++x) out.setPixel(x, y, form->Surface().pixel(c->Left() + x, c->Top() + y));
    return out;
  }
};

// Pixels of text over the green background: yellow ink has red in it, lime ink has none.
enum class Ink { None, Yellow, Lime, Other };
inline Ink InkAt(const tlb::Dib& d, int x, int y) {
  tlb::COLORREF c = d.pixel(x, y);
  if (c == tlb::COLORREF(tlb::clGreen)) return Ink::None;
  int r = c & 0xFF, b = (c >> 16) & 0xFF;
  if (b != 0) return Ink::Other;
  return r > 0 ? Ink::Yellow : Ink::Lime;
}

// How much of a pixel the text covers, 0 to 1, whichever of the two colours it is drawn in.
inline double CoverageAt(const tlb::Dib& d, int x, int y) {
  tlb::COLORREF c = d.pixel(x, y);
  int r = c & 0xFF, g = (c >> 8) & 0xFF;
  return r > 0 ? r / 255.0 : (g - 128) / 127.0;
}

struct InkSummary {
  int yellow = 0, lime = 0, other = 0;
  int lastYellowX = -1, firstLimeX = 1 << 30;
};
inline InkSummary Summarise(const tlb::Dib& d) {
  InkSummary s;
  for (int y = 0; y < d.height(); ++y)
    for (int x = 0; x < d.width(); ++x) switch (InkAt(d, x, y)) {
        case Ink::Yellow: ++s.yellow; s.lastYellowX = std::max(s.lastYellowX, x); break;
        case Ink::Lime: ++s.lime; s.firstLimeX = std::min(s.firstLimeX, x); break;
        case Ink::Other: ++s.other; break;
        case Ink::None: break;
      }
  return s;
}

}  // namespace tq::testing
