#pragma once

#include "fakes/fake_platform.h"
#include "shell/shell_context.h"

namespace velkora::fakes {

// A shell context over fresh fakes, logging on.
struct ShellFixture {
  FakeProfile profile;
  FakeClock clock;
  FakeLocale locale;
  FakeFileSystem files;
  FakeMessageBoxes boxes;
  ShellContext shell{profile, clock, locale, files, boxes, "/cfg/velkora.ini", "/log/velkora.log",
                     true};

  const std::string& Log() { return files.files[shell.log_file]; }
};

}  // namespace velkora::fakes
