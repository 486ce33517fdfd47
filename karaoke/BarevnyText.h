#pragma once
// The two-colour label of the karaoke displays: the first Kolik_znaku_barevnych
// characters of its caption are drawn in Aktivni_barva, the rest in the font
// colour. As a line is sung the form raises the count and the coloured part
// grows from the left. The two colours join exactly on a left-aligned,
// single-line label, which is how every display line is laid out.
#include <cstdint>

#include "platform/ui/stdctrls.h"

namespace tq {

class TBarevnyText : public tlb::TLabel {
 public:
  explicit TBarevnyText(tlb::TComponent* AOwner);
  const char* ClassName() const override { return "TBarevnyText"; }

  // How many leading characters are coloured. Drawing lowers a count past the
  // caption's length to that length (without a repaint), and it stays lowered.
  int32_t Kolik_znaku_barevnych() const { return count_; }
  void SetKolik_znaku_barevnych(int32_t value);
  // The colour of the leading characters; clGreen for a new control.
  tlb::TColor Aktivni_barva() const { return activeColour_; }
  void SetAktivni_barva(tlb::TColor value);

 protected:
  void DoDrawText(tlb::Rect& rect, unsigned flags) override;

 private:
  int32_t count_ = 0;
  tlb::TColor activeColour_ = tlb::clGreen;
};

// Makes TBarevnyText and its two properties known to the form reader (once).
void RegisterBarevnyTextClass();

}  // namespace tq
