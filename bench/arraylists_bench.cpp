// Appending to the array lists against std::vector::push_back, the standard-library peer: a
// million items, list or vector built and released inside the timed region. Each benchmark runs
// both on the same data and reports the ratio of their times (ours / peer; below 1 is faster).
// The lists grow by a fixed GrowLength (1000 slots) rather than by doubling, so they stay close
// only because growth is a realloc that extends or remaps the block instead of copying it.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "quorvel/arraylists/array_list_long.h"
#include "quorvel/arraylists/array_list_string.h"

namespace quorvel {
namespace {

using Clock = std::chrono::steady_clock;

double nanoseconds(Clock::duration d) { return std::chrono::duration<double, std::nano>(d).count(); }

// Runs both sides once, in alternating order so that neither always finds the allocator in the
// state the other left it in, and adds their times.
template <class Ours, class Peer>
void run_pair(bool ours_first, Ours&& ours_side, Peer&& peer_side, double& ours, double& peer) {
  auto time = [](auto&& side) {
    const auto start = Clock::now();
    side();
    return nanoseconds(Clock::now() - start);
  };
  if (ours_first) {
    ours += time(ours_side);
    peer += time(peer_side);
  } else {
    peer += time(peer_side);
    ours += time(ours_side);
  }
}

void report(benchmark::State& state, double ours, double peer, std::int64_t items) {
  state.counters["ours_ns_per_item"] = ours / static_cast<double>(items);
  state.counters["peer_ns_per_item"] = peer / static_cast<double>(items);
  state.counters["ratio"] = ours / peer;
}

// Runs `ours` and `peer` (each handling `n` items) once per iteration, alternating which goes
// first, and reports per-item times and their ratio.
template <class Ours, class Peer>
void per_item(benchmark::State& state, std::int32_t n, Ours ours_side, Peer peer_side) {
  double ours = 0, peer = 0;
  std::int64_t items = 0;
  for (auto _ : state) {
    run_pair(items % (2 * static_cast<std::int64_t>(n)) == 0, ours_side, peer_side, ours, peer);
    items += n;
  }
  report(state, ours, peer, items);
}

// Strings of `length` units: short ones fit the peer's small-string buffer, long ones do not.
void BM_ArrayListStringAddItem(benchmark::State& state) {
  const auto n = static_cast<std::int32_t>(state.range(0));
  const std::u16string text(static_cast<std::size_t>(state.range(1)), u'x');
  const String shared(text);
  per_item(
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
  per_item(
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
  per_item(
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
