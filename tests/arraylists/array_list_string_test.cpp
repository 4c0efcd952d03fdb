#include "quorvel/arraylists/array_list_string.h"

#include <gtest/gtest.h>

#include <vector>

#include "arraylists/list_test_support.h"

namespace quorvel::list_tests {
namespace {

using StringList = LiveCountCheck;
using Strings = std::vector<String>;

TEST_F(StringList, FindIgnoresCaseAndTakesTheNullStringAsEmpty) {
  auto list = list_of<ArrayList_String, String>({u"Abc", u"x", u""});
  EXPECT_EQ(found_at(*list, String(u"aBC")), 0);
  EXPECT_EQ(found_at(*list.query<IArrayReader>(), Variant(u"X")), 1);
  EXPECT_EQ(found_at(*list, String()), 2);
  EXPECT_EQ(found_at(*list, String(u"ab")), -1);
}

TEST_F(StringList, SortsInBinaryOrderWithoutAComparer) {
  auto list = list_of<ArrayList_String, String>({u"b", u"B", u"a"});
  list->Sort(Variant::missing(), Variant::missing(), nullptr);
  EXPECT_EQ(items(*list), (Strings{u"B", u"a", u"b"}));
}

TEST_F(StringList, SetArrayConvertsOrLeavesTheListAsItWas) {
  auto list = list_of<ArrayList_String, String>({u"keep"});
  list->SetArray(Variant(Array(array_of<Variant>(0, {Variant(1), Variant(true), Variant(2.5)}))));
  EXPECT_EQ(items(*list), (Strings{u"keep", u"1", u"True", u"2.5"}));
  // An object without a default value cannot become text: the strings appended before it go again.
  list->SetArray(Variant(Array(array_of<Variant>(0, {Variant(u"a"), Variant(u"b"), Variant(plain())}))));
  EXPECT_EQ(items(*list), (Strings{u"keep", u"1", u"True", u"2.5"}));
}

TEST_F(StringList, TheViewConvertsToTextBeforeChangingAnything) {
  auto list = make<ArrayList_String>();
  Ref<IArrayList> view = list.query<IArrayList>();
  view->AddItem(Variant(make<Token>(Variant(u"from default"))));
  EXPECT_EQ(error_of([&] { view->AddItem(Variant::null()); }), 94);
  EXPECT_EQ(items(*list), Strings{u"from default"});
}

}  // namespace
}  // namespace quorvel::list_tests
