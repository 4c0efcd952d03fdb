#include "quorvel/arraylists/array_list_integer.h"

#include <gtest/gtest.h>

#include "arraylists/list_test_support.h"

namespace quorvel::list_tests {
namespace {

TEST(ArrayListInteger, TheViewLetsConvertedTextAndRefusesSet) {
  auto list = make<ArrayList_Integer>();
  list->AddItem(1);
  Ref<IArrayList> view = list.query<IArrayList>();
  view->put_Item(0, Variant(u"12"));
  EXPECT_EQ(list->get_Item(0), 12);
  EXPECT_RAISES(view->putref_Item(0, Variant(5)), kInvalidState,
                "Value type container does not support Set statement!");
  EXPECT_EQ(raised(error_of([&] { view->put_Item(0, Variant(40000)); })).first, 6);
  EXPECT_EQ(list->get_Item(0), 12);
  EXPECT_EQ(view->get_Item(0).type_code(), 2);
  EXPECT_EQ(view->GetArray().type_code(), 8194);
}

TEST(ArrayListInteger, SetArrayOfLongsTakesTheElementPath) {
  auto list = make<ArrayList_Integer>();
  list->SetArray(Variant(Array(array_of<std::int32_t>(0, {1, -2}))));
  EXPECT_EQ(list->get_Count(), 2);
  EXPECT_EQ(list->capacity(), 1000);                                      // appended, not taken over
  list->SetArray(Variant(Array(array_of<std::int32_t>(0, {3, 70000}))));  // the second overflows
  EXPECT_EQ(list->get_Count(), 2);
  EXPECT_EQ(list->get_Item(1), -2);
}

}  // namespace
}  // namespace quorvel::list_tests
