#include "songs/src/melim32.h"

#include "platform/core/cp1250.h"
#include "platform/ui/forms.h"
#include "resources/resources.h"
#include "shared/program.h"

namespace tq {

void RunSongsProgram() {
  RegisterSongsResources();
  RunTulimboProgram(ProgramKind::RhymesOrSongs, [] {
    tlb::Application->Initialize();
    tlb::Application->Title = tlb::Cz("TQ2 - Trilanky");
  });
}

}  // namespace tq
