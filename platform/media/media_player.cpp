#include "platform/media/media_player.h"

#include "platform/core/cp1250.h"
#include "platform/core/exceptions.h"
#include "platform/core/paths.h"
#include "platform/core/sysutils.h"
#include "platform/formats/midi_file.h"
#include "platform/formats/wav_reader.h"
#include "platform/media/audio_device.h"
#include "platform/media/midi_synth.h"
#include "platform/ui/backend.h"

namespace tlb {

namespace {

AudioDevice* Device() { return HasBackend() ? CurrentBackend().Audio() : nullptr; }

TMPDeviceTypes DeviceForFile(const std::string& fileName) {
  std::string ext = ExtractFileExt(fileName);
  if (AnsiSameText(ext, ".mid") || AnsiSameText(ext, ".midi") || AnsiSameText(ext, ".rmi")) return dtSequencer;
  if (AnsiSameText(ext, ".wav")) return dtWaveAudio;
  return dtAutoSelect;
}

}  // namespace

TMediaPlayer::TMediaPlayer(TComponent* AOwner) : TWinControl(AOwner) {
  width_ = 253;
  height_ = 30;
  ControlStyle = csCaptureMouse | csOpaque;
}

TMediaPlayer::~TMediaPlayer() { stream_.reset(); }

void TMediaPlayer::CheckOpen() const {
  if (!stream_) throw EMCIDeviceError("No MCI device open");
}

void TMediaPlayer::Open() {
  Close();
  TMPDeviceTypes type = DeviceType == dtAutoSelect ? DeviceForFile(FileName) : DeviceType;
  if (type != dtSequencer && type != dtWaveAudio)
    throw EMCIDeviceError("The specified device is not available for \"" + FileName + "\"");
  AudioDevice* device = Device();
  if (!device) throw EMCIDeviceError("There is no audio output device");
  std::vector<uint8_t> bytes;
  try {
    bytes = ReadWholeFile(FileName);
  } catch (const Exception&) {
    throw EMCIDeviceError("Cannot find the specified file \"" + FileName + "\"");
  }
  try {
    if (type == dtSequencer) {
      auto song = std::make_shared<const MidiSong>(ReadMidi(bytes.data(), bytes.size()));
      std::string soundFont = FindSoundFont();
      if (soundFont.empty()) throw EMCIDeviceError("No MIDI soundfont is installed");
      stream_ = device->OpenMidi(std::move(song), soundFont);
    } else {
      auto wave = std::make_shared<const WaveData>(ReadWav(bytes.data(), bytes.size()));
      stream_ = device->OpenWave(std::move(wave), QuickStart);
    }
  } catch (const EMCIDeviceError&) {
    throw;
  } catch (const Exception&) {
    throw EMCIDeviceError("The file \"" + FileName + "\" cannot be played: it is damaged or of an unknown format");
  }
  openDevice_ = type;
  paused_ = false;
}

void TMediaPlayer::Close() {
  if (!stream_) return;
  stream_.reset();
  openDevice_ = dtAutoSelect;
  paused_ = false;
}

void TMediaPlayer::Play() {
  CheckOpen();
  if (stream_->Playing()) return;
  if (AutoRewind && stream_->PositionMs() >= stream_->LengthMs()) stream_->Seek(0);
  paused_ = false;
  stream_->Play();
  if (stream_->Playing())
    if (AudioDevice* device = Device())
      device->NoteStart(openDevice_ == dtSequencer ? SoundKind::Midi : SoundKind::Wave, FileName, 0);
}

void TMediaPlayer::Stop() {
  CheckOpen();
  stream_->Pause();
  paused_ = false;
}

void TMediaPlayer::Rewind() {
  CheckOpen();
  stream_->Pause();
  stream_->Seek(0);
  paused_ = false;
}

void TMediaPlayer::Pause() {
  CheckOpen();
  if (paused_) {
    Resume();
    return;
  }
  if (!stream_->Playing()) return;
  stream_->Pause();
  paused_ = true;
}

void TMediaPlayer::Resume() {
  CheckOpen();
  if (!paused_) return;
  paused_ = false;
  stream_->Play();
}

TMPModes TMediaPlayer::Mode() const {
  if (!stream_) return mpNotReady;
  if (stream_->Playing()) return mpPlaying;
  return paused_ ? mpPaused : mpStopped;
}

int TMediaPlayer::Position() const { return stream_ ? int(stream_->PositionMs()) : 0; }

void TMediaPlayer::SetPosition(int ms) {
  CheckOpen();
  stream_->Seek(ms);
}

int TMediaPlayer::Length() const { return stream_ ? int(stream_->LengthMs()) : 0; }

void TMediaPlayer::Loaded() {
  TWinControl::Loaded();
  if (AutoOpen && !FileName.empty()) Open();
}

void TMediaPlayer::PaintBackground(TCanvas& canvas) {
  TWinControl::PaintBackground(canvas);
  // The button bar: one raised cell per visible button.
  int count = 0;
  for (int b = btPlay; b <= btEject; ++b)
    if (VisibleButtons & (1u << b)) ++count;
  if (count == 0) return;
  int w = Width() / count;
  int x = 0;
  for (int b = btPlay; b <= btEject; ++b) {
    if (!(VisibleButtons & (1u << b))) continue;
    canvas.Pen.Color = clBtnHighlight;
    canvas.MoveTo(x, Height() - 1);
    canvas.LineTo(x, 0);
    canvas.LineTo(x + w - 1, 0);
    canvas.Pen.Color = clBtnShadow;
    canvas.LineTo(x + w - 1, Height() - 1);
    canvas.LineTo(x, Height() - 1);
    x += w;
  }
}

}  // namespace tlb
