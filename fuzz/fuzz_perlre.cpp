// Feeds arbitrary patterns and subjects to the regular expression wrapper:
// no crash, every search ends (the limits bound each one), every match's
// sub-expressions lie inside the subject, and a loop of MatchNext calls
// makes progress until it ends.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "regex/perlre.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// Every sub-expression handed out lies inside the subject and reads back
// the subject's bytes there.
void CheckSubExpressions(const velkora::TPerlre& re) {
  const std::string& subject = re.Subject();
  const int count = re.MatchCount() == 0 ? 14 : re.MatchCount();
  Check(count >= 1 && count <= 14);
  for (int i = 0; i < count; ++i) {
    const velkora::TSubExp sub = re.GetSubExp(i);
    Check(sub.Len >= 0 && sub.Pos >= 0);
    Check(static_cast<std::size_t>(sub.Len) == sub.Text.size());
    if (sub.Len > 0) {
      Check(static_cast<std::size_t>(sub.Pos - 1 + sub.Len) <= subject.size());
      Check(subject.compare(static_cast<std::size_t>(sub.Pos - 1), sub.Text.size(), sub.Text) == 0);
    }
  }
  try {
    re.GetSubExp(count);
    Check(false);
  } catch (const velkora::EPerlRe&) {}
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  // The first byte picks Study and the option bits, the second how many of
  // the following bytes are the pattern; the rest is the subject.
  const bool study = (data[0] & 0x80) == 0;
  const uint32_t options = data[0] & 0x3F;  // caseless ... dollar-end-only
  const std::string_view rest(reinterpret_cast<const char*>(data + 2), size - 2);
  const std::string_view pattern = rest.substr(0, std::min<std::size_t>(data[1], rest.size()));
  const std::string_view subject = rest.substr(pattern.size());

  velkora::TPerlre re(study, options);
  try {
    re.SetRegex(pattern);
  } catch (const velkora::EPerlRe& e) {
    Check(std::string_view(e.what()).substr(0, 8) == "Perlre: ");
    try {
      re.Match(subject);
      Check(false);
    } catch (const velkora::EPerlRe&) {}
    return 0;
  }

  if (!re.Match(subject)) return 0;
  // Each MatchNext ends further on, or is a first empty match where the
  // last one ended; a bounded number of rounds keeps each input quick.
  int last_end = -1;
  bool last_empty = false;
  for (int round = 0; round < 8; ++round) {
    CheckSubExpressions(re);
    const velkora::TSubExp whole = re.GetSubExp(0);
    const int end = whole.Pos + whole.Len;
    Check(end > last_end || (end == last_end && !last_empty && whole.Len == 0));
    last_end = end;
    last_empty = whole.Len == 0;
    if (!re.MatchNext()) break;
  }
  return 0;
}
