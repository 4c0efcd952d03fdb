// Timing one of ours against its standard-library peer in the same binary: alternating batches of
// calls, ns per call of each and `ratio` = ours / peer (below 1: ours is faster).
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>

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

/// Whole runs rather than single calls: each iteration runs `ours` and `peer` once (each handling
/// `items` items), alternating which goes first so that neither always finds the allocator as the
/// other left it; ns per item of each and `ratio` = ours / peer.
template <class Ours, class Peer>
void alternating_runs(benchmark::State& state, std::int64_t items, Ours ours, Peer peer) {
  using Clock = std::chrono::steady_clock;
  auto time = [](auto& side) {
    const auto start = Clock::now();
    side();
    return std::chrono::duration<double, std::nano>(Clock::now() - start).count();
  };
  double ours_ns = 0, peer_ns = 0;
  bool ours_first = true;
  for (auto _ : state) {
    if (ours_first) {
      ours_ns += time(ours);
      peer_ns += time(peer);
    } else {
      peer_ns += time(peer);
      ours_ns += time(ours);
    }
    ours_first = !ours_first;
  }
  const double total = static_cast<double>(state.iterations()) * static_cast<double>(items);
  state.counters["ours_ns_per_item"] = ours_ns / total;
  state.counters["peer_ns_per_item"] = peer_ns / total;
  state.counters["ratio"] = ours_ns / peer_ns;
}

}  // namespace quorvel::bench
