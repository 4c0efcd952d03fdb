#include "quorvel/ordering/comparers.h"

#include <gtest/gtest.h>

#include <cmath>

#include "quorvel/platform/error.h"
#include "quorvel/platform/late_binding.h"
#include "quorvel/platform/registry.h"
#include "support/test_objects.h"

namespace quorvel {
namespace {

// The order of mixed kinds is the recorded one of the platform comparison (its own tests); here
// each comparer's own paths for Longs, Doubles and strings (also passed by reference, as strings),
// and Null as equal to anything.
TEST(Comparers, OrderByComparerAndMode) {
  auto def = make<DefaultComparer>();
  auto binary = make<BinaryModeComparer>();
  auto text = make<TextModeComparer>();
  struct Row {
    const char* name;
    Variant a, b;
    std::int16_t binary, text;
  } rows[] = {
      {"1 < 2", Variant(1), Variant(2), -1, -1},
      {"2 > 1", Variant(2), Variant(1), 1, 1},
      {"Long 2 = Double 2.0", Variant(2), Variant(2.0), 0, 0},
      {"Null = anything (left)", Variant::null(), Variant(1), 0, 0},
      {"Null = anything (right)", Variant(1), Variant::null(), 0, 0},
      {"NaN relates to nothing", Variant(std::nan("")), Variant(1.0), 0, 0},
      {"null string = empty string", Variant(String()), Variant(u""), 0, 0},
      {"lower after upper in binary only", Variant(u"a"), Variant(u"B"), 1, -1},
      {"case ignored in text", Variant(u"abc"), Variant(u"ABC"), 1, 0},
      {"prefix first", Variant(u"ab"), Variant(u"abc"), -1, -1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(def->Compare(row.a, row.b), row.binary);
    EXPECT_EQ(binary->Compare(row.a, row.b), row.binary);
    EXPECT_EQ(text->Compare(row.a, row.b), row.text);
    if (!row.a.if_string()) continue;
    String a = *row.a.if_string(), b = *row.b.if_string();
    EXPECT_EQ(binary->as_string_comparer()->Compare(a, b), row.binary);
    EXPECT_EQ(text->as_string_comparer()->Compare(a, b), row.text);
    EXPECT_TRUE(a == *row.a.if_string() && b == *row.b.if_string());  // left untouched
  }
  // Code units compare unsigned.
  String high(u"\uFF21"), surrogate(u"\xD800");
  EXPECT_EQ(binary->Compare(Variant(high), Variant(surrogate)), 1);
  EXPECT_EQ(binary->as_string_comparer()->Compare(high, surrogate), 1);
}

TEST(Comparers, ObjectsCompareThroughTheirDefaultValue) {
  auto def = make<DefaultComparer>();
  auto three = make<test_support::Token>(Variant(3));
  EXPECT_EQ(def->Compare(Variant(three), Variant(3)), 0);
  EXPECT_EQ(three->reads, 1);  // the first test holds
  EXPECT_EQ(def->Compare(Variant(three), Variant(9)), -1);
  EXPECT_EQ(three->reads, 4);  // each of the three tests reads it again
}

using ComparersLive = test_support::LiveCountCheck;

// Created by name, a comparer's Object property (read late-bound) and its string view are the
// comparer itself; the string contract is not creatable (the key comparer's class is, in the scenarios).
TEST_F(ComparersLive, CreatableByNameAndTheirViewsAreThemselves) {
  for (const char16_t* progid : {u"Quorvel.BinaryModeComparer", u"Quorvel.TextModeComparer"}) {
    SCOPED_TRACE(String(progid).to_utf8());
    const Ref<Unknown> comparer = create_object(progid);
    EXPECT_TRUE(invoke(Variant(comparer), u"Object", MemberKind::Get, {}).to_object().same(comparer));
  }
  auto text = make<TextModeComparer>();
  EXPECT_TRUE(text->as_string_comparer().same(text));
  EXPECT_RAISES(create_object(u"Quorvel.IrefStringComparer"), 429);
}

}  // namespace
}  // namespace quorvel
