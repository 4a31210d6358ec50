// Feeds arbitrary file bytes to the INI engine: every read and list must
// stay inside its buffer, and the write paths must keep their promises on
// any input (a delete of something absent changes no byte, a written value
// reads back). Every result is also compared with a plain reader and writer
// below, which split the whole file into lines first and follow the rules
// one line at a time: the engine takes shortcuts for speed (it jumps from
// one '[' to the next and compares names in place), and any difference
// between the two is a fault in one of them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/portable/ini_engine.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// ---- The plain model -------------------------------------------------------

constexpr std::string_view kBlanks = " \t\v";

std::string_view Trim(std::string_view s, std::string_view blanks = kBlanks) {
  const auto first = s.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::string_view Argument(std::string_view s) { return Trim(s.substr(0, s.find('\0')), " "); }

enum class Kind { kOther, kComment, kSection, kKey };

struct ModelLine {
  std::string_view text;        // without the line break
  std::string_view line_break;  // "", "\r", "\n" or "\r\n"
  Kind kind = Kind::kOther;
  std::string_view name;
  std::string_view value;
};

std::vector<ModelLine> SplitLines(std::string_view file) {
  std::vector<ModelLine> lines;
  std::size_t start = 0;
  while (start < file.size()) {
    ModelLine line;
    std::size_t end = start;
    while (end < file.size() && file[end] != '\r' && file[end] != '\n') ++end;
    line.text = file.substr(start, end - start);
    std::size_t next = end;
    if (next < file.size()) next += file.substr(next, 2) == "\r\n" ? 2 : 1;
    line.line_break = file.substr(end, next - end);
    start = next;

    const std::string_view content = Trim(line.text);
    if (!content.empty() && content.front() == '[') {
      line.kind = Kind::kSection;
      const std::string_view inner = content.substr(1);
      line.name = Trim(inner.substr(0, inner.find(']')));
    } else if (!content.empty() && content.front() == ';') {
      line.kind = Kind::kComment;
    } else if (const auto eq = content.find('='); eq != std::string_view::npos) {
      line.kind = Kind::kKey;
      line.name = Trim(content.substr(0, eq));
      line.value = Trim(content.substr(eq + 1));
    }
    lines.push_back(line);
  }
  return lines;
}

// Index of the first header called `section` (lines.size() if none).
std::size_t FindSection(const std::vector<ModelLine>& lines, std::string_view section) {
  std::size_t i = 0;
  while (i < lines.size() && !(lines[i].kind == Kind::kSection && SameName(lines[i].name, section)))
    ++i;
  return i;
}

// Index of the next header after `header` (lines.size() if none).
std::size_t SectionEnd(const std::vector<ModelLine>& lines, std::size_t header) {
  std::size_t i = header + 1;
  while (i < lines.size() && lines[i].kind != Kind::kSection) ++i;
  return i;
}

std::string FitList(const std::vector<std::string_view>& names, std::size_t buffer_size) {
  std::string joined;
  for (const auto name : names) {
    joined.append(name);
    joined.push_back('\0');
  }
  if (joined.size() + 1 < buffer_size) return joined;
  return buffer_size < 2 ? std::string() : joined.substr(0, buffer_size - 2);
}

std::string ModelRead(std::string_view file, std::optional<std::string_view> section_arg,
                      std::optional<std::string_view> key_arg, std::string_view default_text,
                      std::size_t buffer_size) {
  const std::vector<ModelLine> lines = SplitLines(file);
  std::vector<std::string_view> names;
  if (!section_arg) {
    for (const auto& line : lines) {
      if (line.kind == Kind::kSection) names.push_back(line.name);
    }
    return FitList(names, buffer_size);
  }
  const std::string_view section = Argument(*section_arg);
  const std::size_t header = FindSection(lines, section);
  const std::size_t end = header < lines.size() ? SectionEnd(lines, header) : header;
  if (!key_arg) {
    for (std::size_t i = header + 1; i < end; ++i) {
      if (lines[i].kind == Kind::kKey) names.push_back(lines[i].name);
    }
    return FitList(names, buffer_size);
  }
  const std::string_view key = Argument(*key_arg);
  std::string_view result = default_text.substr(0, default_text.find('\0'));
  while (!result.empty() && result.back() == ' ') result.remove_suffix(1);
  for (std::size_t i = header + 1; i < end && !key.empty(); ++i) {
    if (lines[i].kind == Kind::kKey && SameName(lines[i].name, key)) {
      result = lines[i].value;
      if (result.size() > 1 && (result.front() == '"' || result.front() == '\'') &&
          result.back() == result.front()) {
        result = result.substr(1, result.size() - 2);
      }
      break;
    }
  }
  return std::string(result.substr(0, buffer_size - 1));
}

std::optional<std::string> ModelWrite(std::string_view file, std::string_view section_arg,
                                      std::optional<std::string_view> key_arg,
                                      std::optional<std::string_view> value_arg) {
  const std::string_view section = Argument(section_arg);
  const std::optional<std::string_view> key =
      key_arg ? std::optional(Argument(*key_arg)) : std::nullopt;
  const std::optional<std::string_view> value =
      value_arg ? std::optional(value_arg->substr(0, value_arg->find('\0'))) : std::nullopt;
  for (const auto text : {std::optional(section), key, value}) {
    if (text && text->find_first_of("\r\n") != std::string_view::npos) return std::nullopt;
  }
  std::vector<ModelLine> lines = SplitLines(file);
  const std::size_t header = FindSection(lines, section);
  auto join = [&] {
    std::string out;
    for (const auto& line : lines) {
      out.append(line.text);
      out.append(line.line_break);
    }
    return out;
  };
  if (header == lines.size()) {
    if (!key || !value) return std::string(file);
    std::string out(file);
    if (!out.empty() && out.back() != '\r' && out.back() != '\n') out += "\r\n";
    return out + "[" + std::string(section) + "]\r\n" + std::string(*key) + "=" +
           std::string(*value) + "\r\n";
  }
  const std::size_t end = SectionEnd(lines, header);
  if (!key) {
    std::vector<ModelLine> kept(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(header));
    for (std::size_t i = header + 1; i < lines.size(); ++i) {
      if (i >= end || lines[i].kind != Kind::kKey) kept.push_back(lines[i]);
    }
    lines = kept;
    return join();
  }
  std::size_t last_key = header;
  for (std::size_t i = header + 1; i < end; ++i) {
    if (lines[i].kind != Kind::kKey) continue;
    if (SameName(lines[i].name, *key)) {
      if (!value) {
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
        return join();
      }
      std::string out;
      for (std::size_t j = 0; j < lines.size(); ++j) {
        if (j == i) {
          out.append(lines[j].name).append("=").append(*value);
        } else {
          out.append(lines[j].text);
        }
        out.append(lines[j].line_break);
      }
      return out;
    }
    last_key = i;
  }
  if (!value) return std::string(file);
  std::string out;
  for (std::size_t j = 0; j < lines.size(); ++j) {
    out.append(lines[j].text);
    out.append(j == last_key && lines[j].line_break.empty() ? std::string_view("\r\n")
                                                            : lines[j].line_break);
    if (j == last_key) out.append(*key).append("=").append(*value).append("\r\n");
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  using velkora::portable::ini_engine::GetString;
  using velkora::portable::ini_engine::WriteString;
  if (size < 2) return 0;
  // The first byte picks the buffer size, the second how much of the rest
  // names the section; the remainder is the file.
  const std::size_t buffer_size = 1 + data[0] % 64;
  const std::string_view rest(reinterpret_cast<const char*>(data + 2), size - 2);
  const std::string_view section = rest.substr(0, std::min<std::size_t>(data[1] % 8, rest.size()));
  const std::string_view file = rest.substr(section.size());

  const std::string sections = GetString(file, std::nullopt, std::nullopt, "", buffer_size);
  Check(sections.size() + 1 <= buffer_size || (buffer_size == 1 && sections.empty()));
  const std::string keys = GetString(file, section, std::nullopt, "", buffer_size);
  Check(keys.size() + 1 <= buffer_size || (buffer_size == 1 && keys.empty()));
  const std::string value = GetString(file, section, "k", "", buffer_size);
  Check(value.size() < buffer_size);

  // A section's entries in one pass: each listed name with the value its own
  // lookup finds.
  const auto entries =
      velkora::portable::ini_engine::GetSectionValues(file, section, buffer_size, buffer_size);
  const std::vector<std::string> names = velkora::SplitProfileList(keys);
  Check(entries.size() == names.size());
  for (std::size_t i = 0; i < entries.size() && i < names.size(); ++i) {
    Check(entries[i].name == names[i] &&
          entries[i].value == GetString(file, section, names[i], "", buffer_size));
  }

  // The engine agrees with the plain model on every read and write. The key
  // is "k" unless the second byte asks for some of the bytes after the
  // section name.
  const std::size_t key_size = (data[1] >> 3) % 8;
  const std::string_view any_key = key_size == 0 ? std::string_view("k") : file.substr(0, key_size);
  const std::string_view model_file = key_size == 0 ? file : file.substr(any_key.size());
  const std::string decoded = velkora::portable::ini_engine::DecodeForReading(model_file);
  for (const std::size_t size : {buffer_size, std::size_t{1} << 16}) {
    Check(GetString(model_file, std::nullopt, std::nullopt, "", size) ==
          ModelRead(decoded, std::nullopt, std::nullopt, "", size));
    Check(GetString(model_file, section, std::nullopt, "", size) ==
          ModelRead(decoded, section, std::nullopt, "", size));
    Check(GetString(model_file, section, any_key, " de fault  ", size) ==
          ModelRead(decoded, section, any_key, " de fault  ", size));
  }
  const bool utf16_model_file =
      model_file.size() >= 2 && model_file[0] == '\xFF' && model_file[1] == '\xFE';
  if (!utf16_model_file) {
    Check(WriteString(model_file, section, any_key, " fuzz=value ") ==
          ModelWrite(model_file, section, any_key, " fuzz=value "));
    Check(WriteString(model_file, section, any_key, std::nullopt) ==
          ModelWrite(model_file, section, any_key, std::nullopt));
    Check(WriteString(model_file, section, std::nullopt, std::nullopt) ==
          ModelWrite(model_file, section, std::nullopt, std::nullopt));
  }

  // Deleting a key the reader cannot find must leave every byte alone. The
  // key counts as absent only when two different defaults both come back:
  // a single marker may equal a value that is really there.
  constexpr std::string_view kMarkerA =
      "\x01"
      "absent";
  constexpr std::string_view kMarkerB =
      "\x02"
      "absent";
  if (GetString(file, section, "k", kMarkerA, 4096) == kMarkerA &&
      GetString(file, section, "k", kMarkerB, 4096) == kMarkerB) {
    const auto unchanged = WriteString(file, section, "k", std::nullopt);
    Check(!unchanged || *unchanged == file);
  }
  // A written value reads back (the value has no blanks or quotes to trim).
  // Exceptions: section names the header syntax cannot hold, and non-ASCII
  // names in a UTF-16 file, where invalid UTF-8 is stored as U+FFFD.
  const bool utf16 = file.size() >= 2 && file[0] == '\xFF' && file[1] == '\xFE';
  bool ascii = true;
  for (const char c : section) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (utf16 && !ascii) return 0;
  if (const auto written = WriteString(file, section, "k", "fuzz-value")) {
    const std::string normalised_section(section);
    Check(GetString(*written, normalised_section, "k", "", 4096) == "fuzz-value" ||
          normalised_section.find(']') != std::string::npos ||
          normalised_section.find_first_of("\t\v") != std::string::npos ||
          normalised_section.find('\0') != std::string::npos);
  }
  return 0;
}
