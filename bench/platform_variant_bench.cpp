// The value type against its standard-library peer: size, and the cost of a copy of a scalar and
// of a string.
#include <benchmark/benchmark.h>

#include "side_by_side.h"

#include <chrono>
#include <string>
#include <variant>

#include "quorvel/platform/variant.h"

namespace {

using StdValue = std::variant<std::monostate, std::int32_t, double, std::u16string>;
using quorvel::bench::side_by_side;

void report_sizes(benchmark::State& state) {
  state.counters["sizeof_ours"] = sizeof(quorvel::Variant);
  state.counters["sizeof_peer"] = sizeof(StdValue);
}


void BM_VariantCopyLong(benchmark::State& state) {
  const quorvel::Variant ours(std::int32_t{42});
  const StdValue peer(std::int32_t{42});
  side_by_side(
      state, [&] { quorvel::Variant copy(ours); benchmark::DoNotOptimize(copy); },
      [&] { StdValue copy(peer); benchmark::DoNotOptimize(copy); });
  report_sizes(state);
}
BENCHMARK(BM_VariantCopyLong);

// Strings are shared on copy; the peer copies the characters.
void BM_VariantCopyString(benchmark::State& state) {
  const quorvel::Variant ours(u"a string of some thirty-two units");
  const StdValue peer(std::u16string(u"a string of some thirty-two units"));
  side_by_side(
      state, [&] { quorvel::Variant copy(ours); benchmark::DoNotOptimize(copy); },
      [&] { StdValue copy(peer); benchmark::DoNotOptimize(copy); });
  report_sizes(state);
}
BENCHMARK(BM_VariantCopyString);

}  // namespace
