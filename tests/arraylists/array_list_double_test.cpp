#include "quorvel/arraylists/array_list_double.h"

#include <gtest/gtest.h>

#include <limits>

#include "arraylists/list_test_support.h"
#include "quorvel/arraylists/array_list_single.h"

namespace quorvel::list_tests {
namespace {

TEST(ArrayListDouble, FindUsesNumericEquality) {
  auto list = make<ArrayList_Double>();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (double d : {nan, -0.0, 2.5}) list->AddItem(d);
  std::int32_t index = -1;
  EXPECT_FALSE(list->Find(nan, index));  // NaN equals nothing, itself included
  EXPECT_TRUE(list->Find(0.0, index));
  EXPECT_EQ(index, 1);
  EXPECT_TRUE(list.query<IArrayList>()->Find(Variant(u"2.5"), index));
  EXPECT_EQ(index, 2);
}

TEST(ArrayListSingle, CopiesAsOneBlockAndWritesItsText) {
  auto list = make<ArrayList_Single>();
  for (float f : {0.5f, -1.25f, 3.0f}) list->AddItem(f);
  auto copy = list->Copy(Variant(1), Variant(2));
  Ref<IFormatter> none;
  EXPECT_EQ(copy->ToString(none), String(u"-1.25 3"));
  EXPECT_EQ(list.query<IArrayList>()->get_Item(0).type_code(), 4);
}

}  // namespace
}  // namespace quorvel::list_tests
