#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "base/error.h"

namespace velkora {

// Errors of the regular expression wrapper; every message begins with
// "Perlre: ".
class EPerlRe : public Error {
 public:
  using Error::Error;
};

// One sub-expression of the last match.
struct TSubExp {
  std::string Text;
  int32_t Pos = 0;  // 1-based character position in the subject
  int32_t Len = 0;  // number of characters
};

// Compile option bits, in the classic engine's numbering that the server's
// callers were written against. Bits not listed here are ignored.
//
// Letters match without regard to case (ASCII letters only; the engine's
// built-in "C" tables).
inline constexpr uint32_t kPerlreCaseless = 0x0001;
// "^" and "$" also match at line breaks inside the subject.
inline constexpr uint32_t kPerlreMultiline = 0x0002;
// "." also matches a line break.
inline constexpr uint32_t kPerlreDotAll = 0x0004;
// White space in the pattern is ignored; "#" starts a comment.
inline constexpr uint32_t kPerlreExtended = 0x0008;
// A match must begin at the search position.
inline constexpr uint32_t kPerlreAnchored = 0x0010;
// "$" matches only at the very end, not before a final line feed.
inline constexpr uint32_t kPerlreDollarEndOnly = 0x0020;
// Quantifiers are lazy by default, greedy when followed by "?".
inline constexpr uint32_t kPerlreUngreedy = 0x0200;

// How much work one search may do before it gives up as "no match". Far
// above what any sensible pattern needs on a window title or a line of a
// tariff file; a catastrophic pattern hits them within milliseconds.
struct PerlreLimits {
  // Backtracking steps with the JIT-compiled matcher: the engine's own
  // default. A runaway search on a window title ends in about 30 ms.
  uint32_t jit_match_limit = 10'000'000;
  // Backtracking steps with the interpreter, which runs patterns that call
  // themselves or a group (and everything where there is no JIT). A step
  // here costs five to twenty of the JIT's, and with nested counted repeats
  // such as (?:a{0,100}){0,100} over a microsecond each: at a few million
  // steps such a search ran for seconds (found by fuzz_perlre). This limit
  // keeps every runaway search within about a tenth of a second; the price
  // is that a calling pattern gets fewer steps than the engine's default
  // gives it. bench_perlre measures both ends.
  uint32_t match_limit = 100'000;
  // Nesting depth of backtracking (interpreter).
  uint32_t depth_limit = 10'000;
  // Memory for backtracking (interpreter), in KiB.
  uint32_t heap_limit_kib = 16 * 1024;
  // Largest stack of the JIT-compiled matcher, in bytes; a search that needs
  // more ends as "no match".
  std::size_t jit_stack_max = 1024 * 1024;
};

// One compiled pattern, one subject, a search position and the result of the
// last search. The process has one shared instance (`Perlre`, made by the
// host before the main window and handed down by reference); every user sets
// its pattern and finishes matching before it gives up control, so the
// instance needs no lock. Not copyable; not for use from several threads.
//
// Patterns and subjects are 8-bit text and end at their first NUL. A search
// is bounded in work and depth, so that a runaway pattern from a script ends
// as "no match" instead of hanging the server.
class TPerlre {
 public:
  // No pattern, empty Regex and Subject, ResetMatch done. `study`: every
  // compiled pattern is prepared for fast searching (JIT where available).
  TPerlre(bool study, uint32_t options, const PerlreLimits& limits = {});
  ~TPerlre();
  TPerlre(const TPerlre&) = delete;
  TPerlre& operator=(const TPerlre&) = delete;

  // Stores and compiles `pattern`. Raises EPerlRe ("Perlre: " + the
  // engine's message) when it does not compile; the instance then has no
  // pattern and keeps subject, positions and the last match. On success
  // ResetMatch runs.
  void SetRegex(std::string_view pattern);
  // Stores the subject and runs ResetMatch.
  void SetSubject(std::string_view text);
  // Match start and search position to the start of the subject;
  // MatchCount() becomes -1.
  void ResetMatch();
  // Searches from the search position (not anchored). True on a match: the
  // search position moves to the match's end. False when nothing matched or
  // the engine failed (also when the search hit its limits). Raises
  // "Perlre: no regex defined" when no pattern is compiled.
  //
  // The engine sees the subject only from the search position on, so "^"
  // matches there. After an empty match the next search does not accept an
  // empty match at the same place again, so that a loop of MatchNext calls
  // always ends.
  bool MatchNext();
  // SetSubject(text), then MatchNext(). The form every user calls.
  bool Match(std::string_view text);
  // Sub-expression `index` (0 = the whole match) of the last match. Raises
  // "Perlre: GetSubExp without match" when the last search found nothing
  // and "Perlre: index out of range in GetSubExp" when index is not below
  // MatchCount(). A group that took no part gives Text "", Len 0 and Pos the
  // offset of the match start. When the match set more groups than the 14
  // result pairs hold (MatchCount() 0), indices 0 to 13 are handed out.
  TSubExp GetSubExp(int index) const;

  const std::string& Regex() const { return regex_; }
  const std::string& Subject() const { return subject_; }
  // -1 after a reset; 1 + the highest group that took part after a match;
  // 0 when a match set more groups than the 14 result pairs hold; negative
  // when nothing matched.
  int32_t MatchCount() const { return match_count_; }
  uint32_t Options() const { return options_; }
  bool Study() const { return study_; }
  // Whether the current pattern runs JIT-compiled (false without a pattern,
  // without Study, or where the platform has no JIT).
  bool Jitted() const;

 private:
  struct Engine;  // the engine's contexts, match data and compiled pattern

  std::unique_ptr<Engine> engine_;
  std::string regex_;
  std::string subject_;
  std::size_t match_start_ = 0;
  std::size_t search_pos_ = 0;
  int32_t match_count_ = -1;
  // The last match was empty: the next MatchNext must not repeat it.
  bool last_match_empty_ = false;
  uint32_t options_;
  bool study_;
};

}  // namespace velkora
