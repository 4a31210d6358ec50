#include "regex/perlre.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <array>
#include <new>

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
  return std::string(reinterpret_cast<const char*>(buffer.data()), static_cast<std::size_t>(length));
}

// Text up to its first NUL: the server's strings have always ended there.
std::string_view UpToNul(std::string_view text) {
  const std::size_t nul = text.find('\0');
  return nul == std::string_view::npos ? text : text.substr(0, nul);
}

// Whether the pattern may call a group or itself as a subroutine ((?R),
// (?1), (?-1), (?&name), (?P>name), \g<...>, \g'...'). The JIT-compiled
// matcher bounds such searches badly: a recursion through many empty
// alternatives can run for minutes inside its step limit, where the
// interpreter sees at once that it gets nowhere. Text that only looks like
// a call (in a class, quoted) just costs the JIT's speed.
bool MayRecurse(std::string_view pattern) {
  for (std::size_t i = 0; i + 2 < pattern.size(); ++i) {
    const char a = pattern[i], b = pattern[i + 1], c = pattern[i + 2];
    if (a == '(' && b == '?') {
      if (c == 'R' || c == '&' || c == '+' || c == '-' || (c >= '0' && c <= '9')) return true;
      if (c == 'P' && i + 3 < pattern.size() && pattern[i + 3] == '>') return true;
    }
    if (a == '\\' && b == 'g' && (c == '<' || c == '\'')) return true;
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
  if (study_ && !MayRecurse(text)) {
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
  const int rc = pcre2_match(engine_->code.get(),
                             reinterpret_cast<PCRE2_SPTR>(subject_.data() + match_start_),
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
