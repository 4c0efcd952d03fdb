#include "quorvel/arraylists/array_list_object.h"

#include <gtest/gtest.h>

#include <vector>

#include "arraylists/list_test_support.h"

namespace quorvel::list_tests {
namespace {

using ObjectList = LiveCountCheck;

std::vector<std::int32_t> values_of(ArrayList_Object& list) {
  std::vector<std::int32_t> out;
  for (const Ref<Unknown>& item : items(list)) out.push_back(Variant(item).default_value().to_long());
  return out;
}

// Which default values are equal is in the shared table of each kind's Find.
TEST_F(ObjectList, FindRaisesForAnObjectWithoutADefaultValue) {
  auto list = list_of<ArrayList_Object>({token(Variant(u"one"))});
  std::int32_t index = -1;
  EXPECT_RAISES(list->Find(nullptr, index), 91);
  EXPECT_RAISES(list->Find(plain(), index), 438);
  list->AddItem(nullptr);
  EXPECT_RAISES(list->Find(token(Variant(u"zzz")), index), 91);
  EXPECT_EQ(found_at(*make<ArrayList_Object>(), Ref<Unknown>()), -1);  // nothing is read when nothing is compared
}

// Set and Nothing items are in the scenarios.
TEST_F(ObjectList, CopyAndGetArrayShareTheReferences) {
  Ref<Unknown> a = token(Variant(1));
  auto list = list_of<ArrayList_Object>({a, Ref<Unknown>()});
  EXPECT_TRUE(list->Copy(Variant::missing(), Variant::missing())->get_Item(0).same(a));
  EXPECT_TRUE(list->GetArray().items()[0].same(a));
}

TEST_F(ObjectList, SetArrayTakesObjectArraysOnly) {
  auto list = list_of<ArrayList_Object>({token(Variant(9))});
  EXPECT_RAISES(list->SetArray(Variant(Array(array_of<Variant>(0, {Variant(token(Variant(1)))})))), kInvalidArgument,
                "");
  EXPECT_RAISES(list->SetArray(Variant(5)), kInvalidArgument, "");
  EXPECT_EQ(values_of(*list), (std::vector<std::int32_t>{9}));
}

TEST_F(ObjectList, SortNeedsAComparerAlsoThroughTheViewAndKeepsEveryReference) {
  Ref<Unknown> twice = token(Variant(5));
  auto list = list_of<ArrayList_Object>({token(Variant(4)), twice, token(Variant(1)), twice, token(Variant(3))});
  EXPECT_RAISES(list.query<IArrayList>()->Sort(0, 0, nullptr), kInvalidArgument, "Object sort requires a Comparer!");
  list->Sort(Variant::missing(), Variant::missing(), ascending());
  EXPECT_EQ(values_of(*list), (std::vector<std::int32_t>{1, 3, 4, 5, 5}));
  EXPECT_TRUE(list->get_Item(3).same(twice));
  EXPECT_TRUE(list->get_Item(4).same(twice));
}

}  // namespace
}  // namespace quorvel::list_tests
