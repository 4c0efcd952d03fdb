// Radix sorts for the numeric kinds and a prefix-key radix sort for strings. Each falls back to
// std::sort, in place, when its scratch memory cannot be had: the result is the same.
#include "ordering/fast_sort.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <memory>
#include <new>
#include <string_view>
#include <utility>
#include <vector>

namespace quorvel::sorting {

namespace {

// Below this many elements, histogram set-up costs more than a comparison sort.
constexpr std::size_t kRadixThreshold = 512;

/// LSD radix sort by `key(element)`, an unsigned integer whose order is the wanted order.
/// 11-bit digits for 32- and 64-bit keys (the histograms stay in L1), 8-bit ones for 16-bit keys;
/// a pass whose digit is the same for every element is skipped.
template <class T, class KeyFn>
void radix_sort(std::span<T> items, KeyFn key) {
  using K = decltype(key(items[0]));
  constexpr unsigned kKeyBits = sizeof(K) * 8;
  constexpr unsigned kDigit = kKeyBits <= 16 ? 8 : 11;
  constexpr unsigned kPasses = (kKeyBits + kDigit - 1) / kDigit;
  constexpr std::size_t kBuckets = std::size_t{1} << kDigit;
  constexpr K kMask = static_cast<K>(kBuckets - 1);

  const std::size_t n = items.size();
  const auto by_key = [&](const T& a, const T& b) { return key(a) < key(b); };
  if (n < kRadixThreshold) {
    std::sort(items.begin(), items.end(), by_key);
    return;
  }
  std::unique_ptr<T[]> scratch;
  std::vector<std::uint32_t> counts;
  try {
    scratch = std::make_unique_for_overwrite<T[]>(n);
    counts.assign(kPasses * kBuckets, 0);
  } catch (const std::bad_alloc&) {
    std::sort(items.begin(), items.end(), by_key);
    return;
  }

  for (const T& x : items) {
    const K k = key(x);
    for (unsigned p = 0; p < kPasses; ++p) ++counts[p * kBuckets + ((k >> (p * kDigit)) & kMask)];
  }
  T* src = items.data();
  T* dst = scratch.get();
  for (unsigned p = 0; p < kPasses; ++p) {
    std::uint32_t* c = &counts[p * kBuckets];
    const unsigned shift = p * kDigit;
    if (c[(key(src[0]) >> shift) & kMask] == n) continue;
    std::uint32_t sum = 0;
    for (std::size_t b = 0; b < kBuckets; ++b) sum += std::exchange(c[b], sum);
    for (std::size_t i = 0; i < n; ++i) dst[c[(key(src[i]) >> shift) & kMask]++] = src[i];
    std::swap(src, dst);
  }
  if (src != items.data()) std::copy(src, src + n, items.data());
}

// Keys whose unsigned order is the signed or IEEE order of the value.
constexpr std::uint16_t key16(std::int16_t v) noexcept { return static_cast<std::uint16_t>(static_cast<std::uint16_t>(v) ^ 0x8000u); }
constexpr std::uint32_t key32(std::int32_t v) noexcept { return static_cast<std::uint32_t>(v) ^ 0x80000000u; }
inline std::uint32_t key_single(float v) noexcept {
  const auto u = std::bit_cast<std::uint32_t>(v);
  return (u & 0x80000000u) ? ~u : (u | 0x80000000u);
}
inline std::uint64_t key_double(double v) noexcept {
  const auto u = std::bit_cast<std::uint64_t>(v);
  return (u >> 63) ? ~u : (u | (std::uint64_t{1} << 63));
}

}  // namespace

void sort_booleans(std::span<VariantBool> items) {
  radix_sort(items, [](VariantBool b) { return key16(b.bits); });
}

void sort_bytes(std::span<std::uint8_t> items) noexcept {
  std::size_t counts[256] = {};
  for (std::uint8_t b : items) ++counts[b];
  std::uint8_t* out = items.data();
  for (std::size_t v = 0; v < 256; ++v) out = std::fill_n(out, counts[v], static_cast<std::uint8_t>(v));
}

void sort_integers(std::span<std::int16_t> items) {
  radix_sort(items, [](std::int16_t v) { return key16(v); });
}

void sort_longs(std::span<std::int32_t> items) {
  radix_sort(items, [](std::int32_t v) { return key32(v); });
}

bool try_sort_singles(std::span<float> items) {
  for (float v : items) {
    // NaN, or -0.0 (equal to +0.0, yet a different value): the quicksort's own result counts.
    if (v != v || (v == 0.0f && std::signbit(v))) return false;
  }
  radix_sort(items, [](float v) { return key_single(v); });
  return true;
}

bool try_sort_doubles(std::span<double> items) {
  for (double v : items) {
    if (v != v || (v == 0.0 && std::signbit(v))) return false;
  }
  radix_sort(items, [](double v) { return key_double(v); });
  return true;
}

namespace {

// Strings are ordered by 64-bit keys of four code units at a time. Units past the end read as 0,
// so equal keys can still hide a difference in length; those ties are settled by length (the
// shorter string is then a prefix of the longer) or by the next four units.
struct KeyedIndex {
  std::uint64_t key;
  std::uint32_t index;
};

constexpr std::size_t kUnitsPerKey = 4;

std::uint64_t chunk_key(std::u16string_view s, std::size_t depth) noexcept {
  std::uint64_t k = 0;
  for (std::size_t t = 0; t < kUnitsPerKey; ++t) {
    const std::size_t p = depth + t;
    k = (k << 16) | (p < s.size() ? s[p] : 0u);
  }
  return k;
}

bool by_units(const String& a, const String& b) noexcept { return a.view() < b.view(); }

void sort_keyed(std::span<KeyedIndex> part) {
  radix_sort(part, [](const KeyedIndex& r) { return r.key; });
}

void sort_strings_keyed(std::span<String> items) {
  const std::size_t n = items.size();
  std::vector<KeyedIndex> keyed(n);
  std::vector<String> sorted;
  sorted.reserve(n);
  for (std::size_t i = 0; i < n; ++i) keyed[i] = {chunk_key(items[i].view(), 0), static_cast<std::uint32_t>(i)};

  struct Task {
    std::size_t begin, end, depth;
  };
  std::vector<Task> tasks{{0, n, 0}};
  while (!tasks.empty()) {
    const Task t = tasks.back();
    tasks.pop_back();
    sort_keyed(std::span(keyed).subspan(t.begin, t.end - t.begin));
    for (std::size_t b = t.begin; b < t.end;) {
      std::size_t e = b + 1;
      while (e < t.end && keyed[e].key == keyed[b].key) ++e;
      if (e - b > 1) {
        const std::size_t next = t.depth + kUnitsPerKey;
        // Strings that end within these units are prefixes of the others in the run: they come
        // first, shortest first (equal lengths are equal strings).
        auto* first = keyed.data() + b;
        auto* last = keyed.data() + e;
        auto* longer = std::partition(first, last, [&](const KeyedIndex& r) { return items[r.index].size() <= next; });
        std::sort(first, longer, [&](const KeyedIndex& x, const KeyedIndex& y) {
          return items[x.index].size() < items[y.index].size();
        });
        if (last - longer > 1) {
          for (auto* r = longer; r != last; ++r) r->key = chunk_key(items[r->index].view(), next);
          tasks.push_back({static_cast<std::size_t>(longer - keyed.data()), e, next});
        }
      }
      b = e;
    }
  }
  // Nothing allocates from here on: the strings move into place or not at all.
  for (const KeyedIndex& r : keyed) sorted.push_back(std::move(items[r.index]));
  std::move(sorted.begin(), sorted.end(), items.begin());
}

}  // namespace

void sort_strings(std::span<String> items) {
  if (items.size() < 64) {
    std::sort(items.begin(), items.end(), by_units);
    return;
  }
  try {
    sort_strings_keyed(items);
  } catch (const std::bad_alloc&) {
    std::sort(items.begin(), items.end(), by_units);
  }
}

}  // namespace quorvel::sorting
