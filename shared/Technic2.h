#pragma once
// The data folder, the media switches, the two sound calls and the games
// program's registry settings, shared by all three programs.
#include <cstdint>
#include <string>

namespace tq {

enum class ProgramKind {
  Games,     // marker folder "zvuky", registry settings and the launch counter
  RhymesOrSongs  // marker folder "HUDBA", no registry
};

// The unit's values for one program run. Written only by this unit.
struct Technic2State {
  ProgramKind kind = ProgramKind::Games;
  std::string DataDir;  // code page 1250, no trailing backslash once longer than two characters
  bool WaveDevicePresent = true;
  bool WaveOn = true;
  bool MusicOn = true;
  bool MidiAllowed = true;
  int32_t LaunchCount = 0;
  int32_t WavVolume = 0;
  int32_t MidiVolume = 0;
  std::string OdklonX1, OdklonX2, OdklonX3;
  std::string LastWaveName;
};

// The state of this program run; a test starts a fresh one with ResetTechnic2.
Technic2State& Technic2();
void ResetTechnic2();

const std::string& DataDir();
bool MusicOn();
bool WaveOn();
bool MidiAllowed();

// Start-up: finds the data folder (asking for it when the marker is missing),
// reads the registry (games program) and switches sound off without a wave device.
void Technic2Startup(ProgramKind kind);
// Program end: the games program adds this run to its launch counter.
void Technic2Shutdown();
// Adds one to the stored launch counter, counting on from the value stored at
// this moment (a missing value or one of another type counts as 0), so that
// runs which overlap are all counted. The counter stops at its largest value.
void AddThisRunToTheLaunchCount();

// Plays a WAV file with PlaySound flags 1 (cut off what plays) or 17 (only if nothing plays).
void PlayWave(const std::string& fileName, int32_t flags);
// Stops the sound PlayWave started.
void StopWave();

// Deletes a trailing backslash (or separator) from a path longer than two characters.
std::string StripTrailingBackslash(std::string path);

}  // namespace tq
