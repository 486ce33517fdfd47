#pragma once
// The class library's graphics objects: font, brush and pen descriptions, the
// canvas that draws with them, and the bitmap and picture that hold images.
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/graphics/color.h"
#include "platform/graphics/dib.h"
#include "platform/graphics/gdi.h"
#include "platform/graphics/geometry.h"

namespace tlb {

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = std::set<TFontStyle>;
constexpr int DEFAULT_CHARSET = 1;
constexpr int EASTEUROPE_CHARSET = 238;

class TFont {
 public:
  std::string Name() const { return name_; }
  void SetName(const std::string& v) { if (v != name_) { name_ = v; Changed(); } }
  int Height() const { return height_; }
  void SetHeight(int v) { if (v != height_) { height_ = v; Changed(); } }
  // Size in points at 96 dots per inch: Height = -Size * 96 / 72.
  int Size() const { return -(height_ * 72 - (height_ < 0 ? 48 : -48)) / 96; }
  void SetSize(int points) { SetHeight(-(points * 96 + 36) / 72); }
  TColor Color() const { return color_; }
  void SetColor(TColor v) { if (v != color_) { color_ = v; Changed(); } }
  TFontStyles Style() const { return style_; }
  void SetStyle(const TFontStyles& v) { if (v != style_) { style_ = v; Changed(); } }
  int Charset() const { return charset_; }
  void SetCharset(int v) { if (v != charset_) { charset_ = v; Changed(); } }
  void Assign(const TFont& other);
  FontSpec Spec() const;
  bool operator==(const TFont& o) const {
    return name_ == o.name_ && height_ == o.height_ && color_ == o.color_ && style_ == o.style_ && charset_ == o.charset_;
  }
  std::function<void()> OnChange;

 private:
  void Changed() { if (OnChange) OnChange(); }
  std::string name_ = "MS Sans Serif";
  int height_ = -11;
  TColor color_ = clWindowText;
  TFontStyles style_;
  int charset_ = DEFAULT_CHARSET;
};

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
class TBitmap;

class TBrush {
 public:
  TColor Color = clWhite;
  TBrushStyle Style = bsSolid;
  // A pattern bitmap; when set it replaces the colour and style.
  std::shared_ptr<const Dib> Bitmap;
  void SetBitmap(const TBitmap* bitmap);
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
class TPen {
 public:
  TColor Color = clBlack;
  TPenStyle Style = psSolid;
  int Width = 1;
};

class TGraphic;

// Draws on a Dib through a device context: a bitmap's own pixels, or a control's
// part of its form's surface (origin and clip set by the painter).
class TCanvas {
 public:
  TCanvas() = default;
  ~TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  TFont Font;
  TBrush Brush;
  TPen Pen;
  int CopyMode = 0x00CC0020;  // SRCCOPY

  // Binds the canvas to a surface. Drawing outside `clip` (surface coordinates) is dropped.
  void Attach(Dib* surface, Point origin, Rect clip);
  void Detach();
  bool HasSurface() const { return surface_ != nullptr; }
  // The device context, for the GDI calls.
  HDC Handle();

  void FillRect(const Rect& r);
  void Rectangle(int l, int t, int r, int b);
  void FrameRect(const Rect& r);
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void Polygon(const std::vector<Point>& points);
  void Polyline(const std::vector<Point>& points);
  void Draw(int x, int y, const TGraphic* graphic);
  void StretchDraw(const Rect& r, const TGraphic* graphic);
  void CopyRect(const Rect& dest, TCanvas& source, const Rect& src);
  COLORREF Pixel(int x, int y);
  void SetPixel(int x, int y, TColor color);
  void TextOut(int x, int y, const std::string& text);
  void TextRect(const Rect& r, int x, int y, const std::string& text);
  int TextWidth(const std::string& text);
  int TextHeight(const std::string& text);
  // DrawText with the canvas font and font colour; returns the text height.
  int DrawText(const std::string& text, Rect& r, unsigned format);

  Dib* Surface() const { return surface_; }
  Point Origin() const { return origin_; }
  Rect ClipRect() const { return clip_; }
  // Told after every drawing call (a bitmap's change notification).
  std::function<void()> OnChange;

