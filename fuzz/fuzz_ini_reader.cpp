// Feeds arbitrary file bytes to the INI engine: every read and list must
// stay inside its buffer, and the write paths must keep their promises on
// any input (a delete of something absent changes no byte, a written value
// reads back).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/portable/ini_engine.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
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

  // Deleting a key the reader cannot find must leave every byte alone. The
  // key counts as absent only when two different defaults both come back:
  // a single marker may equal a value that is really there.
  constexpr std::string_view kMarkerA = "\x01" "absent";
  constexpr std::string_view kMarkerB = "\x02" "absent";
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
