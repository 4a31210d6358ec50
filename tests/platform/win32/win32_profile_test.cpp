#include "platform/win32/win32_profile.h"

#include <gtest/gtest.h>

#include <string>

#include "support/temp_dir.h"

namespace velkora::win32 {
namespace {

using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

using namespace std::string_literals;

// The behaviour every platform shares (the portable engine reproduces it);
// cases where Wine and Windows part ways are left out on purpose.
class Win32ProfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteBytes(file_,
               "[section1]\r\nname1=val1\r\nname2=\"val2\"\r\nname3\r\nname4=a\r\n[section2]\r\n");
  }
  std::string Read(const char* section, const char* key, std::size_t size = 260,
                   const char* default_text = "") {
    auto opt = [](const char* s) {
      return s ? std::optional<std::string_view>(s) : std::optional<std::string_view>();
    };
    return profile_.GetString(opt(section), opt(key), default_text, size, file_);
  }

  TempDir dir_;
  std::string file_ = dir_.File("f1.ini");
  Win32Profile profile_;
};

TEST_F(Win32ProfileTest, ReadsValuesWithCaseFreeNamesQuotesAndCutting) {
  EXPECT_EQ(Read("section1", "name1"), "val1");
  EXPECT_EQ(Read("section1", "NaMe1"), "val1");
  EXPECT_EQ(Read("section1", "name2"), "val2");
  EXPECT_EQ(Read("section1", "name1", 4), "val");
  EXPECT_EQ(Read("section1", "name1", 5), "val1");
  EXPECT_EQ(Read("", "name1", 260, "default"), "default");
  EXPECT_EQ(Read("section1", "", 260, "default  "), "default");
  EXPECT_EQ(Read("section1", "name3", 260, "x"), "x");
}

TEST_F(Win32ProfileTest, ListsNamesAndCutsTheLastOne) {
  EXPECT_EQ(Read(nullptr, nullptr), "section1\0section2\0"s);
  EXPECT_EQ(Read("section1", nullptr), "name1\0name2\0name4\0"s);
  // Cut: buffer_size-2 characters come back, the final NULs are not counted.
  EXPECT_EQ(Read(nullptr, nullptr, 16), "section1\0secti"s);
  EXPECT_EQ(Read("section1", nullptr, 16), "name1\0name2\0na"s);
}

TEST_F(Win32ProfileTest, WritesDeletesAndReportsFailure) {
  std::string fresh = dir_.File("new.ini");
  ASSERT_TRUE(profile_.WriteString("App1", "key1", "string1", fresh));
  ASSERT_TRUE(profile_.WriteString("App1", "key2", "string2", fresh));
  ASSERT_TRUE(profile_.WriteString("App2", "key4", "string4", fresh));
  ASSERT_TRUE(profile_.WriteString("App3", "key5", "string5", fresh));
  EXPECT_EQ(ReadBytes(fresh),
            "[App1]\r\nkey1=string1\r\nkey2=string2\r\n[App2]\r\nkey4=string4\r\n"
            "[App3]\r\nkey5=string5\r\n");
  ASSERT_TRUE(profile_.WriteString("App3", "key5", std::nullopt, fresh));
  ASSERT_TRUE(profile_.WriteString("App1", std::nullopt, std::nullopt, fresh));
  EXPECT_EQ(ReadBytes(fresh), "[App2]\r\nkey4=string4\r\n[App3]\r\n");

  EXPECT_FALSE(profile_.WriteString("s", "k", "v", dir_.File("missing\\dir\\x.ini")));
}

}  // namespace
}  // namespace velkora::win32
