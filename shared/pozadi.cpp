#include "shared/pozadi.h"

#include "platform/ui/form_reader.h"

namespace tq {

using namespace tlb;

TFORMPozadi* FORMPozadi = nullptr;

TFORMPozadi::TFORMPozadi(TComponent* AOwner) : TForm(AOwner) {
  RegisterTileImageClass();
  ClassRegistry::Instance().RegisterClass("TFORMPozadi", "TForm", nullptr);
  HandlerTable handlers;
  handlers.Add("FormCreate", TNotifyEvent([this](TObject* s) { FormCreate(s); }));
  LoadFormDescription(this, "FORMPozadi.dfm", handlers);
  TileImage1 = FindAs<TTileImage>(this, "TileImage1");
  // The description asks for the old order: OnCreate as soon as the form is read.
  DoCreate();
}

TFORMPozadi::~TFORMPozadi() {
  if (FORMPozadi == this) FORMPozadi = nullptr;
}

void TFORMPozadi::FormCreate(TObject* Sender) {
  ControlStyle |= csOpaque;
  DoubleBuffered = true;
}

void ShowBackdrop() {
  FORMPozadi = new TFORMPozadi(Application);
  // A form made this way never becomes the program's main form.
  FORMPozadi->ControlStyle |= csOpaque;
  FORMPozadi->DoubleBuffered = true;
  Screen->SetCursor(crHourGlass);
  FORMPozadi->Show();
  FORMPozadi->SetBounds(0, 0, Screen->Width(), Screen->Height());
  FORMPozadi->SetEnabled(false);
  // On the screen at once, before the data check and the first form.
  FORMPozadi->Update();
}

}  // namespace tq
