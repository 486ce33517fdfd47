#include "platform/core/exceptions.h"
#include "platform/core/paths.h"
#include "platform/formats/bmp_reader.h"
#include "platform/graphics/dib_blit.h"
#include "platform/graphics/graphics.h"

namespace tlb {

TPixelFormat PixelFormatForDepth(int bpp) {
  switch (bpp) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 16: return pf15bit;
    case 24: return pf24bit;
    case 32: return pf32bit;
    default: return pfCustom;
  }
}

namespace {

int DepthFor(TPixelFormat f) {
  switch (f) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf15bit: case pf16bit: return 16;
    case pf24bit: return 24;
    default: return 32;
  }
}

// The palette a paletted bitmap gets when it is made at that depth.
std::vector<RGBQuad> DefaultPalette(int bpp) { return StandardPalette(bpp); }

}  // namespace

TBitmap::TBitmap() = default;

TBitmap::TBitmap(const TBitmap& other) : TGraphic() {
  transparent_ = other.transparent_;
  format_ = other.format_;
  transparentColor_ = other.transparentColor_;
  mode_ = other.mode_;
  if (other.handle_) handle_ = std::make_shared<GdiBitmap>(other.handle_->dib);
}

TBitmap::~TBitmap() = default;

void TBitmap::EnsureHandle() const {
  if (!handle_) handle_ = std::make_shared<GdiBitmap>(Dib(0, 0, 32));
}

Dib& TBitmap::Pixels() {
  EnsureHandle();
  return handle_->dib;
}

const Dib& TBitmap::Pixels() const {
  EnsureHandle();
  return handle_->dib;
}

int TBitmap::Width() const { return handle_ ? handle_->dib.width() : 0; }
int TBitmap::Height() const { return handle_ ? handle_->dib.height() : 0; }
bool TBitmap::Empty() const { return Width() == 0 || Height() == 0; }

void TBitmap::SetSize(int w, int h) {
  if (w == Width() && h == Height()) return;
  const Dib& old = Pixels();
  int bpp = old.empty() ? DepthFor(format_) : old.bpp();
  Dib fresh(w, h, bpp, old.paletted() && !old.palette().empty() ? old.palette() : DefaultPalette(bpp));
  // A new bitmap starts white; a resized one keeps its pixels where they overlap.
  fresh.fill(0xFFFFFF);
  if (!old.empty()) CopyDib(fresh, 0, 0, old, {0, 0, old.width(), old.height()}, {0, 0, w, h});
  handle_->dib = std::move(fresh);
  AttachCanvas();
  Changed();
}

void TBitmap::SetWidth(int w) { SetSize(w, Height()); }
void TBitmap::SetHeight(int h) { SetSize(Width(), h); }

void TBitmap::AttachCanvas() {
  if (canvas_) canvas_->Attach(&Pixels(), {0, 0}, {0, 0, Width(), Height()});
}

TCanvas& TBitmap::Canvas() {
  if (!canvas_) {
    canvas_ = std::make_unique<TCanvas>();
    canvas_->Brush.Color = clWhite;
    canvas_->OnChange = [this] { Changed(); };
  }
  AttachCanvas();
  return *canvas_;
}

void TBitmap::SetPixelFormat(TPixelFormat f) {
  if (f == format_) return;
  format_ = f;
  if (!Empty() && f != pfDevice && f != pfCustom) {
    int bpp = DepthFor(f);
    if (bpp != handle_->dib.bpp()) handle_->dib = handle_->dib.converted(bpp, DefaultPalette(bpp));
  }
  AttachCanvas();
  Changed();
}

bool TBitmap::Monochrome() const { return handle_ && handle_->dib.bpp() == 1; }

void TBitmap::SetMonochrome(bool v) {
  if (v == Monochrome()) return;
  EnsureHandle();
  const Dib& old = handle_->dib;
  if (v) {
    COLORREF brush = ColorToRGB(canvas_ ? canvas_->Brush.Color : clWhite);
    Dib mono(old.width(), old.height(), 1, DefaultPalette(1));
    for (int y = 0; y < old.height(); ++y)
      for (int x = 0; x < old.width(); ++x) mono.setRawPixel(x, y, old.pixel(x, y) == brush ? 1 : 0);
    handle_->dib = std::move(mono);
    format_ = pf1bit;
  } else {
    handle_->dib = old.converted(32);
    format_ = pfDevice;
  }
  AttachCanvas();
  Changed();
}

