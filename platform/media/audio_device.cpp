#include "platform/media/audio_device.h"

#include "platform/ui/backend.h"
#include "platform/ui/message_queue.h"

namespace tlb {

int64_t NextMediaEndMs() {
  if (!HasBackend()) return -1;
  AudioDevice* device = CurrentBackend().Audio();
  return device ? device->NextEndMs() : -1;
}

void InstallMediaWakeSource() { MessageQueue::Instance().AddWakeSource(NextMediaEndMs); }

}  // namespace tlb
