#include "platform/portable/ini_engine.h"

#include <cstdint>
#include <cstring>

#include "base/ascii.h"

namespace velkora::portable::ini_engine {
namespace {

constexpr std::string_view kLineBreak = "\r\n";

// Arguments arrive from callers as C strings on the platform: they end at
// the first NUL, and only the space character counts as padding (a tab is
// part of the name).
std::string_view NormaliseName(std::string_view s) {
  if (auto nul = s.find('\0'); nul != std::string_view::npos) s = s.substr(0, nul);
  return TrimBlanks(s, kSpaceOnly);
}

std::string_view CutAtNul(std::string_view s) {
  if (auto nul = s.find('\0'); nul != std::string_view::npos) s = s.substr(0, nul);
  return s;
}

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

enum class LineKind { kOther, kComment, kSection, kKey };

struct Line {
  std::size_t begin = 0;        // first character of the line
  std::size_t content_end = 0;  // first character of the line break (or end of text)
  std::size_t end = 0;          // first character after the line break
  LineKind kind = LineKind::kOther;
  std::string_view content;  // the line without its break and leading blanks
  std::string_view name;     // section or key name, blanks trimmed
  std::string_view value;    // key lines: the value, blanks trimmed, quotes kept
};

// Walks the lines of a text one at a time. Section headers and comments are
// recognised at once; whether any other line is a key is decided only when
// a caller asks (ParseKey), since most lines of a large file lie outside
// the section a call is about.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text), next_cr_(Find('\r')), next_lf_(Find('\n')) {}

  bool Next(Line& line) {
    const std::size_t n = text_.size();
    if (pos_ >= n) return false;
    line.begin = pos_;
    // memchr is vectorised; keep the next CR and the next LF and look again
    // only once the walk has passed them.
    if (next_cr_ < pos_) next_cr_ = Find('\r');
    if (next_lf_ < pos_) next_lf_ = Find('\n');
    std::size_t i = next_cr_ < next_lf_ ? next_cr_ : next_lf_;
    line.content_end = i;
    if (i < n) i += (text_[i] == '\r' && i + 1 < n && text_[i + 1] == '\n') ? 2 : 1;
    line.end = pos_ = i;

    // Only the first non-blank character matters until a caller asks for a
    // key: skip the full trim for the many lines no call is about.
    const std::string_view raw =
        TrimLeftBlanks(text_.substr(line.begin, line.content_end - line.begin));
    line.content = raw;
    line.name = {};
    line.value = {};
    if (raw.empty()) {
      line.kind = LineKind::kOther;
    } else if (raw.front() == '[') {
      // The name ends at the first ']'; a missing ']' lets it run to the
      // end of the line, and whatever follows the ']' is ignored.
      std::string_view inner = raw.substr(1);
      if (auto close = inner.find(']'); close != std::string_view::npos) inner = inner.substr(0, close);
      line.kind = LineKind::kSection;
      line.name = TrimBlanks(inner);
    } else if (raw.front() == ';') {
      line.kind = LineKind::kComment;
    } else {
      line.kind = LineKind::kOther;  // ParseKey tells
    }
    return true;
  }

  // Turns an undecided line into a key line when it has an '='.
  static void ParseKey(Line& line) {
    if (line.kind != LineKind::kOther) return;
    const auto eq = line.content.find('=');
    if (eq == std::string_view::npos) return;
    line.kind = LineKind::kKey;
    line.name = TrimBlanks(line.content.substr(0, eq));
    line.value = TrimBlanks(line.content.substr(eq + 1));
  }

