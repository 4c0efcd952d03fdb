// The fast paths against the literal algorithm: the engine without a comparer must give exactly
// (bit for bit) what the quicksort gives with a comparer that applies the kind's own order.
#include "ordering/fast_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "ordering/test_comparers.h"
#include "quorvel/ordering/sort_engine.h"
#include "quorvel/platform/collation.h"

namespace quorvel {
namespace {

using testing_support::FnComparer;
using testing_support::sign_of;

template <class E>
using Entry = void (QuickSort::*)(ArrayOf<E>&, std::int32_t, std::int32_t, IComparer*);

template <class E>
bool same_bits(const ArrayOf<E>& a, const ArrayOf<E>& b) {
  if constexpr (std::is_same_v<E, String>) {
    return std::equal(a.items().begin(), a.items().end(), b.items().begin(),
                      [](const String& x, const String& y) { return x.view() == y.view(); });
  } else {
    return a.items().empty() || std::memcmp(a.items().data(), b.items().data(), a.items().size_bytes()) == 0;
  }
}

// Sorts copies of `input` over an inner range both ways and expects identical arrays; the
// elements outside the range stay where they are.
template <class E>
void expect_same_as_literal(const std::vector<E>& input, Entry<E> entry, const Ref<FnComparer>& natural) {
  const auto n = static_cast<std::int32_t>(input.size());
  ArrayOf<E> fast(-1, n);
  ArrayOf<E> literal(-1, n);
  std::copy(input.begin(), input.end(), fast.items().begin());
  std::copy(input.begin(), input.end(), literal.items().begin());
  const std::int32_t m = n > 4 ? 0 : -1;
  const std::int32_t last = n > 4 ? n - 3 : n - 2;
  (make<QuickSort>().get()->*entry)(fast, m, last, nullptr);
  (make<QuickSort>().get()->*entry)(literal, m, last, natural.get());
  ASSERT_TRUE(same_bits(fast, literal));
}

constexpr std::size_t kSizes[] = {0, 1, 2, 3, 17, 64, 65, 511, 512, 513, 700, 5000, 70000};

template <class E, class Make>
void run_sizes(std::mt19937& rng, Make make_value, Entry<E> entry, const Ref<FnComparer>& natural) {
  for (std::size_t size : kSizes) {
    SCOPED_TRACE(testing::Message() << "size " << size);
    std::vector<E> input(size);
    for (E& e : input) e = make_value(rng);
    expect_same_as_literal<E>(input, entry, natural);
  }
}

TEST(FastSort, IntegerKindsMatchTheLiteralSort) {
  std::mt19937 rng(17);
  auto by_long = make<FnComparer>([](const Variant& a, const Variant& b) {
    return sign_of(static_cast<double>(*a.if_long()) - *b.if_long());
  });
  auto by_integer = make<FnComparer>([](const Variant& a, const Variant& b) {
    return sign_of(*a.if_integer() - *b.if_integer());
  });
  auto by_byte = make<FnComparer>([](const Variant& a, const Variant& b) { return sign_of(*a.if_byte() - *b.if_byte()); });
  // A Boolean holding any bits orders by those bits as a signed 16-bit number.
  auto by_bits = make<FnComparer>([](const Variant& a, const Variant& b) {
    return sign_of(a.if_boolean()->bits - b.if_boolean()->bits);
  });
  {
    SCOPED_TRACE("Long, few distinct values");
    run_sizes<std::int32_t>(rng, [](std::mt19937& r) { return static_cast<std::int32_t>(r() % 7) - 3; },
                            &QuickSort::SortLongs, by_long);
  }
  {
    SCOPED_TRACE("Long, whole range");
    run_sizes<std::int32_t>(rng, [](std::mt19937& r) { return static_cast<std::int32_t>(r()); }, &QuickSort::SortLongs,
                            by_long);
  }
  {
    SCOPED_TRACE("Integer");
    run_sizes<std::int16_t>(rng, [](std::mt19937& r) { return static_cast<std::int16_t>(r()); },
                            &QuickSort::SortIntegers, by_integer);
  }
  {
    SCOPED_TRACE("Byte");
    run_sizes<std::uint8_t>(rng, [](std::mt19937& r) { return static_cast<std::uint8_t>(r()); }, &QuickSort::SortBytes,
                            by_byte);
  }
  {
    SCOPED_TRACE("Boolean with odd bits");
    const std::int16_t bits[] = {0, -1, 1, 5, -32768, 32767};
    run_sizes<VariantBool>(rng, [&](std::mt19937& r) { return VariantBool::from_bits(bits[r() % 6]); },
                           &QuickSort::SortBooleans, by_bits);
  }
}

template <class F>
F pick_float(std::mt19937& rng, bool specials) {
  const F table[] = {F(0), F(-0.0), F(1), F(-1), F(0.5), std::numeric_limits<F>::infinity(),
                     -std::numeric_limits<F>::infinity(), std::numeric_limits<F>::denorm_min(),
                     -std::numeric_limits<F>::denorm_min(), std::numeric_limits<F>::quiet_NaN(), F(3)};
  const std::size_t count = specials ? std::size(table) : 2;
  if (rng() % 2) return table[specials ? rng() % count : 2 + rng() % 7];
  return static_cast<F>(static_cast<std::int32_t>(rng() % 2001) - 1000) / F(8);
}

TEST(FastSort, FloatsMatchTheLiteralSortWithAndWithoutNaNAndNegativeZero) {
  std::mt19937 rng(19);
  auto by_double = make<FnComparer>([](const Variant& a, const Variant& b) -> std::int16_t {
    const double x = *a.if_double(), y = *b.if_double();
    return x < y ? -1 : x > y ? 1 : 0;  // a NaN relates to nothing
  });
  auto by_single = make<FnComparer>([](const Variant& a, const Variant& b) -> std::int16_t {
    const float x = *a.if_single(), y = *b.if_single();
    return x < y ? -1 : x > y ? 1 : 0;
  });
  for (bool specials : {false, true}) {
    SCOPED_TRACE(specials ? "with NaN and -0" : "ordinary values");
    run_sizes<double>(rng, [&](std::mt19937& r) { return pick_float<double>(r, specials); }, &QuickSort::SortDoubles,
                      by_double);
    run_sizes<float>(rng, [&](std::mt19937& r) { return pick_float<float>(r, specials); }, &QuickSort::SortSingles,
                     by_single);
  }
}

TEST(FastSort, StringsMatchTheLiteralSort) {
  std::mt19937 rng(23);
  auto binary = make<FnComparer>([](const Variant& a, const Variant& b) {
    return static_cast<std::int16_t>(compare_binary(a.if_string()->view(), b.if_string()->view()));
  });
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
  {
    SCOPED_TRACE("short strings");
    run_sizes<String>(rng, short_text, &QuickSort::SortStrings, binary);
  }
  {
    SCOPED_TRACE("long shared prefixes");
    run_sizes<String>(rng, shared_prefix, &QuickSort::SortStrings, binary);
  }
}

TEST(FastSort, SortsWithinTheSpanOnly) {
  std::vector<std::int32_t> v{9, 8, 7, 6, 5};
  sorting::sort_longs(std::span(v).subspan(1, 3));
  EXPECT_EQ(v, (std::vector<std::int32_t>{9, 6, 7, 8, 5}));
  std::vector<double> nan_inside{2.0, std::nan(""), 1.0};
  EXPECT_FALSE(sorting::try_sort_doubles(nan_inside));
  EXPECT_EQ(nan_inside[0], 2.0);  // refused, untouched
  std::vector<float> negative_zero{1.0f, -0.0f};
  EXPECT_FALSE(sorting::try_sort_singles(negative_zero));
}

}  // namespace
}  // namespace quorvel
