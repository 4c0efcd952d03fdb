#include "quorvel/ordering/sort_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "ordering/test_comparers.h"
#include "quorvel/frame/error_catalogue.h"
#include "quorvel/frame/variant_procedures.h"
#include "quorvel/platform/error.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

using test_support::error_of;
using testing_support::comparer;
using testing_support::sign_of;

using QuickSortLive = test_support::LiveCountCheck;

template <class E>
using Entry = void (QuickSort::*)(ArrayOf<E>&, std::int32_t, std::int32_t, IComparer*);

template <class E>
ArrayOf<E> array_of(const std::vector<E>& values, std::int32_t lower = 0) {
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

// The other kinds' own orders are checked against comparers in the fast sort tests.
TEST(QuickSort, VariantsInTheDefaultOrderWithoutComparer) {
  ArrayOf<Variant> v = array_of<Variant>({Variant(u"b"), Variant(2), Variant(u"a"), Variant(1), Variant(1.5)});
  make<QuickSort>()->SortVariants(v, 0, 4, nullptr);
  std::vector<std::u16string> texts;
  for (const Variant& e : v.items()) texts.emplace_back(e.to_string().view());
  EXPECT_EQ(texts, (std::vector<std::u16string>{u"1", u"1.5", u"2", u"a", u"b"}));  // numbers before strings
}

// The pivot is the rounded middle (the core's tests); a range of one element meets its own copy
// in both tests, and the self-exchange keeps it.
TEST(QuickSort, OneElementMeetsItsOwnCopy) {
  std::vector<std::pair<std::int32_t, std::int32_t>> seen;
  auto recording = comparer([&](const Variant& a, const Variant& b) -> std::int16_t {
    seen.emplace_back(a.to_long(), b.to_long());
    return 0;
  });
  ArrayOf<std::int32_t> a = array_of<std::int32_t>({10, 11, 12});
  make<QuickSort>()->SortLongs(a, 1, 1, recording.get());
  EXPECT_EQ(seen, (std::vector<std::pair<std::int32_t, std::int32_t>>(2, {11, 11})));
  EXPECT_EQ(values_of(a), (std::vector<std::int32_t>{10, 11, 12}));
}

TEST(QuickSort, ArrayIndexSpaceAndRangeChecks) {
  auto engine = make<QuickSort>();
  ArrayOf<std::int32_t> a = array_of<std::int32_t>({5, 4, 3, 2, 1}, -3);
  engine->SortLongs(a, -2, 0, nullptr);
  const std::vector<std::int32_t> sorted_inside{5, 2, 3, 4, 1};
  EXPECT_EQ(values_of(a), sorted_inside);
  auto untouched = comparer(nullptr);
  engine->SortLongs(a, 1, -1, untouched.get());  // m > n: nothing is read
  EXPECT_EQ(untouched->calls, 0);
  EXPECT_RAISES(engine->SortLongs(a, -4, 0, nullptr), 9);  // below the lower bound
  EXPECT_RAISES(engine->SortLongs(a, 0, 2, nullptr), 9);   // beyond the upper bound
  EXPECT_EQ(values_of(a), sorted_inside);
  ArrayOf<std::int32_t> unallocated;
  EXPECT_RAISES(engine->SortLongs(unallocated, 0, 0, nullptr), 9);
  // The lists refuse this first with a message of their own.
  ArrayOf<Ref<Unknown>> objects(0, 2);
  EXPECT_RAISES(engine->SortObjects(objects, 0, 1, nullptr), error_number::kInvalidArgument, "", "QuickSort");
}

TEST(QuickSort, VariantComparerSeesTheElementItselfAndACopiedPivot) {
  std::int32_t referenced = 3;
  ArrayOf<Variant> a = array_of<Variant>({Variant::by_ref(referenced), Variant(1), Variant(2)});
  const Variant* first = a.items().data();
  const Variant* last = first + a.count();
  bool saw_by_ref_element = false;
  auto check = comparer([&](const Variant& element, const Variant& pivot) {
    EXPECT_TRUE(&element >= first && &element < last);  // no copy of the element
    EXPECT_FALSE(&pivot >= first && &pivot < last);
    EXPECT_FALSE(pivot.is_by_ref());  // the pivot is a dereferenced copy
    saw_by_ref_element |= element.is_by_ref();
    return sign_of(element.to_long() - pivot.to_long());
  });
  make<QuickSort>()->SortVariants(a, 0, 2, check.get());
  EXPECT_TRUE(saw_by_ref_element);
  EXPECT_EQ(longs(a), (std::vector<std::int32_t>{1, 2, 3}));
  // Exchanges copy through the reference: plain values result, the referenced storage is left alone.
  for (const Variant& v : a.items()) EXPECT_FALSE(v.is_by_ref());
  EXPECT_EQ(referenced, 3);
}

TEST(QuickSort, VariantArrayIsLockedWhileTheComparerRuns) {
  ArrayOf<Variant> a = array_of<Variant>({Variant(2), Variant(1), Variant(3)});
  auto resizing = comparer([&](const Variant&, const Variant&) -> std::int16_t {
    a.resize(10);
    return 0;
  });
  EXPECT_RAISES(make<QuickSort>()->SortVariants(a, 0, 2, resizing.get()), 10);
  EXPECT_EQ(longs(a), (std::vector<std::int32_t>{2, 1, 3}));
  EXPECT_FALSE(a.locked());
  a.resize(4);  // unlocked again afterwards
  EXPECT_EQ(a.count(), 4);
}

// The pivot is the first copy; an exchange of two references makes three more.
TEST(QuickSort, FailedDeepCopiesRaiseAndLeaveTheElements) {
  for (int failing_copy = 1; failing_copy <= 4; ++failing_copy) {
    SCOPED_TRACE(failing_copy);
    std::int32_t x = 2, y = 1;
    ArrayOf<Variant> a = array_of<Variant>({Variant::by_ref(x), Variant::by_ref(y)});
    detail::fail_variant_copy(failing_copy, copy_status::kOutOfMemory);
    EXPECT_RAISES(make<QuickSort>()->SortVariants(a, 0, 1, nullptr), error_number::kVariantCopyFailed,
                  std::string(failing_copy == 1 ? "CopyVariant." : "") + "OLEVariantCopyInd Failed : -2147024882");
    detail::fail_variant_copy(0, 0);
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
  TEST_CLASS_INFO(describe_class<LateBoundOrder>(ClassFlags::None, {method<&LateBoundOrder::Compare>("Compare", 1,
                  {"A", "B"})}))
  // Descending, and answering with a Long: the adapter converts the result.
  std::int32_t Compare(const Variant& A, const Variant& B) { return B.to_long() - A.to_long(); }
};

// The adapter's result is a Long of any size: only its sign may count.
TEST_F(QuickSortLive, LateBoundComparer) {
  Ref<IComparer> late = IComparer::late_bound(Ref<Unknown>(as_unknown(make<LateBoundOrder>().get())));
  ASSERT_TRUE(late);
  ArrayOf<std::int32_t> l = array_of<std::int32_t>({3, 9, 1, 4});
  make<QuickSort>()->SortLongs(l, 0, 3, late.get());
  EXPECT_EQ(values_of(l), (std::vector<std::int32_t>{9, 4, 3, 1}));
}

// Sorts copies of `input` with a comparer that raises error 5 at its k-th call, k = 1, 2, ...
// until a sort completes: each sort ends with that error and keeps every element exactly once.
template <class E>
void expect_no_element_lost(const std::vector<E>& input, Entry<E> entry) {
  const auto last = static_cast<std::int32_t>(input.size()) - 1;
  for (long k = 1, number = 5; number == 5; ++k) {
    SCOPED_TRACE(testing::Message() << "raises at call " << k);
    ArrayOf<E> a = array_of(input);
    number = error_of([&] { (make<QuickSort>().get()->*entry)(a, 0, last, testing_support::raising_at(k).get()); });
    EXPECT_TRUE(number == 0 || number == 5) << number;
    ASSERT_EQ(testing_support::sorted_texts(a.items()), testing_support::sorted_texts(input));
  }
}

TEST(QuickSort, RaisingComparerLosesNoElement) {
  std::mt19937 rng(5);
  std::vector<std::int32_t> numbers(30);
  for (auto& x : numbers) x = static_cast<std::int32_t>(rng() % 12);
  std::vector<String> texts;
  std::vector<Variant> variants;
  for (auto x : numbers) {
    texts.push_back(String(std::u16string(1, static_cast<char16_t>(u'a' + x))));
    variants.push_back(x % 2 ? Variant(x) : Variant(static_cast<double>(x)));
  }
  expect_no_element_lost(numbers, &QuickSort::SortLongs);
  expect_no_element_lost(texts, &QuickSort::SortStrings);
  expect_no_element_lost(variants, &QuickSort::SortVariants);
}

}  // namespace
}  // namespace quorvel
