#include "platform/formats/midi_file.h"
#include "tests/support/damaged_copies.h"
#include "tests/support/le_bytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>

#include "platform/core/exceptions.h"

namespace tlb {
namespace {

using testing::Append;
using testing::Put16;
using testing::Put32;
using testing::PutId;

using Bytes = std::vector<uint8_t>;

void PutBe32(Bytes& b, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) b.push_back(uint8_t(v >> shift));
}

Bytes Vlq(uint32_t v) {
  Bytes b{uint8_t(v & 0x7F)};
  while (v >>= 7) b.insert(b.begin(), uint8_t(0x80 | (v & 0x7F)));
  return b;
}

// One event: its delta time and its bytes.
Bytes Ev(uint32_t delta, const Bytes& bytes) {
  Bytes b = Vlq(delta);
  Append(b, bytes);
  return b;
}
Bytes Tempo(uint32_t delta, uint32_t usPerQuarter) {
  return Ev(delta, {0xFF, 0x51, 0x03, uint8_t(usPerQuarter >> 16), uint8_t(usPerQuarter >> 8), uint8_t(usPerQuarter)});
}
Bytes EndOfTrack(uint32_t delta) { return Ev(delta, {0xFF, 0x2F, 0x00}); }

Bytes Chunk(const char* id, const Bytes& body) {
  Bytes b(id, id + 4);
  PutBe32(b, uint32_t(body.size()));
  Append(b, body);
  return b;
}
Bytes Track(const std::vector<Bytes>& events) {
  Bytes body;
  for (const Bytes& e : events) Append(body, e);
  return Chunk("MTrk", body);
}
Bytes Header(uint16_t format, uint16_t tracks, uint16_t division) {
  return Chunk("MThd", {uint8_t(format >> 8), uint8_t(format), uint8_t(tracks >> 8), uint8_t(tracks),
                        uint8_t(division >> 8), uint8_t(division)});
}
Bytes Midi(uint16_t format, uint16_t division, const std::vector<Bytes>& tracks) {
  Bytes b = Header(format, uint16_t(tracks.size()), division);
  for (const Bytes& t : tracks) Append(b, t);
  return b;
}

MidiSong Read(const Bytes& b) { return ReadMidi(b.data(), b.size()); }

struct Expected {
  int64_t timeUs;
  uint8_t status, data1, data2;
};
void ExpectEvents(const MidiSong& song, const std::vector<Expected>& expected) {
  ASSERT_EQ(song.events.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE("event " + std::to_string(i));
    const MidiEvent& e = song.events[i];
    EXPECT_EQ(e.timeUs, expected[i].timeUs);
    EXPECT_EQ(e.status, expected[i].status);
    EXPECT_EQ(e.data1, expected[i].data1);
    EXPECT_EQ(e.data2, expected[i].data2);
  }
}

TEST(MidiFile, SingleTrackAtTheDefaultTempoEndsWithItsEndOfTrack) {
  // 96 ticks a quarter at 500000 us a quarter.
  Bytes file = Midi(0, 96, {Track({Ev(0, {0x90, 60, 100}), Ev(96, {0x80, 60, 0}), EndOfTrack(48)})});
  MidiSong song = Read(file);
  ExpectEvents(song, {{0, 0x90, 60, 100}, {500000, 0x80, 60, 0}});
  EXPECT_EQ(song.lengthUs, 750000);
}

TEST(MidiFile, TempoChangeMidSongAppliesFromItsTick) {
  // 480 ticks a quarter: the first 960 ticks at 500000 us a quarter take 1 s,
  // then 240 ticks at 600000 take 0.3 s more.
  Bytes file = Midi(0, 480, {Track({Ev(480, {0x90, 60, 90}), Tempo(480, 600000), Ev(240, {0x80, 60, 0}),
                                    Tempo(0, 250000), Ev(480, {0x90, 62, 90}), EndOfTrack(0)})});
  MidiSong song = Read(file);
  ExpectEvents(song, {{500000, 0x90, 60, 90}, {1300000, 0x80, 60, 0}, {1550000, 0x90, 62, 90}});
  EXPECT_EQ(song.lengthUs, 1550000);
}

TEST(MidiFile, FormatOneMergesTracksAlongTheTempoMapOfTrackZero) {
  // Track 0 holds only the tempo (1 s a quarter from the start, 0.25 s from
  // the second quarter); tracks 1 and 2 hold notes. Events at one time keep
  // the track order.
  Bytes conductor = Track({Tempo(0, 1000000), Tempo(96, 250000), EndOfTrack(0)});
  Bytes piano = Track({Ev(0, {0x90, 60, 80}), Ev(192, {0x80, 60, 0}), EndOfTrack(0)});
  Bytes bass = Track({Ev(0, {0x91, 36, 80}), Ev(96, {0x81, 36, 0}), EndOfTrack(96)});
  MidiSong song = Read(Midi(1, 96, {conductor, piano, bass}));
  ExpectEvents(song, {{0, 0x90, 60, 80}, {0, 0x91, 36, 80}, {1000000, 0x81, 36, 0}, {1250000, 0x80, 60, 0}});
  EXPECT_EQ(song.lengthUs, 1250000);
}

TEST(MidiFile, TempoInALaterTrackStillAppliesToEarlierTracks) {
  Bytes notes = Track({Ev(192, {0x90, 60, 80})});
  Bytes tempo = Track({Tempo(96, 1000000)});
  MidiSong song = Read(Midi(1, 96, {notes, tempo}));
  ExpectEvents(song, {{1500000, 0x90, 60, 80}});
}

TEST(MidiFile, RunningStatusRepeatsTheLastStatusIncludingOneDataByteMessages) {
  Bytes file = Midi(0, 96, {Track({Ev(0, {0x92, 60, 100}), Ev(0, {64, 100}), Ev(96, {60, 0}),
                                    Ev(0, {0xC3, 5}), Ev(0, {6}),
                                    // Kept across a meta event, as some writers rely on.
                                    Ev(0, {0xFF, 0x01, 0x02, 'h', 'i'}), Ev(0, {7}), EndOfTrack(0)})});
  ExpectEvents(Read(file), {{0, 0x92, 60, 100}, {0, 0x92, 64, 100}, {500000, 0x92, 60, 0},
                            {500000, 0xC3, 5, 0}, {500000, 0xC3, 6, 0}, {500000, 0xC3, 7, 0}});
}

TEST(MidiFile, SystemExclusiveAndOtherMetaEventsAreSkippedButTheirTimeCounts) {
  Bytes file = Midi(0, 96, {Track({Ev(0, {0xF0, 0x03, 0x43, 0x12, 0xF7}), Ev(48, {0xF7, 0x01, 0x7F}),
                                    Ev(48, {0xFF, 0x58, 0x04, 4, 2, 24, 8}), Ev(0, {0xB0, 7, 100}),
                                    Ev(0, {0xE0, 0x00, 0x40}), EndOfTrack(0)})});
  ExpectEvents(Read(file), {{500000, 0xB0, 7, 100}, {500000, 0xE0, 0x00, 0x40}});
}

TEST(MidiFile, SmpteDivisionGivesAFixedTimePerTickAndIgnoresTempo) {
  struct Case {
    int8_t fps;
    uint8_t ticksPerFrame;
    uint32_t ticks;
    int64_t expectedUs;
  } cases[] = {
      {-25, 40, 1000, 1000000},  // 1000 ticks a second
      {-24, 2, 3, 62500},
      {-30, 1, 45, 1500000},
      {-29, 1, 30, 1001000},  // 29.97 frames a second
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.fps));
    uint16_t division = uint16_t((uint8_t(c.fps) << 8) | c.ticksPerFrame);
    Bytes file = Midi(0, division, {Track({Tempo(0, 1000000), Ev(c.ticks, {0x90, 60, 1}), EndOfTrack(0)})});
    ExpectEvents(Read(file), {{c.expectedUs, 0x90, 60, 1}});
  }
}

