#pragma once
// Standard MIDI files, format 1: a tempo track and one track per part.
#include <cstdint>
#include <string>
#include <vector>

namespace gen {

class MidiFile {
 public:
  explicit MidiFile(int ticksPerQuarter = 480) : division_(ticksPerQuarter) {}

  int division() const { return division_; }
  void tempo(double bpm);                     // at tick 0
  void timeSignature(int numerator, int denominator);
  void title(const std::string& name);

  // A part on one channel (0-based; 9 is percussion) with a General MIDI program.
  int addTrack(const std::string& name, int channel, int program, int volume, int pan);
  void note(int track, uint32_t tick, uint32_t length, int key, int velocity);
  void controller(int track, uint32_t tick, int number, int value);

  std::vector<uint8_t> bytes() const;

 private:
  struct Event {
    uint32_t tick;
    int order;  // note-offs sort before note-ons at the same tick
    std::vector<uint8_t> data;
  };
  struct Track {
    std::string name;
    int channel;
    std::vector<Event> events;
  };
  int division_;
  std::vector<Event> meta_;
  std::vector<Track> tracks_;
};

}  // namespace gen
