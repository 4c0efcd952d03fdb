// The members every list shares, run over all ten kinds: growth, removal, exchange, copy, sort,
// the untyped view, and each state-changing member with every one of its allocations failing;
// then what differs by kind (equality, text form, conversions), the kinds' own members, and the
// storage's growth arithmetic.
#include "quorvel/arraylists/array_list_core.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <limits>
#include <optional>
#include <set>
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
#include "quorvel/platform/late_binding.h"
#include "support/fault_injection.h"

namespace quorvel::list_tests {
namespace {

// What a caller can see of a list's elements: its count and its items (objects by default value).
std::string state(IArrayList& list) {
  std::string text = std::to_string(list.get_Count()) + ":";
  for (std::int32_t i = 0; i < list.get_Count(); ++i) {
    const Variant item = list.get_Item(i);
    if (!item.is_object()) {
      text += " " + item.to_string().to_utf8();
    } else {
      text += item.if_object() ? " #" + item.default_value().to_string().to_utf8() : " Nothing";
    }
  }
  return text;
}

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
typename L::Result sample(int i) {
  if (i < 0) return typename L::Result(typename L::Element{});  // a never-set element: its kind's zero
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
  static Ref<L> filled(const std::vector<int>& samples) {
    Ref<L> list = make<L>();
    for (int i : samples) list->AddItem(sample<L>(i));
    return list;
  }
  // What a list shows, and what a list of these samples would show: comparable by text.
  static std::string seen(const Ref<L>& list) { return state(*list.template query<IArrayList>()); }
  static std::string listed(const std::vector<int>& samples) { return seen(filled(samples)); }
};

using AllKinds =
    ::testing::Types<ArrayList_Boolean, ArrayList_Byte, ArrayList_Integer, ArrayList_Long, ArrayList_Single,
                     ArrayList_Double, ArrayList_String, ArrayList_Object, ArrayList_Variant, ArrayList_Value>;
TYPED_TEST_SUITE(ArrayListKinds, AllKinds);  // a failure names its TypeParam

// A list of 1001 grew twice by the default grow length; ShrinkFactor keeps 1.5 grow lengths spare.
TYPED_TEST(ArrayListKinds, GrowsAndShrinksByWholeGrowLengths) {
  auto list = make<TypeParam>();
  for (int i = 0; i < 1001; ++i) list->AddItem(sample<TypeParam>(i % 10));
  EXPECT_EQ(list->capacity(), 2000);
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
  EXPECT_EQ(this->seen(list), this->listed({1}));
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
      {"tail moves down", {0, 1, 2, 3}, 1, true, {0, 2, 3}},
      {"the last one", {0, 1, 2, 3}, 3, false, {0, 1, 2}},
      {"the only one", {1}, 0, true, {}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    auto list = this->filled(row.before);
    list->RemoveItem(row.index, row.keep_sequence);
    EXPECT_EQ(this->seen(list), this->listed(row.after));
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
    EXPECT_EQ(this->seen(list->Copy(Variant(2), Variant(3))), this->listed({preserve ? 3 : -1, -1}));
  }
}

// The shared checks' numbers and texts are in the scenarios; here each kind's item access and sender.
TYPED_TEST(ArrayListKinds, RefusedArgumentsRaiseAndChangeNothing) {
  auto list = this->filled({1, 2, 3});
  EXPECT_RAISES(list->get_Item(3), kInvalidArgument, "");
  EXPECT_RAISES(list->SetCount(-1, true), kInvalidArgument, "Minimal Count value must be greater than 0",
                TypeParam::type_name);
  EXPECT_EQ(this->seen(list), this->listed({1, 2, 3}));
  list->put_GrowLength(1);  // takes effect at the next growth only
  list->AddItem(sample<TypeParam>(4));
  EXPECT_EQ(list->capacity(), 1000);
}

// Objects are shared by copies, not duplicated: compared by identity, not only by default value.
TYPED_TEST(ArrayListKinds, GetArrayAndCopyHandOutZeroBasedCopies) {
  EXPECT_FALSE(make<TypeParam>()->GetArray().allocated());
  auto list = this->filled({1, 2, 3});
  auto array = list->GetArray();
  array.items()[0] = this->element(5);
  auto again = make<TypeParam>();
  again->SetArray(Variant(Array(array)));  // taken over or appended only at lower bound 0
  EXPECT_EQ(this->seen(again), this->listed({5, 2, 3}));
  EXPECT_EQ(this->seen(list), this->listed({1, 2, 3}));

  auto empty = make<TypeParam>();
  auto none = empty->Copy(Variant::missing(), Variant::missing());
  EXPECT_FALSE(none.same(empty));
  EXPECT_EQ(none->get_Count(), 0);
  list->put_GrowLength(10);
  auto copy = list->Copy(Variant(1), Variant(2));
  EXPECT_EQ(this->seen(copy), this->listed({2, 3}));
  EXPECT_EQ(copy->get_GrowLength(), 1000);  // the new list's own defaults
  EXPECT_EQ(copy->capacity(), 1000);
  if constexpr (TestFixture::kObjects) {
    EXPECT_TRUE(copy->get_Item(0).same(list->get_Item(1)));
    EXPECT_TRUE(list->GetArray().items()[0].same(list->get_Item(0)));
  }
  EXPECT_EQ(this->seen(list->Copy(Variant::missing(), Variant::missing())), this->listed({1, 2, 3}));
  EXPECT_RAISES(empty->Copy(Variant(0), Variant::missing()), kInvalidArgument, "");
}

// The object list takes object arrays only; the Variant lists append any zero-based array.
TYPED_TEST(ArrayListKinds, SetArrayTakesOverOrAppendsByKind) {
  using E = typename TypeParam::Element;
  auto list = this->filled({9});
  if constexpr (!TestFixture::kVariants) {
    if constexpr (TestFixture::kObjects) {
      EXPECT_RAISES(list->SetArray(Variant(Array(array_of<Variant>(0, {this->variant(1)})))), kInvalidArgument, "");
      EXPECT_RAISES(list->SetArray(Variant(5)), kInvalidArgument, "");
    }
    list->SetArray(Variant(Array(array_of<E>(0, {this->element(1), this->element(2), this->element(3)}))));
    EXPECT_EQ(this->seen(list), this->listed({1, 2, 3}));
    EXPECT_EQ(list->capacity(), 3);  // no spare slots
    EXPECT_RAISES(list->SetArray(Variant(Array(array_of<E>(1, {this->element(5)})))), kInvalidArgument, "");
    EXPECT_EQ(this->seen(list), this->listed({1, 2, 3}));
    list->SetArray(Variant(Array(ArrayOf<E>())));
    EXPECT_EQ(list->get_Count(), 0);
    EXPECT_EQ(list->capacity(), 0);
  } else {
    list->SetArray(Variant(Array(array_of<Variant>(0, {this->variant(1), this->variant(2)}))));
    EXPECT_EQ(this->seen(list), this->listed({9, 1, 2}));  // appended after the item already there
    EXPECT_RAISES(list->SetArray(Variant(Array(array_of<Variant>(1, {this->variant(5)})))), kInvalidArgument, "");
    EXPECT_RAISES(list->SetArray(this->variant(5)), kInvalidArgument, "");
    EXPECT_RAISES(list->SetArray(Variant(Array(ArrayOf<Variant>()))), 9);
    EXPECT_EQ(this->seen(list), this->listed({9, 1, 2}));
  }
}

// Sort and Copy check the same range: 0 <= m <= n <= Count - 1.
TYPED_TEST(ArrayListKinds, SortAndCopyCheckTheirRangeAndSortItsComparer) {
  auto empty = make<TypeParam>();
  if constexpr (TestFixture::kVariants || TestFixture::kObjects) {
    const char* needs = "Object sort requires a Comparer!";
    EXPECT_RAISES(empty->Sort(Variant::missing(), Variant::missing(), nullptr), kInvalidArgument, needs);
    EXPECT_RAISES(empty.template query<IArrayList>()->Sort(0, 0, nullptr), kInvalidArgument, needs);
  }
  EXPECT_RAISES(empty->Sort(Variant::missing(), Variant::missing(), ascending()), kInvalidArgument, "");
  auto one = this->filled({4});
  one->Sort(Variant::missing(), Variant::missing(), ascending());
  EXPECT_EQ(this->seen(one), this->listed({4}));
  // Sample orders where every odd sample sorts below every even one, as a Boolean's True does.
  auto list = this->filled({6, 3, 1, 8, 5, 3});
  const Variant none = Variant::missing();
  const std::pair<Variant, Variant> ranges[] = {{Variant(3), Variant(2)}, {Variant(-1), none}, {none, Variant(6)}};
  for (const auto& range : ranges) {
    EXPECT_RAISES(list->Sort(range.first, range.second, ascending()), kInvalidArgument, "");
    EXPECT_RAISES(list->Copy(range.first, range.second), kInvalidArgument, "");
  }
  EXPECT_EQ(this->seen(list), this->listed({6, 3, 1, 8, 5, 3}));
  list->Sort(Variant::missing(), Variant::missing(), ascending());
  EXPECT_EQ(this->seen(list), this->listed({1, 3, 3, 5, 6, 8}));
  if constexpr (TestFixture::kObjects) {  // every reference kept, not one of two equal ones twice
    std::set<const Unknown*> distinct;
    for (std::int32_t i = 0; i < list->get_Count(); ++i) distinct.insert(list->get_Item(i).get());
    EXPECT_EQ(distinct.size(), 6u);
  }

  // Through the view: a range, and [0, 0], which all but the Variant list read as the whole list.
  auto part = this->filled({0, 2, 1});
  part.template query<IArrayList>()->Sort(1, 2, ascending());
  EXPECT_EQ(this->seen(part), this->listed({0, 1, 2}));
  auto zero = this->filled({4, 1, 3});
  zero.template query<IArrayList>()->Sort(0, 0, ascending());
  EXPECT_EQ(this->seen(zero), this->listed(std::is_same_v<TypeParam, ArrayList_Variant> ? std::vector{4, 1, 3}
                                                                                       : std::vector{1, 3, 4}));
}

TYPED_TEST(ArrayListKinds, ViewsForwardAndConvertByKind) {
  auto list = this->filled({1, 2});
  Ref<IArrayList> view = list.template query<IArrayList>();
  view->AddItem(this->variant(3));
  EXPECT_EQ(this->seen(list), this->listed({1, 2, 3}));
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
  EXPECT_EQ(this->seen(list), this->listed({3, 2, 3}));

  EXPECT_EQ(&view->CreateNew()->identity().class_info(), &TypeParam::describe());
}

// --- every allocation of every state-changing member failing in turn -------------------------

// A late-bound call; the arguments stay off the heap, which is the library's alone here.
template <std::size_t N>
void call(IArrayList& list, std::u16string_view name, std::array<Variant, N> args) {
  invoke(*as_unknown(&list.identity()), name, MemberKind::Method | MemberKind::Let, args);
}

struct Operation {
  const char* name;
  std::function<void(IArrayList&, bool objects)> run;
  std::function<void(IArrayList&)> prepare = [](IArrayList&) {};
};

// The members that change a list or build something from it, with valid arguments.
const std::vector<Operation>& operations() {
  static const std::vector<Operation> ops = {
      {"AddItem", [](IArrayList& l, bool) { l.AddItem(l.get_Item(0)); },
       [](IArrayList& l) { l.SetCount(6, true); }},  // full: the append grows
      {"RemoveItem", [](IArrayList& l, bool) { l.RemoveItem(0, true); }},
      {"RemoveItem unordered", [](IArrayList& l, bool) { l.RemoveItem(0, false); }},
      {"Item",
       [](IArrayList& l, bool objects) { objects ? l.putref_Item(1, l.get_Item(0)) : l.put_Item(1, l.get_Item(0)); }},
      {"SetCount up, kept", [](IArrayList& l, bool) { l.SetCount(10, true); }},
      {"SetCount up, fresh", [](IArrayList& l, bool) { l.SetCount(10, false); }},
      {"SetCount down", [](IArrayList& l, bool) { l.SetCount(1, true); }},
      {"Shrink", [](IArrayList& l, bool) { l.Shrink(1); }},
      {"EraseArray", [](IArrayList& l, bool) { l.EraseArray(); }},
      {"SetArray, own kind", [](IArrayList& l, bool) { l.SetArray(l.GetArray()); }},
      {"SetArray, elements",
       [](IArrayList& l, bool objects) {
         if (objects) return;  // the object list takes object arrays only
         Array values(VarKind::Variant, 0, 2);
         values.put(0, l.get_Item(2));
         values.put(1, l.get_Item(1));
         l.SetArray(Variant(values));
       }},
      {"Sort", [](IArrayList& l, bool) { l.Sort(0, 2, ascending()); }},
      {"Copy", [](IArrayList& l, bool) { l.Copy(Variant(1), Variant(2)); }},
      {"CreateNew", [](IArrayList& l, bool) { l.CreateNew(); }},
      {"ToString",
       [](IArrayList& l, bool) {
         Ref<IFormatter> none;
         Ref<IArrayList>(&l).query<IArrayList2>()->ToString(none);
       }},
      {"late-bound AddItem", [](IArrayList& l, bool) { call(l, u"AddItem", std::array{l.get_Item(2)}); }},
      {"late-bound SetCount", [](IArrayList& l, bool) { call(l, u"SetCount", std::array{Variant(7), Variant(true)}); }},
      {"late-bound Copy", [](IArrayList& l, bool) { call(l, u"Copy", std::array<Variant, 0>{}); }},
      {"late-bound ToString", [](IArrayList& l, bool) { call(l, u"ToString", std::array<Variant, 0>{}); }},
  };
  return ops;
}

TYPED_TEST(ArrayListKinds, EveryAllocationFailureRaisesSevenAndChangesNothing) {
  long failed = 0;
  for (const Operation& op : operations()) {
    SCOPED_TRACE(op.name);
    // Four items in six slots, with a grow length of 1: an append past the count grows the
    // storage, and every removal gives slots back. Variant lists hold objects among their values.
    const auto prepared = [&] {
      Ref<IArrayList> list = make<TypeParam>().template query<IArrayList>();
      list->put_GrowLength(3);
      for (int i = 0; i < 4; ++i) {
        list->AddItem(TestFixture::kVariants && i % 2 ? Variant(token(Variant(i))) : this->variant(i));
      }
      list->put_GrowLength(1);
      op.prepare(*list);
      return list;
    };
    failed += fault::expect_fault_tolerant(
        prepared, [&](Ref<IArrayList>& l) { op.run(*l, TestFixture::kObjects); },
        [](Ref<IArrayList>& l) { return std::to_string(l->get_GrowLength()) + "/" + state(*l); });
  }
  EXPECT_GT(failed, 20) << "allocations are not being failed";
}

// --- what differs by kind, most of it through the untyped view so that one table holds every kind

using ListKinds = LiveCountCheck;
using Longs = std::vector<std::int32_t>;
using Bytes = std::vector<std::uint8_t>;

template <class L, class V = typename L::Element>
Ref<IArrayList> view_of(std::initializer_list<V> values) {
  return list_of<L, V>(values).template query<IArrayList>();
}
Ref<IArrayList> strings(std::initializer_list<String> values) { return view_of<ArrayList_String>(values); }
Variant variants(std::vector<Variant> values) { return Variant(Array(array_of(0, values))); }
Variant opt_long(std::optional<std::int32_t> v) { return v ? Variant(*v) : Variant::missing(); }
std::u16string text_of(const Ref<IArrayList>& view, Ref<IFormatter> formatter = nullptr) {
  return std::u16string(view.query<IArrayList2>()->ToString(formatter).view());
}

TEST_F(ListKinds, FindUsesEachKindsOwnEquality) {
  const Ref<IArrayList> texts = strings({u"Abc", u"x", u""});
  const Ref<IArrayList> objects = view_of<ArrayList_Object>({token(Variant(u"one")), token(Variant(u"Two"))});
  const Ref<IArrayList> with_nothing = view_of<ArrayList_Object>({token(Variant(u"one")), Ref<Unknown>()});
  const Ref<IArrayList> mixed =
      view_of<ArrayList_Variant>({Variant::null(), Variant(u"ABC"), Variant(2), Variant(token(Variant(u"obj")))});
  const struct {
    const char* name;
    Ref<IArrayList> list;
    Variant value;
    std::int32_t at;  // -1: none; or the error raised when `raises`
    bool raises = false;
  } rows[] = {
      {"Double: -0 equals 0, no bit-pattern match", view_of<ArrayList_Double>({2.5, -0.0}), Variant(0.0), 1},
      {"String: case ignored", texts, Variant(u"aBC"), 0},
      {"String: the null string is the empty one", texts, Variant(String()), 2},
      {"String: a prefix is no match", texts, Variant(u"ab"), -1},
      {"Object: another object with an equal default value", objects, Variant(token(Variant(u"two"))), 1},
      {"Object: no equal default value", objects, Variant(token(Variant(u"three"))), -1},
      {"Object: Nothing has no default value", objects, Variant::nothing(), 91, true},
      {"Object: nor has an object without a default member", objects, Variant(plain()), 438, true},
      {"Object: nor has a Nothing item", with_nothing, Variant(token(Variant(u"zzz"))), 91, true},
      {"Object: nothing is read when nothing is compared", view_of<ArrayList_Object>({}), Variant::nothing(), -1},
      {"Variant: text mode", mixed, Variant(u"abc"), 1},
      {"Variant: numbers of other kinds", mixed, Variant(2.0), 2},
      {"Variant: an object element through its default value", mixed, Variant(u"OBJ"), 3},
      {"Variant: Null matches nothing", mixed, Variant::null(), -1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    std::int32_t at = -1;
    EXPECT_EQ(error_of([&] { at = found_at(*row.list, row.value); }), row.raises ? row.at : 0);
    if (!row.raises) {
      EXPECT_EQ(at, row.at);
    }
  }
}

// An element is quoted exactly when it is empty or holds a blank (its own quotes then dropped).
TEST_F(ListKinds, TextFormsAndTheOrderWithoutAComparer) {
  const auto unsorted = [](Ref<IArrayList> view) {
    view->Sort(0, 0, nullptr);
    return view;
  };
  const struct {
    const char* name;
    Ref<IArrayList> list;
    std::u16string expected;
    Ref<IFormatter> formatter = nullptr;
  } rows[] = {
      {"Boolean: True first, as words", unsorted(view_of<ArrayList_Boolean>({false, true, false})),
       u"True False False"},
      {"String: binary order", unsorted(strings({u"b", u"B", u"a"})), u"B a b"},
      {"Single: its own digits", view_of<ArrayList_Single>({0.1f, -1.25f, 3.0f}), u"0.1 -1.25 3"},
      {"an element with a blank", strings({u"a b"}), u"\"a b\""},
      {"an empty element", strings({u""}), u"\"\""},
      {"quotes without a blank stay", strings({u"x\"y\""}), u"x\"y\""},
      {"quotes inside with a blank", strings({u"say \"hi\""}), u"\"say hi\""},
      {"leading blank of an element is quoted", strings({u" a", u"b"}), u"\" a\" b"},
      {"only a blank", strings({u" "}), u"\" \""},
      {"a tab is no separator", strings({u"a\tb"}), u"a\tb"},
      {"through a formatter", view_of<ArrayList_Long>({10, -2}), u"\"n 10\" \"n -2\"",
       formatter([](const Variant& v) { return Variant(String(u"n " + std::u16string(v.to_string().view()))); })},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(text_of(row.list, row.formatter), row.expected);
  }
}

// Refused calls of the kinds' own rules: each raises before anything changes.
TEST_F(ListKinds, RefusedCallsRaiseAndChangeNothing) {
  const Ref<IArrayList> texts = strings({});
  const Ref<IArrayList> objects = view_of<ArrayList_Object>({token(Variant(1))});
  const Ref<IArrayList> longs = view_of<ArrayList_Long>({9});
  Ref<Unknown> object = token(Variant(u"obj"), String(u"first"));
  auto variant = list_of<ArrayList_Variant>({Variant(object)});
  auto pairs = list_of<ArrayList_Variant>({variants({Variant(1), Variant(u"a")})});
  auto values = make<ArrayList_Value>();
  auto bytes = make<ArrayList_Byte>();
  ArrayOf<std::uint8_t> buffer = array_of<std::uint8_t>(1, {1, 2});
  Variant two(2), zero(0), negative(-1);
  std::int32_t index = -1;
  Ref<IFormatter> failing = formatter([](const Variant&) -> Variant { raise_runtime_error(RuntimeError::Overflow); });
  const struct {
    const char* name;
    std::function<void()> call;
    std::int32_t number;
    const char* description = nullptr;
  } rows[] = {
      {"String: Null", [&] { texts->AddItem(Variant::null()); }, 94},
      {"Object: a value to set", [&] { objects->putref_Item(0, Variant(2)); }, 13},
      {"Long: SetArray of no array", [&] { longs->SetArray(Variant(5)); }, 13, "Type mismatch"},
      {"Long: a failing formatter", [&] { text_of(longs, failing); }, 6},
      {"Variant: a value to set", [&] { variant->putref_Item(0, Variant(5)); }, 13},
      {"Variant: a let of an object without a default member", [&] { variant->put_Item(0, Variant(plain())); }, 438},
      {"Variant: FindEx past an array element", [&] { pairs->FindEx(Variant(u"z"), Variant(2), index); }, 9},
      {"Variant: FindEx of a field no element has", [&] { variant->FindEx(Variant(1), Variant(u"Field"), index); },
       438},
      {"Variant: FindEx of a field of a non-object",
       [&] { list_of<ArrayList_Variant>({Variant(3)})->FindEx(Variant(3), Variant(u"Name"), index); }, 424},
      {"Variant: FindEx indexing a plain value",
       [&] { list_of<ArrayList_Variant>({Variant(5)})->FindEx(Variant(5), Variant(0), index); }, 13},
      {"Variant: FindFirst from below 0", [&] { variant->FindFirst(Variant(5), negative, nullptr, index); }, 9, ""},
      {"Value: the default of an empty list", [&] { values->get_Default(); }, kInvalidArgument, ""},
      // A run of no bytes on a list without storage reads the storage's bounds.
      {"Byte: no bytes onto no storage", [&] { bytes->AddRange(buffer, two, zero); }, 9, "Subscript out of range"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_RAISES(row.call(), row.number,
                  row.description ? std::optional<std::string_view>(row.description) : std::nullopt);
  }
  EXPECT_EQ(text_of(texts), u"");
  EXPECT_EQ(text_of(objects), u"1");
  EXPECT_EQ(text_of(longs), u"9");
  EXPECT_TRUE(variant->get_Item(0).to_object().same(object));
  EXPECT_EQ(index, -1);
  bytes->AddItem(1);
  bytes->AddRange(buffer, two, zero);
  EXPECT_EQ(items(*bytes), Bytes{1});
}

// Values are converted to the kind before anything changes; the scenarios show numbers converted.
TEST_F(ListKinds, ElementsAreConvertedOrKeptByKind) {
  const Ref<IArrayList> texts = strings({});
  texts->AddItem(Variant(token(Variant(u"from default"))));
  EXPECT_EQ(text_of(texts), u"\"from default\"");
  const Ref<IArrayList> objects = view_of<ArrayList_Object>({token(Variant(1))});
  objects->putref_Item(0, Variant::nothing());
  EXPECT_TRUE(objects->get_Item(0).is_object());
  EXPECT_EQ(objects->get_Item(0).if_object(), nullptr);

  auto booleans = make<ArrayList_Boolean>();  // any non-zero bits are True, handed out as -1
  booleans->SetArray(Variant(Array(array_of<VariantBool>(0, {VariantBool::from_bits(1), VariantBool(false)}))));
  EXPECT_EQ(booleans.query<IArrayList>()->get_Item(0).if_boolean()->bits, -1);
  EXPECT_EQ(found_at(*booleans, true), 0);

  // The Value list's default is its first item, by reference.
  auto value = list_of<ArrayList_Value>({Variant(u"x"), Variant(u"y")});
  Ref<Unknown> object = token(Variant(u"default"));
  value->putref_Item(0, Variant(object));
  EXPECT_TRUE(value->get_Default().to_object().same(object));

  // The Variant list stores objects by reference (Nothing too) and values as copies.
  auto list = list_of<ArrayList_Variant>({Variant(object), Variant::nothing(), Variant(u"text")});
  EXPECT_TRUE(list->get_Item(0).to_object().same(object));
  EXPECT_EQ(list->get_Item(1).if_object(), nullptr);
  String stored(u"abc");
  list->AddItem(Variant::by_ref(stored));
  stored = String(u"changed");
  EXPECT_EQ(*list->get_Item(3).if_string(), String(u"abc"));
  EXPECT_FALSE(list->get_Item(3).is_by_ref());
  list->put_Item(2, Variant(object));  // a let of an object stores its default value
  EXPECT_EQ(*list->get_Item(2).if_string(), String(u"default"));
  Ref<IArrayList> view = list.query<IArrayList>();
  view->putref_Item(1, Variant(object));
  view->putref_Item(2, Variant(u"value"));  // not an object: let
  EXPECT_TRUE(list->get_Item(1).to_object().same(object));
  EXPECT_EQ(*list->get_Item(2).if_string(), String(u"value"));
}

// Arrays of another kind are appended element by element, converted; a failing conversion takes
// back what the call appended and returns normally.
TEST_F(ListKinds, SetArrayOfAnotherKindAppendsConvertedElements) {
  const Ref<IArrayList> longs = view_of<ArrayList_Long>({9});
  longs->SetArray(variants({Variant(1), Variant(u"2"), Variant(2.5)}));  // 2.5 rounds to even
  longs->SetArray(Variant(Array(array_of<std::int16_t>(5, {4, 5}))));    // any lower bound
  longs->SetArray(Variant(Array(ArrayOf<std::int16_t>())));
  longs->SetArray(variants({Variant(7), Variant(1e12)}));  // overflows
  EXPECT_EQ(text_of(longs), u"9 1 2 2 4 5");
  const Ref<IArrayList> texts = strings({u"keep"});
  texts->SetArray(variants({Variant(u"a"), Variant(u"b"), Variant(plain())}));  // no default value
  EXPECT_EQ(text_of(texts), u"keep");
  // A failure after the appends grew the storage keeps the growth, as the restoring set-count does.
  auto full = make<ArrayList_Long>();
  full->SetCount(999, true);
  full->SetArray(variants({Variant(1), Variant(2), Variant(u"x")}));
  EXPECT_EQ(full->get_Count(), 999);
  EXPECT_EQ(full->capacity(), 2000);
}

TEST_F(ListKinds, VariantFindExAndFindFirst) {
  const auto pair = [](std::int32_t n, const char16_t* s) { return variants({Variant(n), Variant(s)}); };
  auto list = list_of<ArrayList_Variant>({pair(1, u"a"), pair(2, u"b")});
  std::int32_t index = -1;
  EXPECT_TRUE(list->FindEx(Variant(u"z"), Variant(1), index).is_empty());  // Empty, not False
  EXPECT_EQ(index, -1);
  EXPECT_TRUE(identical(list->FindEx(Variant(u"B"), Variant(1), index), Variant(true)));
  EXPECT_EQ(index, 1);
  auto lists = list_of<ArrayList_Variant>({Variant(list_of<ArrayList_Variant>({Variant(u"p"), Variant(u"q")})),
                                           Variant(list_of<ArrayList_Variant>({Variant(u"r")}))});
  EXPECT_TRUE(identical(lists->FindEx(Variant(u"R"), Variant(0), index), Variant(true)));  // default member Item(0)
  EXPECT_EQ(index, 1);
  auto named = list_of<ArrayList_Variant>({Variant(token(Variant(1), String(u"first"))),
                                           Variant(token(Variant(2), String(u"Second")))});
  EXPECT_TRUE(identical(named->FindEx(Variant(u"second"), Variant(u"Name"), index), Variant(true)));
  EXPECT_EQ(index, 1);
  EXPECT_TRUE(identical(named->FindEx(Variant(1), Variant(u"value"), index), Variant(true)));
  EXPECT_EQ(index, 0);

  auto numbers = list_of<ArrayList_Variant>({Variant(5), Variant(1), Variant(5), Variant(7)});
  Variant start(2), past(4), missing = Variant::missing(), from_one(1);
  EXPECT_TRUE(numbers->FindFirst(Variant(5), start, nullptr, index));
  EXPECT_EQ(index, 2);
  EXPECT_TRUE(identical(start, Variant(2)));  // not written back
  index = -1;
  EXPECT_FALSE(numbers->FindFirst(Variant(5), past, nullptr, index));
  EXPECT_FALSE(numbers->FindFirst(Variant(u"5"), missing, nullptr, index));  // a number never equals a string
  EXPECT_EQ(index, -1);
  std::vector<std::pair<std::int32_t, std::int32_t>> calls;
  auto above = comparer([&](const Variant& element, const Variant& value) -> std::int16_t {
    calls.emplace_back(element.to_long(), value.to_long());
    return element.to_long() > value.to_long() ? 0 : 1;
  });
  EXPECT_TRUE(numbers->FindFirst(Variant(5), from_one, above, index));
  EXPECT_EQ(index, 3);
  EXPECT_EQ(calls, (std::vector<std::pair<std::int32_t, std::int32_t>>{{1, 5}, {5, 5}, {7, 5}}));
}

// IncrementAbove counts down the elements above a value in a range, Move shifts a block; both
// raise 9 and change nothing outside the list.
TEST_F(ListKinds, LongIncrementAboveAndMoveStayInsideTheList) {
  using Call = std::function<std::int32_t(ArrayList_Long&)>;
  const auto increment = [](std::int32_t above, Variant m, Variant n) -> Call {
    return [=](ArrayList_Long& l) mutable { return l.IncrementAbove(above, m, n); };
  };
  const auto move = [](std::int32_t start, std::int32_t count, std::int32_t direction) -> Call {
    return [=](ArrayList_Long& l) { return (l.Move(start, count, direction), 0); };
  };
  const Variant none = Variant::missing();
  const struct {
    const char* name;
    Call call;
    std::int32_t changed;
    Longs after;  // empty: raises 9
  } rows[] = {
      {"IncrementAbove a range", increment(0, Variant(1), Variant(2)), 2, {5, 2, 7, 1, 0}},
      {"IncrementAbove m above n", increment(0, Variant(3), Variant(1)), 0, {5, 3, 8, 1, 0}},
      {"IncrementAbove bounds as text", increment(4, Variant(u"0"), Variant(u"1")), 1, {4, 3, 8, 1, 0}},
      {"IncrementAbove n past the end", increment(0, none, Variant(5)), 0, {}},
      {"IncrementAbove m below 0", increment(0, Variant(-1), none), 0, {}},
      {"Move overlapping right", move(1, 2, 1), 0, {5, 3, 3, 8, 0}},
      {"Move overlapping left", move(2, 2, -2), 0, {8, 1, 8, 1, 0}},
      {"Move zero length at 1", move(1, 0, 0), 0, {5, 3, 8, 1, 0}},
      {"Move whole list in place", move(0, 5, 0), 0, {5, 3, 8, 1, 0}},
      {"Move target end past the list", move(3, 2, 1), 0, {}},
      {"Move zero length at 0", move(0, 0, 0), 0, {}},
      {"Move negative count", move(2, -1, 0), 0, {}},
      {"Move target before the list", move(1, 2, -2), 0, {}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    auto list = list_of<ArrayList_Long>({5, 3, 8, 1, 0});
    std::int32_t changed = 0;
    EXPECT_RAISES(changed = row.call(*list), row.after.empty() ? 9 : 0, "");
    EXPECT_EQ(changed, row.changed);
    EXPECT_EQ(items(*list), (row.after.empty() ? Longs{5, 3, 8, 1, 0} : row.after));
  }
}

// Every row starts from the list [7] and a buffer with bounds 1 to 4 (or an unallocated one).
TEST_F(ListKinds, ByteAddRangeAppendsARunOfTheBufferOrRaisesBeforeChangingAnything) {
  const struct {
    const char* name;
    bool allocated;
    std::optional<std::int32_t> start, count;
    std::int32_t number;  // 0: appends, giving `after`
    const char* message;
    Bytes after;
  } rows[] = {
      {"whole buffer", true, std::nullopt, std::nullopt, 0, "", {7, 11, 12, 13, 14}},
      {"from index 3", true, 3, std::nullopt, 0, "", {7, 13, 14}},
      {"two from index 2", true, 2, 2, 0, "", {7, 12, 13}},
      {"none from the last index", true, 4, 0, 0, "", {7}},
      {"all four from the lower bound", true, std::nullopt, 4, 0, "", {7, 11, 12, 13, 14}},
      {"an empty buffer", false, std::nullopt, std::nullopt, 0, "", {7}},
      {"empty buffer with a start", false, 1, std::nullopt, 9, "AddRange", {7}},
      {"empty buffer with a count", false, std::nullopt, 0, 9, "AddRange", {7}},
      {"start below the lower bound", true, 0, std::nullopt, kInvalidArgument, "Invalid StartIx!", {7}},
      {"count above the length", true, std::nullopt, 5, kInvalidArgument, "CopyCount exceeds the buffer length", {7}},
      {"run past the upper bound", true, 3, 3, 9, "CopyCount exceeds the buffer length", {7}},
      {"negative count", true, 2, -1, 9, "", {7}},
      {"start beyond the end + 1", true, 6, std::nullopt, 9, "", {7}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    auto list = list_of<ArrayList_Byte>({7});
    ArrayOf<std::uint8_t> buffer =
        row.allocated ? array_of<std::uint8_t>(1, {11, 12, 13, 14}) : ArrayOf<std::uint8_t>();
    Variant start = opt_long(row.start), count = opt_long(row.count);
    EXPECT_RAISES(list->AddRange(buffer, start, count), row.number, row.message);
    EXPECT_EQ(items(*list), row.after);
    EXPECT_EQ(list->capacity(), 1000);
  }
  auto list = make<ArrayList_Byte>();
  list->SetArray(Variant(Array(array_of<std::uint8_t>(0, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}))));
  list->put_GrowLength(4);
  ArrayOf<std::uint8_t> buffer = array_of<std::uint8_t>(0, {20, 21, 22, 23, 24, 25, 26, 27}), bounded_empty(0, 0);
  Variant missing = Variant::missing(), also_missing = Variant::missing();
  list->AddRange(bounded_empty, missing, also_missing);
  list->AddRange(buffer, missing, also_missing);
  EXPECT_EQ(list->capacity(), 22);  // grown once: 8 short of 10 is 8 \ 4 + 1 = 3 steps of 4
  EXPECT_EQ(items(*list), (Bytes{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 20, 21, 22, 23, 24, 25, 26, 27}));
}

// --- the storage's growth arithmetic and its lock

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

class Policy : public ListStorageBase {
 public:
  Policy(std::int32_t grow, float factor) {
    set_grow_length(grow);
    set_shrink_factor(factor);
  }
};

TEST(ListStoragePolicy, CapacityAfterShrinkRoundsTheLimitHalfToEven) {
  const struct {
    const char* name;
    std::int32_t grow;
    float factor;
    std::int32_t capacity, count, expected;
  } rows[] = {
      {"tie rounds down to even", 1, 1.5f, 10, 1, 2},             // 2.5
      {"tie rounds up to even", 1, 1.5f, 10, 2, 4},               // 3.5
      {"fraction below a half", 3, 1.1f, 10, 1, 4},               // 4.3000001
      {"single factor widens exactly", 10, 1.0001f, 100, 5, 15},  // 15.0009999...
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(Policy(row.grow, row.factor).capacity_after_shrink(row.capacity, row.count, false), row.expected);
  }
}

// The lists' tests show the other growth steps; here the end of the range.
TEST(ListStoragePolicy, GrowthSteps) {
  const Policy policy(1000, 1.5f);
  EXPECT_EQ(policy.capacity_for_append(kMax - 5), kMax);  // the last step stops at the range's end
  EXPECT_RAISES(policy.capacity_for_append(kMax), 6);
  EXPECT_EQ(Policy(4, 1.5f).capacity_for_range(10, 11), 14);  // a whole step for one short
}

TEST(ListStorage, LockedStorageRefusesEveryResizeBeforeChangingAnything) {
  ListStorage<std::int32_t> store;
  store.set_grow_length(2);
  for (std::int32_t v : {1, 2}) store.append(v);
  store.slots().lock();
  const struct {
    const char* name;
    std::function<void()> call;
  } rows[] = {
      {"append past the capacity", [&] { store.append(3); }},
      {"set count past the capacity", [&] { store.set_count(5, true); }},
      {"erase", [&] { store.erase(); }},
      {"remove that would shrink to nothing", [&] { store.set_count(1, true), store.remove(0, true); }},
      {"adopt", [&] { store.adopt(ArrayOf<std::int32_t>(0, 1)); }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_RAISES(row.call(), 10);
  }
  EXPECT_EQ(store.count(), 1);  // only the set count inside the capacity went through
  EXPECT_EQ(store.capacity(), 2);
  store.slots().unlock();
  store.remove(0, true);
  EXPECT_EQ(store.capacity(), 0);
}

}  // namespace
}  // namespace quorvel::list_tests
