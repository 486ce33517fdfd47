#pragma once
// Reading Standard MIDI Files into one time-ordered list of channel messages
// for the sequencer.
//
// Formats 0 and 1 are read; format 2 (independent sequences) is refused.
// Divisions in ticks per quarter note follow the tempo map merged from the
// tempo events of every track (500000 us per quarter until the first one);
// SMPTE divisions give a fixed time per tick. System exclusive messages and
// meta events other than tempo are skipped.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tlb {

struct MidiEvent {
  int64_t timeUs = 0;
  uint8_t status = 0;  // 0x80..0xEF: message type in the high nibble, channel in the low
  uint8_t data1 = 0, data2 = 0;  // data2 is 0 for program change and channel pressure
};

struct MidiSong {
  // Sorted by time; events at the same time keep their order within the file
  // (track by track, then as stored in the track).
  std::vector<MidiEvent> events;
  // The time of the last event of any track, end-of-track and meta events included.
  int64_t lengthUs = 0;
};

// The largest number of channel messages a song may hold; more is refused
// so that a small hostile file cannot claim huge amounts of memory.
constexpr size_t kMaxMidiEvents = 4u << 20;

// Decodes a whole MIDI file held in memory. Malformed or unsupported data
// throws EReadError("Invalid MIDI file").
MidiSong ReadMidi(const uint8_t* data, size_t size);

// Reads and decodes a file; a file that cannot be opened throws EFOpenError.
MidiSong LoadMidiFile(const std::string& linuxPath);

}  // namespace tlb
