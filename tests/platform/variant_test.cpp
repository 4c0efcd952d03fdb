#include "quorvel/platform/variant.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/fault_injection.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

// The kinds of constructed values and their codes travel through every scenario.
TEST(Variant, ByReferenceReadsAndWritesCallerStorage) {
  std::int32_t storage = 5;
  Variant ref = Variant::by_ref(storage);
  EXPECT_TRUE(ref.is_by_ref());
  EXPECT_EQ(ref.type_code(), 3);  // the flag never shows
  EXPECT_EQ(ref.raw_code(), 3 | kByRefFlag);
  EXPECT_EQ(*ref.if_long(), 5);
  ref.assign(Variant(9));
  EXPECT_EQ(storage, 9);

  Variant target(u"old");
  Variant to_variant = Variant::by_ref(target);
  EXPECT_EQ(to_variant.type_code(), 8);
  to_variant.assign(Variant(2.5));
  EXPECT_EQ(*target.if_double(), 2.5);
}

TEST(Variant, IdenticalComparesKindAndBits) {
  EXPECT_TRUE(identical(Variant(std::nan("")), Variant(std::nan(""))));
  EXPECT_FALSE(identical(Variant(0.0), Variant(-0.0)));
  EXPECT_FALSE(identical(Variant(3), Variant(3.0)));
  EXPECT_TRUE(identical(Variant(String()), Variant(u"")));
  Array top(VarKind::Byte, 2147483647, 1);
  EXPECT_TRUE(identical(Variant(top), Variant(top)));
}

// A released object's destructor that writes the variable being assigned or cleared finds it
// already holding its new value, and its own write stands.
TEST(Variant, ReleasesTheOldValueLast) {
  for (int how = 0; how < 3; ++how) {
    SCOPED_TRACE(how);
    fault::Meddler::Plan plan{0, 1, {}};
    Variant v = fault::meddler(plan, Variant(1));
    plan.action = [&] { v = Variant(u"written"); };
    if (how == 0) v = Variant(5);
    if (how == 1) v.clear();
    if (how == 2) v.assign(Variant(5));
    EXPECT_TRUE(identical(v, Variant(u"written")));
  }
}

}  // namespace
}  // namespace quorvel
