#include "regex/perlre.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <algorithm>
#include <array>
#include <new>
#include <optional>
#include <vector>

namespace velkora {
namespace {

// The result pairs a search fills: the whole match and up to 13 groups.
constexpr uint32_t kResultPairs = 14;

template <typename T, void (*Free)(T*)>
struct EngineDeleter {
  void operator()(T* p) const { Free(p); }
};
template <typename T, void (*Free)(T*)>
using EnginePtr = std::unique_ptr<T, EngineDeleter<T, Free>>;

using CodePtr = EnginePtr<pcre2_code, pcre2_code_free>;
using MatchDataPtr = EnginePtr<pcre2_match_data, pcre2_match_data_free>;
using MatchContextPtr = EnginePtr<pcre2_match_context, pcre2_match_context_free>;
using JitStackPtr = EnginePtr<pcre2_jit_stack, pcre2_jit_stack_free>;

template <typename T>
T* Allocated(T* p) {
  if (p == nullptr) throw std::bad_alloc();
  return p;
}

// Classic option bits to the engine's own.
uint32_t EngineOptions(uint32_t options) {
  struct Bit {
    uint32_t classic, engine;
  };
  constexpr std::array<Bit, 7> kBits{{
      {kPerlreCaseless, PCRE2_CASELESS},
      {kPerlreMultiline, PCRE2_MULTILINE},
      {kPerlreDotAll, PCRE2_DOTALL},
      {kPerlreExtended, PCRE2_EXTENDED},
      {kPerlreAnchored, PCRE2_ANCHORED},
      {kPerlreDollarEndOnly, PCRE2_DOLLAR_ENDONLY},
      {kPerlreUngreedy, PCRE2_UNGREEDY},
  }};
  uint32_t engine = 0;
  for (const Bit& bit : kBits) {
    if (options & bit.classic) engine |= bit.engine;
  }
  return engine;
}

std::string ErrorText(int code) {
  std::array<PCRE2_UCHAR, 256> buffer{};
  const int length = pcre2_get_error_message(code, buffer.data(), buffer.size());
  if (length < 0) return "error " + std::to_string(code);
  return std::string(reinterpret_cast<const char*>(buffer.data()),
                     static_cast<std::size_t>(length));
}

// Text up to its first NUL: the server's strings have always ended there.
std::string_view UpToNul(std::string_view text) {
  const std::size_t nul = text.find('\0');
  return nul == std::string_view::npos ? text : text.substr(0, nul);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLower(char c) { return c >= 'a' && c <= 'z'; }
bool IsLetter(char c) { return IsLower(c) || (c >= 'A' && c <= 'Z'); }

// Whether `text` at `i` begins a subroutine call: (?R), (?n), (?+n), (?-n),
// (?&name), (?P>name), \g<...> or \g'...'. (?-i) and the other option
// settings are no calls.
bool CallAt(std::string_view text, std::size_t i) {
  const auto at = [&](std::size_t k) { return i + k < text.size() ? text[i + k] : '\0'; };
  if (at(0) == '\\') return at(1) == 'g' && (at(2) == '<' || at(2) == '\'');
  if (at(0) != '(' || at(1) != '?') return false;
  const char c = at(2);
  return c == 'R' || c == '&' || c == '+' || IsDigit(c) || (c == '-' && IsDigit(at(3))) ||
         (c == 'P' && at(3) == '>');
}

// Past the end of a \Q...\E quotation that opens at `i` (the backslash).
std::size_t SkipQuotation(std::string_view text, std::size_t i) {
  const std::size_t end = text.find("\\E", i + 2);
  return end == std::string_view::npos ? text.size() : end + 2;
}

// Past an escape at `i`: \Q...\E whole, \cX with its character, any other
// escape with the character after the backslash (the rest of \x{..}, \p{..}
// and the like is harmless text).
std::size_t SkipEscape(std::string_view text, std::size_t i) {
  const char next = i + 1 < text.size() ? text[i + 1] : '\0';
  if (next == 'Q') return SkipQuotation(text, i);
  return std::min(text.size(), i + (next == 'c' ? 3 : 2));
}

// Past the character class that opens at `i`. A POSIX class ([:alpha:],
// [:^digit:]) inside it is skipped whole; in a pattern that compiled, every
// one consists of letters.
std::size_t SkipClass(std::string_view text, std::size_t i) {
  std::size_t k = i + 1;
  if (k < text.size() && text[k] == '^') ++k;
  if (k < text.size() && text[k] == ']') ++k;  // a "]" first is a literal
  while (k < text.size()) {
    const char c = text[k];
    if (c == ']') return k + 1;
    if (c == '\\') {
      k = SkipEscape(text, k);
    } else if (c == '[' && k + 1 < text.size() && text[k + 1] == ':') {
      std::size_t e = k + 2;
      if (e < text.size() && text[e] == '^') ++e;
      while (e < text.size() && IsLetter(text[e])) ++e;
      k = text.compare(e, 2, ":]") == 0 ? e + 2 : k + 1;
    } else {
      ++k;
    }
  }
  return k;
}

// Past the string of a callout (?C"...") whose delimiter is at `i`; a
// doubled delimiter stands for itself.
std::size_t SkipCalloutString(std::string_view text, std::size_t i) {
  const char open = text[i];
  const char close = open == '{' ? '}' : open;
  std::size_t k = i + 1;
  while (k < text.size()) {
    if (text[k] != close) {
      ++k;
    } else if (k + 1 < text.size() && text[k + 1] == close) {
      k += 2;
    } else {
      return k + 1;
    }
  }
  return k;
}

// The option letters of "(?" at `i`, if they end in ")" or ":": whether
// extended mode is on afterwards, and the index of the ")" or ":".
struct OptionSetting {
  bool extended;
  std::size_t end;
};
std::optional<OptionSetting> OptionsAt(std::string_view text, std::size_t i, bool extended) {
  std::size_t k = i + 2;
  if (k < text.size() && text[k] == '^') {
    extended = false;
    ++k;
  }
  bool unset = false;
  for (; k < text.size(); ++k) {
    const char c = text[k];
    if (c == ')' || c == ':') return OptionSetting{extended, k};
    if (c == '-') {
      unset = true;
    } else if (c == 'x') {
      extended = !unset;
    } else if (std::string_view("imnsJU").find(c) == std::string_view::npos) {
      return std::nullopt;
    }
  }
  return std::nullopt;
}

// Whether the pattern calls itself or a group as a subroutine. The
// JIT-compiled matcher bounds such searches badly: a recursion through many
// empty alternatives can run for minutes inside its step limit, where the
// interpreter sees at once that it gets nowhere. The pattern is read the
// way the engine reads it: escapes, \Q...\E, character classes, (?#...)
// and, in extended mode, "#" comments hold no call. `code` is the pattern
// compiled: where a comment's end cannot be told for certain (a newline
// other than LF), a pattern that holds a call's text anywhere counts as
// calling.
bool CallsSubroutine(std::string_view text, uint32_t options, const pcre2_code* code) {
  bool any = false;
  for (std::size_t i = 0; i < text.size() && !any; ++i) any = CallAt(text, i);
  if (!any) return false;  // the text of every call is in the pattern as written

  uint32_t newline = 0;
  pcre2_pattern_info(code, PCRE2_INFO_NEWLINE, &newline);
  bool extended = (options & kPerlreExtended) != 0;
  std::vector<bool> outer;  // extended mode outside each open group
  std::size_t i = 0;
  while (i < text.size()) {
    if (CallAt(text, i)) return true;
    const char c = text[i];
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    if (c == '\\') {
      i = SkipEscape(text, i);
    } else if (c == '[') {
      i = SkipClass(text, i);
    } else if (c == '#' && extended) {
      if (newline != PCRE2_NEWLINE_LF) return true;
      const std::size_t end = text.find('\n', i);
      i = end == std::string_view::npos ? text.size() : end + 1;
    } else if (c == ')') {
      if (!outer.empty()) {
        extended = outer.back();
        outer.pop_back();
      }
      ++i;
    } else if (c == '(' && next == '*' && !IsLower(i + 2 < text.size() ? text[i + 2] : '\0')) {
      // A verb or a start-of-pattern setting: its name ends at ")".
      const std::size_t end = text.find(')', i);
      i = end == std::string_view::npos ? text.size() : end + 1;
    } else if (c == '(' && next == '?') {
      const char kind = i + 2 < text.size() ? text[i + 2] : '\0';
      if (kind == '#') {
        const std::size_t end = text.find(')', i);
        i = end == std::string_view::npos ? text.size() : end + 1;
      } else if (kind == 'C') {
        std::size_t k = i + 3;
        if (k < text.size() &&
            std::string_view("`'\"^%#${").find(text[k]) != std::string_view::npos) {
          k = SkipCalloutString(text, k);
        }
        const std::size_t end = text.find(')', k);
        i = end == std::string_view::npos ? text.size() : end + 1;
      } else if (const auto setting = OptionsAt(text, i, extended)) {
        if (text[setting->end] == ':') outer.push_back(extended);
        extended = setting->extended;
        i = setting->end + 1;
      } else {
        outer.push_back(extended);
        i += 2;
      }
    } else {
      if (c == '(') outer.push_back(extended);
      ++i;
    }
  }
  return false;
}

}  // namespace

// Everything that lives as long as the wrapper (the match context with the
// limits, the JIT stack and the result pairs, which a failed SetRegex must
// not lose), plus the compiled pattern, which every SetRegex replaces.
struct TPerlre::Engine {
  PerlreLimits limits;
  JitStackPtr jit_stack;
  MatchContextPtr context;
  MatchDataPtr match_data;
  CodePtr code;
  bool jitted = false;

