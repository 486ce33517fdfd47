#include "platform/ui/randomize.h"

#include "platform/core/sysutils.h"
#include "platform/ui/backend.h"

namespace tlb {

void Randomize() { RandomizeFrom(uint32_t(HasBackend() ? CurrentBackend().MillisecondsSinceMidnight() : 0)); }

}  // namespace tlb
