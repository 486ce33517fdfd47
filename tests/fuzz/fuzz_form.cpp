// Fuzz entry point for the form description reader: any text loads or raises the
// class library's read error, never anything else, and leaves no broken form.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/backend/headless/headless_backend.h"
#include "platform/core/exceptions.h"
#include "platform/ui/form_reader.h"
#include "platform/ui/forms.h"

namespace {

class TFORM_Fuzz : public tlb::TForm {
 public:
  explicit TFORM_Fuzz(tlb::TComponent* owner) : tlb::TForm(owner) {}
  const char* ClassName() const override { return "TFORM_Fuzz"; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static tlb::HeadlessBackend backend({800, 600});
  static bool started = [] {
    tlb::StartProgramRun(&backend);
    tlb::RegisterStandardClasses();
    tlb::ClassRegistry::Instance().RegisterClass("TFORM_Fuzz", "TForm", nullptr);
    return true;
  }();
  (void)started;
  tlb::HandlerTable handlers;
  handlers.Add("Handler", tlb::TNotifyEvent([](tlb::TObject*) {}));
  auto* form = new TFORM_Fuzz(tlb::Application);
  try {
    tlb::LoadFormDescriptionText(form, std::string(reinterpret_cast<const char*>(data), size), "fuzz.dfm", handlers);
  } catch (const tlb::Exception&) {
  }
  delete form;
  return 0;
}
