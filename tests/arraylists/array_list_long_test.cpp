#include "quorvel/arraylists/array_list_long.h"

#include <gtest/gtest.h>

#include <vector>

#include "arraylists/list_test_support.h"
#include "quorvel/platform/late_binding.h"
#include "quorvel/platform/registry.h"

namespace quorvel::list_tests {
namespace {

using LongList = LiveCountCheck;

Ref<ArrayList_Long> longs(const std::vector<std::int32_t>& values) {
  auto list = make<ArrayList_Long>();
  for (std::int32_t v : values) list->AddItem(v);
  return list;
}

std::vector<std::int32_t> items(ArrayList_Long& list) {
  std::vector<std::int32_t> out;
  for (std::int32_t i = 0; i < list.get_Count(); ++i) out.push_back(list.get_Item(i));
  return out;
}

Variant variants(std::vector<Variant> values, std::int32_t lower = 0) {
  return Variant(Array(array_of(lower, values)));
}

TEST_F(LongList, ARequestFromEndToEnd) {
  auto list = make<ArrayList_Long>();
  list->put_GrowLength(3);
  list->Shrink(1);
  for (std::int32_t v : {5, 3, 9}) list->AddItem(v);
  EXPECT_EQ(list->capacity(), 3);
  list->Sort(Variant::missing(), Variant::missing(), nullptr);
  EXPECT_EQ(items(*list), (std::vector<std::int32_t>{3, 5, 9}));
  Ref<IFormatter> none;
  EXPECT_EQ(list->ToString(none), String(u"3 5 9"));
  list->AddItem(7);
  EXPECT_EQ(list->capacity(), 6);
  list->RemoveItem(0, true);
  EXPECT_EQ(list->capacity(), 6);  // 1.5 x 3 + 3 is not below 6
  std::int32_t index = -1;
  EXPECT_TRUE(list->Find(9, index));
  EXPECT_EQ(index, 1);
  EXPECT_RAISES(list->get_Item(5), kInvalidArgument, "");
  EXPECT_EQ(items(*list), (std::vector<std::int32_t>{5, 9, 7}));
}

TEST_F(LongList, FindReportsTheFirstMatchAndLeavesTheIndexAloneOtherwise) {
  auto list = longs({7, 3, 7});
  std::int32_t index = -1;
  EXPECT_TRUE(list->Find(7, index));
  EXPECT_EQ(index, 0);
  index = 42;
  EXPECT_FALSE(list->Find(8, index));
  EXPECT_EQ(index, 42);
}

TEST_F(LongList, SetArrayAppendsConvertedElementsOfOtherArrays) {
  auto list = longs({9});
  list->SetArray(variants({Variant(1), Variant(u"2"), Variant(2.5)}));
  EXPECT_EQ(items(*list), (std::vector<std::int32_t>{9, 1, 2, 2}));  // 2.5 rounds to even

  auto integers = longs({9});
  integers->SetArray(Variant(Array(array_of<std::int16_t>(5, {4, 5}))));  // any lower bound on this path
  EXPECT_EQ(items(*integers), (std::vector<std::int32_t>{9, 4, 5}));

  auto unchanged = longs({9});
  unchanged->SetArray(variants({Variant(1), Variant(u"x"), Variant(3)}));  // returns normally
  EXPECT_EQ(items(*unchanged), (std::vector<std::int32_t>{9}));

  unchanged->SetArray(Variant(Array(ArrayOf<std::int16_t>())));  // nothing to append
  EXPECT_EQ(items(*unchanged), (std::vector<std::int32_t>{9}));

  auto e = error_of([&] { unchanged->SetArray(Variant(5)); });
  ASSERT_TRUE(e);
  EXPECT_EQ(e->number(), 13);
  EXPECT_EQ(e->source(), String(u"Quorvel.ModuleArrays.GetLengthVariants"));
}

TEST_F(LongList, AConversionFailingAtAnyElementLeavesTheListAsItWas) {
  for (std::size_t bad = 0; bad < 5; ++bad) {
    SCOPED_TRACE(bad);
    std::vector<Variant> values{Variant(1), Variant(2), Variant(3), Variant(4), Variant(5)};
    values[bad] = (bad % 2) ? Variant(u"x") : Variant(1e12);  // type mismatch or overflow
    auto list = longs({9});
    list->SetArray(variants(values));
    EXPECT_EQ(items(*list), (std::vector<std::int32_t>{9}));
    EXPECT_EQ(list->capacity(), 1000);
  }
  // A failure after the appends grew the storage keeps the growth, as the restoring set-count does.
  auto full = make<ArrayList_Long>();
  full->SetCount(999, true);
  full->put_GrowLength(1000);
  const auto before = full->capacity();
  full->SetArray(variants({Variant(1), Variant(2), Variant(u"x")}));
  EXPECT_EQ(full->get_Count(), 999);
  EXPECT_EQ(before, 1000);
  EXPECT_EQ(full->capacity(), 2000);
}

TEST_F(LongList, TextFormWithAndWithoutAFormatter) {
  auto list = longs({10, -2, 7});
  Ref<IFormatter> none;
  EXPECT_EQ(list->ToString(none), String(u"10 -2 7"));
  Ref<IFormatter> empty = make<FnFormatter>([](const Variant&) { return Variant(); });
  EXPECT_EQ(list->ToString(empty), String(u"\"\" \"\" \"\""));
  Ref<IFormatter> words =
      make<FnFormatter>([](const Variant& v) { return Variant(u"n " + std::u16string(v.to_string().view())); });
  EXPECT_EQ(list->ToString(words), String(u"\"n 10\" \"n -2\" \"n 7\""));
  Ref<IFormatter> failing =
      make<FnFormatter>([](const Variant&) -> Variant { raise_runtime_error(RuntimeError::Overflow); });
  EXPECT_EQ(raised(error_of([&] { list->ToString(failing); })).first, 6);
}

TEST_F(LongList, IncrementAboveCountsDownAndReportsHowMany) {
  struct Row {
    const char* name;
    std::int32_t above;
    Variant m, n;
    std::int32_t changed;
    std::vector<std::int32_t> after;
  };
  const Row rows[] = {
      {"whole list", 3, Variant::missing(), Variant::missing(), 2, {4, 3, 7, 1}},
      {"a range", 0, Variant(1), Variant(2), 2, {5, 2, 7, 1}},
      {"m above n", 0, Variant(3), Variant(1), 0, {5, 3, 8, 1}},
      {"bounds as text", 4, Variant(u"0"), Variant(u"1"), 1, {4, 3, 8, 1}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    auto list = longs({5, 3, 8, 1});
    Variant m = row.m, n = row.n;
    EXPECT_EQ(list->IncrementAbove(row.above, m, n), row.changed);
    EXPECT_EQ(items(*list), row.after);
  }
  auto list = longs({5, 3, 8, 1});
  Variant outside(4), missing = Variant::missing(), negative(-1);
  EXPECT_RAISES(list->IncrementAbove(0, missing, outside), 9, "");
  EXPECT_RAISES(list->IncrementAbove(0, negative, missing), 9, "");
  EXPECT_EQ(items(*list), (std::vector<std::int32_t>{5, 3, 8, 1}));
}

TEST_F(LongList, MoveShiftsABlockOrRaisesNine) {
  struct Row {
    const char* name;
    std::int32_t start, count, direction;
    std::vector<std::int32_t> after;  // empty: raises 9
  };
  const Row rows[] = {
      {"overlapping right", 1, 2, 1, {0, 1, 1, 2, 4}},
      {"overlapping left", 2, 2, -2, {2, 3, 2, 3, 4}},
      {"zero length at 1", 1, 0, 0, {0, 1, 2, 3, 4}},
      {"target end past the list", 3, 2, 1, {}},
      {"zero length at 0", 0, 0, 0, {}},
      {"negative count", 2, -1, 0, {}},
      {"target before the list", 1, 2, -2, {}},
      {"whole list in place", 0, 5, 0, {0, 1, 2, 3, 4}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    auto list = longs({0, 1, 2, 3, 4});
    if (row.after.empty()) {
      EXPECT_RAISES(list->Move(row.start, row.count, row.direction), 9, "");
      EXPECT_EQ(items(*list), (std::vector<std::int32_t>{0, 1, 2, 3, 4}));
    } else {
      list->Move(row.start, row.count, row.direction);
      EXPECT_EQ(items(*list), row.after);
    }
  }
}

TEST_F(LongList, TheViewSortsTheWholeListForZeroZero) {
  auto list = longs({3, 1, 2});
  Ref<IArrayList> view = list.query<IArrayList>();
  view->Sort(0, 0, nullptr);
  EXPECT_EQ(items(*list), (std::vector<std::int32_t>{1, 2, 3}));
  auto partial = longs({3, 2, 1});
  partial.query<IArrayList>()->Sort(1, 2, nullptr);
  EXPECT_EQ(items(*partial), (std::vector<std::int32_t>{3, 1, 2}));
}

TEST_F(LongList, TheViewConvertsBeforeItChangesAnything) {
  auto list = longs({1, 2});
  Ref<IArrayList> view = list.query<IArrayList>();
  view->put_Item(0, Variant(u"12"));
  EXPECT_EQ(list->get_Item(0), 12);
  EXPECT_EQ(raised(error_of([&] { view->put_Item(0, Variant(u"x")); })).first, 13);
  EXPECT_EQ(raised(error_of([&] { view->AddItem(Variant(3e10)); })).first, 6);
  EXPECT_EQ(raised(error_of([&] { view->AddItem(Variant::null()); })).first, 94);
  EXPECT_RAISES(view->putref_Item(0, Variant(5)), kInvalidState,
                "Value type container does not support Set statement!");
  EXPECT_EQ(items(*list), (std::vector<std::int32_t>{12, 2}));
  Variant array = view->GetArray();
  EXPECT_EQ(array.type_code(), 8195);
  EXPECT_EQ(view->get_Item(1).type_code(), 3);
}

TEST_F(LongList, LateBoundMembersOfItsOwn) {
  Ref<Object> object = create_object(u"Quorvel.ArrayList_Long");
  Unknown& list = *object;
  for (std::int32_t v : {5, 3, 8, 1}) {
    std::vector<Variant> args{Variant(v)};
    invoke(list, u"AddItem", MemberKind::Method, args);
  }
  std::vector<Variant> above{Variant(3)};
  EXPECT_EQ(invoke(list, u"IncrementAbove", MemberKind::Method, above).to_long(), 2);
  std::vector<Variant> move{Variant(1), Variant(2), Variant(1)};
  invoke(list, u"Move", MemberKind::Method, move);
  std::vector<Variant> none;
  EXPECT_EQ(invoke(list, u"ToString", MemberKind::Method, none).to_string(), String(u"4 3 3 7"));
  std::vector<Variant> first{Variant(0)};
  EXPECT_EQ(invoke(list, 0, MemberKind::Get, first).to_long(), 4);  // Item is the default member
  EXPECT_EQ(get_dispid(list, u"Item"), 0);
  EXPECT_EQ(get_dispid(list, u"SetArray"), 1);
  EXPECT_EQ(get_dispid(list, u"Move"), 19);
}

}  // namespace
}  // namespace quorvel::list_tests
