#include "quorvel/ordering/sort_engine.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "ordering/quicksort_core.h"
#include "quorvel/platform/describe.h"
#include "quorvel/platform/error.h"

namespace quorvel {
namespace {

// A C++ comparer around a function, logging each call's two arguments.
class FnComparer final : public ObjectImpl<IComparer> {
 public:
  static constexpr const char* type_name = "TestFnComparer";
  static constexpr Guid iid{"{0E3D51A2-6C7B-4F10-9B53-5A1C00DE0001}"};
  static const ClassInfo& describe() {
    static const ClassInfo info = describe_class<FnComparer, IComparer>(ClassFlags::None, {});
    return info;
  }
  const ClassInfo& class_info() const noexcept override { return describe(); }

  explicit FnComparer(std::function<std::int16_t(const Variant&, const Variant&)> fn) : fn_(std::move(fn)) {}
  std::int16_t Compare(const Variant& A, const Variant& B) override {
    ++calls;
    return fn_(A, B);
  }
  int calls = 0;

 private:
  std::function<std::int16_t(const Variant&, const Variant&)> fn_;
};

template <class E>
ArrayOf<E> array_of(std::int32_t lower, const std::vector<E>& values) {
  ArrayOf<E> a(lower, static_cast<std::int32_t>(values.size()));
  for (std::size_t i = 0; i < values.size(); ++i) a.items()[i] = values[i];
  return a;
}

template <class E>
std::vector<E> values_of(const ArrayOf<E>& a) {
  return {a.items().begin(), a.items().end()};
}

std::int16_t sign_of(std::int32_t d) { return static_cast<std::int16_t>((d > 0) - (d < 0)); }

TEST(QuickSortMidpoint, RoundsHalfToEvenWithoutOverflow) {
  struct Row {
    const char* name;
    std::int32_t lo, hi, mid;
  } rows[] = {
      {"(1, 4)", 1, 4, 2},
      {"(2, 5)", 2, 5, 4},
      {"(0, 1)", 0, 1, 0},
      {"(1, 2)", 1, 2, 2},
      {"one element", 7, 7, 7},
      {"empty list range (0, -1)", 0, -1, 0},
      {"negative (-3, -2)", -3, -2, -2},
      {"negative (-4, -1)", -4, -1, -2},
      {"top of the index space", INT32_MAX - 1, INT32_MAX, INT32_MAX - 1},
      {"whole index space", INT32_MIN, INT32_MAX, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(sorting::midpoint(row.lo, row.hi), row.mid);
  }
}

TEST(QuickSort, SortsLongsWithoutComparer) {
  ArrayOf<std::int32_t> a = array_of<std::int32_t>(0, {3, 1, 2});
  make<QuickSort>()->SortLongs(a, 0, 2, nullptr);
  EXPECT_EQ(values_of(a), (std::vector<std::int32_t>{1, 2, 3}));
}

TEST(QuickSort, AlwaysEqualComparerPermutesFromBothEnds) {
  auto zero = make<FnComparer>([](const Variant&, const Variant&) -> std::int16_t { return 0; });
  ArrayOf<std::int32_t> four = array_of<std::int32_t>(0, {1, 2, 3, 4});
  make<QuickSort>()->SortLongs(four, 0, 3, zero.get());
  EXPECT_EQ(values_of(four), (std::vector<std::int32_t>{3, 4, 1, 2}));
  ArrayOf<std::int32_t> three = array_of<std::int32_t>(0, {1, 2, 3});
  make<QuickSort>()->SortLongs(three, 0, 2, zero.get());
  EXPECT_EQ(values_of(three), (std::vector<std::int32_t>{3, 2, 1}));
}

TEST(QuickSort, UnstableOnEqualKeys) {
  // Pairs (key, tag) as key * 10 + tag; the comparer looks at the key only.
  auto by_key = make<FnComparer>([](const Variant& a, const Variant& b) {
    return sign_of(*a.if_long() / 10 - *b.if_long() / 10);
  });
  ArrayOf<std::int32_t> pairs = array_of<std::int32_t>(0, {10, 1, 12, 3});  // (1,a) (0,b) (1,c) (0,d)
  make<QuickSort>()->SortLongs(pairs, 0, 3, by_key.get());
  EXPECT_EQ(values_of(pairs), (std::vector<std::int32_t>{1, 3, 12, 10}));  // (0,b) (0,d) (1,c) (1,a)
}

TEST(QuickSort, ObjectsNeedAComparer) {
  ArrayOf<Ref<Unknown>> a(0, 2);
  try {
    make<QuickSort>()->SortObjects(a, 0, 1, nullptr);
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), static_cast<std::int32_t>(0x80040001u));
    EXPECT_EQ(e.description(), String());
  }
}

}  // namespace
}  // namespace quorvel
