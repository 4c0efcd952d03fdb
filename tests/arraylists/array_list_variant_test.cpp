#include "quorvel/arraylists/array_list_variant.h"

#include <gtest/gtest.h>

#include <vector>

#include "arraylists/list_test_support.h"

namespace quorvel::list_tests {
namespace {

using VariantList = LiveCountCheck;

Ref<ArrayList_Variant> variants(std::initializer_list<Variant> values) { return list_of<ArrayList_Variant>(values); }

Variant pair(std::int32_t n, const char16_t* s) {
  return Variant(Array(array_of<Variant>(0, {Variant(n), Variant(s)})));
}

TEST_F(VariantList, StoresObjectsByReferenceAndValuesAsCopies) {
  Ref<Unknown> object = token(Variant(u"default"));
  auto list = variants({Variant(object), Variant::nothing(), Variant(u"text")});
  EXPECT_TRUE(list->get_Item(0).to_object().same(object));  // not its default value
  EXPECT_TRUE(list->get_Item(1).is_object());
  EXPECT_EQ(list->get_Item(1).if_object(), nullptr);

  String stored(u"abc");
  list->AddItem(Variant::by_ref(stored));
  stored = String(u"changed");
  EXPECT_EQ(*list->get_Item(3).if_string(), String(u"abc"));
  EXPECT_FALSE(list->get_Item(3).is_by_ref());

  list->put_Item(2, Variant(object));  // a let of an object stores its default value
  EXPECT_EQ(*list->get_Item(2).if_string(), String(u"default"));
  list->putref_Item(2, Variant(object));
  EXPECT_RAISES(list->putref_Item(2, Variant(5)), 13);
  EXPECT_RAISES(list->put_Item(2, Variant(plain())), 438);
  EXPECT_TRUE(list->get_Item(2).to_object().same(object));
}

TEST_F(VariantList, TheViewSetsObjectsAndLetsValues) {
  Ref<Unknown> object = token(Variant(1));
  auto list = variants({Variant(0), Variant(0)});
  Ref<IArrayList> view = list.query<IArrayList>();
  view->putref_Item(0, Variant(object));
  view->putref_Item(1, Variant(u"value"));  // not an object: let
  EXPECT_TRUE(list->get_Item(0).to_object().same(object));
  EXPECT_EQ(*list->get_Item(1).if_string(), String(u"value"));
}

TEST_F(VariantList, FindExIndexesEachElement) {
  auto list = variants({pair(1, u"a"), pair(2, u"b")});
  std::int32_t index = -1;
  EXPECT_TRUE(list->FindEx(Variant(u"z"), Variant(1), index).is_empty());  // Empty, not False
  EXPECT_EQ(index, -1);
  EXPECT_TRUE(identical(list->FindEx(Variant(u"B"), Variant(1), index), Variant(true)));
  EXPECT_EQ(index, 1);
  EXPECT_RAISES(list->FindEx(Variant(u"z"), Variant(2), index), 9);

  auto lists = variants({Variant(variants({Variant(u"p"), Variant(u"q")})), Variant(variants({Variant(u"r")}))});
  EXPECT_TRUE(identical(lists->FindEx(Variant(u"R"), Variant(0), index), Variant(true)));  // default member Item(0)
  EXPECT_EQ(index, 1);
  EXPECT_RAISES(variants({Variant(5)})->FindEx(Variant(5), Variant(0), index), 13);
}

TEST_F(VariantList, FindExReadsTheMemberTheFieldNames) {
  auto list = variants({Variant(token(Variant(1), String(u"first"))), Variant(token(Variant(2), String(u"Second")))});
  std::int32_t index = -1;
  EXPECT_TRUE(identical(list->FindEx(Variant(u"second"), Variant(u"Name"), index), Variant(true)));
  EXPECT_EQ(index, 1);
  EXPECT_TRUE(identical(list->FindEx(Variant(1), Variant(u"value"), index), Variant(true)));
  EXPECT_EQ(index, 0);
  EXPECT_RAISES(list->FindEx(Variant(1), Variant(u"Field"), index), 438);
  EXPECT_RAISES(variants({Variant(3)})->FindEx(Variant(3), Variant(u"Name"), index), 424);
}

TEST_F(VariantList, FindFirstScansFromTheStartWithOrWithoutAComparer) {
  auto list = variants({Variant(5), Variant(1), Variant(5), Variant(7)});
  std::int32_t index = -1;
  Variant start(2), past(4), missing = Variant::missing(), from_one(1), negative(-1);
  EXPECT_TRUE(list->FindFirst(Variant(5), start, nullptr, index));
  EXPECT_EQ(index, 2);
  EXPECT_TRUE(identical(start, Variant(2)));  // not written back
  index = -1;
  EXPECT_FALSE(list->FindFirst(Variant(5), past, nullptr, index));
  EXPECT_FALSE(list->FindFirst(Variant(u"5"), missing, nullptr, index));  // a number never equals a string
  EXPECT_EQ(index, -1);
  EXPECT_RAISES(list->FindFirst(Variant(5), negative, nullptr, index), 9, "");

  std::vector<std::pair<std::int32_t, std::int32_t>> calls;
  auto above = comparer([&](const Variant& element, const Variant& value) -> std::int16_t {
    calls.emplace_back(element.to_long(), value.to_long());
    return element.to_long() > value.to_long() ? 0 : 1;
  });
  EXPECT_TRUE(list->FindFirst(Variant(5), from_one, above, index));
  EXPECT_EQ(index, 3);
  EXPECT_EQ(calls, (std::vector<std::pair<std::int32_t, std::int32_t>>{{1, 5}, {5, 5}, {7, 5}}));
}

}  // namespace
}  // namespace quorvel::list_tests
