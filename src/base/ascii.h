#pragma once

#include <string>
#include <string_view>

namespace velkora {

// Letter case and blanks the way the server compares names: only the ASCII
// letters A-Z and a-z fold, never an umlaut or another 8-bit character,
// whatever the locale says.

constexpr char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr char AsciiUpper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

inline std::string AsciiLowered(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiLower(c);
  return out;
}

inline std::string AsciiUppered(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiUpper(c);
  return out;
}

constexpr bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

constexpr bool StartsWithIgnoreAsciiCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         EqualsIgnoreAsciiCase(text.substr(0, prefix.size()), prefix);
}

// The blank sets the server trims with.
inline constexpr std::string_view kSpaceOnly = " ";
inline constexpr std::string_view kSpaceAndTab = " \t";   // around numbers, dates and times
inline constexpr std::string_view kLineBlanks = " \t\v";  // space, tab, vertical tab

// `text` without the characters of `blanks` at either end.
constexpr std::string_view TrimBlanks(std::string_view text,
                                      std::string_view blanks = kLineBlanks) {
  const std::size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(blanks);
  return text.substr(first, last - first + 1);
}

constexpr std::string_view TrimLeftBlanks(std::string_view text,
                                          std::string_view blanks = kLineBlanks) {
  const std::size_t first = text.find_first_not_of(blanks);
  return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

constexpr std::string_view TrimRightBlanks(std::string_view text,
                                           std::string_view blanks = kLineBlanks) {
  const std::size_t last = text.find_last_not_of(blanks);
  return last == std::string_view::npos ? std::string_view{} : text.substr(0, last + 1);
}

}  // namespace velkora
