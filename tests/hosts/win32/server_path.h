#pragma once

#include <string>

#include "hosts/win32/com_variant.h"

namespace velkora::win32 {

// The build tree's path of the server (VELKORA_SERVER_EXE); under Wine a
// POSIX path is reached through drive Z:.
inline std::wstring ServerPath() {
  std::string path = VELKORA_SERVER_EXE;
  if (!path.empty() && path.front() == '/') {
    for (char& c : path) {
      if (c == '/') c = '\\';
    }
    path = "Z:" + path;
  }
  return WideFromAnsi(path);
}

}  // namespace velkora::win32
