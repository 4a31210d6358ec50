#include "platform/portable/ini_engine.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <unordered_map>

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

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v'; }
bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

// The name of the header whose '[' is at `bracket`: up to the first ']' of
// the line (a missing ']' lets it run to the end of the line; whatever
// follows the ']' is ignored), blanks trimmed.
std::string_view HeaderName(std::string_view text, std::size_t bracket) {
  std::size_t end = bracket + 1;
  while (end < text.size() && text[end] != ']' && !IsLineBreak(text[end])) ++end;
  return TrimBlanks(text.substr(bracket + 1, end - bracket - 1));
}

// Where the line holding position `pos` starts, when only blanks lie
// between the two; npos when anything else does.
std::size_t LineStartBefore(std::string_view text, std::size_t pos) {
  while (pos > 0 && IsBlank(text[pos - 1])) --pos;
  return (pos == 0 || IsLineBreak(text[pos - 1])) ? pos : std::string_view::npos;
}

// The '[' of the first section header at or after `from`, or npos. A header
// is a line whose first non-blank character is '['. Most lines of a large
// file are not headers, so this jumps from one '[' to the next (memchr is
// vectorised) instead of walking every line, and keeps a '[' only when
// blanks alone stand between it and the start of its line. The rest of a
// line with any other '[' holds no header: a short look ahead for its end
// keeps a value full of brackets from costing one search per bracket.
std::size_t NextHeader(std::string_view text, std::size_t from) {
  constexpr std::size_t kLookAhead = 64;
  while (from < text.size()) {
    const void* hit = std::memchr(text.data() + from, '[', text.size() - from);
    if (hit == nullptr) break;
    const auto bracket = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
    if (LineStartBefore(text, bracket) != std::string_view::npos) return bracket;
    from = bracket + 1;
    const std::size_t stop = std::min(text.size(), from + kLookAhead);
    while (from < stop && !IsLineBreak(text[from])) ++from;
  }
  return std::string_view::npos;
}

// Whether the header at `bracket` is called `section`, compared in place.
// REQUIRES: `section` could be a header's name at all (CanBeHeaderName),
// which makes it enough to match its characters and then find only blanks
// before the ']' or the end of the line.
bool HeaderIsCalled(std::string_view text, std::size_t bracket, std::string_view section) {
  const std::size_t n = text.size();
  std::size_t i = bracket + 1;
  while (i < n && IsBlank(text[i])) ++i;
  if (n - i < section.size()) return false;
  for (const char c : section) {
    if (AsciiLower(text[i]) != AsciiLower(c)) return false;
    ++i;
  }
  while (i < n && IsBlank(text[i])) ++i;
  return i == n || text[i] == ']' || IsLineBreak(text[i]);
}

// A header's name never starts or ends with a blank and never holds a ']'
// or a line break; an argument that does names no section.
bool CanBeHeaderName(std::string_view section) {
  if (!section.empty() && (IsBlank(section.front()) || IsBlank(section.back()))) return false;
  return section.find_first_of("]\r\n") == std::string_view::npos;
}

// The '[' of the first header called `section`, or npos.
std::size_t FindSection(std::string_view text, std::string_view section) {
  if (!CanBeHeaderName(section)) return std::string_view::npos;
  for (std::size_t bracket = NextHeader(text, 0); bracket != std::string_view::npos;
       bracket = NextHeader(text, bracket + 1)) {
    if (HeaderIsCalled(text, bracket, section)) return bracket;
  }
  return std::string_view::npos;
}

struct Line {
  std::size_t begin = 0;        // first character of the line
  std::size_t content_end = 0;  // first character of the line break (or end of text)
  std::size_t end = 0;          // first character after the line break
  LineKind kind = LineKind::kOther;
  std::string_view content;  // the line without its break and leading blanks
  std::string_view name;     // section names; key names once SplitKey ran, blanks trimmed
  std::string_view value;    // key lines once SplitKey ran: the value, blanks trimmed, quotes kept
  std::size_t equals = 0;    // key lines: where the first '=' is in `content`
};

// Walks the lines of a text one at a time from a line start. Callers walk
// only the lines of one section (NextHeader finds the sections), so a plain
// loop finds each line's end and notes its first '=' on the way. A key
// line's name and value are cut out only when a caller asks (SplitKey):
// a lookup compares the names of few of the lines it passes.
class LineReader {
 public:
  LineReader(std::string_view text, std::size_t line_start) : text_(text), pos_(line_start) {}

