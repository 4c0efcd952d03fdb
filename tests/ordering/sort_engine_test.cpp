#include "quorvel/ordering/sort_engine.h"

#include <gtest/gtest.h>
#include <pthread.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include "ordering/test_comparers.h"
#include "quorvel/ordering/comparer_interface_classes.h"
#include "quorvel/ordering/comparers.h"
#include "quorvel/frame/variant_procedures.h"
#include "quorvel/platform/error.h"
#include "quorvel/platform/error_reporter.h"

namespace quorvel {
namespace {

using testing_support::FnComparer;
using testing_support::long_order;
using testing_support::sign_of;

template <class E>
ArrayOf<E> array_of(std::int32_t lower, const std::vector<E>& values) {
  ArrayOf<E> a(lower, static_cast<std::int32_t>(values.size()));
  std::copy(values.begin(), values.end(), a.items().begin());
  return a;
}

template <class E>
std::vector<E> values_of(const ArrayOf<E>& a) {
  return {a.items().begin(), a.items().end()};
}

std::vector<std::int32_t> longs(const ArrayOf<Variant>& a) {
  std::vector<std::int32_t> out;
  for (const Variant& v : a.items()) out.push_back(v.to_long());
  return out;
}

Error error_of(const std::function<void()>& f) {
  try {
    f();
  } catch (const Error& e) {
    return e;
  }
  return Error(0, String(), String());
}

TEST(QuickSort, EachKindInItsOwnOrderWithoutComparer) {
  auto engine = make<QuickSort>();
  ArrayOf<std::int32_t> l = array_of<std::int32_t>(0, {3, 1, 2});
  engine->SortLongs(l, 0, 2, nullptr);
  EXPECT_EQ(values_of(l), (std::vector<std::int32_t>{1, 2, 3}));

  ArrayOf<VariantBool> b = array_of<VariantBool>(0, {false, true, false});
  engine->SortBooleans(b, 0, 2, nullptr);
  EXPECT_EQ(b.items()[0].bits, -1);  // True (-1) before False (0)
  EXPECT_EQ(b.items()[1].bits, 0);

  ArrayOf<std::uint8_t> bytes = array_of<std::uint8_t>(0, {200, 7, 255, 0});
  engine->SortBytes(bytes, 0, 3, nullptr);
  EXPECT_EQ(values_of(bytes), (std::vector<std::uint8_t>{0, 7, 200, 255}));  // unsigned

  ArrayOf<String> s = array_of<String>(0, {u"b", u"B", u"a"});
  engine->SortStrings(s, 0, 2, nullptr);
  EXPECT_EQ(values_of(s), (std::vector<String>{u"B", u"a", u"b"}));  // binary order

  ArrayOf<Variant> v = array_of<Variant>(0, {Variant(u"b"), Variant(2), Variant(u"a"), Variant(1), Variant(1.5)});
  engine->SortVariants(v, 0, 4, nullptr);
  ASSERT_EQ(v.items()[0].to_long(), 1);
  EXPECT_EQ(v.items()[1].to_double(), 1.5);
  EXPECT_EQ(v.items()[2].to_long(), 2);
  EXPECT_EQ(v.items()[3].to_string(), String(u"a"));  // numbers before strings
  EXPECT_EQ(v.items()[4].to_string(), String(u"b"));
}

TEST(QuickSort, OneElementRangeMeetsItsOwnCopyTwice) {
  std::vector<std::pair<std::int32_t, std::int32_t>> seen;
  auto recording = make<FnComparer>([&](const Variant& a, const Variant& b) -> std::int16_t {
    seen.emplace_back(a.to_long(), b.to_long());
    return 0;
  });
  ArrayOf<std::int32_t> a = array_of<std::int32_t>(0, {9, 42, 9});
  make<QuickSort>()->SortLongs(a, 1, 1, recording.get());
  EXPECT_EQ(seen, (std::vector<std::pair<std::int32_t, std::int32_t>>{{42, 42}, {42, 42}}));
  EXPECT_EQ(values_of(a), (std::vector<std::int32_t>{9, 42, 9}));
}

TEST(QuickSort, PivotIsTheRoundedMiddle) {
  struct Row {
    const char* name;
    std::int32_t m, n, pivot_index;
  } rows[] = {{"[1, 4]", 1, 4, 2}, {"[2, 5]", 2, 5, 4}, {"[0, 1]", 0, 1, 0}, {"[1, 2]", 1, 2, 2}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::vector<std::int32_t> pivots;
    auto recording = make<FnComparer>([&](const Variant&, const Variant& b) -> std::int16_t {
      pivots.push_back(b.to_long());
      return 0;
    });
    ArrayOf<std::int32_t> a = array_of<std::int32_t>(0, {10, 11, 12, 13, 14, 15});
    make<QuickSort>()->SortLongs(a, row.m, row.n, recording.get());
    ASSERT_FALSE(pivots.empty());
    EXPECT_EQ(pivots.front(), 10 + row.pivot_index);
  }
}

TEST(QuickSort, BareComparerInterfacePermutesFromBothEnds) {
  auto bare = make<IComparerClass>();
  ArrayOf<std::int32_t> four = array_of<std::int32_t>(0, {1, 2, 3, 4});
  make<QuickSort>()->SortLongs(four, 0, 3, bare.get());
  EXPECT_EQ(values_of(four), (std::vector<std::int32_t>{3, 4, 1, 2}));
  ArrayOf<std::int32_t> three = array_of<std::int32_t>(0, {1, 2, 3});
  make<QuickSort>()->SortLongs(three, 0, 2, bare.get());
  EXPECT_EQ(values_of(three), (std::vector<std::int32_t>{3, 2, 1}));
}

TEST(QuickSort, NotStableOnEqualKeys) {
  // (key, tag) pairs as key * 10 + tag; the comparer sees the keys only.
  auto by_key = make<FnComparer>([](const Variant& a, const Variant& b) {
    return sign_of(*a.if_long() / 10 - *b.if_long() / 10);
  });
  ArrayOf<std::int32_t> pairs = array_of<std::int32_t>(0, {10, 1, 12, 3});  // (1,a) (0,b) (1,c) (0,d)
  make<QuickSort>()->SortLongs(pairs, 0, 3, by_key.get());
  EXPECT_EQ(values_of(pairs), (std::vector<std::int32_t>{1, 3, 12, 10}));  // (0,b) (0,d) (1,c) (1,a)
}

TEST(QuickSort, OnlyTheSignOfAComparerResultCounts) {
  std::mt19937 rng(3);
  std::vector<std::int32_t> input(500);
  for (auto& x : input) x = static_cast<std::int32_t>(rng() % 50);
  auto unit = long_order();
  auto big = make<FnComparer>([](const Variant& a, const Variant& b) -> std::int16_t {
    const std::int32_t d = *a.if_long() - *b.if_long();
    return d > 0 ? 5 : d < 0 ? -7 : 0;
  });
  ArrayOf<std::int32_t> x = array_of<std::int32_t>(0, input);
  ArrayOf<std::int32_t> y = array_of<std::int32_t>(0, input);
  make<QuickSort>()->SortLongs(x, 0, 499, unit.get());
  make<QuickSort>()->SortLongs(y, 0, 499, big.get());
  EXPECT_EQ(values_of(x), values_of(y));
  EXPECT_EQ(unit->calls, big->calls);
}

TEST(QuickSort, ComparerSeesVariantsOfTheArrayKind) {
  std::vector<std::pair<std::uint16_t, std::uint16_t>> codes;
  auto recording = make<FnComparer>([&](const Variant& a, const Variant& b) -> std::int16_t {
    codes.emplace_back(a.raw_code(), b.raw_code());
    return 0;
  });
  auto engine = make<QuickSort>();
  auto expect_codes = [&](const char* name, VarKind kind) {
    SCOPED_TRACE(name);
    ASSERT_FALSE(codes.empty());
    for (auto [a, b] : codes) {
      EXPECT_EQ(a, Variant::code(kind));
      EXPECT_EQ(b, Variant::code(kind));
    }
    codes.clear();
  };
  ArrayOf<VariantBool> b(0, 3);
  engine->SortBooleans(b, 0, 2, recording.get());
  expect_codes("Boolean", VarKind::Boolean);
  ArrayOf<std::uint8_t> y(0, 3);
  engine->SortBytes(y, 0, 2, recording.get());
  expect_codes("Byte", VarKind::Byte);
  ArrayOf<std::int16_t> i(0, 3);
  engine->SortIntegers(i, 0, 2, recording.get());
  expect_codes("Integer", VarKind::Integer);
  ArrayOf<std::int32_t> l(0, 3);
  engine->SortLongs(l, 0, 2, recording.get());
  expect_codes("Long", VarKind::Long);
  ArrayOf<float> f(0, 3);
  engine->SortSingles(f, 0, 2, recording.get());
  expect_codes("Single", VarKind::Single);
  ArrayOf<double> d(0, 3);
  engine->SortDoubles(d, 0, 2, recording.get());
  expect_codes("Double", VarKind::Double);
  ArrayOf<String> s(0, 3);
  engine->SortStrings(s, 0, 2, recording.get());
  expect_codes("String", VarKind::String);
  ArrayOf<Ref<Unknown>> o(0, 3);
  engine->SortObjects(o, 0, 2, recording.get());
  expect_codes("Object", VarKind::Object);
}

TEST(QuickSort, StringsReachTheComparerWithoutACopyOfTheirText) {
  ArrayOf<String> s = array_of<String>(0, {u"pear", u"apple", u"fig", u"kiwi"});
  std::vector<const char16_t*> buffers;
  for (const String& x : s.items()) buffers.push_back(x.view().data());
  auto check = make<FnComparer>([&](const Variant& a, const Variant& b) {
    EXPECT_NE(std::find(buffers.begin(), buffers.end(), a.if_string()->view().data()), buffers.end());
    EXPECT_NE(std::find(buffers.begin(), buffers.end(), b.if_string()->view().data()), buffers.end());
    return sign_of(a.if_string()->view().compare(b.if_string()->view()));
  });
  make<QuickSort>()->SortStrings(s, 0, 3, check.get());
  EXPECT_EQ(values_of(s), (std::vector<String>{u"apple", u"fig", u"kiwi", u"pear"}));
}

TEST(QuickSort, ArrayIndexSpaceAndRangeChecks) {
  auto engine = make<QuickSort>();
  ArrayOf<std::int32_t> a = array_of<std::int32_t>(-3, {5, 4, 3, 2, 1});
  engine->SortLongs(a, -2, 0, nullptr);
  EXPECT_EQ(values_of(a), (std::vector<std::int32_t>{5, 2, 3, 4, 1}));
  engine->SortLongs(a, 1, -1, long_order().get());  // m > n: nothing is read
  struct Row {
    const char* name;
    std::int32_t m, n;
  } rows[] = {{"below the lower bound", -4, 0}, {"beyond the upper bound", 0, 2}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(error_of([&] { engine->SortLongs(a, row.m, row.n, nullptr); }).number(), 9);
    EXPECT_EQ(values_of(a), (std::vector<std::int32_t>{5, 2, 3, 4, 1}));
  }
  ArrayOf<std::int32_t> unallocated;
  EXPECT_EQ(error_of([&] { engine->SortLongs(unallocated, 0, 0, nullptr); }).number(), 9);
}

TEST(QuickSort, ObjectsNeedAComparerAndKeepEveryReference) {
  ErrorReporter::this_thread();  // the thread's reporter lives on after the first raise
  const std::int64_t lives = Object::live_count();
  {
    auto engine = make<QuickSort>();
    ArrayOf<Ref<Unknown>> empty(0, 2);
    const Error e = error_of([&] { engine->SortObjects(empty, 0, 1, nullptr); });
    EXPECT_EQ(e.number(), static_cast<std::int32_t>(0x80040001u));
    EXPECT_EQ(e.source(), String(u"QuickSort"));
    EXPECT_EQ(e.description(), String());

    // The same object twice: both references stay, ordered by the comparer's view of them.
    Ref<Unknown> first(as_unknown(make<BinaryModeComparer>().get()));
    Ref<Unknown> second(as_unknown(make<TextModeComparer>().get()));
    auto rank = [&](const Variant& v) { return v.if_object() == first.get() ? 0 : 1; };
    auto by_rank = make<FnComparer>([&](const Variant& a, const Variant& b) { return sign_of(rank(a) - rank(b)); });
    ArrayOf<Ref<Unknown>> objects = array_of<Ref<Unknown>>(0, {second, first, second, first});
    engine->SortObjects(objects, 0, 3, by_rank.get());
    EXPECT_EQ(objects.items()[0].get(), first.get());
    EXPECT_EQ(objects.items()[1].get(), first.get());
    EXPECT_EQ(objects.items()[2].get(), second.get());
    EXPECT_EQ(objects.items()[3].get(), second.get());
  }
  EXPECT_EQ(Object::live_count(), lives);
}

TEST(QuickSort, VariantComparerSeesTheElementItselfAndACopiedPivot) {
  std::int32_t referenced = 3;
  ArrayOf<Variant> a = array_of<Variant>(0, {Variant::by_ref(referenced), Variant(1), Variant(2)});
  const Variant* first = a.items().data();
  const Variant* last = first + a.count();
  bool saw_by_ref_element = false;
  auto check = make<FnComparer>([&](const Variant& element, const Variant& pivot) {
    EXPECT_TRUE(&element >= first && &element < last);  // no copy of the element
    EXPECT_FALSE(&pivot >= first && &pivot < last);
    EXPECT_FALSE(pivot.is_by_ref());  // the pivot is a dereferenced copy
    saw_by_ref_element |= element.is_by_ref();
    return sign_of(element.to_long() - pivot.to_long());
  });
  make<QuickSort>()->SortVariants(a, 0, 2, check.get());
  EXPECT_TRUE(saw_by_ref_element);
  EXPECT_EQ(longs(a), (std::vector<std::int32_t>{1, 2, 3}));
  // Exchanges copy through the reference: the result holds plain values, the referenced
  // storage is left alone.
  for (const Variant& v : a.items()) EXPECT_FALSE(v.is_by_ref());
  EXPECT_EQ(referenced, 3);
}

TEST(QuickSort, VariantArrayIsLockedWhileTheComparerRuns) {
  ArrayOf<Variant> a = array_of<Variant>(0, {Variant(2), Variant(1), Variant(3)});
  auto resizing = make<FnComparer>([&](const Variant&, const Variant&) -> std::int16_t {
    a.resize(10);
    return 0;
  });
  EXPECT_EQ(error_of([&] { make<QuickSort>()->SortVariants(a, 0, 2, resizing.get()); }).number(), 10);
  EXPECT_EQ(longs(a), (std::vector<std::int32_t>{2, 1, 3}));
  EXPECT_FALSE(a.locked());
  a.resize(4);  // unlocked again afterwards
  EXPECT_EQ(a.count(), 4);
}

TEST(QuickSort, FailedDeepCopiesRaiseAndLeaveTheElements) {
  const std::int32_t out_of_memory = copy_status::kOutOfMemory;
  struct Row {
    const char* name;
    int failing_copy;  // the pivot is the first copy; an exchange of references makes three more
    const char16_t* message;
  } rows[] = {
      {"pivot", 1, u"CopyVariant.OLEVariantCopyInd Failed : -2147024882"},
      {"exchange", 2, u"OLEVariantCopyInd Failed : -2147024882"},
      {"exchange, last copy", 4, u"OLEVariantCopyInd Failed : -2147024882"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::int32_t x = 2, y = 1;
    ArrayOf<Variant> a = array_of<Variant>(0, {Variant::by_ref(x), Variant::by_ref(y)});
    detail::fail_variant_copy(row.failing_copy, out_of_memory);
    const Error e = error_of([&] { make<QuickSort>()->SortVariants(a, 0, 1, nullptr); });
    detail::fail_variant_copy(0, 0);
    EXPECT_EQ(e.number(), static_cast<std::int32_t>(0x80040007u));
    EXPECT_EQ(e.description(), String(row.message));
    EXPECT_TRUE(a.items()[0].is_by_ref());
    EXPECT_TRUE(a.items()[1].is_by_ref());
    EXPECT_EQ(longs(a), (std::vector<std::int32_t>{2, 1}));
  }
}

// An object that offers `Compare` only by name, as a script's comparer would.
class LateBoundOrder final : public ObjectImpl<> {
 public:
  static constexpr const char* type_name = "TestLateBoundOrder";
  static constexpr Guid iid{"{0E3D51A2-6C7B-4F10-9B53-5A1C00DE0301}"};
  static const ClassInfo& describe() {
    static const ClassInfo info =
        describe_class<LateBoundOrder>(ClassFlags::None, {method<&LateBoundOrder::Compare>("Compare", 1, {"A", "B"})});
    return info;
  }
  const ClassInfo& class_info() const noexcept override { return describe(); }
  // Descending, and answering with a Long: the adapter converts the result.
  std::int32_t Compare(const Variant& A, const Variant& B) { return B.to_long() - A.to_long(); }
};

TEST(QuickSort, LibraryAndLateBoundComparers) {
  const std::int64_t lives = Object::live_count();
  {
    Ref<IComparer> late = IComparer::late_bound(Ref<Unknown>(as_unknown(make<LateBoundOrder>().get())));
    ASSERT_TRUE(late);
    ArrayOf<std::int32_t> l = array_of<std::int32_t>(0, {3, 9, 1, 4});
    make<QuickSort>()->SortLongs(l, 0, 3, late.get());
    EXPECT_EQ(values_of(l), (std::vector<std::int32_t>{9, 4, 3, 1}));

    ArrayOf<Variant> v = array_of<Variant>(0, {Variant(u"b"), Variant(u"B"), Variant(u"a"), Variant(u"A")});
    make<QuickSort>()->SortVariants(v, 0, 3, make<DefaultComparer>().get());
    EXPECT_EQ(v.items()[0].to_string(), String(u"A"));
    EXPECT_EQ(v.items()[3].to_string(), String(u"b"));
    ArrayOf<String> s = array_of<String>(0, {u"b", u"C", u"a"});
    make<QuickSort>()->SortStrings(s, 0, 2, make<TextModeComparer>().get());
    EXPECT_EQ(values_of(s), (std::vector<String>{u"a", u"b", u"C"}));
  }
  EXPECT_EQ(Object::live_count(), lives);
}

// A comparer that raises at its k-th call, for k = 1, 2, ...: each sort ends with that error and
// every element is still there exactly once.
template <class E, class Sort, class Key>
void expect_raising_comparer_keeps_elements(const std::vector<E>& input, Sort sort, Key key) {
  using K = decltype(key(input[0]));
  std::vector<K> expected;
  for (const E& e : input) expected.push_back(key(e));
  std::sort(expected.begin(), expected.end());
  const auto n = static_cast<std::int32_t>(input.size());
  for (long k = 1;; ++k) {
    SCOPED_TRACE(testing::Message() << "raises at call " << k);
    ArrayOf<E> a = array_of<E>(0, input);
    auto raising = make<FnComparer>([&, calls = 0L](const Variant& x, const Variant& y) mutable -> std::int16_t {
      if (++calls == k) raise_runtime_error(RuntimeError::InvalidProcedureCall);
      return CompareVariants(x, y, CompareMode::Binary);
    });
    bool raised = false;
    try {
      sort(a, n, raising.get());
    } catch (const Error& e) {
      EXPECT_EQ(e.number(), 5);
      raised = true;
    }
    std::vector<K> actual;
    for (const E& e : a.items()) actual.push_back(key(e));
    std::sort(actual.begin(), actual.end());
    ASSERT_EQ(actual, expected);
    if (!raised) break;
  }
}

TEST(QuickSort, RaisingComparerLosesNoElement) {
  std::mt19937 rng(5);
  std::vector<std::int32_t> numbers(30);
  for (auto& x : numbers) x = static_cast<std::int32_t>(rng() % 12);
  auto engine = make<QuickSort>();
  expect_raising_comparer_keeps_elements<std::int32_t>(
      numbers, [&](auto& a, std::int32_t n, IComparer* c) { engine->SortLongs(a, 0, n - 1, c); },
      [](std::int32_t x) { return x; });
  std::vector<String> texts;
  for (auto x : numbers) texts.push_back(String(std::u16string(1, static_cast<char16_t>(u'0' + x))));
  expect_raising_comparer_keeps_elements<String>(
      texts, [&](auto& a, std::int32_t n, IComparer* c) { engine->SortStrings(a, 0, n - 1, c); },
      [](const String& s) { return std::u16string(s.view()); });
  std::vector<Variant> variants;
  for (auto x : numbers) variants.push_back(x % 2 ? Variant(x) : Variant(static_cast<double>(x)));
  expect_raising_comparer_keeps_elements<Variant>(
      variants, [&](auto& a, std::int32_t n, IComparer* c) { engine->SortVariants(a, 0, n - 1, c); },
      [](const Variant& v) { return v.to_double(); });
}

// Runs `f` on a thread whose whole stack is `bytes`.
void run_on_small_stack(std::size_t bytes, const std::function<void()>& f) {
  pthread_attr_t attr;
  ASSERT_EQ(pthread_attr_init(&attr), 0);
  ASSERT_EQ(pthread_attr_setstacksize(&attr, bytes), 0);
  pthread_t thread;
  auto body = [](void* arg) -> void* {
    (*static_cast<const std::function<void()>*>(arg))();
    return nullptr;
  };
  ASSERT_EQ(pthread_create(&thread, &attr, body, const_cast<std::function<void()>*>(&f)), 0);
  ASSERT_EQ(pthread_join(thread, nullptr), 0);
  pthread_attr_destroy(&attr);
}

TEST(QuickSort, LargeSortedAndReversedInputOnASmallStack) {
  // Ten million elements go through the same core in the core's own test; here the whole road
  // with a comparer, at a size that keeps the test quick.
#if defined(__SANITIZE_ADDRESS__) || !defined(NDEBUG)
  constexpr std::int32_t n = 100'000;
#else
  constexpr std::int32_t n = 1'000'000;
#endif
  auto order = make<testing_support::LongOrder>();
  for (bool reversed : {false, true}) {
    SCOPED_TRACE(reversed ? "reversed" : "sorted");
    ArrayOf<std::int32_t> a(0, n);
    for (std::int32_t k = 0; k < n; ++k) a.items()[static_cast<std::size_t>(k)] = reversed ? n - k : k;
    run_on_small_stack(128 * 1024, [&] { make<QuickSort>()->SortLongs(a, 0, n - 1, order.get()); });
    EXPECT_TRUE(std::is_sorted(a.items().begin(), a.items().end()));
    EXPECT_EQ(a.items()[0], reversed ? 1 : 0);
  }
}

}  // namespace
}  // namespace quorvel
