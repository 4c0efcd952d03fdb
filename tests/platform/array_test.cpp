#include "quorvel/platform/array.h"

#include <gtest/gtest.h>

#include "quorvel/platform/error.h"
#include "quorvel/platform/variant.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

// An unallocated array's bounds raise 9: the byte list's AddRange reads them.
TEST(Array, BoundsFollowTheLowerBound) {
  struct Row {
    std::int32_t lower, count, upper;
  } rows[] = {{0, 0, -1}, {-3, 7, 3}, {1, 3, 3}, {2147483647, 1, 2147483647}};
  for (const Row& r : rows) {
    Array a(VarKind::Integer, r.lower, r.count);
    EXPECT_EQ(a.lower_bound(), r.lower);
    EXPECT_EQ(a.upper_bound(), r.upper);
  }
  EXPECT_RAISES(Array(VarKind::Long, 2147483647, 2), 6);
  EXPECT_RAISES(Array(VarKind::Long, -2147483647 - 1, 0), 6);
  EXPECT_RAISES(Array(VarKind::Long, 0, -1), 5);
}

TEST(Array, ElementsStartAtTheirDefaultAndConvertOnPut) {
  Array a(VarKind::String, 1, 2);
  EXPECT_TRUE(identical(a.get(1), Variant(String())));
  a.put(2, Variant(42));
  EXPECT_EQ(*a.get(2).if_string(), String(u"42"));
  Array v(VarKind::Variant, 0, 1);
  EXPECT_TRUE(v.get(0).is_empty());
  EXPECT_RAISES(v.put(1, Variant(1)), 9);
  EXPECT_RAISES(v.put(-1, Variant(1)), 9);
}

}  // namespace
}  // namespace quorvel
