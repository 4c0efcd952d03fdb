#include "quorvel/arraylists/array_list_core.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

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
#include "quorvel/platform/late_binding.h"
#include "quorvel/platform/registry.h"

namespace quorvel::list_tests {
namespace {

enum class Assign { Let, Set, Both };

// Per kind: distinct sample elements, and what differs in the shared behaviour.
struct ValueKind {
  static constexpr bool kTakesOwnArray = true;
  static constexpr bool kNeedsComparer = false;
  static constexpr bool kReadable = true;
  static constexpr Assign kAssign = Assign::Let;
};
struct VariantKind {
  static constexpr bool kTakesOwnArray = false;
  static constexpr bool kNeedsComparer = true;
  static constexpr Assign kAssign = Assign::Both;
  static Variant value(int i) { return Variant(String(u"v" + std::u16string(1, static_cast<char16_t>(u'0' + i)))); }
};

template <class L>
struct Kind;
template <>
struct Kind<ArrayList_Boolean> : ValueKind {
  static constexpr std::int32_t kVarType = 11;
  static bool value(int i) { return i % 2 == 1; }  // only two values: tests pick indexes that differ
};
template <>
struct Kind<ArrayList_Byte> : ValueKind {
  static constexpr std::int32_t kVarType = 17;
  static std::uint8_t value(int i) { return static_cast<std::uint8_t>(i * 10 + 1); }
};
template <>
struct Kind<ArrayList_Integer> : ValueKind {
  static constexpr std::int32_t kVarType = 2;
  static std::int16_t value(int i) { return static_cast<std::int16_t>(i * 10 - 7); }
};
template <>
struct Kind<ArrayList_Long> : ValueKind {
  static constexpr std::int32_t kVarType = 3;
  static std::int32_t value(int i) { return i * 10 + 1; }
};
template <>
struct Kind<ArrayList_Single> : ValueKind {
  static constexpr std::int32_t kVarType = 4;
  static float value(int i) { return static_cast<float>(i) + 0.5f; }
};
template <>
struct Kind<ArrayList_Double> : ValueKind {
  static constexpr std::int32_t kVarType = 5;
  static double value(int i) { return i + 0.25; }
};
template <>
struct Kind<ArrayList_String> : ValueKind {
  static constexpr std::int32_t kVarType = 8;
  static String value(int i) { return String(u"s" + std::u16string(1, static_cast<char16_t>(u'0' + i))); }
};
template <>
struct Kind<ArrayList_Object> {
  static constexpr std::int32_t kVarType = 9;
  static constexpr bool kTakesOwnArray = true;
  static constexpr bool kNeedsComparer = true;
  static constexpr bool kReadable = true;
  static constexpr Assign kAssign = Assign::Set;
  static Ref<Unknown> value(int i) { return token(Variant(std::int32_t{i})); }
};
template <>
struct Kind<ArrayList_Variant> : VariantKind {
  static constexpr std::int32_t kVarType = 0;
  static constexpr bool kReadable = true;
};
template <>
struct Kind<ArrayList_Value> : VariantKind {
  static constexpr std::int32_t kVarType = 0;
  static constexpr bool kReadable = false;
};

template <class L>
class ArrayListKinds : public LiveCountCheck {
 protected:
  using K = Kind<L>;
  using E = typename L::Element;

  static Variant variant(int i) { return Variant(K::value(i)); }
  static E element(int i) { return E(K::value(i)); }
  // Objects are compared by their default value: the samples are made afresh on every call.
  static Variant comparable(Variant v) {
    if (v.is_object() && v.if_object()) return v.default_value();
    return v;
  }
  static ::testing::AssertionResult same(const typename L::Result& r, int i) {
    if (identical(comparable(Variant(r)), comparable(variant(i)))) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "element differs from sample " << i;
  }
  static bool blank(const typename L::Result& r) { return identical(Variant(r), Variant(typename L::Result(E{}))); }

