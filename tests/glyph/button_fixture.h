#pragma once
// A form with glyph buttons made as the programs' forms make them, and a log of
// their events.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/glyph/glyph_fixtures.h"
#include "tests/support/headless_run.h"

namespace tq::testing {

// The five-cell strip of the forms: cell k is a 20 x 20 square of its own ink
// colour on a teal background (transparent).
inline tlb::TBitmap FiveCellStrip() {
  static const tlb::COLORREF ink[5] = {kRed, kGray, kLime, kBlue, kYellow};
  return Painted(100, 20, [](int x, int y) {
    int cx = x % 20;
    return cx >= 4 && cx < 16 && y >= 4 && y < 16 ? ink[x / 20] : kTeal;
  });
}

struct ButtonFixture : ::testing::Test {
  tlb::testing::HeadlessRun run;
  tlb::TForm* form = nullptr;
  std::vector<std::string> log;

  ButtonFixture() {
    form = new tlb::TForm(tlb::Application);
    form->BorderStyle = tlb::bsNone;
    form->SetBounds(0, 0, 640, 480);
    form->SetColor(tlb::clGreen);
    form->Show();
  }

  // A button like those of the forms: five cells, no border, green, logging its events.
  TGlyphButton* MakeButton(const std::string& name, tlb::Rect bounds) {
    auto* b = new TGlyphButton(form);
    b->Name = name;
    b->SetParent(form);
    b->SetBounds(bounds.left, bounds.top, bounds.width(), bounds.height());
    tlb::TBitmap strip = FiveCellStrip();
    b->SetGlyph(&strip);
    b->SetNumGlyphs(5);
    b->SetNoBorder(true);
    b->SetColor(tlb::clGreen);
    b->SetDisplayMode(dmGlyphOnly);
    b->OnMouseEnter = [this, name](tlb::TObject*) { log.push_back("enter " + name); };
    b->OnMouseExit = [this, name](tlb::TObject*) { log.push_back("exit " + name); };
    b->OnClick = [this, name, b](tlb::TObject*) {
      log.push_back("click " + name + (b->VisualState() == vsDown ? " pressed" : " not pressed"));
    };
    b->OnMouseDown = [this, name](tlb::TObject*, tlb::TMouseButton button, tlb::TShiftState, int, int) {
      log.push_back("down " + name + (button == tlb::mbRight ? " right" : ""));
    };
    b->OnMouseUp = [this, name](tlb::TObject*, tlb::TMouseButton button, tlb::TShiftState, int, int) {
      log.push_back("up " + name + (button == tlb::mbRight ? " right" : ""));
    };
    return b;
  }

  static tlb::Point Inside(const TGlyphButton* b, int dx = 5, int dy = 5) {
    return b->ClientToScreen({dx, dy});
  }

  using Log = std::vector<std::string>;
};

}  // namespace tq::testing