  bool Next(Line& line) {
    const std::size_t n = text_.size();
    if (pos_ >= n) return false;
    line.begin = pos_;
    std::size_t first = pos_;
    while (first < n && IsBlank(text_[first])) ++first;
    std::size_t equals = std::string_view::npos;
    std::size_t i = first;
    for (; i < n && !IsLineBreak(text_[i]); ++i) {
      if (text_[i] == '=' && equals == std::string_view::npos) equals = i - first;
    }
    line.content_end = i;
    if (i < n) i += (text_[i] == '\r' && i + 1 < n && text_[i + 1] == '\n') ? 2 : 1;
    line.end = pos_ = i;

    line.content = text_.substr(first, line.content_end - first);
    line.name = {};
    line.value = {};
    line.equals = equals;
    if (line.content.empty()) {
      line.kind = LineKind::kOther;
    } else if (line.content.front() == '[') {
      line.kind = LineKind::kSection;
      line.name = HeaderName(text_, first);
    } else if (line.content.front() == ';') {
      line.kind = LineKind::kComment;
    } else {
      line.kind = equals == std::string_view::npos ? LineKind::kOther : LineKind::kKey;
    }
    return true;
  }

  // Cuts a key line into its name and value.
  static void SplitKey(Line& line) {
    line.name = TrimBlanks(line.content.substr(0, line.equals));
    line.value = TrimBlanks(line.content.substr(line.equals + 1));
  }

 private:
  std::string_view text_;
  std::size_t pos_;
};

// Where a section and, optionally, one of its keys sit in a text.
struct Location {
  bool section_found = false;
  Line header;
  bool key_found = false;
  Line key_line;
  // The rest describes the whole section only when no key was asked for or
  // the key was not found: the walk stops at the key line.
  // The line a new key goes after: the section's last key line, or the
  // header when there is none (where its break starts, and where it ends).
  std::size_t anchor_content_end = 0;
  std::size_t anchor_end = 0;
  std::size_t section_end = 0;  // where the next section header starts (or end of text)
};

// Finds the first section called `section` and, when `key` is given, the
// first key line of that name inside it. Later sections of the same name are
// never searched.
Location Locate(std::string_view text, std::string_view section,
                std::optional<std::string_view> key) {
  Location loc;
  loc.section_end = text.size();
  const std::size_t bracket = FindSection(text, section);
  if (bracket == std::string_view::npos) return loc;
  LineReader reader(text, LineStartBefore(text, bracket));
  loc.section_found = reader.Next(loc.header);
  loc.anchor_content_end = loc.header.content_end;
  loc.anchor_end = loc.header.end;
  Line line;
  while (reader.Next(line)) {
    if (line.kind == LineKind::kSection) {
      loc.section_end = line.begin;
      break;
    }
    if (line.kind != LineKind::kKey) continue;
    // A key name starts with its line's first character unless it is empty,
    // so most lines of a long section need no closer look.
    if (key && (key->empty() || AsciiLower(line.content.front()) == AsciiLower(key->front()))) {
      LineReader::SplitKey(line);
      if (EqualsIgnoreAsciiCase(line.name, *key)) {
        loc.key_found = true;
        loc.key_line = line;
        break;
      }
    }
    loc.anchor_content_end = line.content_end;
    loc.anchor_end = line.end;
  }
  return loc;
}

