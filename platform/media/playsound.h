#pragma once
// PlaySound and the count of wave-output devices.
//
// One sound plays at a time on the PlaySound channel, mixed over the media
// players. Only asynchronous playing is offered (the programs pass SND_ASYNC,
// with or without SND_NOSTOP); a synchronous or looping request throws
// EUnsupported rather than blocking or looping in a way nothing asked for.
namespace tlb {

constexpr unsigned SND_SYNC = 0x0000;
constexpr unsigned SND_ASYNC = 0x0001;
constexpr unsigned SND_NODEFAULT = 0x0002;
constexpr unsigned SND_LOOP = 0x0008;
constexpr unsigned SND_NOSTOP = 0x0010;
constexpr unsigned SND_FILENAME = 0x00020000;
constexpr unsigned SND_ALIAS = 0x00010000;

// Plays a WAV file (`name` is a code page 1250 Windows path of any length; a
// sound alias is tried first, and no aliases exist here). A null name stops the
// sound that plays. SND_ASYNC stops the sound that plays and starts this one at
// once; with SND_NOSTOP nothing happens while a sound plays. False when nothing
// was started: no device, a sound still playing under SND_NOSTOP, or a file that
// is missing or no valid WAV (nothing then plays).
bool PlaySound(const char* name, void* module, unsigned flags);
// 1 when the backend has an audio output that is heard, else 0 (also for the
// silent output of a machine without a sound device).
unsigned waveOutGetNumDevs();
// True while the PlaySound channel plays.
bool PlaySoundPlaying();

}  // namespace tlb
