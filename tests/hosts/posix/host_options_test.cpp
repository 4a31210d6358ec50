#include "hosts/posix/host_options.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace velkora {
namespace {

EnvLookup Env(std::map<std::string, std::string> vars) {
  return [vars = std::move(vars)](const char* name) -> std::optional<std::string> {
    auto it = vars.find(name);
    if (it == vars.end()) return std::nullopt;
    return it->second;
  };
}

TEST(HostOptionsTest, FoldersFollowXdgRules) {
  struct Case {
    std::map<std::string, std::string> env;
    std::vector<std::string> args;
    const char* config;
    const char* state;
  };
  const Case cases[] = {
      {{{"HOME", "/home/u"}}, {}, "/home/u/.config/velkora", "/home/u/.local/state/velkora"},
      {{{"HOME", "/home/u"}, {"XDG_CONFIG_HOME", "/x/c"}, {"XDG_STATE_HOME", "/x/s"}},
       {},
       "/x/c/velkora",
       "/x/s/velkora"},
      // A relative or empty XDG value is ignored.
      {{{"HOME", "/home/u"}, {"XDG_CONFIG_HOME", "rel"}, {"XDG_STATE_HOME", ""}},
       {},
       "/home/u/.config/velkora",
       "/home/u/.local/state/velkora"},
      {{}, {"--config-dir", "/t/c", "--state-dir=/t/s"}, "/t/c", "/t/s"},
      {{}, {"--config-dir", "/t/./a/../c/", "--state-dir=//t/s//"}, "/t/c", "/t/s"},
  };
  for (const Case& c : cases) {
    HostOptionsResult r = ParseHostOptions(c.args, Env(c.env));
    ASSERT_TRUE(r) << r.error();
    EXPECT_EQ(r->config_dir, c.config);
    EXPECT_EQ(r->state_dir, c.state);
  }
}

// Relative folders are made full paths once, from the current folder: a
// name joined to them later must not be taken from a folder again.
TEST(HostOptionsTest, RelativeFoldersBecomeFullPaths) {
  const std::string here = std::filesystem::current_path().string();
  HostOptionsResult r =
      ParseHostOptions({"--config-dir", "examples/lcr/", "--state-dir=./log/../state"}, Env({}));
  ASSERT_TRUE(r) << r.error();
  EXPECT_EQ(r->config_dir, here + "/examples/lcr");
  EXPECT_EQ(r->state_dir, here + "/state");
  r = ParseHostOptions({"--config-dir=.", "--state-dir=.."}, Env({}));
  ASSERT_TRUE(r) << r.error();
  EXPECT_EQ(r->config_dir, here);
  EXPECT_EQ(r->state_dir, std::filesystem::current_path().parent_path().string());
}

TEST(HostOptionsTest, OptionsThenParameters) {
  const EnvLookup env = Env({{"HOME", "/h"}});
  HostOptionsResult r =
      ParseHostOptions({"--json", "--locale", "de", "TESTMODE", "--json", "a b"}, env);
  ASSERT_TRUE(r) << r.error();
  EXPECT_TRUE(r->json);
  EXPECT_TRUE(r->german_formats);
  EXPECT_EQ(r->parameters, (std::vector<std::string>{"TESTMODE", "--json", "a b"}));

  r = ParseHostOptions({"--", "--help", "-Embedding"}, env);
  ASSERT_TRUE(r) << r.error();
  EXPECT_FALSE(r->help);
  EXPECT_EQ(r->parameters, (std::vector<std::string>{"--help", "-Embedding"}));

  r = ParseHostOptions({"-Embedding"}, env);
  ASSERT_TRUE(r) << r.error();
  EXPECT_EQ(r->parameters, (std::vector<std::string>{"-Embedding"}));
  EXPECT_FALSE(r->json);
  EXPECT_FALSE(r->german_formats);
}

TEST(HostOptionsTest, UsageErrors) {
  const EnvLookup env = Env({{"HOME", "/h"}});
  struct Case {
    std::vector<std::string> args;
    const char* message;
  };
  const Case cases[] = {
      {{"--jsn"}, "unknown option --jsn"},
      {{"--config-dir"}, "--config-dir needs a value"},
      {{"--state-dir="}, "--state-dir needs a value"},
      {{"--locale", "fr"}, "unsupported locale 'fr'"},
      {{"--json=1"}, "--json takes no value"},
  };
  for (const Case& c : cases) {
    HostOptionsResult r = ParseHostOptions(c.args, env);
    ASSERT_FALSE(r);
    EXPECT_NE(r.error().find(c.message), std::string::npos) << r.error();
  }
  // Without HOME there is no default folder; --help still works.
  EXPECT_FALSE(ParseHostOptions({}, Env({})));
  EXPECT_TRUE(ParseHostOptions({"--help"}, Env({})));
}

}  // namespace
}  // namespace velkora
