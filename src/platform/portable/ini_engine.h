#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/profile.h"

// The rules of the platform's private profile (INI) functions as pure
// functions over a file's bytes: no file access, no OS header, so the same
// code serves every platform that lacks the real functions.
//
// Text model. The file is 8-bit text; lines end in CR LF, LF or a lone CR.
// A file that starts with the UTF-16LE byte-order mark is decoded to UTF-8
// before it is read, and a write to such a file is applied to the decoded
// text and encoded back to UTF-16LE with its mark, so the file keeps its
// encoding and every unit the write does not touch (unpaired surrogates and
// an odd trailing byte included) comes back unchanged. Text written into a
// UTF-16LE file is taken as UTF-8; a byte that is not valid UTF-8 is stored
// as U+FFFD. A UTF-8 byte-order mark is not special: its bytes belong to the
// first line, as on the platform.
//
// Names compare without regard to ASCII case.
namespace velkora::portable::ini_engine {

// GetPrivateProfileString over the bytes of a file (empty when the file is
// missing).
// - section and key: the key's value, or `default_text` without its trailing
//   spaces when section or key is missing; cut to buffer_size-1 characters.
// - section, no key: the key names of the first section of that name.
// - no section: every section name.
// Lists are each name followed by NUL. When a list plus its closing NUL
// does not fit strictly inside buffer_size, the result is its first
// buffer_size-2 characters (the platform ends the buffer with two NULs).
// Arguments end at an embedded NUL and lose surrounding spaces.
// REQUIRES: buffer_size >= 1.
std::string GetString(std::string_view file_bytes, std::optional<std::string_view> section,
                      std::optional<std::string_view> key, std::string_view default_text,
                      std::size_t buffer_size);

// The key names of `section` as GetString lists them into a buffer of
// `list_buffer_size` (split at their NULs), each with the value
// GetString(section, name, "", value_buffer_size) gives for it: the same
// answers as those calls, from one pass over the section, so a section of
// thousands of keys costs time in proportion to its length.
// REQUIRES: both buffer sizes >= 1.
std::vector<Profile::NamedValue> GetSectionValues(std::string_view file_bytes,
                                                  std::string_view section,
                                                  std::size_t list_buffer_size,
                                                  std::size_t value_buffer_size);

// WritePrivateProfileString over the bytes of a file (empty when missing):
// returns the file's new bytes.
// - key and value: sets key=value (new key after the section's last key
//   line, new section at the end of the file; CR LF endings).
// - key, no value: deletes the first line of that key in the section.
// - no key: deletes the first section of that name (header and key lines;
//   comments, blank and other lines stay).
// Every byte the change does not need is kept. Returns nullopt, and the
// caller must leave the file alone, when section, key or value contains a
// line break: written verbatim it would inject lines (even sections) that
// no read could give back.
std::optional<std::string> WriteString(std::string_view file_bytes, std::string_view section,
                                       std::optional<std::string_view> key,
                                       std::optional<std::string_view> value);

// The 8-bit text a reader sees: UTF-16LE with its mark decoded to UTF-8
// (unpaired surrogates as '?'), anything else unchanged. Exposed for tests
// and tools.
std::string DecodeForReading(std::string_view file_bytes);

}  // namespace velkora::portable::ini_engine