 private:
  void Changed() { if (OnChange) OnChange(); }
  void SyncHandle();
  Dib* surface_ = nullptr;
  Point origin_;
  Rect clip_;
  HDC dc_ = nullptr;
};

class TGraphic {
 public:
  virtual ~TGraphic() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual bool Empty() const = 0;
  virtual void Draw(TCanvas& canvas, const Rect& r) const = 0;
  virtual std::unique_ptr<TGraphic> Clone() const = 0;
  virtual void LoadFromBytes(const std::vector<uint8_t>& bytes) = 0;
  bool Transparent() const { return transparent_; }
  virtual void SetTransparent(bool v) { if (v != transparent_) { transparent_ = v; Changed(); } }
  std::function<void()> OnChange;

 protected:
  void Changed() { if (OnChange) OnChange(); }
  bool transparent_ = false;
};

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TTransparentMode { tmAuto, tmFixed };

class TBitmap : public TGraphic {
 public:
  TBitmap();
  TBitmap(const TBitmap& other);
  ~TBitmap() override;

  int Width() const override;
  int Height() const override;
  bool Empty() const override;
  void SetWidth(int w);
  void SetHeight(int h);
  void SetSize(int w, int h);
  void Draw(TCanvas& canvas, const Rect& r) const override;
  std::unique_ptr<TGraphic> Clone() const override { return std::make_unique<TBitmap>(*this); }
  void LoadFromBytes(const std::vector<uint8_t>& bytes) override;
  void LoadFromFile(const std::string& windowsPath);
  void Assign(const TBitmap& other);

  TCanvas& Canvas();
  TPixelFormat PixelFormat() const { return format_; }
  void SetPixelFormat(TPixelFormat f);
  bool Monochrome() const;
  // Monochrome := True turns pixels of the canvas brush colour white and all others black.
  void SetMonochrome(bool v);
  // The colour shown transparent: clDefault (tmAuto) means the bottom-left pixel.
  TColor TransparentColor() const;
  void SetTransparentColor(TColor c);
  TTransparentMode TransparentMode() const { return mode_; }
  void SetTransparentMode(TTransparentMode m) { mode_ = m; Changed(); }

  // The GDI bitmap behind it. Assigning a handle takes ownership of it.
  HBITMAP Handle() const;
  void SetHandle(HBITMAP bitmap);
  bool HandleAllocated() const { return handle_ != nullptr; }
  // Gives up the device handle but keeps the pixels.
  void Dormant();
  HPALETTE Palette() const;
  std::vector<RGBQuad> PaletteEntries() const;

  Dib& Pixels();
  const Dib& Pixels() const;
  // Replaces the pixels (and the format that follows from their depth).
  void SetPixels(Dib dib, TPixelFormat format);

 private:
  void EnsureHandle() const;
  void AttachCanvas();
  mutable std::shared_ptr<GdiBitmap> handle_;
  mutable std::unique_ptr<GdiPalette> palette_;
  std::unique_ptr<TCanvas> canvas_;
  TPixelFormat format_ = pfDevice;
  TColor transparentColor_ = clDefault;
  TTransparentMode mode_ = tmAuto;
};

TPixelFormat PixelFormatForDepth(int bpp);

class TPicture {
 public:
  TPicture() = default;
  TPicture(const TPicture&) = delete;
  TPicture& operator=(const TPicture&) = delete;

  TGraphic* Graphic() const { return graphic_.get(); }
  void SetGraphic(std::unique_ptr<TGraphic> g);
  // The picture as a bitmap; an empty picture or another kind of graphic is replaced by a new bitmap.
  TBitmap* Bitmap();
  int Width() const { return graphic_ ? graphic_->Width() : 0; }
  int Height() const { return graphic_ ? graphic_->Height() : 0; }
  // Loads a BMP file. On failure the picture keeps what it had and the exception is raised.
  void LoadFromFile(const std::string& windowsPath);
  void LoadFromBytes(const std::vector<uint8_t>& bytes);
  void Assign(const TPicture* other);
  void Clear() { SetGraphic(nullptr); }
  std::function<void()> OnChange;

 private:
  void Changed() { if (OnChange) OnChange(); }
  std::unique_ptr<TGraphic> graphic_;
};

}  // namespace tlb