TColor TBitmap::TransparentColor() const {
  if (mode_ == tmFixed && transparentColor_ != clDefault) return transparentColor_;
  if (Empty()) return clDefault;
  // The bottom-left pixel, as the class library takes it, with the palette-relative flag.
  return TColor(Pixels().pixel(0, Height() - 1) | PaletteRelativeFlag);
}

void TBitmap::SetTransparentColor(TColor c) {
  transparentColor_ = c;
  mode_ = c == clDefault ? tmAuto : tmFixed;
  Changed();
}

HBITMAP TBitmap::Handle() const {
  EnsureHandle();
  return handle_.get();
}

void TBitmap::SetHandle(HBITMAP bitmap) {
  if (bitmap == handle_.get()) return;
  if (bitmap) {
    handle_ = std::make_shared<GdiBitmap>(std::move(bitmap->dib));
    DeleteObject(bitmap);
    format_ = handle_->dib.bpp() == 1 ? pf1bit : format_;
  } else {
    handle_.reset();
  }
  AttachCanvas();
  Changed();
}

void TBitmap::Dormant() {
  // The pixels live in memory in any case; nothing to give up but the cached palette handle.
  palette_.reset();
}

HPALETTE TBitmap::Palette() const {
  if (!handle_ || !handle_->dib.paletted()) return nullptr;
  if (!palette_) {
    palette_ = std::make_unique<GdiPalette>();
    palette_->entries = handle_->dib.palette();
  }
  return palette_.get();
}

std::vector<RGBQuad> TBitmap::PaletteEntries() const { return handle_ ? handle_->dib.palette() : std::vector<RGBQuad>{}; }

void TBitmap::SetPixels(Dib dib, TPixelFormat format) {
  handle_ = std::make_shared<GdiBitmap>(std::move(dib));
  palette_.reset();
  format_ = format;
  AttachCanvas();
  Changed();
}

void TBitmap::Assign(const TBitmap& other) {
  if (&other == this) return;
  transparent_ = other.transparent_;
  format_ = other.format_;
  transparentColor_ = other.transparentColor_;
  mode_ = other.mode_;
  palette_.reset();
  if (other.handle_) handle_ = std::make_shared<GdiBitmap>(other.handle_->dib);
  else handle_.reset();
  AttachCanvas();
  Changed();
}

void TBitmap::LoadFromBytes(const std::vector<uint8_t>& bytes) {
  Dib dib = ReadBmp(bytes.data(), bytes.size());
  TPixelFormat f = PixelFormatForDepth(dib.bpp());
  SetPixels(std::move(dib), f);
}

void TBitmap::LoadFromFile(const std::string& windowsPath) { LoadFromBytes(ReadWholeFile(windowsPath)); }

void TBitmap::Draw(TCanvas& canvas, const Rect& r) const {
  if (Empty() || !canvas.Surface()) return;
  Dib& target = *canvas.Surface();
  Rect dest = r.Offset(canvas.Origin().x, canvas.Origin().y);
  Rect clip = canvas.ClipRect();
  const Dib& src = Pixels();
  Rect srcRect{0, 0, src.width(), src.height()};
  COLORREF transparent = Transparent() ? ColorToRGB(TransparentColor() & ~TColor(PaletteRelativeFlag)) : CLR_NONE;
  if (dest.width() == src.width() && dest.height() == src.height()) {
    if (transparent == CLR_NONE) CopyDib(target, dest.left, dest.top, src, srcRect, clip);
    else CopyDibTransparent(target, dest.left, dest.top, src, srcRect, clip, transparent);
  } else {
    StretchDib(target, dest, src, srcRect, clip, transparent);
  }
}

void TPicture::SetGraphic(std::unique_ptr<TGraphic> g) {
  graphic_ = std::move(g);
  if (graphic_) graphic_->OnChange = [this] { Changed(); };
  Changed();
}

TBitmap* TPicture::Bitmap() {
  auto* b = dynamic_cast<TBitmap*>(graphic_.get());
  if (!b) {
    SetGraphic(std::make_unique<TBitmap>());
    b = static_cast<TBitmap*>(graphic_.get());
  }
  return b;
}

void TPicture::LoadFromBytes(const std::vector<uint8_t>& bytes) {
  auto b = std::make_unique<TBitmap>();
  b->LoadFromBytes(bytes);  // throws before anything is replaced
  SetGraphic(std::move(b));
}

void TPicture::LoadFromFile(const std::string& windowsPath) { LoadFromBytes(ReadWholeFile(windowsPath)); }

void TPicture::Assign(const TPicture* other) {
  if (other == this) return;
  SetGraphic(other && other->graphic_ ? other->graphic_->Clone() : nullptr);
}

}  // namespace tlb
