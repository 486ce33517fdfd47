#include "sample_set.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace sample {

namespace {

class Reader {
 public:
  explicit Reader(const std::vector<uint8_t>& b) : b_(b) {}
  void need(size_t at, size_t n) const {
    if (at > b_.size() || n > b_.size() - at) throw std::runtime_error("truncated file");
  }
  uint32_t u8(size_t at) const { return need(at, 1), b_[at]; }
  uint32_t u16(size_t at) const { return need(at, 2), uint32_t(b_[at]) | (uint32_t(b_[at + 1]) << 8); }
  uint32_t u32(size_t at) const { return u16(at) | (u16(at + 2) << 16); }
  uint32_t be16(size_t at) const { return need(at, 2), (uint32_t(b_[at]) << 8) | b_[at + 1]; }
  uint32_t be32(size_t at) const { return (be16(at) << 16) | be16(at + 2); }
  std::string tag(size_t at) const { return need(at, 4), std::string(b_.begin() + long(at), b_.begin() + long(at) + 4); }
  size_t size() const { return b_.size(); }

 private:
  const std::vector<uint8_t>& b_;
};

std::string lower(std::string s) {
  for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

std::optional<std::string> dataFolder() {
  const char* v = std::getenv("TULIMBO_SAMPLE_DATA");
  if (!v || !*v) return std::nullopt;
  return std::string(v);
}

bool isFolder(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::vector<std::string> listFolder(const std::string& path) {
  std::vector<std::string> out;
  if (DIR* d = opendir(path.c_str())) {
    while (dirent* e = readdir(d)) {
      std::string n = e->d_name;
      if (n != "." && n != "..") out.push_back(n);
    }
    closedir(d);
  }
  std::sort(out.begin(), out.end());
  return out;
}

std::optional<std::string> resolve(const std::string& root, const std::string& relative) {
  std::string cur = root;
  size_t start = 0;
  while (start < relative.size()) {
    size_t slash = relative.find('/', start);
    std::string part = relative.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
    std::optional<std::string> match;
    for (const std::string& n : listFolder(cur))
      if (lower(n) == lower(part)) match = n;
    if (!match) return std::nullopt;
    cur += "/" + *match;
    if (slash == std::string::npos) break;
    start = slash + 1;
  }
  return cur;
}

std::vector<uint8_t> readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + path);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::vector<uint8_t> readDataFile(const std::string& root, const std::string& relative) {
  auto path = resolve(root, relative);
  if (!path) throw std::runtime_error("missing " + relative);
  return readFile(*path);
}

BmpInfo readBmp(const std::vector<uint8_t>& bytes) {
  Reader r(bytes);
  if (r.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') throw std::runtime_error("not a BMP file");
  uint32_t offset = r.u32(10), header = r.u32(14);
  if (header < 40) throw std::runtime_error("old bitmap header");
  BmpInfo b;
  b.width = int(int32_t(r.u32(18)));
  int32_t h = int32_t(r.u32(22));
  b.height = h < 0 ? -h : h;
  b.bits = int(r.u16(28));
  b.compression = r.u32(30);
  uint32_t used = r.u32(46);
  if (b.bits <= 8) {
    uint32_t n = used ? used : (1u << b.bits);
    for (uint32_t i = 0; i < n; ++i) {
      size_t at = 14 + header + 4 * i;
      b.palette.push_back((r.u8(at + 2) << 16) | (r.u8(at + 1) << 8) | r.u8(at));
    }
  }
  if (b.bits == 8 && b.compression == 0 && b.width > 0) {
    size_t stride = (size_t(b.width) + 3) / 4 * 4;
    r.need(offset, stride * size_t(b.height));
    for (int y = 0; y < b.height; ++y) {
      size_t row = offset + stride * size_t(h < 0 ? y : b.height - 1 - y);
      for (int x = 0; x < b.width; ++x) {
        uint8_t idx = bytes[row + size_t(x)];
        if (idx >= b.palette.size()) throw std::runtime_error("pixel outside the palette");
        b.pixels.push_back(b.palette[idx]);
      }
    }
  }
  return b;
}

WavInfo readWav(const std::vector<uint8_t>& bytes) {
  Reader r(bytes);
  if (r.tag(0) != "RIFF" || r.tag(8) != "WAVE") throw std::runtime_error("not a WAVE file");
  WavInfo w;
  size_t pos = 12;
  bool fmt = false;
  while (pos + 8 <= r.size()) {
    std::string id = r.tag(pos);
    uint32_t len = r.u32(pos + 4);
    size_t body = pos + 8;
    if (id == "fmt ") {
      w.format = int(r.u16(body));
      w.channels = int(r.u16(body + 2));
      w.rate = int(r.u32(body + 4));
      w.bits = int(r.u16(body + 14));
      fmt = true;
    } else if (id == "data") {
      if (!fmt) throw std::runtime_error("data before fmt");
      r.need(body, len);
      if (w.format == 1 && w.bits == 16 && w.channels == 1)
        for (size_t i = 0; i + 1 < len; i += 2) w.samples.push_back(int16_t(r.u16(body + i)));
      return w;
    }
    pos = body + len + (len & 1);
  }
  throw std::runtime_error("no data chunk");
}

AviInfo readAvi(const std::vector<uint8_t>& bytes) {
  Reader r(bytes);
  if (r.tag(0) != "RIFF" || r.tag(8) != "AVI ") throw std::runtime_error("not an AVI file");
  AviInfo a;
  // Walks the chunk tree; lists are entered, chunks are read where they matter.
  std::vector<std::pair<size_t, size_t>> stack = {{12, r.size()}};
  bool inMovi = false;
  while (!stack.empty()) {
    auto [pos, end] = stack.back();
    stack.pop_back();
    while (pos + 8 <= end) {
      std::string id = r.tag(pos);
      uint32_t len = r.u32(pos + 4);
      size_t body = pos + 8;
      r.need(body, len);
      if (id == "LIST") {
        std::string type = r.tag(body);
        stack.push_back({body + len + (len & 1), end});
        inMovi = type == "movi";
        pos = body + 4;
        end = body + len;
        continue;
      }
      if (id == "avih") a.totalFrames = r.u32(body + 16), a.width = int(r.u32(body + 32)), a.height = int(r.u32(body + 36));
      if (id == "strh" && r.tag(body) == "vids") a.scale = r.u32(body + 20), a.rate = r.u32(body + 24);
      if (id == "strf") a.bits = int(r.u16(body + 14)), a.compression = r.u32(body + 16);
      if (id == "idx1") a.hasIndex = true;
      if (inMovi && (id == "00db" || id == "00dc")) ++a.frameChunks;
      pos = body + len + (len & 1);
    }
    inMovi = false;
  }
  return a;
}

MidiInfo readMidi(const std::vector<uint8_t>& bytes) {
  Reader r(bytes);
  if (r.tag(0) != "MThd" || r.be32(4) != 6) throw std::runtime_error("not a MIDI file");
  MidiInfo m;
  m.format = int(r.be16(8));
  m.tracks = int(r.be16(10));
  const uint32_t division = r.be16(12);
  if (division == 0 || (division & 0x8000)) throw std::runtime_error("unsupported division");
  // Tempo changes (tick, microseconds a quarter) from every track, then the latest event.
  std::vector<std::pair<uint64_t, uint32_t>> tempos;
  uint64_t lastTick = 0;
  size_t pos = 14;
  for (int t = 0; t < m.tracks; ++t) {
    if (r.tag(pos) != "MTrk") throw std::runtime_error("missing track");
    size_t end = pos + 8 + r.be32(pos + 4);
    r.need(pos + 8, end - pos - 8);
    size_t i = pos + 8;
    uint64_t tick = 0;
    uint32_t status = 0;
    auto varLen = [&]() {
      uint32_t v = 0;
      for (int k = 0; k < 4; ++k) {
        uint32_t c = r.u8(i++);
        v = (v << 7) | (c & 0x7F);
        if (!(c & 0x80)) return v;
      }
      throw std::runtime_error("bad variable-length number");
    };
    while (i < end) {
      tick += varLen();
      uint32_t b = r.u8(i);
      if (b == 0xFF) {
        uint32_t type = r.u8(i + 1);
        i += 2;
        uint32_t len = varLen();
        if (type == 0x51 && len == 3) {
          tempos.push_back({tick, (r.u8(i) << 16) | (r.u8(i + 1) << 8) | r.u8(i + 2)});
          m.hasTempo = true;
        }
        i += len;
      } else if (b == 0xF0 || b == 0xF7) {
        ++i;
        i += varLen();
      } else {
        if (b & 0x80) status = b, ++i;
        if (!status) throw std::runtime_error("running status without a status");
        uint32_t kind = status & 0xF0;
        int n = (kind == 0xC0 || kind == 0xD0) ? 1 : 2;
        if (kind == 0x90 && r.u8(i + 1) > 0) {
          ++m.notes;
          if ((status & 0x0F) == 9) ++m.percussionNotes;
        }
        if (kind == 0xC0) ++m.programChanges;
        i += size_t(n);
      }
      lastTick = std::max(lastTick, tick);
    }
    pos = end;
  }
  std::sort(tempos.begin(), tempos.end());
  double us = 0;
  uint64_t at = 0;
  uint32_t tempo = 500000;
  for (auto [tick, t] : tempos) {
    if (tick > lastTick) break;
    us += double(tick - at) * tempo / division;
    at = tick, tempo = t;
  }
  us += double(lastTick - at) * tempo / division;
  m.seconds = us / 1e6;
  return m;
}

CursorInfo readCursor(const std::vector<uint8_t>& bytes) {
  Reader r(bytes);
  CursorInfo c;
  if (r.u16(0) != 0) throw std::runtime_error("not a cursor or icon");
  c.type = int(r.u16(2));
  if (r.u16(4) < 1) throw std::runtime_error("no pictures");
  c.width = int(r.u8(6)) ? int(r.u8(6)) : 256;
  c.height = int(r.u8(7)) ? int(r.u8(7)) : 256;
  c.hotX = int(r.u16(10));
  c.hotY = int(r.u16(12));
  uint32_t offset = r.u32(18);
  c.bits = int(r.u16(offset + 14));
  int h = int(int32_t(r.u32(offset + 8))) / 2;
  if (int(r.u32(offset + 4)) != c.width || h != c.height) throw std::runtime_error("picture size differs from directory");
  uint32_t colours = r.u32(offset + 32);
  if (c.bits <= 8 && !colours) colours = 1u << c.bits;
  size_t xorStart = offset + r.u32(offset) + 4 * size_t(colours);
  size_t xorStride = (size_t(c.width) * size_t(c.bits) + 31) / 32 * 4;
  size_t andStart = xorStart + xorStride * size_t(c.height);
  size_t andStride = (size_t(c.width) + 31) / 32 * 4;
  r.need(andStart, andStride * size_t(c.height));
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x)
      if (!(bytes[andStart + andStride * size_t(y) + size_t(x) / 8] & (0x80 >> (x % 8)))) ++c.opaquePixels;
  return c;
}

KaraokeInfo readKaraoke(const std::vector<uint8_t>& bytes) {
  std::vector<std::string> lines;
  std::string cur;
  for (size_t i = 0; i < bytes.size(); ++i) {
    char ch = char(bytes[i]);
    if (ch == '\r' || ch == '\n') {
      lines.push_back(cur);
      cur.clear();
      if (ch == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    } else {
      cur += ch;
    }
  }
  if (!cur.empty()) lines.push_back(cur);
  KaraokeInfo k;
  if (lines.empty() || lines[0].empty() || lines[0][0] != '/') throw std::runtime_error("no title line");
  k.title = lines[0].substr(1, lines[0].size() >= 2 ? lines[0].size() - 2 : 0);
  k.fileLines = lines.size();
  int line = 1;
  for (size_t n = 0; n < lines.size(); ++n) {
    k.longestLine = std::max(k.longestLine, lines[n].size());
    if (n < 2) continue;
    const std::string& l = lines[n];
    size_t star = l.find('*'), at = l.find('@');
    if (at != std::string::npos && (star == std::string::npos || at < star)) {
      ++line;
      continue;
    }
    if (star == std::string::npos) throw std::runtime_error("syllable line without a time: " + l);
    std::string time = l.substr(0, star);
    if (time.empty() || time.find_first_not_of("0123456789") != std::string::npos)
      throw std::runtime_error("bad time: " + l);
    std::string text;
    bool breakAfter = false;
    for (size_t i = star + 1; i < l.size(); ++i) {
      if (l[i] == '*') break;
      if (l[i] == '@') {
        breakAfter = true;
        break;
      }
      if (l[i] != '$') text += l[i];
    }
    k.syllables.push_back({std::stol(time), text, line});
    if (breakAfter) ++line;
  }
  k.displayLines = k.syllables.empty() ? 0 : k.syllables.back().line;
  return k;
}

}  // namespace sample
