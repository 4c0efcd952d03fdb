#include "quorvel/arraylists/array_list_core.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <vector>

#include "arraylists/list_test_support.h"
#include "quorvel/arraylists/array_list_boolean.h"
#include "quorvel/arraylists/array_list_byte.h"
#include "quorvel/arraylists/array_list_double.h"
#include "quorvel/arraylists/array_list_integer.h"
#include "quorvel/arraylists/array_list_long.h"
#include "quorvel/arraylists/array_list_object.h"
#include "quorvel/arraylists/array_list_single.h"
#include "quorvel/arraylists/array_list_string.h"
#include "quorvel/arraylists/array_list_value.h"
#include "quorvel/arraylists/array_list_variant.h"

namespace quorvel::list_tests {
namespace {

// Distinct samples per element type; a Boolean has only two, so the tests pick sample orders that differ.
std::u16string digit(int i) { return std::u16string(1, static_cast<char16_t>(u'0' + i)); }
bool sample_of(VariantBool*, int i) { return i % 2 == 1; }
std::uint8_t sample_of(std::uint8_t*, int i) { return static_cast<std::uint8_t>(i * 10 + 1); }
std::int16_t sample_of(std::int16_t*, int i) { return static_cast<std::int16_t>(i * 10 - 7); }
std::int32_t sample_of(std::int32_t*, int i) { return i * 10 + 1; }
float sample_of(float*, int i) { return static_cast<float>(i) + 0.5f; }
double sample_of(double*, int i) { return i + 0.25; }
String sample_of(String*, int i) { return String(u"s" + digit(i)); }
Ref<Unknown> sample_of(Ref<Unknown>*, int i) { return token(Variant(std::int32_t{i})); }
Variant sample_of(Variant*, int i) { return Variant(String(u"v" + digit(i))); }
template <class L>
auto sample(int i) {
  return sample_of(static_cast<typename L::Element*>(nullptr), i);
}

template <class L>
class ArrayListKinds : public LiveCountCheck {
 protected:
  using E = typename L::Element;
  static constexpr bool kVariants = std::is_same_v<E, Variant>;
  static constexpr bool kObjects = std::is_same_v<E, Ref<Unknown>>;
  static Variant variant(int i) { return Variant(sample<L>(i)); }
  static E element(int i) { return E(sample<L>(i)); }
  // Objects are compared by their default value: the samples are made afresh on every call.
  static Variant comparable(Variant v) { return v.is_object() && v.if_object() ? v.default_value() : v; }
  // Sample `i`, or a never-set element (its kind's zero) for -1.
  static ::testing::AssertionResult same(const typename L::Result& r, int i) {
    const Variant want = i < 0 ? Variant(typename L::Result(E{})) : variant(i);
    if (identical(comparable(Variant(r)), comparable(want))) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "element differs from sample " << i;
  }
  static ::testing::AssertionResult holds(L& list, const std::vector<int>& samples) {
    if (list.get_Count() != static_cast<std::int32_t>(samples.size()))
      return ::testing::AssertionFailure() << "count " << list.get_Count();
    for (std::int32_t at = 0; at < list.get_Count(); ++at) {
      if (!same(list.get_Item(at), samples[at])) return ::testing::AssertionFailure() << "at " << at;
    }
    return ::testing::AssertionSuccess();
  }
  static bool sorted(L& list) {
    auto order = ascending();
    for (std::int32_t i = 0; i + 1 < list.get_Count(); ++i) {
      if (order->Compare(Variant(list.get_Item(i)), Variant(list.get_Item(i + 1))) > 0) return false;
    }
    return true;
  }
  static Ref<L> filled(const std::vector<int>& samples) {
    Ref<L> list = make<L>();
    for (int i : samples) list->AddItem(sample<L>(i));
    return list;
  }
};

using AllKinds =
    ::testing::Types<ArrayList_Boolean, ArrayList_Byte, ArrayList_Integer, ArrayList_Long, ArrayList_Single,
                     ArrayList_Double, ArrayList_String, ArrayList_Object, ArrayList_Variant, ArrayList_Value>;
TYPED_TEST_SUITE(ArrayListKinds, AllKinds);  // a failure names its TypeParam

// A list of 1001 grew twice by the default grow length; ShrinkFactor keeps 1.5 grow lengths spare.
TYPED_TEST(ArrayListKinds, GrowsAndShrinksByWholeGrowLengths) {
  auto list = make<TypeParam>();
  EXPECT_EQ(list->capacity(), 0);
  for (int i = 0; i < 1001; ++i) list->AddItem(sample<TypeParam>(i % 10));
  EXPECT_EQ(list->capacity(), 2000);
  EXPECT_TRUE(this->same(list->get_Item(1000), 0));
  list->put_ShrinkFactor(3.0f);  // keeps all 2000 slots while the count drops to 3
  list->SetCount(3, true);
  ASSERT_EQ(list->capacity(), 2000);
  list->put_ShrinkFactor(1.5f);
  list->RemoveItem(0, false);
  EXPECT_EQ(list->capacity(), 1502);  // 1.5 x 1000 + 2
  list->RemoveItem(0, false);
  EXPECT_EQ(list->capacity(), 1501);  // every removal applies the limit again
  list->Shrink(0);
  EXPECT_EQ(list->capacity(), 1501);  // the limit is not below the capacity
  list->put_GrowLength(10);
  list->Shrink(0);
  EXPECT_EQ(list->capacity(), 16);  // 15 + 1
  list->Shrink(7);
  EXPECT_EQ(list->capacity(), 1);
  EXPECT_TRUE(this->holds(*list, {1}));
  list->EraseArray();
  EXPECT_EQ(list->capacity(), 0);
}

TYPED_TEST(ArrayListKinds, RemoveItemMovesTheTailOrTheLastElementAndReleasesAnEmptyStorage) {
  const struct {
    const char* name;
    std::vector<int> before;
    std::int32_t index;
    bool keep_sequence;
    std::vector<int> after;
  } rows[] = {
      {"last element into the hole", {0, 1, 2}, 0, false, {2, 1}},
      {"tail moves down", {0, 1, 2}, 0, true, {1, 2}},
      {"from the middle", {0, 1, 2, 3}, 1, true, {0, 2, 3}},
      {"the last one", {0, 1, 2, 3}, 3, false, {0, 1, 2}},
      {"the only one", {1}, 0, true, {}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    auto list = this->filled(row.before);
    list->RemoveItem(row.index, row.keep_sequence);
    EXPECT_TRUE(this->holds(*list, row.after));
    EXPECT_EQ(list->capacity(), row.after.empty() ? 0 : 1000);
  }
}

// The scenarios show a fresh list filled with zeros and old slots shown again.
TYPED_TEST(ArrayListKinds, SetCountPastTheCapacityTakesTheMissingSlotsOnly) {
  for (bool preserve : {true, false}) {
    SCOPED_TRACE(preserve);
    auto list = this->filled({1, 2, 3});
    list->SetCount(2500, preserve);  // 1500 missing slots exceed GrowLength
    EXPECT_EQ(list->capacity(), 2500);
    EXPECT_TRUE(this->same(list->get_Item(2), preserve ? 3 : -1));
    EXPECT_TRUE(this->same(list->get_Item(3), -1));
  }
}

// The shared checks' numbers and texts are in the scenarios; here each kind's item access and sender.
TYPED_TEST(ArrayListKinds, RefusedArgumentsRaiseAndChangeNothing) {
  auto list = this->filled({1, 2, 3});
  EXPECT_RAISES(list->get_Item(3), kInvalidArgument, "");
  EXPECT_RAISES(list->get_Item(-1), kInvalidArgument, "");
  EXPECT_RAISES(list->RemoveItem(-1, false), kInvalidArgument, "");
  EXPECT_RAISES(list->SetCount(-1, true), kInvalidArgument, "Minimal Count value must be greater than 0",
                TypeParam::type_name);
  EXPECT_TRUE(this->holds(*list, {1, 2, 3}));
  list->put_GrowLength(1);  // takes effect at the next growth only
  list->AddItem(sample<TypeParam>(4));
  EXPECT_EQ(list->capacity(), 1000);
}

TYPED_TEST(ArrayListKinds, GetArrayHandsOutAZeroBasedCopy) {
  EXPECT_FALSE(make<TypeParam>()->GetArray().allocated());
  auto list = this->filled({1, 2});
  auto array = list->GetArray();
  EXPECT_EQ(array.lower_bound(), 0);
  EXPECT_EQ(array.upper_bound(), 1);
  EXPECT_TRUE(this->same(typename TypeParam::Result(array.items()[1]), 2));
  array.items()[0] = this->element(5);
  EXPECT_TRUE(this->holds(*list, {1, 2}));
}

TYPED_TEST(ArrayListKinds, SetArrayTakesOverOrAppendsByKind) {
  using E = typename TypeParam::Element;
  auto list = this->filled({9});
  if constexpr (!TestFixture::kVariants) {
    list->SetArray(Variant(Array(array_of<E>(0, {this->element(1), this->element(2), this->element(3)}))));
    EXPECT_TRUE(this->holds(*list, {1, 2, 3}));
    EXPECT_EQ(list->capacity(), 3);  // no spare slots
    EXPECT_RAISES(list->SetArray(Variant(Array(array_of<E>(1, {this->element(5)})))), kInvalidArgument, "");
    EXPECT_TRUE(this->holds(*list, {1, 2, 3}));
    list->SetArray(Variant(Array(ArrayOf<E>())));
    EXPECT_EQ(list->get_Count(), 0);
    EXPECT_EQ(list->capacity(), 0);
  } else {
    list->SetArray(Variant(Array(array_of<Variant>(0, {this->variant(1), this->variant(2)}))));
    EXPECT_TRUE(this->holds(*list, {9, 1, 2}));  // appended after the item already there
    EXPECT_RAISES(list->SetArray(Variant(Array(array_of<Variant>(1, {this->variant(5)})))), kInvalidArgument, "");
    EXPECT_RAISES(list->SetArray(this->variant(5)), kInvalidArgument, "");
    EXPECT_RAISES(list->SetArray(Variant(Array(ArrayOf<Variant>()))), 9);
    EXPECT_TRUE(this->holds(*list, {9, 1, 2}));
  }
}

TYPED_TEST(ArrayListKinds, CopyMakesAFreshListOfTheRange) {
  auto empty = make<TypeParam>();
  auto none = empty->Copy(Variant::missing(), Variant::missing());
  EXPECT_FALSE(none.same(empty));
  EXPECT_EQ(none->get_Count(), 0);

  auto list = this->filled({1, 2, 3});
  list->put_GrowLength(10);
  auto copy = list->Copy(Variant(1), Variant(2));
  EXPECT_TRUE(this->holds(*copy, {2, 3}));
  EXPECT_EQ(copy->get_GrowLength(), 1000);  // the new list's own defaults
  EXPECT_EQ(copy->capacity(), 1000);
  EXPECT_TRUE(this->holds(*list->Copy(Variant::missing(), Variant::missing()), {1, 2, 3}));

  EXPECT_RAISES(empty->Copy(Variant(0), Variant::missing()), kInvalidArgument, "");
  EXPECT_RAISES(list->Copy(Variant(2), Variant(1)), kInvalidArgument, "");
  EXPECT_RAISES(list->Copy(Variant(-1), Variant::missing()), kInvalidArgument, "");
  EXPECT_RAISES(list->Copy(Variant(0), Variant(3)), kInvalidArgument, "");
}

TYPED_TEST(ArrayListKinds, SortChecksItsRangeAndComparer) {
  auto empty = make<TypeParam>();
  if constexpr (TestFixture::kVariants || TestFixture::kObjects) {
    EXPECT_RAISES(empty->Sort(Variant::missing(), Variant::missing(), nullptr), kInvalidArgument,
                  "Object sort requires a Comparer!");
  }
  EXPECT_RAISES(empty->Sort(Variant::missing(), Variant::missing(), ascending()), kInvalidArgument, "");
  auto one = this->filled({4});
  one->Sort(Variant::missing(), Variant::missing(), ascending());
  EXPECT_TRUE(this->holds(*one, {4}));

  auto list = this->filled({3, 1, 4, 2, 5});
  EXPECT_RAISES(list->Sort(Variant(3), Variant(2), ascending()), kInvalidArgument, "");
  EXPECT_RAISES(list->Sort(Variant::missing(), Variant(5), ascending()), kInvalidArgument, "");
  EXPECT_TRUE(this->holds(*list, {3, 1, 4, 2, 5}));
  list->Sort(Variant::missing(), Variant::missing(), ascending());
  EXPECT_TRUE(this->sorted(*list));

  // Through the view: a range, and [0, 0], which all but the Variant list read as the whole list.
  auto part = this->filled({0, 2, 1});
  part.template query<IArrayList>()->Sort(1, 2, ascending());
  EXPECT_TRUE(this->holds(*part, {0, 1, 2}));
  auto zero = this->filled({2, 1, 0});
  zero.template query<IArrayList>()->Sort(0, 0, ascending());
  if constexpr (std::is_same_v<TypeParam, ArrayList_Variant>) {
    EXPECT_TRUE(this->holds(*zero, {2, 1, 0}));
  } else {
    EXPECT_TRUE(this->sorted(*zero));
  }
}

TYPED_TEST(ArrayListKinds, ViewsForwardAndConvertByKind) {
  auto list = this->filled({1, 2});
  Ref<IArrayList> view = list.template query<IArrayList>();
  view->AddItem(this->variant(3));
  EXPECT_TRUE(this->holds(*list, {1, 2, 3}));
  EXPECT_EQ(view->get_Item(1).type_code(), this->variant(1).type_code());
  EXPECT_EQ(found_at(*view, this->variant(2)), 1);

  const char* no_let = "Object type container does not support Let statement!";
  if constexpr (TestFixture::kObjects) {
    EXPECT_RAISES(view->put_Item(0, this->variant(3)), kInvalidState, no_let);
    EXPECT_RAISES(view->put_Item(7, this->variant(3)), kInvalidState, no_let);
    view->putref_Item(0, this->variant(3));
  } else {
    if constexpr (!TestFixture::kVariants) {
      EXPECT_RAISES(view->putref_Item(0, this->variant(3)), kInvalidState,
                    "Value type container does not support Set statement!");
    }
    EXPECT_RAISES(view->put_Item(7, this->variant(3)), kInvalidArgument, "");
    view->put_Item(0, this->variant(3));
  }
  EXPECT_TRUE(this->holds(*list, {3, 2, 3}));

  EXPECT_EQ(&view->CreateNew()->identity().class_info(), &TypeParam::describe());
  Ref<IFormatter> none;
  EXPECT_EQ(make<TypeParam>()->ToString(none), String());
}

// What differs by kind, through the untyped view so that one table holds every kind.

template <class L, class V = typename L::Element>
Ref<IArrayList> view_of(std::initializer_list<V> values) {
  return list_of<L, V>(values).template query<IArrayList>();
}

std::u16string text_of(const Ref<IArrayList>& view) {
  Ref<IFormatter> none;
  return std::u16string(view.query<IArrayList2>()->ToString(none).view());
}

using ListKinds = LiveCountCheck;

TEST_F(ListKinds, FindUsesEachKindsOwnEquality) {
  const Ref<IArrayList> strings = view_of<ArrayList_String, String>({u"Abc", u"x", u""});
  const Ref<IArrayList> objects = view_of<ArrayList_Object>({token(Variant(u"one")), token(Variant(u"Two"))});
  const Ref<IArrayList> variants =
      view_of<ArrayList_Variant>({Variant::null(), Variant(u"ABC"), Variant(2), Variant(token(Variant(u"obj")))});
  const struct {
    const char* name;
    Ref<IArrayList> list;
    Variant value;
    std::int32_t at;
  } rows[] = {
      {"Double: -0 equals 0, no bit-pattern match", view_of<ArrayList_Double>({2.5, -0.0}), Variant(0.0), 1},
      {"String: case ignored", strings, Variant(u"aBC"), 0},
      {"String: the null string is the empty one", strings, Variant(String()), 2},
      {"String: a prefix is no match", strings, Variant(u"ab"), -1},
      {"Object: another object with an equal default value", objects, Variant(token(Variant(u"two"))), 1},
      {"Object: no equal default value", objects, Variant(token(Variant(u"three"))), -1},
      {"Variant: text mode", variants, Variant(u"abc"), 1},
      {"Variant: numbers of other kinds", variants, Variant(2.0), 2},
      {"Variant: an object element through its default value", variants, Variant(u"OBJ"), 3},
      {"Variant: Null matches nothing", variants, Variant::null(), -1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(found_at(*row.list, row.value), row.at);
  }
}

TEST_F(ListKinds, TextFormsAndTheOrderWithoutAComparer) {
  const Ref<IArrayList> booleans = view_of<ArrayList_Boolean>({false, true, false});
  booleans->Sort(0, 0, nullptr);
  EXPECT_EQ(text_of(booleans), u"True False False");  // True first, as words
  const Ref<IArrayList> strings = view_of<ArrayList_String, String>({u"b", u"B", u"a"});
  strings->Sort(0, 0, nullptr);
  EXPECT_EQ(text_of(strings), u"B a b");                                                // binary order
  EXPECT_EQ(text_of(view_of<ArrayList_Single>({0.1f, -1.25f, 3.0f})), u"0.1 -1.25 3");  // a Single's own digits
}

// The scenarios show numbers converted, or refused unchanged, on their way into a list.
TEST_F(ListKinds, TheViewConvertsToTheKindBeforeChangingAnything) {
  const Ref<IArrayList> strings = view_of<ArrayList_String, String>({});
  strings->AddItem(Variant(token(Variant(u"from default"))));
  EXPECT_RAISES(strings->AddItem(Variant::null()), 94);
  EXPECT_EQ(text_of(strings), u"\"from default\"");
  const Ref<IArrayList> objects = view_of<ArrayList_Object>({token(Variant(1))});
  EXPECT_RAISES(objects->putref_Item(0, Variant(2)), 13);
  EXPECT_EQ(text_of(objects), u"1");
  objects->putref_Item(0, Variant::nothing());
  EXPECT_TRUE(objects->get_Item(0).is_object());
  EXPECT_EQ(objects->get_Item(0).if_object(), nullptr);
}

// Arrays of another kind are appended element by element, converted; a failing conversion takes
// back what the call appended and returns normally.
TEST_F(ListKinds, SetArrayOfAnotherKindAppendsConvertedElements) {
  const auto variants = [](std::vector<Variant> values) { return Variant(Array(array_of(0, values))); };
  const Ref<IArrayList> longs = view_of<ArrayList_Long>({9});
  longs->SetArray(variants({Variant(1), Variant(u"2"), Variant(2.5)}));  // 2.5 rounds to even
  longs->SetArray(Variant(Array(array_of<std::int16_t>(5, {4, 5}))));    // any lower bound
  longs->SetArray(Variant(Array(ArrayOf<std::int16_t>())));
  EXPECT_EQ(text_of(longs), u"9 1 2 2 4 5");
  const Ref<IArrayList> strings = view_of<ArrayList_String, String>({u"keep"});
  strings->SetArray(variants({Variant(u"a"), Variant(u"b"), Variant(plain())}));  // no default value
  EXPECT_EQ(text_of(strings), u"keep");
}

TEST_F(ListKinds, ABooleanOfAnyNonZeroBitsIsTrueAndHandedOutAsMinusOne) {
  auto list = make<ArrayList_Boolean>();
  list->SetArray(Variant(Array(array_of<VariantBool>(0, {VariantBool::from_bits(1), VariantBool(false)}))));
  EXPECT_EQ(list.query<IArrayList>()->get_Item(0).if_boolean()->bits, -1);
  EXPECT_EQ(found_at(*list, true), 0);
}

// The scenarios read the default through objects; here an object item and an empty list.
TEST_F(ListKinds, TheValueListsDefaultIsItsFirstItemByReference) {
  auto list = list_of<ArrayList_Value>({Variant(u"x"), Variant(u"y")});
  Ref<Unknown> object = token(Variant(1));
  list->putref_Item(0, Variant(object));
  EXPECT_TRUE(list->get_Default().to_object().same(object));
  auto empty = make<ArrayList_Value>();
  EXPECT_RAISES(empty->get_Default(), kInvalidArgument, "");
  EXPECT_RAISES(Variant(empty).default_value(), kInvalidArgument, "");
}

}  // namespace
}  // namespace quorvel::list_tests
