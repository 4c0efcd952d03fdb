// Size and copy cost of the value type against its standard-library peer.
#include <benchmark/benchmark.h>

#include <variant>

#include "quorvel/platform/variant.h"

namespace {

void BM_VariantCopyLong(benchmark::State& state) {
  quorvel::Variant v(std::int32_t{42});
  for (auto _ : state) {
    quorvel::Variant copy(v);
    benchmark::DoNotOptimize(copy);
  }
  state.counters["sizeof"] = sizeof(quorvel::Variant);
}
BENCHMARK(BM_VariantCopyLong);

void BM_StdVariantCopyInt(benchmark::State& state) {
  std::variant<std::monostate, int, double, void*> v(42);
  for (auto _ : state) {
    auto copy(v);
    benchmark::DoNotOptimize(copy);
  }
  state.counters["sizeof"] = sizeof(v);
}
BENCHMARK(BM_StdVariantCopyInt);

}  // namespace
