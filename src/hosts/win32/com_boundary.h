#pragma once

// The one place where what leaves the server's C++ code becomes what a COM
// caller gets back: an HRESULT, and the thread's error information for an
// automation error. Every entry point that COM calls goes through it.

#include <windows.h>

#include <utility>

#include "automation/call_result.h"

namespace velkora::win32 {

// Sets the thread's error information for `error` (IID of IApp, source,
// description, no help file) and returns its status. When the information
// cannot be made the status is returned without it.
HRESULT ReturnAutomationError(const AutomationError& error) noexcept;

// The HRESULT for the exception being handled: E_OUTOFMEMORY for a failed
// allocation, the automation error of any other std::exception
// (ToAutomationError, with the thread's error information set),
// E_UNEXPECTED for anything else. REQUIRES: called inside a catch block.
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
