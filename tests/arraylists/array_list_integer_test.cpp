#include "quorvel/arraylists/array_list_integer.h"

#include <gtest/gtest.h>

#include "arraylists/list_test_support.h"

namespace quorvel::list_tests {
namespace {

TEST(ArrayListInteger, TheViewLetsConvertedTextAndRaisesBeforeChangingAnything) {
  auto list = list_of<ArrayList_Integer>({1});
  Ref<IArrayList> view = list.query<IArrayList>();
  view->put_Item(0, Variant(u"12"));
  EXPECT_EQ(list->get_Item(0), 12);
  EXPECT_EQ(error_of([&] { view->put_Item(0, Variant(40000)); }), 6);
  EXPECT_EQ(error_of([&] { view->put_Item(0, Variant(u"x")); }), 13);
  EXPECT_EQ(list->get_Item(0), 12);
}

}  // namespace
}  // namespace quorvel::list_tests
