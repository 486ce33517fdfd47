#pragma once
// The full-screen backdrop behind every form: a borderless, disabled form filled
// edge to edge with a small tiled texture.
#include "platform/ui/forms.h"
#include "shared/TileImage.h"

namespace tq {

class TFORMPozadi : public tlb::TForm {
 public:
  explicit TFORMPozadi(tlb::TComponent* AOwner);
  ~TFORMPozadi() override;
  const char* ClassName() const override { return "TFORMPozadi"; }
  TTileImage* TileImage1 = nullptr;

  void FormCreate(tlb::TObject* Sender);
};

// The backdrop of this program run, until a main form releases it.
extern TFORMPozadi* FORMPozadi;

// Creates the backdrop, shows it at 0,0 at the screen's size with the hourglass, and disables it.
void ShowBackdrop();

}  // namespace tq
