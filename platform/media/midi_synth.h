#pragma once
// MIDI songs as sound: a sequencer that sends the song's channel messages to a
// FluidSynth synthesiser at their times and renders its output for the mixer.
// The General MIDI soundfont is found at the standard sf2 paths.
//
// The synthesiser runs at half the mixer's rate (22050 Hz under a 44100 Hz
// output), without reverb or chorus, and holds only the instruments the song
// uses: background music for a children's program needs no more (its sound
// reaches 10 kHz), and this way it takes about half the processor time and
// some 5 MB less memory. The output is brought to the mixer's rate by the same
// resampler as WAV sounds.
#include <memory>
#include <string>

#include "platform/formats/midi_file.h"
#include "platform/media/mixer.h"
#include "platform/media/sound_font.h"

namespace tlb {

class MidiSynthSource : public SampleSource {
 public:
  // Loads the soundfont into a new synthesiser for a mixer at `sampleRate`. Throws
  // EMCIDeviceError when the synthesiser cannot be made or the soundfont is unusable.
  MidiSynthSource(std::shared_ptr<const MidiSong> song, const std::string& soundFontPath, int sampleRate);
  ~MidiSynthSource() override;

  int Render(float* out, int frames) override;
  // Silences the synthesiser and replays the program, controller and pitch
  // messages before `frame`, so that the song goes on with the right instruments.
  void Seek(int64_t frame) override;
  int64_t Frame() const override { return frame_; }
  int64_t LengthFrames() const override { return length_; }
  void Stopped() override;

  // The synthesiser's own rate for a mixer at `mixerRate`.
  static int SynthRate(int mixerRate);

 private:
  struct Synth;
  int64_t EventFrame(size_t index) const;  // at the synthesiser's rate
  void Send(const MidiEvent& e);
  // Synthesises up to `frames` frames at the synthesiser's rate into `out`
  // (interleaved), sending the events that fall due on the way.
  int Synthesise(float* out, int frames);

  std::shared_ptr<const MidiSong> song_;
  std::unique_ptr<Synth> synth_;
  int rate_;        // the mixer's
  int synthRate_;   // the synthesiser's
  int64_t frame_ = 0;   // at the mixer's rate
  int64_t length_ = 0;  // at the mixer's rate
  int64_t synthFrame_ = 0;   // the next frame the synthesiser makes
  int64_t synthLength_ = 0;
  size_t next_ = 0;  // the first event not yet sent
};

}  // namespace tlb
