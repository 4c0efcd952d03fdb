// The list variant of the sort engine, driven through a Variant list's untyped view: what the
// list then holds shows whether the engine wrote each item by set or by let.
#include <gtest/gtest.h>

#include <vector>

#include "ordering/test_comparers.h"
#include "quorvel/arraylists/array_list_variant.h"
#include "quorvel/frame/error_catalogue.h"
#include "quorvel/ordering/sort_engine.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

using testing_support::comparer;
using testing_support::sign_of;
using QuickSortList = test_support::LiveCountCheck;

Ref<IArrayList> list_of(const std::vector<Variant>& values) {
  auto list = make<ArrayList_Variant>();
  for (const Variant& v : values) list->AddItem(v);
  return list.query<IArrayList>();
}

std::vector<Variant> items_of(IArrayList& list) {
  std::vector<Variant> out;
  for (std::int32_t i = 0; i < list.get_Count(); ++i) out.push_back(list.get_Item(i));
  return out;
}

std::vector<std::int32_t> longs_of(IArrayList& list) {
  std::vector<std::int32_t> out;
  for (const Variant& v : items_of(list)) out.push_back(v.to_long());
  return out;
}

TEST_F(QuickSortList, SortsThroughItemWithAndWithoutComparer) {
  const std::vector<Variant> input{Variant(4), Variant(1), Variant(3), Variant(1), Variant(2)};
  auto plain = list_of(input);
  make<QuickSort>()->SortList(*plain, 0, 4, nullptr);
  EXPECT_EQ(longs_of(*plain), (std::vector<std::int32_t>{1, 1, 2, 3, 4}));

  auto part = list_of(input);
  auto descending = comparer([](const Variant& a, const Variant& b) { return sign_of(b.to_long() - a.to_long()); });
  make<QuickSort>()->SortList(*part, 1, 4, descending.get());
  EXPECT_EQ(longs_of(*part), (std::vector<std::int32_t>{4, 3, 2, 1, 1}));

  // No range check of its own: the list's index check refuses the pivot read, the middle of [0, -1].
  EXPECT_RAISES(make<QuickSort>()->SortList(*list_of({}), 0, -1, nullptr), error_number::kInvalidArgument, "",
                ArrayList_Variant::type_name);
}

// Objects without a default value must be set (a let would raise 438); objects with one are let,
// so the list holds their values.
TEST_F(QuickSortList, SetsObjectsWithoutADefaultValueAndLetsTheRest) {
  Ref<test_support::Fn> a = make<test_support::Fn>();
  Ref<test_support::Fn> b = make<test_support::Fn>();
  auto objects = list_of({Variant(b), Variant(a)});
  auto rank = [&](const Variant& v) { return v.to_object().same(a) ? 0 : 1; };
  auto by_identity = comparer([&](const Variant& x, const Variant& y) { return sign_of(rank(x) - rank(y)); });
  make<QuickSort>()->SortList(*objects, 0, 1, by_identity.get());
  EXPECT_TRUE(objects->get_Item(0).to_object().same(a));
  EXPECT_TRUE(objects->get_Item(1).to_object().same(b));

  auto valued = list_of({Variant(test_support::token(Variant(5))), Variant(3)});
  make<QuickSort>()->SortList(*valued, 0, 1, nullptr);
  EXPECT_EQ(valued->get_Item(0).raw_code(), Variant::code(VarKind::Long));
  EXPECT_EQ(valued->get_Item(1).raw_code(), Variant::code(VarKind::Long));
  EXPECT_EQ(longs_of(*valued), (std::vector<std::int32_t>{3, 5}));
}

}  // namespace
}  // namespace quorvel
