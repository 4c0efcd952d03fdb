#include "quorvel/arraylists/array_list_object.h"

#include <gtest/gtest.h>

#include <random>
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

TEST_F(ObjectList, StoresReferencesAndSharesThemOnCopyAndGetArray) {
  Ref<Unknown> a = token(Variant(1));
  auto list = list_of<ArrayList_Object>({a, Ref<Unknown>()});
  EXPECT_TRUE(list->get_Item(0).same(a));
  EXPECT_FALSE(list->get_Item(1));
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

TEST_F(ObjectList, NoSequenceOfChangesLeaksOrReleasesTwice) {
  // Random removals, counts, shrinks, sorts and erasures; the fixture checks the live count.
  std::mt19937 random(1234);
  auto list = make<ArrayList_Object>();
  list->put_GrowLength(3);
  auto nothing_first = comparer([](const Variant& a, const Variant& b) -> std::int16_t {
    const bool x = a.if_object() != nullptr, y = b.if_object() != nullptr;
    if (!x || !y) return static_cast<std::int16_t>(x - y);
    return static_cast<std::int16_t>(var_compare(a.default_value(), b.default_value(), false));
  });
  for (int step = 0; step < 2000; ++step) {
    const std::int32_t count = list->get_Count();
    const auto any_index = [&] { return static_cast<std::int32_t>(random() % count); };
    switch (random() % 8) {
      case 0:
      case 1:
        list->AddItem(token(Variant(static_cast<std::int32_t>(random() % 50))));
        break;
      case 2:
        if (count > 0) list->RemoveItem(any_index(), random() % 2 == 0);
        break;
      case 3:
        list->SetCount(static_cast<std::int32_t>(random() % 12), random() % 2 == 0);
        break;
      case 4:
        list->Shrink(static_cast<std::int32_t>(random() % 2));
        break;
      case 5:
        if (count > 0 && random() % 4 == 0) list->Sort(Variant::missing(), Variant::missing(), nothing_first);
        break;
      case 6:
        if (random() % 10 == 0) list->EraseArray();
        break;
      default:
        if (count > 0) list->putref_Item(any_index(), token(Variant(7)));
        break;
    }
  }
}

}  // namespace
}  // namespace quorvel::list_tests
