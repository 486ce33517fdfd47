#include "shared/TileImage.h"

#include "platform/ui/property_helpers.h"

namespace tq {

using namespace tlb;

TTileImage::TTileImage(TComponent* AOwner) : TPaintBox(AOwner) {
  tileImage_ = false;
  picture_ = new TPicture();
  picture_->OnChange = [this] { PictureUpdated(); };
  SetHeight(105);
  SetWidth(105);
}

TTileImage::~TTileImage() {
  delete picture_;
  picture_ = nullptr;
}

void TTileImage::SetTileImage(bool value) {
  if (value == tileImage_) return;
  tileImage_ = value;
  Invalidate();
}

void TTileImage::SetPicture(const TPicture* value) {
  picture_->Assign(value);
  Invalidate();
}

void TTileImage::PictureUpdated() {
  if (!painting_) Invalidate();
}

void TTileImage::Paint() {
  TCanvas& canvas = Canvas();
  if (Has(csDesigning)) {
    canvas.Pen.Style = psDash;
    canvas.Brush.Style = bsClear;
    canvas.Rectangle(0, 0, Width(), Height());
  }
  bool wasPainting = painting_;
  painting_ = true;
  lastDraws_ = 0;
  try {
    TGraphic* g = picture_->Graphic();
    if (g && !g->Empty()) {
      if (!tileImage_) {
        canvas.Draw(0, 0, g);
        lastDraws_ = 1;
      } else {
        int w = g->Width(), h = g->Height();
        // A graphic without width or height draws nothing (Empty above), so the steps are never 0.
        for (int y = 0; y < Height(); y += h)
          for (int x = 0; x < Width(); x += w) {
            canvas.Draw(x, y, g);
            ++lastDraws_;
          }
      }
    }
  } catch (...) {
    painting_ = wasPainting;
    throw;
  }
  painting_ = wasPainting;
}

void RegisterTileImageClass() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterStandardClasses();
  Class<TTileImage>("TTileImage", "TPaintBox");
  Prop<TTileImage>("TTileImage", "TileImage",
                   [](TTileImage* t, const FormValue& v, const LoadContext&) { t->SetTileImage(v.AsBool()); });
  Prop<TTileImage>("TTileImage", "Picture", [](TTileImage* t, const FormValue& v, const LoadContext& ctx) {
    TPicture p;
    LoadPictureResource(p, v, ctx);
    t->SetPicture(&p);
  });
}

}  // namespace tq
