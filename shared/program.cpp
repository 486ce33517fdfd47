#include "shared/program.h"

#include "platform/ui/forms.h"
#include "shared/pozadi.h"

namespace tq {

void StartTulimboProgram(ProgramKind kind, const std::function<void()>& createForms) {
  ResetTechnic2();
  ShowBackdrop();
  Technic2Startup(kind);
  createForms();
}

void FinishTulimboProgram() {
  tlb::Application->Run();
  Technic2Shutdown();
}

void RunTulimboProgram(ProgramKind kind, const std::function<void()>& createForms) {
  StartTulimboProgram(kind, createForms);
  FinishTulimboProgram();
}

}  // namespace tq
