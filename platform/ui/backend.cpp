#include "platform/ui/backend.h"

#include "platform/core/exceptions.h"

namespace tlb {
namespace {
Backend* current = nullptr;
}

Backend& CurrentBackend() {
  if (!current) throw EInvalidOperation("no backend has been started");
  return *current;
}

void SetBackend(Backend* backend) { current = backend; }
bool HasBackend() { return current != nullptr; }

}  // namespace tlb
