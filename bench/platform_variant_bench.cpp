// The value type against its standard-library peer: size, and the cost of a copy of a scalar and
// of a string.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <variant>

#include "quorvel/platform/variant.h"

namespace {

using Clock = std::chrono::steady_clock;
using StdValue = std::variant<std::monostate, std::int32_t, double, std::u16string>;

template <class Ours, class Peer>
void side_by_side(benchmark::State& state, Ours ours, Peer peer) {
  constexpr int kBatch = 1000;
  double ours_ns = 0, peer_ns = 0;
  for (auto _ : state) {
    const auto t0 = Clock::now();
    for (int i = 0; i < kBatch; ++i) ours();
    const auto t1 = Clock::now();
    for (int i = 0; i < kBatch; ++i) peer();
    const auto t2 = Clock::now();
    ours_ns += std::chrono::duration<double, std::nano>(t1 - t0).count();
    peer_ns += std::chrono::duration<double, std::nano>(t2 - t1).count();
  }
  state.counters["ratio"] = ours_ns / peer_ns;
  state.counters["sizeof_ours"] = sizeof(quorvel::Variant);
  state.counters["sizeof_peer"] = sizeof(StdValue);
}

void BM_VariantCopyLong(benchmark::State& state) {
  const quorvel::Variant ours(std::int32_t{42});
  const StdValue peer(std::int32_t{42});
  side_by_side(
      state, [&] { quorvel::Variant copy(ours); benchmark::DoNotOptimize(copy); },
      [&] { StdValue copy(peer); benchmark::DoNotOptimize(copy); });
}
BENCHMARK(BM_VariantCopyLong);

// Strings are shared on copy; the peer copies the characters.
void BM_VariantCopyString(benchmark::State& state) {
  const quorvel::Variant ours(u"a string of some thirty-two units");
  const StdValue peer(std::u16string(u"a string of some thirty-two units"));
  side_by_side(
      state, [&] { quorvel::Variant copy(ours); benchmark::DoNotOptimize(copy); },
      [&] { StdValue copy(peer); benchmark::DoNotOptimize(copy); });
}
BENCHMARK(BM_VariantCopyString);

}  // namespace
