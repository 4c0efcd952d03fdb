#include "quorvel/arraylists/array_list_boolean.h"

#include <gtest/gtest.h>

#include "arraylists/list_test_support.h"

namespace quorvel::list_tests {
namespace {

TEST(ArrayListBoolean, AnyNonZeroPatternReadsAsTrue) {
  auto list = make<ArrayList_Boolean>();
  list->SetArray(Variant(Array(array_of<VariantBool>(0, {VariantBool::from_bits(1), VariantBool(false)}))));
  EXPECT_TRUE(list->get_Item(0));
  const Variant through_view = list.query<IArrayList>()->get_Item(0);
  EXPECT_EQ(through_view.if_boolean()->bits, -1);  // every Boolean handed out is -1 or 0
  std::int32_t index = -1;
  EXPECT_TRUE(list->Find(true, index));
  EXPECT_EQ(index, 0);
}

TEST(ArrayListBoolean, SortsTrueBeforeFalseAndWritesWords) {
  auto list = make<ArrayList_Boolean>();
  for (bool b : {false, true, false}) list->AddItem(b);
  list->Sort(Variant::missing(), Variant::missing(), nullptr);
  Ref<IFormatter> none;
  EXPECT_EQ(list->ToString(none), String(u"True False False"));
  list.query<IArrayList>()->AddItem(Variant(u"0"));
  EXPECT_FALSE(list->get_Item(3));
}

}  // namespace
}  // namespace quorvel::list_tests
