#include "platform/core/registry_format.h"

#include <array>

#include "platform/core/cp1250.h"

namespace tlb {
namespace {

constexpr std::string_view kHeaderWord = "tulimbo-registry";
constexpr std::string_view kVersion = "1";
constexpr std::string_view kHead =
    "# Tulimbo registry: the programs' per-user settings.\n"
    "# Keys and value names are case-insensitive; texts are code page 1250, %XX escapes a byte.\n"
    "tulimbo-registry 1\n";
constexpr std::string_view kEndLine = "end\n";

// ---- writing ----

bool NeedsEscape(uint8_t b) {
  return b < 0x20 || b == 0x7F || b == '"' || b == '%' || Cp1250ToCodePoint(b) == 0xFFFD;
}

// How each code page byte is written between quotes: its UTF-8 form, or %XX.
struct Written {
  std::array<char, 3> bytes{};
  uint8_t size = 0;
};

std::array<Written, 256> MakeWrittenBytes() {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::array<Written, 256> table;
  for (int b = 0; b < 256; ++b) {
    Written& w = table[b];
    if (NeedsEscape(static_cast<uint8_t>(b))) {
      w.bytes = {'%', kHex[b >> 4], kHex[b & 15]};
      w.size = 3;
      continue;
    }
    const char c = static_cast<char>(b);
    const std::string utf8 = Cp1250ToUtf8(std::string_view(&c, 1));
    for (char u : utf8) w.bytes[w.size++] = u;
  }
  return table;
}

const std::array<Written, 256>& WrittenBytes() {
  static const std::array<Written, 256> table = MakeWrittenBytes();
  return table;
}

// Where the text goes: into a string, or only counted. Both are given the
// same calls, so that the count is the text's size.
struct TextSink {
  std::string* text = nullptr;
  size_t size = 0;
  void Add(std::string_view s) {
    size += s.size();
    if (text != nullptr) text->append(s);
  }
};

void WriteQuoted(TextSink& out, std::string_view cp1250) {
  const auto& table = WrittenBytes();
  out.Add("\"");
  // Runs of bytes written as they are go out at once.
  size_t run = 0;
  for (size_t i = 0; i < cp1250.size(); ++i) {
    const Written& w = table[static_cast<uint8_t>(cp1250[i])];
    if (w.size == 1 && w.bytes[0] == cp1250[i]) continue;
    out.Add(cp1250.substr(run, i - run));
    out.Add(std::string_view(w.bytes.data(), w.size));
    run = i + 1;
  }
  out.Add(cp1250.substr(run));
  out.Add("\"");
}

void WriteKey(TextSink& out, std::string_view path, const RegistryData::Key& key) {
  out.Add("key ");
  WriteQuoted(out, path);
  out.Add("\n");
  for (const auto& [name, value] : key.values) {
    if (value.type == RegistryType::Dword) {
      out.Add("  dword ");
      WriteQuoted(out, name);
      out.Add(" ");
      out.Add(std::to_string(value.dword));
    } else {
      out.Add("  sz ");
      WriteQuoted(out, name);
      out.Add(" ");
      WriteQuoted(out, value.text);
    }
    out.Add("\n");
  }
}

void WriteRegistry(TextSink& out, const RegistryData& data) {
  out.Add(kHead);
  for (const auto& [path, key] : data.Keys()) WriteKey(out, path, key);
  out.Add(kEndLine);
}

// ---- reading ----

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Appends the code page 1250 form of a run of literal UTF-8; false when the run
// holds something the writer would have escaped or cannot come from the code page.
bool AppendLiteral(std::string& out, std::string_view utf8) {
  bool ascii = true;
  for (char c : utf8) {
    const auto b = static_cast<uint8_t>(c);
    if (b < 0x20 || b == 0x7F) return false;
    ascii &= b < 0x80;
  }
  // Printable ASCII is the same in both (the quote and '%' end a run).
  if (ascii) {
    out.append(utf8);
    return true;
  }
  std::string bytes = Utf8ToCp1250(utf8);
  if (Cp1250ToUtf8(bytes) != utf8) return false;
  out += bytes;
  return true;
}

// Reads the tokens of one line: bare words and quoted strings.
class LineReader {
 public:
  explicit LineReader(std::string_view line) : line_(line) {}

  bool AtEnd() {
    SkipBlanks();
    return pos_ == line_.size();
  }

  std::optional<std::string_view> Word() {
    SkipBlanks();
    const size_t start = pos_;
    while (pos_ < line_.size() && line_[pos_] != ' ' && line_[pos_] != '\t' && line_[pos_] != '"') ++pos_;
    if (pos_ == start) return std::nullopt;
    return line_.substr(start, pos_ - start);
  }

  std::optional<std::string> Quoted() {
    SkipBlanks();
    if (pos_ >= line_.size() || line_[pos_] != '"') return std::nullopt;
    const size_t close = line_.find('"', pos_ + 1);
    if (close == std::string_view::npos) return std::nullopt;
    const std::string_view body = line_.substr(pos_ + 1, close - pos_ - 1);
    pos_ = close + 1;
    std::string out;
    size_t runStart = 0;
    for (size_t i = 0; i < body.size(); ++i) {
      if (body[i] != '%') continue;
      if (!AppendLiteral(out, body.substr(runStart, i - runStart))) return std::nullopt;
      if (i + 2 >= body.size()) return std::nullopt;  // '%' needs two hex digits
      const int hi = HexValue(body[i + 1]);
      const int lo = HexValue(body[i + 2]);
      if (hi < 0 || lo < 0) return std::nullopt;
      out += static_cast<char>(hi * 16 + lo);
      i += 2;
      runStart = i + 1;
    }
    if (!AppendLiteral(out, body.substr(runStart))) return std::nullopt;
    return out;
  }

