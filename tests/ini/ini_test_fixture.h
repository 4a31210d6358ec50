#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "fakes/shell_fixture.h"
#include "ini/ini_functions.h"
#include "platform/posix/ini_file_profile.h"
#include "support/temp_dir.h"
#include "shell/script_frame.h"

namespace velkora::testing_support {

// The INI functions over real files in a temporary folder, read and written
// by the portable engine, with a recording log, boxes and German formats.
class IniTest : public ::testing::Test {
 protected:
  std::string File(const std::string& name) const { return dir.File(name); }
  void Put(const std::string& name, const std::string& bytes) const {
    WriteBytes(File(name), bytes);
  }
  std::string Bytes(const std::string& name) const { return ReadBytes(File(name)); }

  // The log's entries without their timestamps ("07.12.2026 07:58:30 ").
  std::vector<std::string> LogLines() {
    std::vector<std::string> lines;
    std::istringstream log(f.Log());
    for (std::string line; std::getline(log, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line.substr(std::string("07.12.2026 07:58:30 ").size()));
    }
    return lines;
  }
  std::vector<std::string> BoxTexts() const {
    std::vector<std::string> texts;
    for (const auto& box : f.boxes.shown) texts.push_back(box.text);
    return texts;
  }

  TempDir dir;
  posix::IniFileProfile profile;
  fakes::ShellFixture f;
  ScriptFrame frame{f.shell};
  IniFunctions ini{frame, profile, f.boxes, f.locale};
};

using Lines = std::vector<std::string>;

}  // namespace velkora::testing_support
