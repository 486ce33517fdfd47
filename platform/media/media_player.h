#pragma once
// The class library's media player over two MCI-like devices: the sequencer for
// MIDI files and wave audio for WAV files, chosen by the file's extension. The
// sound plays on the backend's audio device, mixed with every other player and
// the PlaySound channel.
//
// Mode reads mpNotReady without an open device, mpStopped after Open, Stop,
// Rewind and at the end of the medium, mpPlaying from Play until then, mpPaused
// after Pause. Open and Play settle at once, so mpOpen and mpSeeking are never
// reported. Position and Length are in milliseconds.
#include <memory>
#include <string>

#include "platform/ui/control.h"

namespace tlb {

class AudioStream;

enum TMPModes { mpNotReady = 0, mpStopped = 1, mpPlaying = 2, mpRecording = 3, mpSeeking = 4, mpPaused = 5, mpOpen = 6 };
enum TMPBtnType { btPlay, btPause, btStop, btNext, btPrev, btStep, btBack, btRecord, btEject };
// A set of TMPBtnType, one bit each.
using TButtonSet = unsigned;
constexpr TButtonSet kAllMediaButtons = (1u << (btEject + 1)) - 1;
enum TMPDeviceTypes {
  dtAutoSelect, dtAVIVideo, dtCDAudio, dtDAT, dtDigitalVideo, dtMMMovie, dtOther, dtOverlay, dtScanner,
  dtSequencer, dtVCR, dtVideodisc, dtWaveAudio
};

class TMediaPlayer : public TWinControl {
 public:
  explicit TMediaPlayer(TComponent* AOwner);
  ~TMediaPlayer() override;
  const char* ClassName() const override { return "TMediaPlayer"; }

  // A code page 1250 Windows path; read by Open.
  std::string FileName;
  // dtAutoSelect picks the device by the file's extension (.mid, .midi, .rmi: the
  // sequencer; .wav: wave audio). Other devices are not available.
  TMPDeviceTypes DeviceType = dtAutoSelect;
  // Play at the end of the medium starts again from the beginning.
  bool AutoRewind = true;
  // Opens the file when the form description has been read.
  bool AutoOpen = false;
  bool AutoEnable = true;
  bool Shareable = false;
  bool Wait = false;
  bool Notify = false;
  // A wave file opens on an output that starts it at once (true), or on one
  // that starts it a block later and costs less while it plays (false): for
  // long recordings whose position is followed rather than sounds that answer
  // a click.
  bool QuickStart = true;
  TButtonSet VisibleButtons = kAllMediaButtons;
  TButtonSet EnabledButtons = kAllMediaButtons;
  TButtonSet ColoredButtons = kAllMediaButtons;

  // Closes an open device, then opens the one FileName needs. Throws
  // EMCIDeviceError when the file is missing or not a valid medium for its
  // device, when MIDI has no soundfont, or when there is no audio output.
  void Open();
  // Closes the device; nothing when none is open.
  void Close();
  // Starts playing and returns at once. Throws "No MCI device open" without a device.
  void Play();
  // Stops where it is. Throws without a device.
  void Stop();
  // Stops and goes to the start. Throws without a device.
  void Rewind();
  // Pauses a playing device; a paused one resumes. Throws without a device.
  void Pause();
  // Resumes a paused device. Throws without a device.
  void Resume();

  TMPModes Mode() const;
  // Milliseconds; 0 without a device.
  int Position() const;
  // Moves to `ms`; a playing device plays on from there. Throws without a device.
  void SetPosition(int ms);
  int Length() const;
  bool DeviceOpen() const { return stream_ != nullptr; }
  // The device open now: dtSequencer, dtWaveAudio, or dtAutoSelect for none.
  TMPDeviceTypes OpenDevice() const { return openDevice_; }

  void Loaded() override;
  void PaintBackground(TCanvas& canvas) override;

 private:
  void CheckOpen() const;

  std::unique_ptr<AudioStream> stream_;
  TMPDeviceTypes openDevice_ = dtAutoSelect;
  bool paused_ = false;
};

}  // namespace tlb