  explicit Engine(const PerlreLimits& l)
      : limits(l),
        jit_stack(pcre2_jit_stack_create(32 * 1024, l.jit_stack_max, nullptr)),
        context(Allocated(pcre2_match_context_create(nullptr))),
        match_data(Allocated(pcre2_match_data_create(kResultPairs, nullptr))) {
    // No stack where the library has no JIT: nothing will run JIT-compiled.
    if (jit_stack) pcre2_jit_stack_assign(context.get(), nullptr, jit_stack.get());
    pcre2_set_depth_limit(context.get(), limits.depth_limit);
    pcre2_set_heap_limit(context.get(), limits.heap_limit_kib);
    pcre2_set_match_limit(context.get(), limits.match_limit);
  }

  // The pattern's own work limit: the JIT-compiled matcher gets more steps,
  // since each costs far less.
  void UseLimitsFor(bool jit) {
    jitted = jit;
    pcre2_set_match_limit(context.get(), jit ? limits.jit_match_limit : limits.match_limit);
  }
};

TPerlre::TPerlre(bool study, uint32_t options, const PerlreLimits& limits)
    : engine_(std::make_unique<Engine>(limits)), options_(options), study_(study) {
  ResetMatch();
}

TPerlre::~TPerlre() = default;

bool TPerlre::Jitted() const { return engine_->code && engine_->jitted; }

void TPerlre::SetRegex(std::string_view pattern) {
  regex_ = std::string(pattern);
  engine_->code.reset();
  engine_->UseLimitsFor(false);

  const std::string_view text = UpToNul(regex_);
  int error = 0;
  PCRE2_SIZE error_offset = 0;  // where the pattern went wrong; never reported
  CodePtr code(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(text.data()), text.size(),
                             EngineOptions(options_), &error, &error_offset, nullptr));
  if (!code) throw EPerlRe("Perlre: " + ErrorText(error));