TEST(MidiFile, ForeignChunksLongHeadersAndTracksWithoutEndAreAccepted) {
  Bytes file = Chunk("MThd", {0, 0, 0, 1, 0, 96, 0xAB, 0xCD});  // two extra header bytes
  Append(file, Chunk("XFIH", {1, 2, 3}));
  Append(file, Track({Ev(96, {0x90, 60, 1})}));
  Append(file, Bytes{'t', 'r', 'a', 'i', 'l'});  // bytes after the last announced track
  MidiSong song = Read(file);
  ExpectEvents(song, {{500000, 0x90, 60, 1}});
  EXPECT_EQ(song.lengthUs, 500000);
}

TEST(MidiFile, MalformedInputThrowsReadError) {
  Bytes note = Ev(0, {0x90, 60, 100});
  Bytes truncatedTrack = Midi(0, 96, {Track({note, Ev(0, {0x90, 60})})});
  Bytes lengthPastEnd = Midi(0, 96, {Track({note})});
  lengthPastEnd[14 + 7] = 5;  // the track claims one byte more than the file has
  Bytes fewerTracks = Header(1, 2, 96);
  Append(fewerTracks, Track({note}));
  std::vector<Bytes> hugeDeltas;  // over 2^38 ticks: beyond any real song
  for (int i = 0; i < 1100; ++i) hugeDeltas.push_back(Ev(0x0FFFFFFF, {0xFF, 0x01, 0x00}));
  struct Case {
    const char* name;
    Bytes file;
  } cases[] = {
      {"empty", {}},
      {"not MThd", Chunk("MThx", {0, 0, 0, 1, 0, 96})},
      {"header too short", Chunk("MThd", {0, 0, 0, 1, 0})},
      {"header length past the end", Bytes{'M', 'T', 'h', 'd', 0, 0, 0, 9, 0, 0, 0, 1, 0, 96}},
      {"format 2", Midi(2, 96, {Track({note})})},
      {"no tracks", Midi(1, 96, {})},
      {"division 0", Midi(0, 0, {Track({note})})},
      {"SMPTE rate -26", Midi(0, 0xE628, {Track({note})})},
      {"SMPTE zero ticks per frame", Midi(0, 0xE700, {Track({note})})},
      {"truncated event", truncatedTrack},
      {"track length past the end", lengthPastEnd},
      {"fewer tracks than announced", fewerTracks},
      {"quantity over four bytes", Midi(0, 96, {Track({Bytes{0x81, 0x80, 0x80, 0x80, 0x00, 0x90, 60, 1}})})},
      {"data byte without a status", Midi(0, 96, {Track({Ev(0, {60, 100})})})},
      {"status byte where data belongs", Midi(0, 96, {Track({Ev(0, {0x90, 60, 0x80})})})},
      {"system common message", Midi(0, 96, {Track({Ev(0, {0xF2, 0, 0})})})},
      {"meta event longer than its track", Midi(0, 96, {Track({Ev(0, {0xFF, 0x01, 0x05, 'a'})})})},
      {"sysex longer than its track", Midi(0, 96, {Track({Ev(0, {0xF0, 0x7F})})})},
      {"time beyond any song", Midi(0, 96, {Track(hugeDeltas)})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      Read(c.file);
      ADD_FAILURE() << "no exception";
    } catch (const EReadError& e) {
      EXPECT_EQ(e.Message, "Invalid MIDI file");
    }
  }
  EXPECT_THROW(ReadMidi(nullptr, 0), EReadError);
}

