#include "hosts/win32/command_line.h"

#include <gtest/gtest.h>

namespace velkora::win32 {
namespace {

using Params = std::vector<std::string>;

TEST(SplitCommandLine, QuotesGroupBlanksAndAreRemoved) {
  EXPECT_EQ(SplitCommandLine("\"C:\\Program Files\\V\\velkora.exe\" -Embedding"),
            (Params{"C:\\Program Files\\V\\velkora.exe", "-Embedding"}));
  EXPECT_EQ(SplitCommandLine("v.exe  \t a\"b c\"d   \"\"  /RegServer "),
            (Params{"v.exe", "ab cd", "/RegServer"}));
  EXPECT_EQ(SplitCommandLine("v.exe \"open"), (Params{"v.exe", "open"}));
  EXPECT_TRUE(SplitCommandLine("   ").empty());
}

}  // namespace
}  // namespace velkora::win32
