#include "base/expected.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace velkora {
namespace {

// A value and an error of the same type stay apart, and a move-only value
// can be handed on.
TEST(Expected, KeepsValueAndErrorApartEvenOfOneType) {
  const Expected<std::string> value = std::string("010103");
  ASSERT_TRUE(value.has_value());
  EXPECT_EQ(*value, "010103");
  const Expected<std::string> error = Unexpected("unknown option --x");
  ASSERT_FALSE(error);
  EXPECT_EQ(error.error(), "unknown option --x");

  Expected<std::unique_ptr<int>, int> owned = std::make_unique<int>(7);
  ASSERT_TRUE(owned);
  std::unique_ptr<int> taken = std::move(*owned);
  EXPECT_EQ(*taken, 7);
  const Expected<std::unique_ptr<int>, int> refused = Unexpected(2);
  EXPECT_EQ(refused.error(), 2);
}

}  // namespace
}  // namespace velkora
