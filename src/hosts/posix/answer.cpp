#include "hosts/posix/answer.h"

#include <cstdint>
#include <cstdio>
#include <optional>

#include "base/error.h"

namespace velkora {

namespace {

// Length of the valid UTF-8 sequence starting at text[i], or 0 when the
// bytes there are not one (overlong forms, surrogates and code points above
// U+10FFFF are not valid).
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i) {
  auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  unsigned char lead = byte(i);
  std::size_t length;
  uint32_t min_code;
  uint32_t code;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, min_code = 0x80, code = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, min_code = 0x800, code = lead & 0x0Fu;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, min_code = 0x10000, code = lead & 0x07u;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(i + k) & 0x3Fu);
  }
  if (code < min_code || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

std::string Hex32(int32_t status) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%08X", static_cast<uint32_t>(status));
  return buffer;
}

// The value's text, or nothing for a type without a text form.
std::optional<std::string> ValueText(const Variant& value, const FormatSettings& fs) {
  try {
    return VariantToText(value, fs);
  } catch (const Error&) {
    return std::nullopt;
  }
}

std::string OneLine(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  out.reserve(text.size() + 2);
  for (std::size_t i = 0; i < text.size();) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80) {
      if (std::size_t n = Utf8SequenceLength(text, i); n > 0) {
        out.append(text.substr(i, n));
        i += n;
        continue;
      }
    }
    ++i;
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      default:
        if (c < 0x20 || c >= 0x7F) {
          char buffer[8];
          std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
          out += buffer;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  out += '"';
  return out;
}

std::string FormatAnswer(const CallResult& result, const FormatSettings& fs, AnswerMode mode) {
  // Built by appending: GCC 12 at -O3 warns wrongly (-Wrestrict) about
  // "literal" + std::string temporaries.
  std::string out;
  if (result.error) {
    const AutomationError& e = *result.error;
    if (mode == AnswerMode::kPlain) {
      out.append("Fehler ").append(Hex32(e.status)).append(": ").append(OneLine(e.description));
      return out;
    }
    out.append("{\"error\":{\"source\":").append(JsonString(e.source));
    out.append(",\"description\":").append(JsonString(e.description));
    out.append(",\"status\":").append(std::to_string(e.status));
    out.append(",\"status_hex\":\"").append(Hex32(e.status)).append("\"}}");
    return out;
  }
  std::optional<std::string> text = ValueText(result.value, fs);
  if (mode == AnswerMode::kPlain) {
    if (text) return OneLine(*text);
    out.append("<").append(TypeName(result.value)).append(">");
    return out;
  }
  out.append("{\"value\":").append(text ? JsonString(*text) : std::string("null"));
  out.append(",\"type\":").append(JsonString(TypeName(result.value)));
  out.append(",\"vt\":").append(std::to_string(result.value.Type())).append("}");
  return out;
}

std::string FormatSyntaxError(const CallLineError& error, AnswerMode mode) {
  std::string out;
  if (mode == AnswerMode::kPlain) {
    out.append("Syntaxfehler in Spalte ").append(std::to_string(error.column)).append(": ");
    out.append(error.message);
    return out;
  }
  out.append("{\"syntax_error\":{\"column\":").append(std::to_string(error.column));
  out.append(",\"message\":").append(JsonString(error.message)).append("}}");
  return out;
}

}  // namespace velkora
