#pragma once

#include "fakes/fake_platform.h"
#include "shell/shell_context.h"

namespace velkora::fakes {

// A shell context over a fresh fake platform, logging on. The fakes are
// members of the fixture itself (f.profile, f.files, f.boxes, ...).
struct ShellFixture : FakePlatform {
  ShellContext shell{*this, "/cfg/velkora.ini", "/log/velkora.log", true};

  const std::string& Log() { return files.files[shell.log_file]; }
};

}  // namespace velkora::fakes
