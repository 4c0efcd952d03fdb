#include "quorvel/arraylists/array_list_long.h"

#include <gtest/gtest.h>

#include <vector>

#include "arraylists/list_test_support.h"

namespace quorvel::list_tests {
namespace {

using LongList = LiveCountCheck;
using Longs = std::vector<std::int32_t>;

Variant variants(std::vector<Variant> values) { return Variant(Array(array_of(0, values))); }

TEST_F(LongList, AConversionFailingAtAnyElementLeavesTheCountAsItWas) {
  for (std::size_t bad = 0; bad < 5; ++bad) {
    SCOPED_TRACE(bad);
    std::vector<Variant> values{Variant(1), Variant(2), Variant(3), Variant(4), Variant(5)};
    values[bad] = (bad % 2) ? Variant(u"x") : Variant(1e12);  // type mismatch or overflow
    auto list = list_of<ArrayList_Long>({9});
    list->SetArray(variants(values));  // returns normally
    EXPECT_EQ(items(*list), Longs{9});
    EXPECT_EQ(list->capacity(), 1000);
  }
  EXPECT_RAISES(make<ArrayList_Long>()->SetArray(Variant(5)), 13, "Type mismatch",
                "Quorvel.ModuleArrays.GetLengthVariants");
  // A failure after the appends grew the storage keeps the growth, as the restoring set-count does.
  auto full = make<ArrayList_Long>();
  full->SetCount(999, true);
  full->SetArray(variants({Variant(1), Variant(2), Variant(u"x")}));
  EXPECT_EQ(full->get_Count(), 999);
  EXPECT_EQ(full->capacity(), 2000);
}

TEST_F(LongList, TextFormThroughAFormatter) {
  auto list = list_of<ArrayList_Long>({10, -2, 7});
  Ref<IFormatter> words =
      formatter([](const Variant& v) { return Variant(String(u"n " + std::u16string(v.to_string().view()))); });
  EXPECT_EQ(list->ToString(words), String(u"\"n 10\" \"n -2\" \"n 7\""));
  Ref<IFormatter> failing = formatter([](const Variant&) -> Variant { raise_runtime_error(RuntimeError::Overflow); });
  EXPECT_RAISES(list->ToString(failing), 6);
}

TEST_F(LongList, IncrementAboveCountsDownAndReportsHowMany) {
  const struct {
    const char* name;
    std::int32_t above;
    Variant m, n;
    std::int32_t changed;  // -1: raises 9 and changes nothing
    Longs after;
  } rows[] = {
      {"whole list", 3, Variant::missing(), Variant::missing(), 2, {4, 3, 7, 1}},
      {"a range", 0, Variant(1), Variant(2), 2, {5, 2, 7, 1}},
      {"m above n", 0, Variant(3), Variant(1), 0, {5, 3, 8, 1}},
      {"bounds as text", 4, Variant(u"0"), Variant(u"1"), 1, {4, 3, 8, 1}},
      {"n past the end", 0, Variant::missing(), Variant(4), -1, {5, 3, 8, 1}},
      {"m below 0", 0, Variant(-1), Variant::missing(), -1, {5, 3, 8, 1}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    auto list = list_of<ArrayList_Long>({5, 3, 8, 1});
    Variant m = row.m, n = row.n;
    if (row.changed < 0) {
      EXPECT_RAISES(list->IncrementAbove(row.above, m, n), 9, "");
    } else {
      EXPECT_EQ(list->IncrementAbove(row.above, m, n), row.changed);
    }
    EXPECT_EQ(items(*list), row.after);
  }
}

TEST_F(LongList, MoveShiftsABlockOrRaisesNine) {
  const struct {
    const char* name;
    std::int32_t start, count, direction;
    Longs after;  // empty: raises 9
  } rows[] = {
      {"overlapping right", 1, 2, 1, {0, 1, 1, 2, 4}},
      {"overlapping left", 2, 2, -2, {2, 3, 2, 3, 4}},
      {"zero length at 1", 1, 0, 0, {0, 1, 2, 3, 4}},
      {"target end past the list", 3, 2, 1, {}},
      {"zero length at 0", 0, 0, 0, {}},
      {"negative count", 2, -1, 0, {}},
      {"target before the list", 1, 2, -2, {}},
      {"whole list in place", 0, 5, 0, {0, 1, 2, 3, 4}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    auto list = list_of<ArrayList_Long>({0, 1, 2, 3, 4});
    if (row.after.empty()) {
      EXPECT_RAISES(list->Move(row.start, row.count, row.direction), 9, "");
      EXPECT_EQ(items(*list), (Longs{0, 1, 2, 3, 4}));
    } else {
      list->Move(row.start, row.count, row.direction);
      EXPECT_EQ(items(*list), row.after);
    }
  }
}

}  // namespace
}  // namespace quorvel::list_tests
