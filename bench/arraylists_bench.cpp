// Appending to the array lists against std::vector::push_back, the standard-library peer: a
// million items, list or vector built and released inside the timed region. Each benchmark runs
// both on the same data and reports the ratio of their times (ours / peer; below 1 is faster).
// The lists grow by a fixed GrowLength (1000 slots) rather than by doubling, so they stay close
// only because growth is a realloc that extends or remaps the block instead of copying it.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "quorvel/arraylists/array_list_long.h"
#include "quorvel/arraylists/array_list_string.h"
#include "side_by_side.h"

namespace quorvel {
namespace {

// Strings of `length` units: short ones fit the peer's small-string buffer, long ones do not.
void BM_ArrayListStringAddItem(benchmark::State& state) {
  const auto n = static_cast<std::int32_t>(state.range(0));
  const std::u16string text(static_cast<std::size_t>(state.range(1)), u'x');
  const String shared(text);
  bench::alternating_runs(
      state, n,
      [&] {
        Ref<ArrayList_String> list = make<ArrayList_String>();
        for (std::int32_t i = 0; i < n; ++i) list->AddItem(shared);
        benchmark::DoNotOptimize(list->get_Count());
      },
      [&] {
        std::vector<std::u16string> vector;
        for (std::int32_t i = 0; i < n; ++i) vector.push_back(text);
        benchmark::DoNotOptimize(vector.size());
      });
}
BENCHMARK(BM_ArrayListStringAddItem)->Args({1'000'000, 4})->Args({1'000'000, 24})->Unit(benchmark::kMillisecond);

void BM_ArrayListLongAddItem(benchmark::State& state) {
  const auto n = static_cast<std::int32_t>(state.range(0));
  bench::alternating_runs(
      state, n,
      [&] {
        Ref<ArrayList_Long> list = make<ArrayList_Long>();
        for (std::int32_t i = 0; i < n; ++i) list->AddItem(i);
        benchmark::DoNotOptimize(list->get_Count());
      },
      [&] {
        std::vector<std::int32_t> vector;
        for (std::int32_t i = 0; i < n; ++i) vector.push_back(i);
        benchmark::DoNotOptimize(vector.size());
      });
}
BENCHMARK(BM_ArrayListLongAddItem)->Arg(1'000'000)->Arg(10'000'000)->Unit(benchmark::kMillisecond);

// Reading every item of a million-item list through its own `Item` get (with the index check)
// against indexing a vector.
void BM_ArrayListLongItemGet(benchmark::State& state) {
  const auto n = static_cast<std::int32_t>(state.range(0));
  Ref<ArrayList_Long> list = make<ArrayList_Long>();
  std::vector<std::int32_t> vector;
  for (std::int32_t i = 0; i < n; ++i) {
    list->AddItem(i);
    vector.push_back(i);
  }
  bench::alternating_runs(
      state, n,
      [&] {
        std::int64_t sum = 0;
        for (std::int32_t i = 0; i < n; ++i) sum += list->get_Item(i);
        benchmark::DoNotOptimize(sum);
      },
      [&] {
        std::int64_t sum = 0;
        for (std::int32_t i = 0; i < n; ++i) sum += vector[static_cast<std::size_t>(i)];
        benchmark::DoNotOptimize(sum);
      });
}
BENCHMARK(BM_ArrayListLongItemGet)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorvel
