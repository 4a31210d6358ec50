#include "base/unique_any.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace velkora {
namespace {

void CloseInt(int handle);
void CountCall();

using UniqueInt = UniqueAny<int, &CloseInt, -1>;
int InvalidFromFunction() { return 0; }
using UniqueWithFunction = UniqueAny<int, &CloseInt, &InvalidFromFunction>;
using UniqueCount = UniqueCall<&CountCall>;

// What the close functions saw: each closed handle and whether the watched
// owner still held it at that moment, and the calls made.
struct Seen {
  std::vector<int> closed;
  std::vector<bool> still_owned;
  const UniqueInt* watched = nullptr;
  int calls = 0;
};
Seen& Record() {
  static Seen seen;
  return seen;
}

void CloseInt(int handle) {
  Seen& seen = Record();
  seen.closed.push_back(handle);
  seen.still_owned.push_back(seen.watched != nullptr && seen.watched->get() == handle);
}
void CountCall() { ++Record().calls; }

class UniqueAnyTest : public ::testing::Test {
 protected:
  void SetUp() override { Record() = {}; }
  void TearDown() override { Record() = {}; }
};

TEST_F(UniqueAnyTest, ClosesOnceWhateverHappensToTheOwner) {
  {
    UniqueInt a(3);
    UniqueInt b(std::move(a));
    EXPECT_FALSE(a);
    EXPECT_EQ(b.get(), 3);
    UniqueInt c(4);
    c = std::move(b);  // closes 4, takes 3
    EXPECT_EQ(c.get(), 3);
    UniqueInt d(5);
    EXPECT_EQ(d.release(), 5);  // released: never closed
  }
  EXPECT_EQ(Record().closed, (std::vector<int>{4, 3}));
}

TEST_F(UniqueAnyTest, TheOwnerLetsGoBeforeItCloses) {
  // Code that the close runs (a window's destruction messages) must find
  // the owner already empty, or it would take the handle for still alive.
  UniqueInt owner;
  Record().watched = &owner;
  owner.reset(7);
  owner.reset(8);
  owner.reset();
  EXPECT_EQ(Record().closed, (std::vector<int>{7, 8}));
  EXPECT_EQ(Record().still_owned, (std::vector<bool>{false, false}));
}

TEST_F(UniqueAnyTest, InvalidValueMayComeFromAFunction) {
  {
    UniqueWithFunction none;
    EXPECT_FALSE(none);
    EXPECT_EQ(none.get(), 0);
    UniqueWithFunction minus_one(-1);  // a real handle for this type
    EXPECT_TRUE(minus_one);
    *minus_one.put() = 9;  // put() closed -1 first
  }
  EXPECT_EQ(Record().closed, (std::vector<int>{-1, 9}));
}

TEST_F(UniqueAnyTest, UniqueCallCallsOnceWhenOwedAndNeverOtherwise) {
  { UniqueCount nothing_owed; }
  EXPECT_EQ(Record().calls, 0);
  {
    UniqueCount owed(true);
    UniqueCount moved(std::move(owed));
    moved.reset();
    moved.reset();
  }
  EXPECT_EQ(Record().calls, 1);
  {
    UniqueCount released(true);
    released.release();
  }
  EXPECT_EQ(Record().calls, 1);
}

}  // namespace
}  // namespace velkora