  engine_->code = std::move(code);
  ResetMatch();
  // Preparing the pattern for fast searching is JIT compilation here. Where
  // the platform has no JIT (or refuses executable memory) the interpreter
  // does the same work more slowly, so a failure is no error.
  if (study_ && !CallsSubroutine(text, options_, engine_->code.get())) {
    engine_->UseLimitsFor(engine_->jit_stack &&
                          pcre2_jit_compile(engine_->code.get(), PCRE2_JIT_COMPLETE) == 0);
  }
}

void TPerlre::SetSubject(std::string_view text) {
  subject_ = std::string(UpToNul(text));
  ResetMatch();
}

void TPerlre::ResetMatch() {
  match_start_ = 0;
  search_pos_ = 0;
  match_count_ = -1;
  last_match_empty_ = false;
}

bool TPerlre::MatchNext() {
  if (!engine_->code) throw EPerlRe("Perlre: no regex defined");
  match_start_ = search_pos_;
  const uint32_t options = last_match_empty_ ? PCRE2_NOTEMPTY_ATSTART : 0;
  const int rc =
      pcre2_match(engine_->code.get(), reinterpret_cast<PCRE2_SPTR>(subject_.data() + match_start_),
                  subject_.size() - match_start_, 0, options, engine_->match_data.get(),
                  engine_->context.get());
  // Nothing found, a limit hit or any other engine failure: "no match".
  match_count_ = rc;
  if (rc < 0) return false;
  const PCRE2_SIZE* pairs = pcre2_get_ovector_pointer(engine_->match_data.get());
  search_pos_ = match_start_ + pairs[1];
  last_match_empty_ = pairs[1] <= pairs[0];
  return true;
}

bool TPerlre::Match(std::string_view text) {
  SetSubject(text);
  return MatchNext();
}

TSubExp TPerlre::GetSubExp(int index) const {
  if (match_count_ < 0) throw EPerlRe("Perlre: GetSubExp without match");
  const int available = match_count_ == 0 ? static_cast<int>(kResultPairs) : match_count_;
  if (index < 0 || index >= available) {
    throw EPerlRe("Perlre: index out of range in GetSubExp");
  }
  const PCRE2_SIZE* pairs = pcre2_get_ovector_pointer(engine_->match_data.get());
  const PCRE2_SIZE start = pairs[2 * index];
  const PCRE2_SIZE end = pairs[2 * index + 1];
  TSubExp sub;
  if (start == PCRE2_UNSET || end == PCRE2_UNSET) {
    // A group that took no part in the match.
    sub.Pos = static_cast<int32_t>(match_start_);
    return sub;
  }
  const std::size_t offset = match_start_ + start;
  sub.Pos = static_cast<int32_t>(offset + 1);
  if (end <= start) return sub;  // empty (or, with \K, ending before it began)
  sub.Len = static_cast<int32_t>(end - start);
  sub.Text = subject_.substr(offset, end - start);
  return sub;
}

}  // namespace velkora
