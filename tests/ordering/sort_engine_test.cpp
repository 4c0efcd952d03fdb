// The sort engine's entries: typed arrays in their own index space, Variants compared in place
// against a copied pivot, and any list through its Item (written by set or by let).
#include "quorvel/ordering/sort_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "quorvel/arraylists/array_list_variant.h"
#include "quorvel/frame/error_catalogue.h"
#include "quorvel/frame/variant_procedures.h"
#include "quorvel/ordering/compare_variants.h"
#include "quorvel/platform/error.h"
#include "support/test_objects.h"

namespace quorvel {
namespace {

using test_support::comparer;
using test_support::error_of;
using QuickSortLive = test_support::LiveCountCheck;
using Longs = std::vector<std::int32_t>;

std::int16_t sign_of(std::int32_t d) { return static_cast<std::int16_t>((d > 0) - (d < 0)); }

template <class E>
ArrayOf<E> array_of(const std::vector<E>& values, std::int32_t lower = 0) {
  ArrayOf<E> a(lower, static_cast<std::int32_t>(values.size()));
  std::copy(values.begin(), values.end(), a.items().begin());
  return a;
}

// The elements of an array or a list, as Longs.
template <class E>
Longs longs(const ArrayOf<E>& a) {
  Longs out;
  for (const E& e : a.items()) out.push_back(Variant(e).to_long());
  return out;
}
Longs longs(IArrayList& list) {
  Longs out;
  for (std::int32_t i = 0; i < list.get_Count(); ++i) out.push_back(list.get_Item(i).to_long());
  return out;
}

Ref<IArrayList> list_of(const std::vector<Variant>& values) {
  auto list = make<ArrayList_Variant>();
  for (const Variant& v : values) list->AddItem(v);
  return list.query<IArrayList>();
}

// The other kinds' own orders are checked against comparers in the fast sort tests.
TEST(QuickSort, VariantsInTheDefaultOrderWithoutComparer) {
  ArrayOf<Variant> v = array_of<Variant>({Variant(u"b"), Variant(2), Variant(u"a"), Variant(1), Variant(1.5)});
  make<QuickSort>()->SortVariants(v, 0, 4, nullptr);
  std::vector<std::u16string> texts;
  for (const Variant& e : v.items()) texts.emplace_back(e.to_string().view());
  EXPECT_EQ(texts, (std::vector<std::u16string>{u"1", u"1.5", u"2", u"a", u"b"}));  // numbers before strings
}

TEST(QuickSort, ArrayIndexSpaceAndRangeChecks) {
  auto engine = make<QuickSort>();
  ArrayOf<std::int32_t> a = array_of<std::int32_t>({5, 4, 3, 2, 1}, -3);
  engine->SortLongs(a, -2, 0, nullptr);
  const Longs sorted_inside{5, 2, 3, 4, 1};
  EXPECT_EQ(longs(a), sorted_inside);
  // A range of one element meets its own copy in both tests (the pivot is the rounded middle, the
  // core's tests), and the self-exchange keeps it; when m > n nothing is read.
  std::vector<std::pair<std::int32_t, std::int32_t>> seen;
  auto recording = comparer([&](const Variant& x, const Variant& y) -> std::int16_t {
    seen.emplace_back(x.to_long(), y.to_long());
    return 0;
  });
  engine->SortLongs(a, -1, -1, recording.get());
  engine->SortLongs(a, 1, -1, recording.get());
  EXPECT_EQ(seen, (std::vector<std::pair<std::int32_t, std::int32_t>>(2, {3, 3})));
  EXPECT_RAISES(engine->SortLongs(a, -4, 0, nullptr), 9);  // below the lower bound
  EXPECT_RAISES(engine->SortLongs(a, 0, 2, nullptr), 9);   // beyond the upper bound
  EXPECT_EQ(longs(a), sorted_inside);
  ArrayOf<std::int32_t> unallocated;
  EXPECT_RAISES(engine->SortLongs(unallocated, 0, 0, nullptr), 9);
  // The lists refuse this first with a message of their own.
  ArrayOf<Ref<Unknown>> objects(0, 2);
  EXPECT_RAISES(engine->SortObjects(objects, 0, 1, nullptr), error_number::kInvalidArgument, "", "QuickSort");
}

TEST(QuickSort, VariantComparerSeesTheElementItselfAndACopiedPivotInALockedArray) {
  std::int32_t referenced = 3;
  ArrayOf<Variant> a = array_of<Variant>({Variant(2), Variant::by_ref(referenced), Variant(1)});  // the pivot by reference
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
  EXPECT_EQ(longs(a), (Longs{1, 2, 3}));
  // Exchanges copy through the reference: plain values result, the referenced storage is left alone.
  for (const Variant& v : a.items()) EXPECT_FALSE(v.is_by_ref());
  EXPECT_EQ(referenced, 3);

  // The array is locked while the comparer runs, and only then.
  auto resizing = comparer([&](const Variant&, const Variant&) -> std::int16_t {
    a.resize(10);
    return 0;
  });
  EXPECT_RAISES(make<QuickSort>()->SortVariants(a, 0, 2, resizing.get()), 10);
  EXPECT_EQ(longs(a), (Longs{1, 2, 3}));
  a.resize(4);
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
    EXPECT_TRUE(a.items()[0].is_by_ref() && a.items()[1].is_by_ref());
    EXPECT_EQ(longs(a), (Longs{2, 1}));
  }
}

// An object that offers `Compare` only by name, as a script's comparer would: descending, and
// answering with a Long that the adapter converts.
class LateBoundOrder final : public ObjectImpl<> {
 public:
  static constexpr const char* type_name = "TestLateBoundOrder";
  static constexpr Guid iid{"{0E3D51A2-6C7B-4F10-9B53-5A1C00DE0301}"};
  QUORVEL_CLASS_INFO(describe_class<LateBoundOrder>(ClassFlags::None, {method<&LateBoundOrder::Compare>("Compare", 1,
                  {"A", "B"})}))
  std::int32_t Compare(const Variant& A, const Variant& B) { return B.to_long() - A.to_long(); }
};

TEST_F(QuickSortLive, LateBoundComparer) {
  Ref<IComparer> late = IComparer::late_bound(Ref<Unknown>(as_unknown(make<LateBoundOrder>().get())));
  ASSERT_TRUE(late);
  ArrayOf<std::int32_t> l = array_of<std::int32_t>({3, 9, 1, 4});
  make<QuickSort>()->SortLongs(l, 0, 3, late.get());
  EXPECT_EQ(longs(l), (Longs{9, 4, 3, 1}));
}

template <class E>
using Entry = void (QuickSort::*)(ArrayOf<E>&, std::int32_t, std::int32_t, IComparer*);

// Sorts copies of `input` with a comparer that raises error 5 at its k-th call, k = 1, 2, ...
// until a sort completes: each sort ends with that error and keeps every element exactly once.
template <class E>
void expect_no_element_lost(const std::vector<E>& input, Entry<E> entry) {
  auto texts = [](const auto& elements) {
    std::vector<std::u16string> out;
    for (const auto& e : elements) out.emplace_back(Variant(e).to_string().view());
    std::sort(out.begin(), out.end());
    return out;
  };
  const auto last = static_cast<std::int32_t>(input.size()) - 1;
  for (long k = 1, number = 5; number == 5; ++k) {
    SCOPED_TRACE(testing::Message() << "raises at call " << k);
    ArrayOf<E> a = array_of(input);
    auto raising = comparer([k, calls = 0L](const Variant& x, const Variant& y) mutable -> std::int16_t {
      if (++calls == k) raise_runtime_error(RuntimeError::InvalidProcedureCall);
      return CompareVariants(x, y, CompareMode::Binary);
    });
    number = error_of([&] { (make<QuickSort>().get()->*entry)(a, 0, last, raising.get()); });
    EXPECT_TRUE(number == 0 || number == 5) << number;
    ASSERT_EQ(texts(a.items()), texts(input));
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

// Objects without a default value must be set (a let would raise 438); objects with one are let,
// so the list holds their values.
TEST_F(QuickSortLive, ListsGetObjectsWithoutADefaultValueSetAndTheRestLet) {
  Ref<test_support::Fn> a = make<test_support::Fn>(), b = make<test_support::Fn>();
  auto objects = list_of({Variant(b), Variant(a)});
  auto rank = [&](const Variant& v) { return v.to_object().same(a) ? 0 : 1; };
  auto by_identity = comparer([&](const Variant& x, const Variant& y) { return sign_of(rank(x) - rank(y)); });
  make<QuickSort>()->SortList(*objects, 0, 1, by_identity.get());
  EXPECT_TRUE(objects->get_Item(0).to_object().same(a) && objects->get_Item(1).to_object().same(b));
  auto valued = list_of({Variant(test_support::token(Variant(5))), Variant(3)});
  make<QuickSort>()->SortList(*valued, 0, 1, nullptr);
  for (std::int32_t i = 0; i < 2; ++i) EXPECT_EQ(valued->get_Item(i).raw_code(), Variant::code(VarKind::Long));
  EXPECT_EQ(longs(*valued), (Longs{3, 5}));
}

}  // namespace
}  // namespace quorvel
