#include "quorvel/arraylists/array_list_boolean.h"

#include <gtest/gtest.h>

#include "arraylists/list_test_support.h"

namespace quorvel::list_tests {
namespace {

TEST(ArrayListBoolean, AnyNonZeroPatternIsTrueAndHandedOutAsMinusOne) {
  auto list = make<ArrayList_Boolean>();
  list->SetArray(Variant(Array(array_of<VariantBool>(0, {VariantBool::from_bits(1), VariantBool(false)}))));
  EXPECT_TRUE(list->get_Item(0));
  EXPECT_EQ(list.query<IArrayList>()->get_Item(0).if_boolean()->bits, -1);
  EXPECT_EQ(found_at(*list, true), 0);
}

TEST(ArrayListBoolean, SortsTrueBeforeFalseAndWritesWords) {
  auto list = list_of<ArrayList_Boolean>({false, true, false});
  list->Sort(Variant::missing(), Variant::missing(), nullptr);
  Ref<IFormatter> none;
  EXPECT_EQ(list->ToString(none), String(u"True False False"));
}

}  // namespace
}  // namespace quorvel::list_tests
