#include "quorvel/ordering/comparers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "ordering/test_comparers.h"
#include "quorvel/ordering/comparer_interface_classes.h"
#include "quorvel/platform/error.h"
#include "quorvel/platform/late_binding.h"
#include "quorvel/platform/registry.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

using test_support::error_of;
using testing_support::Valued;

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
      {"number before string", Variant(5), Variant(u"abc"), -1},
      {"string after number", Variant(u"abc"), Variant(5), 1},
      {"number before numeric text", Variant(5), Variant(u"1"), -1},
      {"Empty = 0", Variant(), Variant(0), 0},
      {"Empty = empty string", Variant(), Variant(u""), 0},
      {"Empty > -1", Variant(), Variant(-1), 1},
      {"Null = anything (left)", Variant::null(), Variant(1), 0},
      {"Null = anything (right)", Variant(1), Variant::null(), 0},
      {"True < False", Variant(true), Variant(false), -1},
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
  auto three = make<Valued>(3);
  EXPECT_EQ(def->Compare(Variant(three), Variant(3)), 0);
  EXPECT_EQ(three->reads, 1);  // the first test holds
  EXPECT_EQ(def->Compare(Variant(three), Variant(9)), -1);
  EXPECT_EQ(three->reads, 4);  // each of the three tests reads it again

  struct Row {
    const char* name;
    Variant a, b;
    std::int32_t error;
  } rows[] = {
      {"object without a default member", Variant(make<DefaultComparer>()), Variant(1), 438},
      {"Nothing", Variant::nothing(), Variant(1), 91},
      {"array", Variant(Array(VarKind::Long, 0, 1)), Variant(1), 13},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(error_of([&] { def->Compare(row.a, row.b); }), row.error);
  }
}

TEST(Comparers, ObjectPropertyAndStringViewAreTheSameInstance) {
  auto expect_itself = [](auto comparer) {
    EXPECT_EQ(comparer->get_Object().get(), comparer.get());
    EXPECT_TRUE(comparer->as_string_comparer().same(comparer));
    // Late-bound: a holder of the IComparer view reads Object and gets the class back.
    Variant obj = invoke(Variant(comparer), u"Object", MemberKind::Get, {});
    EXPECT_TRUE(obj.to_object().same(Ref<Object>(comparer).query<IComparer>()));
  };
  expect_itself(make<BinaryModeComparer>());
  expect_itself(make<TextModeComparer>());
}

TEST(Comparers, CreatableByNameExceptTheStringContract) {
  const std::int64_t lives = Object::live_count();
  for (const char16_t* progid : {u"Quorvel.DefaultComparer", u"Quorvel.BinaryModeComparer", u"Quorvel.TextModeComparer",
                                 u"Quorvel.IComparer", u"Quorvel.IFindComparer"}) {
    SCOPED_TRACE(String(progid).to_utf8());
    EXPECT_TRUE(create_object(progid));
  }
  EXPECT_EQ(error_of([] { create_object(u"Quorvel.IrefStringComparer"); }), 429);
  EXPECT_EQ(Object::live_count(), lives);
}

// IComparer's own class answering 0 is run late-bound by the scenarios; here the other two.
TEST(Comparers, InterfaceClassesReturnZero) {
  EXPECT_EQ(create_object(u"Quorvel.IFindComparer").query<IFindComparer>()->Compare(Variant(1), Variant(2)), 0);
  String a(u"a"), b(u"b");
  EXPECT_EQ(make<IrefStringComparerClass>()->Compare(a, b), 0);
}

}  // namespace
}  // namespace quorvel
