#include "shared/program.h"

#include "platform/ui/forms.h"
#include "shared/pozadi.h"

namespace tq {

void RunTulimboProgram(ProgramKind kind, const std::function<void()>& createForms) {
  ResetTechnic2();
  ShowBackdrop();
  Technic2Startup(kind);
  createForms();
  tlb::Application->Run();
  Technic2Shutdown();
}

}  // namespace tq
