#include "platform/formats/midi_file.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/core/exceptions.h"

namespace tlb {

namespace {

constexpr uint32_t kDefaultTempo = 500000;  // us per quarter note
// Ticks from the start of a track are kept below this, so that ticks times a
// tempo (under 2^24) and ticks times the SMPTE factors stay within 64 bits.
// At 96 ticks per quarter and the default tempo it is over 40 years.
constexpr int64_t kMaxTick = int64_t(1) << 38;

[[noreturn]] void Invalid() { throw EReadError("Invalid MIDI file"); }

uint16_t Be16(const uint8_t* p) { return uint16_t((p[0] << 8) | p[1]); }
uint32_t Be32(const uint8_t* p) {
  return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}

struct TickEvent {
  int64_t tick;
  MidiEvent event;
};

struct TempoChange {
  int64_t tick;
  uint32_t usPerQuarter;
};

// Reads one track's events, bounded by its chunk.
class TrackReader {
 public:
  TrackReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  // Appends the track's channel messages and tempo changes; returns the tick
  // of its last event.
  int64_t read(std::vector<TickEvent>& events, std::vector<TempoChange>& tempos) {
    int64_t tick = 0;
    uint8_t running = 0;
    while (pos_ < size_) {
      tick += quantity();
      if (tick >= kMaxTick) Invalid();
      uint8_t b = byte();
      if (b == 0xFF) {
        uint8_t type = byte();
        uint32_t length = quantity();
        const uint8_t* body = skip(length);
        if (type == 0x2F) break;  // end of track: anything after it is ignored
        if (type == 0x51 && length >= 3) {
          uint32_t tempo = (uint32_t(body[0]) << 16) | (uint32_t(body[1]) << 8) | body[2];
          if (tempo != 0) tempos.push_back({tick, tempo});
        }
        // Running status is kept across meta and system exclusive events: a
        // correct file does not rely on it there, and some writers do.
      } else if (b == 0xF0 || b == 0xF7) {
        skip(quantity());
      } else if (b > 0xF0) {
        Invalid();  // system common and real-time messages do not belong in a file
      } else {
        uint8_t status;
        uint8_t data1;
        if (b & 0x80) {
          status = running = b;
          data1 = dataByte();
        } else {
          if (running == 0) Invalid();  // a data byte with no status before it
          status = running;
          data1 = b;
        }
        uint8_t type = status & 0xF0;
        uint8_t data2 = (type == 0xC0 || type == 0xD0) ? 0 : dataByte();
        if (events.size() >= kMaxMidiEvents) Invalid();
        events.push_back({tick, MidiEvent{0, status, data1, data2}});
      }
    }
    return tick;
  }

 private:
  uint8_t byte() {
    if (pos_ >= size_) Invalid();
    return data_[pos_++];
  }
  uint8_t dataByte() {
    uint8_t b = byte();
    if (b & 0x80) Invalid();
    return b;
  }
  // A variable-length quantity: at most four bytes of seven bits each.
  uint32_t quantity() {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
      uint8_t b = byte();
      value = (value << 7) | (b & 0x7F);
      if (!(b & 0x80)) return value;
    }
    Invalid();
  }
  const uint8_t* skip(uint32_t length) {
    if (length > size_ - pos_) Invalid();
    const uint8_t* start = data_ + pos_;
    pos_ += length;
    return start;
  }

  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

// Converts ticks to microseconds, for either kind of division.
class TickClock {
 public:
  TickClock(uint16_t division, std::vector<TempoChange> tempos) {
    if (division & 0x8000) {
      // SMPTE: the high byte is minus the frame rate, the low byte ticks per frame.
      int fps = -int(int8_t(division >> 8));
      int perFrame = division & 0xFF;
      if ((fps != 24 && fps != 25 && fps != 29 && fps != 30) || perFrame == 0) Invalid();
      smpte_ = true;
      if (fps == 29) {
        // 29.97 frames a second: 1e6 * 1001 / 30000 = 100100 / 3 us per frame.
        usNumerator_ = 100100;
        tickDenominator_ = 3 * perFrame;
      } else {
        usNumerator_ = 1000000;
        tickDenominator_ = int64_t(fps) * perFrame;
      }
      return;
    }
    if (division == 0) Invalid();
    ticksPerQuarter_ = division;
    std::stable_sort(tempos.begin(), tempos.end(),
                     [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });
    // Each point holds the elapsed time (in us times ticks per quarter) at its tick.
    points_.push_back({0, 0, kDefaultTempo});
    for (const TempoChange& t : tempos) {
      const Point& last = points_.back();
      int64_t elapsed = last.elapsed + (t.tick - last.tick) * int64_t(last.usPerQuarter);
      if (t.tick == last.tick) points_.back().usPerQuarter = t.usPerQuarter;
      else points_.push_back({t.tick, elapsed, t.usPerQuarter});
    }
  }

