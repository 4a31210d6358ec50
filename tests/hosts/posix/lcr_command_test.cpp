#include "hosts/posix/lcr_command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace velkora {
namespace {

EnvLookup Env(std::map<std::string, std::string> values) {
  return [values](const char* name) -> std::optional<std::string> {
    auto it = values.find(name);
    if (it == values.end()) return std::nullopt;
    return it->second;
  };
}

TEST(ParseLcrCommand, OptionsAroundTheDuration) {
  const LcrCommandResult r = ParseLcrCommand(
      {"--trace", "300", "--at", "7.12.2026 07:58:30", "--config-dir=/etc/x", "--locale", "de"},
      Env({{"HOME", "/home/u"}}));
  ASSERT_TRUE(r) << r.error();
  EXPECT_EQ(r->seconds, "300");
  ASSERT_TRUE(r->at);
  EXPECT_DOUBLE_EQ(*r->at, EncodeDate(2026, 12, 7) + EncodeTime(7, 58, 30));
  EXPECT_EQ(r->config_dir, "/etc/x");
  EXPECT_TRUE(r->trace);
  EXPECT_TRUE(r->german_formats);

  // Defaults: now, the XDG folder; a duration after "--" may look like an option.
  const LcrCommandResult d = ParseLcrCommand({"--", "--5"}, Env({{"XDG_CONFIG_HOME", "/cfg"}}));
  ASSERT_TRUE(d) << d.error();
  EXPECT_EQ(d->seconds, "--5");
  EXPECT_FALSE(d->at);
  EXPECT_EQ(d->config_dir, "/cfg/velkora");
  EXPECT_EQ(ParseLcrCommand({"-5"}, Env({{"HOME", "/h"}}))->config_dir, "/h/.config/velkora");
  EXPECT_TRUE(ParseLcrCommand({"--help"}, Env({}))->help);
  // A relative folder is a full path from the current folder.
  EXPECT_EQ(
      ParseLcrCommand({"60", "--config-dir", "examples/lcr/einstellungen"}, Env({}))->config_dir,
      std::filesystem::current_path().string() + "/examples/lcr/einstellungen");
}

TEST(ParseLcrCommand, BadCommandLines) {
  const EnvLookup env = Env({{"HOME", "/home/u"}});
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {},
           {"60", "120"},
           {"60", "--at"},
           {"60", "--at", "2026-12-07 07:58:30"},
           {"60", "--at", "31.11.2026 07:58:30"},
           {"60", "--at", "07.12.2026 24:00:00"},
           {"60", "--at", "07.12.26 07:58:30"},
           {"60", "--at", "07.12.2026 07:58"},
           {"60", "--locale", "fr"},
           {"60", "--trace=1"},
           {"60", "--json"},
       }) {
    std::string joined;
    for (const std::string& a : args) joined += "<" + a + ">";
    EXPECT_FALSE(ParseLcrCommand(args, env)) << joined;
  }
  EXPECT_FALSE(ParseLcrCommand({"60"}, Env({})));  // no folder at all
}

}  // namespace
}  // namespace velkora
