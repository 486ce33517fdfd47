#include "karaoke/BarevnyText.h"

#include "platform/ui/form_reader.h"
#include "platform/ui/property_helpers.h"

namespace tq {

using namespace tlb;

TBarevnyText::TBarevnyText(TComponent* AOwner) : TLabel(AOwner) {}

void TBarevnyText::SetKolik_znaku_barevnych(int32_t value) {
  if (value == count_) return;
  count_ = value;
  Invalidate();
}

void TBarevnyText::SetAktivni_barva(TColor value) {
  if (value == activeColour_) return;
  activeColour_ = value;
  Invalidate();
}

void TBarevnyText::DoDrawText(Rect& rect, unsigned flags) {
  // No flag is added: an "&" underlines the next character whatever ShowAccelChar says,
  // and an empty caption measures as empty.
  const std::string text = Caption();
  TCanvas& c = Canvas();
  if (!Enabled()) {
    // The relief of a disabled label, in the label's font.
    c.Font.Assign(Font());
    Rect shifted = rect.Offset(1, 1);
    c.Font.SetColor(clBtnHighlight);
    c.DrawText(text, shifted, flags);
    c.Font.SetColor(clBtnShadow);
    c.DrawText(text, rect, flags);
    return;
  }
  c.Font.Assign(Font());
  if (count_ <= 0) {
    c.DrawText(text, rect, flags);
    return;
  }
  if (count_ > int32_t(text.size())) count_ = int32_t(text.size());
  const std::string head = text.substr(0, size_t(count_));
  c.Font.SetColor(activeColour_);
  c.DrawText(head, rect, flags);
  if (size_t(count_) < text.size()) {
    c.Font.Assign(Font());
    const std::string tail = text.substr(size_t(count_));
    // The tail starts where the head ends, as measured in the label's font.
    Rect moved = rect.Offset(c.TextWidth(head), 0);
    c.DrawText(tail, moved, flags);
    rect = moved;
  }
}

void RegisterBarevnyTextClass() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterStandardClasses();
  Class<TBarevnyText>("TBarevnyText", "TLabel");
  Prop<TBarevnyText>("TBarevnyText", "Kolik_znaku_barevnych", [](TBarevnyText* x, const FormValue& v, const LoadContext&) {
    x->SetKolik_znaku_barevnych(v.AsInt());
  });
  Prop<TBarevnyText>("TBarevnyText", "Aktivni_barva", [](TBarevnyText* x, const FormValue& v, const LoadContext& ctx) {
    x->SetAktivni_barva(ParseColor(v, ctx));
  });
}

}  // namespace tq
