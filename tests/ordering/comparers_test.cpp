#include "quorvel/ordering/comparers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "ordering/test_comparers.h"
#include "quorvel/platform/error.h"
#include "quorvel/platform/late_binding.h"
#include "quorvel/platform/registry.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

using test_support::Token;

// The order of mixed kinds is the recorded one of the platform comparison (its own tests); here
// the comparers' own paths for Longs, Doubles and strings, and Null as equal to anything.
TEST(Comparers, VariantOrderInEveryComparer) {
  const Ref<IComparer> comparers[] = {make<DefaultComparer>(), make<BinaryModeComparer>(), make<TextModeComparer>()};
  struct Row {
    const char* name;
    Variant a, b;
    std::int16_t expected;
  } rows[] = {
      {"1 < 2", Variant(1), Variant(2), -1},
      {"2 > 1", Variant(2), Variant(1), 1},
      {"Long 2 = Double 2.0", Variant(2), Variant(2.0), 0},
      {"Null = anything (left)", Variant::null(), Variant(1), 0},
      {"Null = anything (right)", Variant(1), Variant::null(), 0},
      {"null string = empty string", Variant(String()), Variant(u""), 0},
      {"NaN relates to nothing", Variant(std::nan("")), Variant(1.0), 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    for (const Ref<IComparer>& c : comparers) EXPECT_EQ(c->Compare(row.a, row.b), row.expected);
  }
}

TEST(Comparers, StringOrderByMode) {
  auto binary = make<BinaryModeComparer>();
  auto text = make<TextModeComparer>();
  auto def = make<DefaultComparer>();
  struct Row {
    const char* name;
    const char16_t* a;
    const char16_t* b;
    std::int16_t binary, text;
  } rows[] = {
      {"lower after upper in binary only", u"a", u"B", 1, -1},
      {"case ignored in text", u"abc", u"ABC", 1, 0},
      {"prefix first", u"ab", u"abc", -1, -1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    String a(row.a), b(row.b);
    EXPECT_EQ(def->Compare(Variant(a), Variant(b)), row.binary);
    EXPECT_EQ(binary->Compare(Variant(a), Variant(b)), row.binary);
    EXPECT_EQ(text->Compare(Variant(a), Variant(b)), row.text);
    // The same orders for strings passed by reference, which are left untouched.
    EXPECT_EQ(binary->as_string_comparer()->Compare(a, b), row.binary);
    EXPECT_EQ(text->as_string_comparer()->Compare(a, b), row.text);
    EXPECT_EQ(a, String(row.a));
    EXPECT_EQ(b, String(row.b));
  }
  // Code units compare unsigned; a null string equals the empty one.
  String high(u"\uFF21"), surrogate(u"\xD800"), null_string, empty(u"");
  EXPECT_EQ(binary->Compare(Variant(high), Variant(surrogate)), 1);
  EXPECT_EQ(binary->as_string_comparer()->Compare(high, surrogate), 1);
  EXPECT_EQ(binary->as_string_comparer()->Compare(null_string, empty), 0);
  EXPECT_EQ(text->as_string_comparer()->Compare(null_string, empty), 0);
}

TEST(Comparers, ObjectsCompareThroughTheirDefaultValue) {
  auto def = make<DefaultComparer>();
  auto three = make<Token>(Variant(3));
  EXPECT_EQ(def->Compare(Variant(three), Variant(3)), 0);
  EXPECT_EQ(three->reads, 1);  // the first test holds
  EXPECT_EQ(def->Compare(Variant(three), Variant(9)), -1);
  EXPECT_EQ(three->reads, 4);  // each of the three tests reads it again
}

using ComparersLive = test_support::LiveCountCheck;

// Created by name, a comparer's Object property (read late-bound) and its string view are the
// comparer itself; the string contract is not creatable.
TEST_F(ComparersLive, CreatableByNameAndTheirViewsAreThemselves) {
  for (const char16_t* progid : {u"Quorvel.BinaryModeComparer", u"Quorvel.TextModeComparer"}) {
    SCOPED_TRACE(String(progid).to_utf8());
    const Ref<Unknown> comparer = create_object(progid);
    EXPECT_TRUE(invoke(Variant(comparer), u"Object", MemberKind::Get, {}).to_object().same(comparer));
  }
  auto text = make<TextModeComparer>();
  EXPECT_TRUE(text->as_string_comparer().same(text));
  EXPECT_TRUE(create_object(u"Quorvel.IFindComparer"));
  EXPECT_RAISES(create_object(u"Quorvel.IrefStringComparer"), 429);
}

}  // namespace
}  // namespace quorvel