TEST(MidiFile, SongsWithMoreEventsThanTheLimitAreRefused) {
  // Program changes in running status cost two bytes each, so a few megabytes
  // could otherwise claim a hundred of memory.
  auto song = [](size_t events) {
    Bytes body{0x00, 0xC0, 0x01};
    body.reserve(events * 2 + 1);
    for (size_t i = 1; i < events; ++i) {
      body.push_back(0x00);
      body.push_back(0x02);
    }
    Bytes file = Header(0, 1, 96);
    Append(file, Chunk("MTrk", body));
    return file;
  };
  EXPECT_EQ(Read(song(kMaxMidiEvents)).events.size(), kMaxMidiEvents);
  EXPECT_THROW(Read(song(kMaxMidiEvents + 1)), EReadError);
}

TEST(MidiFile, LoadsFilesAndReportsMissingOnes) {
  std::string path = ::testing::TempDir() + "midi_file_" + std::to_string(getpid()) + ".mid";
  Bytes file = Midi(0, 96, {Track({Ev(96, {0x90, 60, 1})})});
  {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
  }
  EXPECT_EQ(LoadMidiFile(path).events.size(), 1u);
  std::remove(path.c_str());
  EXPECT_THROW(LoadMidiFile(path), EFOpenError);
}

// Every prefix of a valid file and thousands of seeded corruptions either
// read or throw the class library's exception, and what reads is ordered.
TEST(MidiFile, TruncatedAndCorruptedFilesNeverCrash) {
  Bytes file = Midi(1, 120, {Track({Tempo(0, 400000), Ev(0, {0xFF, 0x03, 0x03, 'a', 'b', 'c'}), Tempo(240, 700000),
                                    EndOfTrack(0)}),
                             Track({Ev(0, {0xC0, 3}), Ev(10, {0x90, 60, 90}), Ev(100, {62, 90}),
                                    Ev(0, {0xF0, 0x02, 0x01, 0xF7}), Ev(130, {0x80, 60, 0}), Ev(0x81, {0xE0, 1, 2}),
                                    EndOfTrack(7)})});
  auto attempt = [](const Bytes& b) {
    try {
      MidiSong song = ReadMidi(b.data(), b.size());
      ASSERT_TRUE(std::is_sorted(song.events.begin(), song.events.end(),
                                 [](const MidiEvent& x, const MidiEvent& y) { return x.timeUs < y.timeUs; }));
      if (!song.events.empty()) {
        ASSERT_GE(song.lengthUs, song.events.back().timeUs);
      }
    } catch (const Exception&) {
    }
  };
  attempt(file);
  testing::ForEachDamagedCopy(file, 4000, 20240611, [&](const Bytes& b, const std::string&) { attempt(b); });
}

}  // namespace
}  // namespace tlb
