#include "platform/media/playsound.h"

#include <memory>

#include "platform/core/exceptions.h"
#include "platform/core/paths.h"
#include "platform/formats/wav_reader.h"
#include "platform/media/audio_device.h"
#include "platform/ui/backend.h"

namespace tlb {

namespace {
AudioDevice* Device() { return HasBackend() ? CurrentBackend().Audio() : nullptr; }
}  // namespace

bool PlaySound(const char* name, void* module, unsigned flags) {
  AudioDevice* device = Device();
  if (!name) {
    if (device) device->EffectChannel().reset();
    return true;
  }
  if (!(flags & SND_ASYNC)) throw EUnsupported("PlaySound: only SND_ASYNC is supported");
  if (flags & SND_LOOP) throw EUnsupported("PlaySound: SND_LOOP is not supported");
  if (!device) return false;
  std::unique_ptr<AudioStream>& channel = device->EffectChannel();
  if ((flags & SND_NOSTOP) && channel && channel->Playing()) return false;
  channel.reset();
  // Only aliases were asked for, and there are none.
  if ((flags & SND_ALIAS) && !(flags & SND_FILENAME)) return false;
  std::shared_ptr<const WaveData> wave;
  try {
    std::vector<uint8_t> bytes = ReadWholeFile(name);
    wave = std::make_shared<const WaveData>(ReadWav(bytes.data(), bytes.size()));
  } catch (const Exception&) {
    return false;
  }
  channel = device->OpenWave(std::move(wave));
  channel->Play();
  device->NoteStart(SoundKind::Effect, name, flags);
  return true;
}

unsigned waveOutGetNumDevs() {
  AudioDevice* device = Device();
  return device && device->Audible() ? 1u : 0u;
}

bool PlaySoundPlaying() {
  AudioDevice* device = Device();
  return device && device->EffectChannel() && device->EffectChannel()->Playing();
}

}  // namespace tlb
