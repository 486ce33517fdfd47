#pragma once
// A picture control that repeats its picture over its whole area, row by row from
// the top left, or draws it once at the top left.
#include "platform/ui/stdctrls.h"

namespace tq {

class TTileImage : public tlb::TPaintBox {
 public:
  explicit TTileImage(tlb::TComponent* AOwner);
  ~TTileImage() override;
  const char* ClassName() const override { return "TTileImage"; }

  bool TileImage() const { return tileImage_; }
  void SetTileImage(bool value);
  tlb::TPicture& Picture() { return *picture_; }
  void SetPicture(const tlb::TPicture* value);
  void Paint() override;

  // How many times the last paint drew the graphic (for tests and benchmarks).
  int LastPaintDraws() const { return lastDraws_; }

 private:
  void PictureUpdated();
  bool tileImage_ = false;
  tlb::TPicture* picture_ = nullptr;
  bool painting_ = false;
  int lastDraws_ = 0;
};

// Registers TTileImage with the form reader.
void RegisterTileImageClass();

}  // namespace tq