  Ref<L> filled(std::initializer_list<int> samples) {
    Ref<L> list = make<L>();
    for (int i : samples) list->AddItem(K::value(i));
    return list;
  }
  static std::string source_name() { return L::type_name; }
};

using AllKinds =
    ::testing::Types<ArrayList_Boolean, ArrayList_Byte, ArrayList_Integer, ArrayList_Long, ArrayList_Single,
                     ArrayList_Double, ArrayList_String, ArrayList_Object, ArrayList_Variant, ArrayList_Value>;

class KindNames {
 public:
  template <class L>
  static std::string GetName(int) {
    return L::type_name;
  }
};
TYPED_TEST_SUITE(ArrayListKinds, AllKinds, KindNames);

TYPED_TEST(ArrayListKinds, StartsEmptyWithTheDefaults) {
  auto list = make<TypeParam>();
  EXPECT_EQ(list->get_Count(), 0);
  EXPECT_EQ(list->get_LowerBound(), 0);
  EXPECT_EQ(list->get_UpperBound(), -1);
  EXPECT_EQ(list->get_GrowLength(), 1000);
  EXPECT_EQ(list->get_ShrinkFactor(), 1.5f);
  EXPECT_EQ(list->capacity(), 0);
  EXPECT_EQ(list->get_VarType(), Kind<TypeParam>::kVarType);
}

TYPED_TEST(ArrayListKinds, GrowsByWholeGrowLengths) {
  auto list = make<TypeParam>();
  list->AddItem(Kind<TypeParam>::value(0));
  EXPECT_EQ(list->capacity(), 1000);
  for (int i = 1; i < 1000; ++i) list->AddItem(Kind<TypeParam>::value(i % 10));
  EXPECT_EQ(list->capacity(), 1000);
  list->AddItem(Kind<TypeParam>::value(3));
  EXPECT_EQ(list->capacity(), 2000);
  EXPECT_EQ(list->get_Count(), 1001);
  EXPECT_TRUE(this->same(list->get_Item(1000), 3));
  EXPECT_TRUE(this->same(list->get_Item(999), 9));
}

TYPED_TEST(ArrayListKinds, RemoveItemMovesTheTailOrTheLastElement) {
  auto unordered = this->filled({0, 1, 2});
  unordered->RemoveItem(0, false);
  ASSERT_EQ(unordered->get_Count(), 2);
  EXPECT_TRUE(this->same(unordered->get_Item(0), 2));
  EXPECT_TRUE(this->same(unordered->get_Item(1), 1));

  auto ordered = this->filled({0, 1, 2});
  ordered->RemoveItem(0, true);
  ASSERT_EQ(ordered->get_Count(), 2);
  EXPECT_TRUE(this->same(ordered->get_Item(0), 1));
  EXPECT_TRUE(this->same(ordered->get_Item(1), 2));

  auto middle = this->filled({0, 1, 2, 3});
  middle->RemoveItem(1, true);
  EXPECT_TRUE(this->same(middle->get_Item(1), 2));
  EXPECT_TRUE(this->same(middle->get_Item(2), 3));
  middle->RemoveItem(2, false);  // the last one: nothing to move
  EXPECT_EQ(middle->get_Count(), 2);
  EXPECT_TRUE(this->same(middle->get_Item(1), 2));
}

TYPED_TEST(ArrayListKinds, RemovingTheOnlyElementReleasesTheStorage) {
  auto list = this->filled({1});
  list->RemoveItem(0, true);
  EXPECT_EQ(list->get_Count(), 0);
  EXPECT_EQ(list->capacity(), 0);
  list->AddItem(Kind<TypeParam>::value(2));
  EXPECT_EQ(list->capacity(), 1000);
}

TYPED_TEST(ArrayListKinds, RemovalShrinksToShrinkFactorTimesGrowLengthSpareSlots) {
  auto list = make<TypeParam>();
  for (int i = 0; i < 1001; ++i) list->AddItem(Kind<TypeParam>::value(i % 10));
  ASSERT_EQ(list->capacity(), 2000);
  list->put_ShrinkFactor(3.0f);  // keeps all 2000 slots while the count drops to 3
  list->SetCount(3, true);
  ASSERT_EQ(list->capacity(), 2000);
  list->put_ShrinkFactor(1.5f);
  list->RemoveItem(0, false);
  EXPECT_EQ(list->capacity(), 1502);  // 1.5 x 1000 + 2
  list->RemoveItem(0, false);
  EXPECT_EQ(list->capacity(), 1501);  // every removal applies the limit again
}

TYPED_TEST(ArrayListKinds, SetCountBeyondTheCapacityGrowsByTheMissingSlotsButAtLeastGrowLength) {
  auto fresh = make<TypeParam>();
  fresh->SetCount(5, false);
  EXPECT_EQ(fresh->get_Count(), 5);
  EXPECT_EQ(fresh->capacity(), 1000);
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(this->blank(fresh->get_Item(i))) << i;

  auto kept = this->filled({1, 2, 3});
  kept->SetCount(2500, true);  // 1500 missing slots exceed GrowLength
  EXPECT_EQ(kept->capacity(), 2500);
  EXPECT_TRUE(this->same(kept->get_Item(2), 3));
  EXPECT_TRUE(this->blank(kept->get_Item(3)));

  auto dropped = this->filled({1, 2, 3});
  dropped->SetCount(2500, false);
  EXPECT_EQ(dropped->capacity(), 2500);
  EXPECT_TRUE(this->blank(dropped->get_Item(0)));
}

TYPED_TEST(ArrayListKinds, SetCountWithinTheCapacityShowsTheOldSlotsAgain) {
  auto list = this->filled({1, 2, 3, 4, 5});
  list->SetCount(2, false);
  list->SetCount(3, false);  // PreserveValues does not matter inside the capacity
  ASSERT_EQ(list->get_Count(), 3);
  EXPECT_TRUE(this->same(list->get_Item(2), 3));
  EXPECT_EQ(list->capacity(), 1000);
}

TYPED_TEST(ArrayListKinds, SetCountRefusesANegativeCountAndZeroReleasesTheStorage) {
  auto list = this->filled({1, 2});
  auto e = error_of([&] { list->SetCount(-1, true); });
  EXPECT_EQ(raised(e),
            (std::pair<std::int32_t, std::string>{kInvalidArgument, "Minimal Count value must be greater than 0"}));
  ASSERT_TRUE(e);
  EXPECT_EQ(e->source().to_utf8(), this->source_name());
  EXPECT_EQ(list->get_Count(), 2);
  EXPECT_EQ(list->capacity(), 1000);
  list->SetCount(0, true);
  EXPECT_EQ(list->get_Count(), 0);
  EXPECT_EQ(list->capacity(), 0);
}

TYPED_TEST(ArrayListKinds, IndexesOutsideTheListRaiseWithAnEmptyMessageAndChangeNothing) {
  auto list = this->filled({1, 2, 3});
  EXPECT_RAISES(list->get_Item(3), kInvalidArgument, "");
  EXPECT_RAISES(list->get_Item(-1), kInvalidArgument, "");
  EXPECT_RAISES(list->RemoveItem(3, true), kInvalidArgument, "");
  EXPECT_RAISES(list->RemoveItem(-1, false), kInvalidArgument, "");
  EXPECT_EQ(error_of([&] { list->get_Item(3); })->source().to_utf8(), this->source_name());
  EXPECT_EQ(list->get_Count(), 3);
  EXPECT_TRUE(this->same(list->get_Item(0), 1));
  EXPECT_TRUE(this->same(list->get_Item(2), 3));
}

TYPED_TEST(ArrayListKinds, GrowLengthAndShrinkFactorAreCheckedAndNeverReallocate) {
  auto list = this->filled({1});
  const std::string factor = "Invalid shrink factor value,  must be greater than 1!";
  EXPECT_RAISES(list->put_ShrinkFactor(1.0f), kInvalidArgument, factor);
  EXPECT_RAISES(list->put_ShrinkFactor(0.5f), kInvalidArgument, factor);
  EXPECT_RAISES(list->put_ShrinkFactor(std::numeric_limits<float>::quiet_NaN()), kInvalidArgument, factor);
  EXPECT_EQ(list->get_ShrinkFactor(), 1.5f);
  list->put_ShrinkFactor(1.0001f);
  EXPECT_EQ(list->get_ShrinkFactor(), 1.0001f);
  EXPECT_RAISES(list->put_GrowLength(0), kInvalidArgument, "GrowLength value must be greater than 0");
  EXPECT_RAISES(list->put_GrowLength(-5), kInvalidArgument, "GrowLength value must be greater than 0");
  list->put_GrowLength(1);
  EXPECT_EQ(list->get_GrowLength(), 1);
  EXPECT_EQ(list->capacity(), 1000);
  list->AddItem(Kind<TypeParam>::value(2));
  EXPECT_EQ(list->capacity(), 1000);  // the step counts only when the storage is full
}

TYPED_TEST(ArrayListKinds, ShrinkAndEraseArray) {
  auto list = this->filled({1, 2, 3});
  list->Shrink(0);
  EXPECT_EQ(list->capacity(), 1000);  // 1.5 x 1000 + 3 is not below 1000
  list->put_GrowLength(10);
  list->Shrink(0);
  EXPECT_EQ(list->capacity(), 18);  // 15 + 3
  list->Shrink(7);
  EXPECT_EQ(list->capacity(), 3);
  EXPECT_TRUE(this->same(list->get_Item(2), 3));
  list->EraseArray();
  EXPECT_EQ(list->get_Count(), 0);
  EXPECT_EQ(list->capacity(), 0);
  EXPECT_EQ(list->get_GrowLength(), 10);
}

TYPED_TEST(ArrayListKinds, GetArrayHandsOutAZeroBasedCopy) {
  auto list = make<TypeParam>();
  EXPECT_FALSE(list->GetArray().allocated());
  list = this->filled({1, 2});
  auto array = list->GetArray();
  ASSERT_TRUE(array.allocated());
  EXPECT_EQ(array.lower_bound(), 0);
  EXPECT_EQ(array.upper_bound(), 1);
  EXPECT_TRUE(this->same(typename TypeParam::Result(array.items()[1]), 2));
  array.items()[0] = this->element(5);
  EXPECT_TRUE(this->same(list->get_Item(0), 1));
}

TYPED_TEST(ArrayListKinds, SetArrayTakesOverOrAppendsByKind) {
  using E = typename TypeParam::Element;
  auto list = this->filled({9});
  if constexpr (Kind<TypeParam>::kTakesOwnArray) {
    list->SetArray(Variant(Array(array_of<E>(0, {this->element(1), this->element(2), this->element(3)}))));
    EXPECT_EQ(list->get_Count(), 3);
    EXPECT_EQ(list->capacity(), 3);  // no spare slots
    EXPECT_TRUE(this->same(list->get_Item(0), 1));
    list->AddItem(Kind<TypeParam>::value(4));
    EXPECT_EQ(list->capacity(), 1003);

    EXPECT_RAISES(list->SetArray(Variant(Array(array_of<E>(1, {this->element(5)})))), kInvalidArgument, "");
    EXPECT_EQ(list->get_Count(), 4);
    list->SetArray(Variant(Array(ArrayOf<E>())));
    EXPECT_EQ(list->get_Count(), 0);
    EXPECT_EQ(list->capacity(), 0);
  } else {
    list->SetArray(Variant(Array(array_of<Variant>(0, {this->variant(1), this->variant(2)}))));
    ASSERT_EQ(list->get_Count(), 3);  // appended after the item already there
    EXPECT_TRUE(this->same(list->get_Item(0), 9));
    EXPECT_TRUE(this->same(list->get_Item(2), 2));
    EXPECT_RAISES(list->SetArray(Variant(Array(array_of<Variant>(1, {this->variant(5)})))), kInvalidArgument, "");
    EXPECT_RAISES(list->SetArray(this->variant(5)), kInvalidArgument, "");
    EXPECT_EQ(raised(error_of([&] { list->SetArray(Variant(Array(ArrayOf<Variant>()))); })).first, 9);
    EXPECT_EQ(list->get_Count(), 3);
  }
}

TYPED_TEST(ArrayListKinds, CopyMakesAFreshListOfTheRange) {
  auto empty = make<TypeParam>();
  auto none = empty->Copy(Variant::missing(), Variant::missing());
  ASSERT_TRUE(none);
  EXPECT_FALSE(none.same(empty));
  EXPECT_EQ(none->get_Count(), 0);
  EXPECT_RAISES(empty->Copy(Variant(0), Variant::missing()), kInvalidArgument, "");

  auto list = this->filled({1, 2, 3});
  list->put_GrowLength(10);
  auto copy = list->Copy(Variant(1), Variant(2));
  ASSERT_EQ(copy->get_Count(), 2);
  EXPECT_TRUE(this->same(copy->get_Item(0), 2));
  EXPECT_TRUE(this->same(copy->get_Item(1), 3));
  EXPECT_EQ(copy->get_GrowLength(), 1000);  // the new list's own defaults
  EXPECT_EQ(copy->capacity(), 1000);
  auto all = list->Copy(Variant::missing(), Variant::missing());
  EXPECT_EQ(all->get_Count(), 3);

  struct Row {
    const char* name;
    Variant m, n;
  };
  for (const Row& row : {Row{"m above n", Variant(2), Variant(1)}, Row{"m below 0", Variant(-1), Variant::missing()},
                         Row{"n past the end", Variant(0), Variant(3)}}) {
    SCOPED_TRACE(row.name);
    EXPECT_RAISES(list->Copy(row.m, row.n), kInvalidArgument, "");
  }
}

TYPED_TEST(ArrayListKinds, SortChecksItsRangeAndComparer) {
  auto empty = make<TypeParam>();
  if constexpr (Kind<TypeParam>::kNeedsComparer) {
    EXPECT_RAISES(empty->Sort(Variant::missing(), Variant::missing(), nullptr), kInvalidArgument,
                  "Object sort requires a Comparer!");
  }
  EXPECT_RAISES(empty->Sort(Variant::missing(), Variant::missing(), ascending()), kInvalidArgument, "");

  auto one = this->filled({4});
  one->Sort(Variant::missing(), Variant::missing(), ascending());
  EXPECT_TRUE(this->same(one->get_Item(0), 4));

  auto list = this->filled({3, 1, 4, 2, 5});
  EXPECT_RAISES(list->Sort(Variant(3), Variant(2), ascending()), kInvalidArgument, "");
  EXPECT_RAISES(list->Sort(Variant::missing(), Variant(5), ascending()), kInvalidArgument, "");
  list->Sort(Variant::missing(), Variant::missing(), ascending());
  auto order = ascending();
  for (std::int32_t i = 0; i + 1 < list->get_Count(); ++i) {
    EXPECT_LE(order->Compare(Variant(list->get_Item(i)), Variant(list->get_Item(i + 1))), 0) << i;
  }
}

TYPED_TEST(ArrayListKinds, ViewsForwardAndConvertByKind) {
  auto list = this->filled({1, 2});
  Ref<IArrayList> view = list.template query<IArrayList>();
  ASSERT_TRUE(view);
  EXPECT_TRUE(view.same(list));
  view->AddItem(this->variant(3));
  EXPECT_EQ(view->get_Count(), 3);
  EXPECT_TRUE(this->same(list->get_Item(2), 3));
  EXPECT_EQ(view->get_VarType(), Kind<TypeParam>::kVarType);
  std::int32_t index = -1;
  EXPECT_TRUE(view->Find(this->variant(2), index));
  EXPECT_EQ(index, 1);

  constexpr Assign assign = Kind<TypeParam>::kAssign;
  if constexpr (assign == Assign::Let) {
    EXPECT_RAISES(view->putref_Item(0, this->variant(3)), kInvalidState,
                  "Value type container does not support Set statement!");
    view->put_Item(0, this->variant(3));
  } else if constexpr (assign == Assign::Set) {
    EXPECT_RAISES(view->put_Item(0, this->variant(3)), kInvalidState,
                  "Object type container does not support Let statement!");
    view->putref_Item(0, this->variant(3));
  } else {
    view->putref_Item(0, this->variant(3));
  }
  EXPECT_TRUE(this->same(list->get_Item(0), 3));
  EXPECT_RAISES(view->put_Item(7, this->variant(3)), assign == Assign::Set ? kInvalidState : kInvalidArgument,
                assign == Assign::Set ? "Object type container does not support Let statement!" : "");

  Ref<IArrayList> created = view->CreateNew();
  ASSERT_TRUE(created);
  EXPECT_EQ(&created->identity().class_info(), &TypeParam::describe());
  EXPECT_EQ(created->get_Count(), 0);
  Ref<IArrayList> copy = view->Copy(Variant(1), Variant::missing());
  EXPECT_EQ(copy->get_Count(), 2);
  EXPECT_EQ(&copy->identity().class_info(), &TypeParam::describe());

  EXPECT_EQ(static_cast<bool>(list.template query<IArrayReader>()), Kind<TypeParam>::kReadable);
  Ref<IArrayList2> text = list.template query<IArrayList2>();
  ASSERT_TRUE(text);
  Ref<IFormatter> none;
  EXPECT_EQ(text->ToString(none), list->ToString(none));
  EXPECT_EQ(make<TypeParam>()->ToString(none), String());
}

TYPED_TEST(ArrayListKinds, LateBoundCallsByName) {
  const std::u16string progid = u"Quorvel." + std::u16string(String::from_utf8(TypeParam::type_name).view());
  Ref<Object> object = create_object(progid);
  ASSERT_TRUE(object);
  Unknown& list = *object;
  std::vector<Variant> add{this->variant(4)};
  invoke(list, u"additem", MemberKind::Method, add);
  EXPECT_EQ(invoke(list, u"Count", MemberKind::Get, {}).to_long(), 1);
  std::vector<Variant> index{Variant(u"0")};  // coerced to the Long parameter
  const Variant item = invoke(list, u"Item", MemberKind::Get, index);
  EXPECT_TRUE(identical(this->comparable(item), this->comparable(this->variant(4))));
  std::vector<Variant> outside{Variant(1)};
  EXPECT_RAISES(invoke(list, u"Item", MemberKind::Get, outside), kInvalidArgument, "");
}

}  // namespace
}  // namespace quorvel::list_tests