  // What follows the tokens read so far.
  std::string_view Rest() const { return line_.substr(pos_); }

 private:
  void SkipBlanks() {
    while (pos_ < line_.size() && (line_[pos_] == ' ' || line_[pos_] == '\t')) ++pos_;
  }

  std::string_view line_;
  size_t pos_ = 0;
};

std::optional<uint32_t> ParseDword(std::string_view word) {
  if (word.empty() || word.size() > 10) return std::nullopt;
  uint64_t v = 0;
  for (char c : word) {
    if (c < '0' || c > '9') return std::nullopt;
    v = v * 10 + static_cast<uint64_t>(c - '0');
  }
  if (v > 0xFFFFFFFFull) return std::nullopt;
  return static_cast<uint32_t>(v);
}

}  // namespace

std::string SerializeRegistry(const RegistryData& data) {
  std::string text;
  text.reserve(SerializedSize(data));
  TextSink out{&text};
  WriteRegistry(out, data);
  return text;
}

size_t SerializedSize(const RegistryData& data) {
  TextSink out;
  WriteRegistry(out, data);
  return out.size;
}

size_t SerializedSize(std::string_view path, const RegistryData::Key& key) {
  TextSink out;
  WriteKey(out, path, key);
  return out.size;
}

void RegistryParser::Feed(std::string_view piece) {
  if (!open_.empty()) {
    const size_t newline = piece.find('\n');
    if (newline == std::string_view::npos) {
      open_.append(piece);
      return;
    }
    open_.append(piece.substr(0, newline));
    ReadLine(open_, false);
    open_.clear();
    piece.remove_prefix(newline + 1);
  }
  for (size_t newline = piece.find('\n'); newline != std::string_view::npos; newline = piece.find('\n')) {
    ReadLine(piece.substr(0, newline), false);
    piece.remove_prefix(newline + 1);
  }
  open_.assign(piece);
}

ParsedRegistry RegistryParser::Finish() {
  if (!open_.empty()) ReadLine(open_, true);
  open_.clear();
  result_.whole = headerSeen_ && ended_ && !damaged_ && !otherVersion_;
  return std::move(result_);
}

void RegistryParser::ReadLine(std::string_view line, bool cutOff) {
  if (otherVersion_) return;
  // A CR before the line feed is part of the line break (files edited on
  // another system); a CR anywhere else is damage, found as the line is read.
  if (!cutOff && !line.empty() && line.back() == '\r') line.remove_suffix(1);

  LineReader reader(line);
  if (reader.AtEnd() || line[line.find_first_not_of(" \t")] == '#') {
    damaged_ |= cutOff;  // blank, or a comment
    return;
  }
  if (!contentSeen_) {
    contentSeen_ = true;
    LineReader header(line);
    if (header.Word() == kHeaderWord) {
      // Another version of the format is not guessed at.
      if (header.Word() != kVersion) {
        otherVersion_ = true;
        return;
      }
      headerSeen_ = true;
      damaged_ |= cutOff || !header.AtEnd();
      return;
    }
    damaged_ = true;  // the header is missing
  }
  damaged_ |= ended_;  // nothing belongs after the end line

  const std::optional<std::string_view> word = reader.Word();
  if (word && *word == "end" && reader.AtEnd()) {
    // Values after the end line need a key line of their own.
    ended_ = true;
    currentKey_.reset();
    currentEntry_.reset();
    damaged_ |= cutOff;
    return;
  }
  if (cutOff || !word || !ReadEntry(*word, reader.Rest())) damaged_ = true;
}

// Reads one entry line after its first word; false when it cannot be read.
bool RegistryParser::ReadEntry(std::string_view word, std::string_view rest) {
  LineReader reader(rest);
  RegistryData& data = result_.data;
  if (word == "key") {
    currentKey_.reset();
    currentEntry_.reset();
    std::optional<std::string> path = reader.Quoted();
    if (!path || !reader.AtEnd()) return false;
    currentKey_ = RegistryData::NormalizeKey(*path);
    // The root's entry is made with its first value, as SetValue makes it.
    if (!currentKey_->empty()) currentEntry_ = data.MakeKey(*currentKey_);
    return true;
  }
  if (word != "dword" && word != "sz") return false;
  if (!currentKey_) return false;
  const std::optional<std::string> name = reader.Quoted();
  if (!name) return false;
  RegistryValue value;
  if (word == "dword") {
    const std::optional<std::string_view> number = reader.Word();
    const std::optional<uint32_t> v = number ? ParseDword(*number) : std::nullopt;
    if (!v) return false;
    value = RegistryValue::Dword(*v);
  } else {
    std::optional<std::string> s = reader.Quoted();
    if (!s) return false;
    value = RegistryValue::String(std::move(*s));
  }
  if (!reader.AtEnd()) return false;
  if (!currentEntry_) currentEntry_ = data.MakeKey(*currentKey_);
  data.SetValueOf(*currentEntry_, *name, std::move(value));
  return true;
}

ParsedRegistry ParseRegistry(std::string_view text) {
  RegistryParser parser;
  parser.Feed(text);
  return parser.Finish();
}

}  // namespace tlb