std::string_view StripOuterQuotes(std::string_view value) {
  if (value.size() > 1 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
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

  // False once the list is too long for the buffer: later names could not
  // show, so the caller may stop looking for them.
  bool Add(std::string_view name) {
    if (joined_.size() >= buffer_size_) return false;
    joined_.append(name);
    joined_.push_back('\0');
    return joined_.size() < buffer_size_;
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
  for (std::size_t bracket = NextHeader(text, 0); bracket != std::string_view::npos;
       bracket = NextHeader(text, bracket + 1)) {
    if (!list.Add(HeaderName(text, bracket))) break;
  }
  return std::move(list).Finish();
}

std::string ListKeys(std::string_view text, std::string_view section, std::size_t buffer_size) {
  NameList list(buffer_size);
  const std::size_t bracket = FindSection(text, section);
  if (bracket == std::string_view::npos) return std::move(list).Finish();
  LineReader reader(text, LineStartBefore(text, bracket));
  Line line;
  reader.Next(line);  // the header
  while (reader.Next(line) && line.kind != LineKind::kSection) {
    if (line.kind != LineKind::kKey) continue;
    LineReader::SplitKey(line);
    if (!list.Add(line.name)) break;
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

// Hashing and comparing names without regard to ASCII case, in place: a
// long section is looked up without a lowered copy of every name.
struct FoldedHash {
  std::size_t operator()(std::string_view name) const {
    uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (const char c : name)
      hash = (hash ^ static_cast<unsigned char>(AsciiLower(c))) * 1099511628211ull;
    return static_cast<std::size_t>(hash);
  }
};
struct FoldedEqual {
  bool operator()(std::string_view a, std::string_view b) const {
    return EqualsIgnoreAsciiCase(a, b);
  }
};

std::vector<Profile::NamedValue> SectionValuesFromText(std::string_view text,
                                                       std::string_view section_arg,
                                                       std::size_t list_buffer_size,
                                                       std::size_t value_buffer_size) {
  const std::string_view section = NormaliseName(section_arg);
  std::vector<Profile::NamedValue> entries;
  std::vector<std::string> names = SplitProfileList(ListKeys(text, section, list_buffer_size));
  if (names.empty()) return entries;

  // The value a lookup finds for each name: that of its first key line in
  // the first section of that name. All key lines count, not only the
  // listed ones: a name the buffer cut short may be the name of a later key.
  std::unordered_map<std::string_view, std::string_view, FoldedHash, FoldedEqual> first_values;
  LineReader reader(text, LineStartBefore(text, FindSection(text, section)));
  Line line;
  reader.Next(line);  // the header
  while (reader.Next(line) && line.kind != LineKind::kSection) {
    if (line.kind != LineKind::kKey) continue;
    LineReader::SplitKey(line);
    first_values.try_emplace(line.name, line.value);
  }

  entries.reserve(names.size());
  for (std::string& name : names) {
    // The same argument rules as a single lookup: a cut name may end in a
    // space, and an empty name never matches.
    const std::string_view key = NormaliseName(name);
    std::string value;
    if (!key.empty()) {
      if (const auto found = first_values.find(key); found != first_values.end()) {
        value = CutValue(StripOuterQuotes(found->second), value_buffer_size);
      }
    }
    entries.push_back({std::move(name), std::move(value)});
  }
  return entries;
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
    LineReader reader(text.substr(0, loc.section_end), loc.header.end);
    Line line;
    while (reader.Next(line)) {
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
    out.append(text.substr(0, loc.anchor_end));
    if (loc.anchor_end == loc.anchor_content_end)
      out.append(kLineBreak);  // an unterminated last line
    out.append(*key);
    out.push_back('=');
    out.append(*value);
    out.append(kLineBreak);
    out.append(text.substr(loc.anchor_end));
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
  auto byte = [&](std::size_t i) {
    return static_cast<uint32_t>(static_cast<unsigned char>(text[i]));
  };
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
    } else if (b0 >= 0xE0 && b0 <= 0xEF && cont(i + 1) && cont(i + 2) &&
               (b0 != 0xE0 || byte(i + 1) >= 0xA0)) {
      AppendUtf16(out, ((b0 & 0x0F) << 12) | ((byte(i + 1) & 0x3F) << 6) | (byte(i + 2) & 0x3F));
      i += 3;
    } else if (b0 >= 0xF0 && b0 <= 0xF4 && cont(i + 1) && cont(i + 2) && cont(i + 3) &&
               (b0 != 0xF0 || byte(i + 1) >= 0x90) && (b0 != 0xF4 || byte(i + 1) < 0x90)) {
      const uint32_t cp = ((b0 & 0x07) << 18) | ((byte(i + 1) & 0x3F) << 12) |
                          ((byte(i + 2) & 0x3F) << 6) | (byte(i + 3) & 0x3F);
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

std::vector<Profile::NamedValue> GetSectionValues(std::string_view file_bytes,
                                                  std::string_view section,
                                                  std::size_t list_buffer_size,
                                                  std::size_t value_buffer_size) {
  if (HasUtf16Bom(file_bytes)) {
    const std::string text = DecodeForReading(file_bytes);
    return SectionValuesFromText(text, section, list_buffer_size, value_buffer_size);
  }
  return SectionValuesFromText(file_bytes, section, list_buffer_size, value_buffer_size);
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
