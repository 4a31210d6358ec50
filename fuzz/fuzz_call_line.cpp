// Feeds arbitrary text to the POSIX host's call-line parser, which takes its
// lines from outside: no input may crash it or exhaust its stack, every line
// ends as exactly one of call, syntax error or skipped line, a syntax error
// names a column inside (or just past) the line, and every argument of a
// parsed call can be shown or refused without harm.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/error.h"
#include "base/variant.h"
#include "hosts/posix/answer.h"
#include "hosts/posix/call_line.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

std::size_t Characters(std::string_view text) {
  std::size_t count = 0;
  for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  using namespace velkora;
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  const CallLineResult result = ParseCallLine(line);
  if (!result) {
    Check(result.error().column >= 1 && result.error().column <= Characters(line) + 1);
    Check(!result.error().message.empty());
    Check(FormatSyntaxError(result.error(), AnswerMode::kJson).find('\n') == std::string::npos);
    return 0;
  }
  if (!*result) return 0;
  const ParsedCall& call = **result;
  Check(!call.method.empty());
  const FormatSettings formats = FormatSettings::German();
  for (const CallArgument& arg : call.args) {
    Check(!TypeName(arg.value).empty());
    try {
      const std::string text = VariantToText(arg.value, formats);
      Check(arg.value.Deref().Type() != kVtBstr || text == arg.value.Deref().AsText());
    } catch (const VariantTypeError&) {
      // Null, objects, arrays and reference chains too long to follow.
    }
  }
  return 0;
}
