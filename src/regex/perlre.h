#pragma once

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

// Compile option bit: letters match without regard to case (ASCII letters
// only; the engine's built-in "C" tables).
inline constexpr uint32_t kPerlreCaseless = 1;

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
  TPerlre(bool study, uint32_t options);
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
  bool MatchNext();
  // SetSubject(text), then MatchNext(). The form every user calls.
  bool Match(std::string_view text);
  // Sub-expression `index` (0 = the whole match) of the last match. Raises
  // "Perlre: GetSubExp without match" when the last search found nothing
  // and "Perlre: index out of range in GetSubExp" when index is not below
  // MatchCount(). A group that took no part gives Text "", Len 0 and Pos the
  // offset of the match start.
  TSubExp GetSubExp(int index) const;

  const std::string& Regex() const { return regex_; }
  const std::string& Subject() const { return subject_; }
  // -1 after a reset; 1 + the highest group that took part after a match;
  // 0 when a match set more groups than the 14 result pairs hold; negative
  // when nothing matched.
  int32_t MatchCount() const { return match_count_; }
  uint32_t Options() const { return options_; }
  bool Study() const { return study_; }

 private:
  struct Engine;  // the compiled pattern and its match data, owned

  std::unique_ptr<Engine> engine_;
  std::string regex_;
  std::string subject_;
  std::size_t match_start_ = 0;
  std::size_t search_pos_ = 0;
  int32_t match_count_ = -1;
  uint32_t options_;
  bool study_;
};

}  // namespace velkora
