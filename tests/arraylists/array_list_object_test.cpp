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
  for (std::int32_t i = 0; i < list.get_Count(); ++i)
    out.push_back(Variant(list.get_Item(i)).default_value().to_long());
  return out;
}

TEST_F(ObjectList, FindComparesDefaultValuesNotIdentity) {
  auto list = make<ArrayList_Object>();
  list->AddItem(token(Variant(u"one")));
  list->AddItem(token(Variant(u"Two")));
  std::int32_t index = -1;
  EXPECT_TRUE(list->Find(token(Variant(u"two")), index));  // another object, equal text ignoring case
  EXPECT_EQ(index, 1);
  index = -1;
  EXPECT_FALSE(list->Find(token(Variant(u"three")), index));
  EXPECT_EQ(index, -1);
  EXPECT_EQ(raised(error_of([&] { list->Find(nullptr, index); })).first, 91);
  EXPECT_EQ(raised(error_of([&] { list->Find(make<Plain>(), index); })).first, 438);
  list->AddItem(nullptr);
  EXPECT_EQ(raised(error_of([&] { list->Find(token(Variant(u"zzz")), index); })).first, 91);
  auto empty = make<ArrayList_Object>();
  EXPECT_FALSE(empty->Find(nullptr, index));  // nothing is read when there is nothing to compare
}

TEST_F(ObjectList, StoresReferencesAndSharesThemOnCopy) {
  auto list = make<ArrayList_Object>();
  Ref<Unknown> a = token(Variant(1));
  list->AddItem(a);
  list->AddItem(nullptr);
  EXPECT_TRUE(list->get_Item(0).same(a));
  EXPECT_FALSE(list->get_Item(1));
  auto copy = list->Copy(Variant::missing(), Variant::missing());
  EXPECT_TRUE(copy->get_Item(0).same(a));
  list->putref_Item(1, a);
  EXPECT_TRUE(list->get_Item(1).same(a));
  Variant array = list.query<IArrayList>()->GetArray();
  EXPECT_EQ(array.type_code(), 8201);
  EXPECT_TRUE(array.if_array()->get(1).if_object()->identity().class_info().name == std::string("ListTestToken"));
}

TEST_F(ObjectList, SetArrayTakesObjectArraysOnly) {
  auto list = make<ArrayList_Object>();
  list->AddItem(token(Variant(9)));
  EXPECT_RAISES(list->SetArray(Variant(Array(array_of<Variant>(0, {Variant(token(Variant(1)))})))), kInvalidArgument,
                "");
  EXPECT_RAISES(list->SetArray(Variant(5)), kInvalidArgument, "");
  EXPECT_EQ(values_of(*list), (std::vector<std::int32_t>{9}));
  list->SetArray(Variant(Array(array_of<Ref<Unknown>>(0, {token(Variant(1)), token(Variant(2))}))));
  EXPECT_EQ(values_of(*list), (std::vector<std::int32_t>{1, 2}));
  EXPECT_EQ(list->capacity(), 2);
}

TEST_F(ObjectList, SortNeedsAComparerAndKeepsEveryReference) {
  auto list = make<ArrayList_Object>();
  Ref<Unknown> twice = token(Variant(5));
  for (std::int32_t v : {4, 1, 3}) list->AddItem(token(Variant(v)));
  list->AddItem(twice);
  list->AddItem(twice);
  EXPECT_RAISES(list->Sort(Variant::missing(), Variant::missing(), nullptr), kInvalidArgument,
                "Object sort requires a Comparer!");
  EXPECT_RAISES(list.query<IArrayList>()->Sort(0, 0, nullptr), kInvalidArgument, "Object sort requires a Comparer!");
  list->Sort(Variant::missing(), Variant::missing(), ascending());
  EXPECT_EQ(values_of(*list), (std::vector<std::int32_t>{1, 3, 4, 5, 5}));
  EXPECT_TRUE(list->get_Item(3).same(twice));
  EXPECT_TRUE(list->get_Item(4).same(twice));
}

TEST_F(ObjectList, TheViewTakesSetOnly) {
  auto list = make<ArrayList_Object>();
  Ref<IArrayList> view = list.query<IArrayList>();
  view->AddItem(Variant(token(Variant(1))));
  EXPECT_EQ(raised(error_of([&] { view->AddItem(Variant(1)); })).first, 13);
  EXPECT_RAISES(view->put_Item(0, Variant(token(Variant(2)))), kInvalidState,
                "Object type container does not support Let statement!");
  EXPECT_EQ(raised(error_of([&] { view->putref_Item(0, Variant(2)); })).first, 13);
  view->putref_Item(0, Variant::nothing());
  EXPECT_FALSE(list->get_Item(0));
  EXPECT_EQ(view->get_Item(0).type_code(), 9);
}

TEST_F(ObjectList, NoSequenceOfChangesLeaksOrReleasesTwice) {
  // Random removals, counts, shrinks, sorts and erasures; the fixture checks the live count.
  std::mt19937 random(1234);
  auto list = make<ArrayList_Object>();
  list->put_GrowLength(3);
  for (int step = 0; step < 2000; ++step) {
    const std::int32_t count = list->get_Count();
    switch (random() % 8) {
      case 0:
      case 1:
        list->AddItem(token(Variant(static_cast<std::int32_t>(random() % 50))));
        break;
      case 2:
        if (count > 0) list->RemoveItem(static_cast<std::int32_t>(random() % count), random() % 2 == 0);
        break;
      case 3:
        list->SetCount(static_cast<std::int32_t>(random() % 12), random() % 2 == 0);
        break;
      case 4:
        list->Shrink(static_cast<std::int32_t>(random() % 2));
        break;
      case 5:
        if (count > 0 && random() % 4 == 0)
          list->Sort(Variant::missing(), Variant::missing(),
                     make<FnComparer>([](const Variant& a, const Variant& b) -> std::int16_t {
                       const bool x = a.if_object() != nullptr, y = b.if_object() != nullptr;
                       if (!x || !y) return static_cast<std::int16_t>(x - y);
                       return static_cast<std::int16_t>(var_compare(a.default_value(), b.default_value(), false));
                     }));
        break;
      case 6:
        if (random() % 10 == 0) list->EraseArray();
        break;
      default:
        if (count > 0) list->putref_Item(static_cast<std::int32_t>(random() % count), token(Variant(7)));
        break;
    }
  }
}

}  // namespace
}  // namespace quorvel::list_tests