 private:
  std::size_t Find(char c) const {
    if (pos_ >= text_.size()) return text_.size();
    const void* hit = std::memchr(text_.data() + pos_, c, text_.size() - pos_);
    return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text_.data()) : text_.size();
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  std::size_t next_cr_;
  std::size_t next_lf_;
};

// Where a section and, optionally, one of its keys sit in a text.
struct Location {
  bool section_found = false;
  Line header;
  bool key_found = false;
  Line key_line;
  bool has_key_lines = false;
  Line last_key_line;       // valid when has_key_lines
  std::size_t section_end = 0;  // where the next section header starts (or end of text)
};

// Finds the first section called `section` and, when `key` is given, the
// first key line of that name inside it. Later sections of the same name are
// never searched.
Location Locate(std::string_view text, std::string_view section, std::optional<std::string_view> key) {
  Location loc;
  loc.section_end = text.size();
  LineReader reader(text);
  Line line;
  while (reader.Next(line)) {
    if (!loc.section_found) {
      if (line.kind == LineKind::kSection && EqualsIgnoreAsciiCase(line.name, section)) {
        loc.section_found = true;
        loc.header = line;
      }
      continue;
    }
    if (line.kind == LineKind::kSection) {
      loc.section_end = line.begin;
      break;
    }
    LineReader::ParseKey(line);
    if (line.kind != LineKind::kKey) continue;
    loc.has_key_lines = true;
    loc.last_key_line = line;
    if (key && !loc.key_found && EqualsIgnoreAsciiCase(line.name, *key)) {
      loc.key_found = true;
      loc.key_line = line;
    }
  }
  return loc;
}

std::string_view StripOuterQuotes(std::string_view value) {
  if (value.size() > 1 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

std::string CutValue(std::string_view value, std::size_t buffer_size) {
  if (buffer_size == 0) return {};
  return std::string(value.substr(0, buffer_size - 1));
}

// Appends names NUL-joined and applies the platform's truncation: the list
// with its closing NUL must fit strictly inside the buffer, otherwise the
// result is cut to buffer_size-2 characters.
class NameList {
 public:
  explicit NameList(std::size_t buffer_size) : buffer_size_(buffer_size) {}

  void Add(std::string_view name) {
    if (joined_.size() >= buffer_size_) return;  // already too long; the rest cannot show
    joined_.append(name);
    joined_.push_back('\0');
  }

  std::string Finish() && {
    if (joined_.size() + 1 < buffer_size_) return std::move(joined_);
    if (buffer_size_ < 2) return {};
    joined_.resize(buffer_size_ - 2);
    return std::move(joined_);
  }

 private:
  std::size_t buffer_size_;
  std::string joined_;
};

std::string ListSections(std::string_view text, std::size_t buffer_size) {
  NameList list(buffer_size);
  LineReader reader(text);
  Line line;
  while (reader.Next(line)) {
    if (line.kind == LineKind::kSection) list.Add(line.name);
  }
  return std::move(list).Finish();
}

std::string ListKeys(std::string_view text, std::string_view section, std::size_t buffer_size) {
  NameList list(buffer_size);
  LineReader reader(text);
  Line line;
  bool inside = false;
  while (reader.Next(line)) {
    if (line.kind == LineKind::kSection) {
      if (inside) break;
      inside = EqualsIgnoreAsciiCase(line.name, section);
    } else if (inside) {
      LineReader::ParseKey(line);
      if (line.kind == LineKind::kKey) list.Add(line.name);
    }
  }
  return std::move(list).Finish();
}

std::string GetStringFromText(std::string_view text, std::optional<std::string_view> section_arg,
                              std::optional<std::string_view> key_arg, std::string_view default_arg,
                              std::size_t buffer_size) {
  if (!section_arg) return ListSections(text, buffer_size);
  const std::string_view section = NormaliseName(*section_arg);
  if (!key_arg) return ListKeys(text, section, buffer_size);
  const std::string_view key = NormaliseName(*key_arg);

  const std::string_view fallback = TrimRightBlanks(CutAtNul(default_arg), kSpaceOnly);
  // An empty key name never matches, not even a line "=value".
  if (key.empty()) return CutValue(fallback, buffer_size);
  const Location loc = Locate(text, section, key);
  if (!loc.key_found) return CutValue(fallback, buffer_size);
  return CutValue(StripOuterQuotes(loc.key_line.value), buffer_size);
}

std::optional<std::string> WriteText(std::string_view text, std::string_view section_arg,
                                     std::optional<std::string_view> key_arg,
                                     std::optional<std::string_view> value_arg) {
  const std::string_view section = NormaliseName(section_arg);
  const std::optional<std::string_view> key =
      key_arg ? std::optional<std::string_view>(NormaliseName(*key_arg)) : std::nullopt;
  const std::optional<std::string_view> value =
      value_arg ? std::optional<std::string_view>(CutAtNul(*value_arg)) : std::nullopt;
  if (HasLineBreak(section) || (key && HasLineBreak(*key)) || (value && HasLineBreak(*value))) {
    return std::nullopt;
  }

  const Location loc = Locate(text, section, key);
  std::string out;

  if (!key) {  // delete the section: its header and key lines
    if (!loc.section_found) return std::string(text);
    out.reserve(text.size());
    out.append(text.substr(0, loc.header.begin));
    LineReader reader(text.substr(0, loc.section_end));
    Line line;
    while (reader.Next(line)) {
      if (line.begin <= loc.header.begin) continue;
      LineReader::ParseKey(line);
      if (line.kind == LineKind::kKey) continue;
      out.append(text.substr(line.begin, line.end - line.begin));
    }
    out.append(text.substr(loc.section_end));
    return out;
  }

  if (!value) {  // delete the key line
    if (!loc.key_found) return std::string(text);
    out.reserve(text.size());
    out.append(text.substr(0, loc.key_line.begin));
    out.append(text.substr(loc.key_line.end));
    return out;
  }

  out.reserve(text.size() + section.size() + key->size() + value->size() + 8);
  if (loc.key_found) {  // replace the value, keeping the line's place, name and ending
    out.append(text.substr(0, loc.key_line.begin));
    out.append(loc.key_line.name);
    out.push_back('=');
    out.append(*value);
    out.append(text.substr(loc.key_line.content_end));
    return out;
  }

  if (loc.section_found) {  // new key after the section's last key line
    const Line& anchor = loc.has_key_lines ? loc.last_key_line : loc.header;
    out.append(text.substr(0, anchor.end));
    if (anchor.end == anchor.content_end) out.append(kLineBreak);  // anchor is an unterminated last line
    out.append(*key);
    out.push_back('=');
    out.append(*value);
    out.append(kLineBreak);
    out.append(text.substr(anchor.end));
    return out;
  }

  // New section at the end of the file.
  out.append(text);
  if (!text.empty() && text.back() != '\r' && text.back() != '\n') out.append(kLineBreak);
  out.push_back('[');
  out.append(section);
  out.push_back(']');
  out.append(kLineBreak);
  out.append(*key);
  out.push_back('=');
  out.append(*value);
  out.append(kLineBreak);
  return out;
}

// ---- UTF-16LE files -------------------------------------------------------

bool HasUtf16Bom(std::string_view bytes) {
  return bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
         static_cast<unsigned char>(bytes[1]) == 0xFE;
}

void AppendUtf8(std::string& out, uint32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

void AppendUtf16(std::string& out, uint32_t unit) {
  out.push_back(static_cast<char>(unit & 0xFF));
  out.push_back(static_cast<char>((unit >> 8) & 0xFF));
}

// Decodes UTF-16LE units (the mark already removed). With `lossless`, an
// unpaired surrogate becomes its own three-byte sequence so that encoding
// back restores it; otherwise it reads as '?'. An odd last byte is not
// text: it goes to `odd_tail` when given.
std::string Utf16ToUtf8(std::string_view bytes, bool lossless, std::string* odd_tail) {
  std::string out;
  out.reserve(bytes.size());
  const std::size_t units = bytes.size() / 2;
  auto unit_at = [&](std::size_t i) {
    return static_cast<uint32_t>(static_cast<unsigned char>(bytes[2 * i])) |
           (static_cast<uint32_t>(static_cast<unsigned char>(bytes[2 * i + 1])) << 8);
  };
  for (std::size_t i = 0; i < units; ++i) {
    const uint32_t u = unit_at(i);
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units) {
      const uint32_t low = unit_at(i + 1);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
        ++i;
        continue;
      }
    }
    if (u >= 0xD800 && u <= 0xDFFF && !lossless) {
      out.push_back('?');
    } else {
      AppendUtf8(out, u);
    }
  }
  if (odd_tail && bytes.size() % 2 == 1) odd_tail->assign(1, bytes.back());
  return out;
}

// Encodes UTF-8 (including the three-byte form of single surrogates that
// the lossless decoder produces) as UTF-16LE. Invalid bytes become U+FFFD.
std::string Utf8ToUtf16(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  const std::size_t n = text.size();
  auto byte = [&](std::size_t i) { return static_cast<uint32_t>(static_cast<unsigned char>(text[i])); };
  auto cont = [&](std::size_t i) { return i < n && (byte(i) & 0xC0) == 0x80; };
  std::size_t i = 0;
  while (i < n) {
    const uint32_t b0 = byte(i);
    if (b0 < 0x80) {
      AppendUtf16(out, b0);
      ++i;
    } else if (b0 >= 0xC2 && b0 <= 0xDF && cont(i + 1)) {
      AppendUtf16(out, ((b0 & 0x1F) << 6) | (byte(i + 1) & 0x3F));
      i += 2;
    } else if (b0 >= 0xE0 && b0 <= 0xEF && cont(i + 1) && cont(i + 2) && (b0 != 0xE0 || byte(i + 1) >= 0xA0)) {
      AppendUtf16(out, ((b0 & 0x0F) << 12) | ((byte(i + 1) & 0x3F) << 6) | (byte(i + 2) & 0x3F));
      i += 3;
    } else if (b0 >= 0xF0 && b0 <= 0xF4 && cont(i + 1) && cont(i + 2) && cont(i + 3) &&
               (b0 != 0xF0 || byte(i + 1) >= 0x90) && (b0 != 0xF4 || byte(i + 1) < 0x90)) {
      const uint32_t cp = ((b0 & 0x07) << 18) | ((byte(i + 1) & 0x3F) << 12) | ((byte(i + 2) & 0x3F) << 6) |
                          (byte(i + 3) & 0x3F);
      AppendUtf16(out, 0xD800 + ((cp - 0x10000) >> 10));
      AppendUtf16(out, 0xDC00 + ((cp - 0x10000) & 0x3FF));
      i += 4;
    } else {
      AppendUtf16(out, 0xFFFD);
      ++i;
    }
  }
  return out;
}

}  // namespace

std::string DecodeForReading(std::string_view file_bytes) {
  if (!HasUtf16Bom(file_bytes)) return std::string(file_bytes);
  return Utf16ToUtf8(file_bytes.substr(2), /*lossless=*/false, nullptr);
}

std::string GetString(std::string_view file_bytes, std::optional<std::string_view> section,
                      std::optional<std::string_view> key, std::string_view default_text,
                      std::size_t buffer_size) {
  if (HasUtf16Bom(file_bytes)) {
    const std::string text = DecodeForReading(file_bytes);
    return GetStringFromText(text, section, key, default_text, buffer_size);
  }
  return GetStringFromText(file_bytes, section, key, default_text, buffer_size);
}

std::optional<std::string> WriteString(std::string_view file_bytes, std::string_view section,
                                       std::optional<std::string_view> key,
                                       std::optional<std::string_view> value) {
  if (!HasUtf16Bom(file_bytes)) return WriteText(file_bytes, section, key, value);
  std::string odd_tail;
  const std::string text = Utf16ToUtf8(file_bytes.substr(2), /*lossless=*/true, &odd_tail);
  std::optional<std::string> edited = WriteText(text, section, key, value);
  if (!edited) return std::nullopt;
  std::string out(file_bytes.substr(0, 2));
  out.append(Utf8ToUtf16(*edited));
  out.append(odd_tail);
  return out;
}

}  // namespace velkora::portable::ini_engine