  // Microseconds at `tick`; calls must come in non-decreasing tick order.
  int64_t at(int64_t tick) {
    if (smpte_) return tick * usNumerator_ / tickDenominator_;
    while (next_ + 1 < points_.size() && points_[next_ + 1].tick <= tick) ++next_;
    const Point& p = points_[next_];
    return (p.elapsed + (tick - p.tick) * int64_t(p.usPerQuarter)) / ticksPerQuarter_;
  }

 private:
  struct Point {
    int64_t tick;
    int64_t elapsed;
    uint32_t usPerQuarter;
  };
  bool smpte_ = false;
  int64_t usNumerator_ = 0, tickDenominator_ = 1;
  int64_t ticksPerQuarter_ = 1;
  std::vector<Point> points_;
  size_t next_ = 0;
};

}  // namespace

MidiSong ReadMidi(const uint8_t* data, size_t size) {
  if (data == nullptr || size < 14 || std::memcmp(data, "MThd", 4) != 0) Invalid();
  uint32_t headerLength = Be32(data + 4);
  if (headerLength < 6 || headerLength > size - 8) Invalid();
  uint16_t format = Be16(data + 8);
  uint16_t trackCount = Be16(data + 10);
  uint16_t division = Be16(data + 12);
  if (format > 1 || trackCount == 0) Invalid();

  std::vector<TickEvent> events;
  std::vector<TempoChange> tempos;
  int64_t lastTick = 0;
  size_t pos = 8 + size_t(headerLength);
  for (int found = 0; found < trackCount;) {
    if (size - pos < 8) Invalid();  // fewer tracks than the header announces
    uint32_t length = Be32(data + pos + 4);
    if (length > size - pos - 8) Invalid();
    const uint8_t* body = data + pos + 8;
    // Chunks of other types are skipped, as the file format asks of readers.
    if (std::memcmp(data + pos, "MTrk", 4) == 0) {
      lastTick = std::max(lastTick, TrackReader(body, length).read(events, tempos));
      ++found;
    }
    pos += 8 + size_t(length);
  }

  TickClock clock(division, std::move(tempos));
  // Tick order is time order; stable so that equal ticks keep file order.
  std::stable_sort(events.begin(), events.end(),
                   [](const TickEvent& a, const TickEvent& b) { return a.tick < b.tick; });
  MidiSong song;
  song.events.reserve(events.size());
  for (TickEvent& e : events) {
    e.event.timeUs = clock.at(e.tick);
    song.events.push_back(e.event);
  }
  song.lengthUs = clock.at(lastTick);
  return song;
}

MidiSong LoadMidiFile(const std::string& linuxPath) {
  std::ifstream in(linuxPath, std::ios::binary);
  if (!in) throw EFOpenError("Cannot open file \"" + linuxPath + "\"");
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw EReadError("Invalid MIDI file");
  return ReadMidi(bytes.data(), bytes.size());
}

}  // namespace tlb
