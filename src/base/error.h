#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace velkora {

// Status codes that travel with errors to automation clients.
inline constexpr int32_t kStatusUnexpected = static_cast<int32_t>(0x8000FFFFu);   // E_UNEXPECTED
inline constexpr int32_t kStatusOutOfMemory = static_cast<int32_t>(0x8007000Eu);  // E_OUTOFMEMORY

// Base of every error the server raises. The message is the German text the
// user sees (in the log, in an error box, or as an automation error's
// description). `status` is 0 for ordinary errors; an error that stands for a
// platform failure carries the platform's negative status code, which the
// automation layer then passes to the client instead of E_UNEXPECTED.
class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message, int32_t status = 0)
      : std::runtime_error(message), status_(status) {}

  const std::string Message() const { return what(); }
  int32_t Status() const { return status_; }

 private:
  int32_t status_;
};

// A value that has no form in the requested type, e.g. an array where text is
// expected. Its message is always "Ungültige Variant-Typumwandlung".
class VariantTypeError : public Error {
 public:
  VariantTypeError();
};

// A text that the runtime's number, date or time conversions cannot read.
class ConvertError : public Error {
 public:
  using Error::Error;
};

}  // namespace velkora
