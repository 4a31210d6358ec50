#pragma once

// The system's error texts, and failures of system calls as errors.

#include <windows.h>

#include <string>

#include "base/error.h"

namespace velkora::win32 {

// The system's message text for an error code or HRESULT (FormatMessage, in
// the user's language), without the line end and blanks at its end; empty
// when the system has no text for `code`. Never raises but for memory.
std::string SystemErrorText(DWORD code);

// The text for a failed status: the system's text, or the status as
// "0x8007000E" when the system has none.
std::string SystemMessage(HRESULT status);

// Raises Error(SystemMessage(status), status) when `status` is a failure;
// does nothing for a success.
inline void ThrowIfFailed(HRESULT status) {
  if (FAILED(status)) throw Error(SystemMessage(status), status);
}

}  // namespace velkora::win32
