// Timing one of ours against its standard-library peer in the same binary: alternating batches of
// calls, ns per call of each and `ratio` = ours / peer (below 1: ours is faster).
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>

namespace quorvel::bench {

template <class Ours, class Peer>
void side_by_side(benchmark::State& state, Ours ours, Peer peer) {
  using Clock = std::chrono::steady_clock;
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
  const double calls = static_cast<double>(state.iterations()) * kBatch;
  state.counters["ours_ns"] = ours_ns / calls;
  state.counters["peer_ns"] = peer_ns / calls;
  state.counters["ratio"] = ours_ns / peer_ns;
}

}  // namespace quorvel::bench
