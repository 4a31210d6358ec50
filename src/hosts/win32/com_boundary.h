#pragma once

// The one place where what leaves the server's C++ code becomes what a COM
// caller gets back: an HRESULT, and the thread's error information for an
// automation error. Every entry point that COM calls goes through it.

#include <windows.h>

#include <utility>

#include "automation/call_result.h"

namespace velkora::win32 {

// Sets the thread's error information for `error` (IID of IApp, source,
// description, no help file) and returns its status. An error without
// description (exhausted memory) clears the thread's error information
// instead, so the client describes the status itself. When the information
// cannot be made the status is returned without it.
HRESULT ReturnAutomationError(const AutomationError& error) noexcept;

// The HRESULT for the exception being handled: the automation error of a
// std::exception (ToAutomationError: E_OUTOFMEMORY for a failed
// allocation), with the thread's error information set; E_UNEXPECTED for
// anything else. REQUIRES: called inside a catch block.
HRESULT HresultFromCaughtException() noexcept;

// Runs `body`, which returns an HRESULT, and turns whatever escapes it into
// one: no C++ exception may cross into the system's code.
template <typename Body>
HRESULT GuardComCall(Body&& body) noexcept {
  try {
    return std::forward<Body>(body)();
  } catch (...) {
    return HresultFromCaughtException();
  }
}

}  // namespace velkora::win32
