// The fast paths against the literal algorithm: the engine without a comparer must give exactly
// (bit for bit) what the quicksort gives with a comparer that applies the kind's own order.
#include "ordering/fast_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "quorvel/ordering/sort_engine.h"
#include "support/test_objects.h"

namespace quorvel {
namespace {

template <class E>
using Entry = void (QuickSort::*)(ArrayOf<E>&, std::int32_t, std::int32_t, IComparer*);

// For each size, sorts an inner range of random elements without a comparer and with one in the
// order of `key(element)` (written apart from the library's comparisons: a NaN relates to nothing),
// and expects identical arrays; the elements outside the range must stay where they are.
template <class E, class Make, class Key>
void expect_same_as_literal(const char* what, std::mt19937& rng, Make make_value, Entry<E> entry, Key key) {
  auto natural = test_support::comparer([key](const Variant& a, const Variant& b) -> std::int16_t {
    const auto x = key(a), y = key(b);
    return x < y ? -1 : y < x ? 1 : 0;
  });
  for (std::int32_t n : {0, 1, 2, 3, 17, 64, 65, 511, 512, 513, 700, 5000, 70000}) {
    SCOPED_TRACE(testing::Message() << what << ", size " << n);
    ArrayOf<E> fast(-1, n), literal(-1, n);
    for (E& e : fast.items()) e = make_value(rng);
    std::copy(fast.items().begin(), fast.items().end(), literal.items().begin());
    const std::int32_t m = n > 4 ? 0 : -1, last = n > 4 ? n - 3 : n - 2;
    (make<QuickSort>().get()->*entry)(fast, m, last, nullptr);
    (make<QuickSort>().get()->*entry)(literal, m, last, natural.get());
    if constexpr (std::is_same_v<E, String>) {
      ASSERT_TRUE(std::equal(fast.items().begin(), fast.items().end(), literal.items().begin(),
                             [](const String& x, const String& y) { return x.view() == y.view(); }));
    } else {
      ASSERT_TRUE(n == 0 || std::memcmp(fast.items().data(), literal.items().data(), fast.items().size_bytes()) == 0);
    }
  }
}

TEST(FastSort, IntegerKindsMatchTheLiteralSort) {
  std::mt19937 rng(17);
  auto by_long = [](const Variant& v) { return *v.if_long(); };
  expect_same_as_literal<std::int32_t>(
      "Long, few distinct values", rng, [](std::mt19937& r) { return static_cast<std::int32_t>(r() % 7) - 3; },
      &QuickSort::SortLongs, by_long);
  expect_same_as_literal<std::int32_t>(
      "Long, whole range", rng, [](std::mt19937& r) { return static_cast<std::int32_t>(r()); }, &QuickSort::SortLongs,
      by_long);
  expect_same_as_literal<std::int16_t>(
      "Integer", rng, [](std::mt19937& r) { return static_cast<std::int16_t>(r()); }, &QuickSort::SortIntegers,
      [](const Variant& v) { return *v.if_integer(); });
  expect_same_as_literal<std::uint8_t>(
      "Byte", rng, [](std::mt19937& r) { return static_cast<std::uint8_t>(r()); }, &QuickSort::SortBytes,
      [](const Variant& v) { return *v.if_byte(); });
  // A Boolean holding any bits orders by those bits as a signed 16-bit number.
  const std::int16_t bits[] = {0, -1, 1, 5, -32768, 32767};
  expect_same_as_literal<VariantBool>(
      "Boolean with odd bits", rng, [&](std::mt19937& r) { return VariantBool::from_bits(bits[r() % 6]); },
      &QuickSort::SortBooleans, [](const Variant& v) { return v.if_boolean()->bits; });
}

// An eighth or one of the edge values; level 1 adds both zeros, level 2 also NaN.
template <class F>
F pick_float(std::mt19937& rng, int level) {
  const F table[] = {F(1), F(-1), F(0.5), std::numeric_limits<F>::infinity(), -std::numeric_limits<F>::infinity(),
                     std::numeric_limits<F>::denorm_min(), -std::numeric_limits<F>::denorm_min(), F(3),
                     F(0), F(-0.0), std::numeric_limits<F>::quiet_NaN()};
  const std::size_t count = std::size(table) - (level == 2 ? 0 : level == 1 ? 1 : 3);
  if (rng() % 2) return table[rng() % count];
  return static_cast<F>(static_cast<std::int32_t>(rng() % 2001) - 1000) / F(8);
}

TEST(FastSort, FloatsMatchTheLiteralSortWithAndWithoutNaNAndNegativeZero) {
  std::mt19937 rng(19);
  for (int level : {0, 1, 2}) {
    const char* what = level == 0 ? "ordinary values" : level == 1 ? "with -0" : "with NaN and -0";
    expect_same_as_literal<double>(
        what, rng, [&](std::mt19937& r) { return pick_float<double>(r, level); }, &QuickSort::SortDoubles,
        [](const Variant& v) { return *v.if_double(); });
    expect_same_as_literal<float>(
        what, rng, [&](std::mt19937& r) { return pick_float<float>(r, level); }, &QuickSort::SortSingles,
        [](const Variant& v) { return *v.if_single(); });
  }
}

TEST(FastSort, StringsMatchTheLiteralSort) {
  std::mt19937 rng(23);
  // Unsigned code units: char16_t compares as such.
  auto binary = [](const Variant& v) { return v.if_string()->view(); };
  // NUL and the highest units, so that keys padded with zeros and unsigned order both matter.
  const char16_t alphabet[] = {u'\0', u'a', u'b', u'B', u'\x7F', u'\xD800', u'\xFFFF'};
  auto short_text = [&](std::mt19937& r) {
    std::u16string s(r() % 10, u'a');
    for (char16_t& c : s) c = alphabet[r() % std::size(alphabet)];
    return String(s);
  };
  auto shared_prefix = [&](std::mt19937& r) {
    std::u16string s(r() % 30, u'p');  // runs of equal keys, several levels deep
    for (std::size_t k = r() % 3; k > 0; --k) s.push_back(alphabet[r() % 3]);
    return String(s);
  };
  expect_same_as_literal<String>("short strings", rng, short_text, &QuickSort::SortStrings, binary);
  expect_same_as_literal<String>("long shared prefixes", rng, shared_prefix, &QuickSort::SortStrings, binary);
}

}  // namespace
}  // namespace quorvel
