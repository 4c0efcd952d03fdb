// The classic containers against their standard-library peers, a million operations per side,
// alternating which side runs first; `ratio` = ours / peer (below 1: ours is faster).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <random>
#include <unordered_map>
#include <vector>

#include "quorvel/containers/cls_hash_id_ix.h"
#include "quorvel/containers/cls_list.h"
#include "quorvel/containers/cls_stack.h"
#include "side_by_side.h"

namespace quorvel {
namespace {

constexpr std::int32_t kN = 1'000'000;

std::vector<std::int32_t> shuffled_ids() {
  std::vector<std::int32_t> ids(kN);
  std::iota(ids.begin(), ids.end(), 0);
  std::shuffle(ids.begin(), ids.end(), std::mt19937(42));
  return ids;
}

void BM_HashInsert(benchmark::State& state) {
  const std::vector<std::int32_t> ids = shuffled_ids();
  bench::alternating_runs(
      state, kN,
      [&] {
        auto h = make<clsHashIdIx>();
        h->put_lTableSize(kN);
        for (std::int32_t i = 0; i < kN; ++i) h->InsertIdIx(ids[static_cast<std::size_t>(i)], i);
        benchmark::DoNotOptimize(h.get());
      },
      [&] {
        std::unordered_multimap<std::int32_t, std::int32_t> m;
        m.reserve(kN);
        for (std::int32_t i = 0; i < kN; ++i) m.emplace(ids[static_cast<std::size_t>(i)], i);
        benchmark::DoNotOptimize(m.size());
      });
}
BENCHMARK(BM_HashInsert)->Unit(benchmark::kMillisecond);

void BM_HashLookup(benchmark::State& state) {
  const std::vector<std::int32_t> ids = shuffled_ids();
  auto h = make<clsHashIdIx>();
  h->put_lTableSize(kN);
  std::unordered_multimap<std::int32_t, std::int32_t> m;
  m.reserve(kN);
  for (std::int32_t i = 0; i < kN; ++i) {
    h->InsertIdIx(i, i);
    m.emplace(i, i);
  }
  bench::alternating_runs(
      state, kN,
      [&] {
        std::int64_t sum = 0;
        std::int32_t ix = 0;
        for (std::int32_t id : ids) sum += h->TryFindFirstIx(id, ix) ? ix : 0;
        benchmark::DoNotOptimize(sum);
      },
      [&] {
        std::int64_t sum = 0;
        for (std::int32_t id : ids) {
          auto it = m.find(id);
          sum += it != m.end() ? it->second : 0;
        }
        benchmark::DoNotOptimize(sum);
      });
}
BENCHMARK(BM_HashLookup)->Unit(benchmark::kMillisecond);

void BM_ListAppendElem(benchmark::State& state) {
  bench::alternating_runs(
      state, kN,
      [] {
        auto l = make<clsList>();
        for (std::int32_t i = 0; i < kN; ++i) l->AppendElem(Variant(i));
        benchmark::DoNotOptimize(l->get_lSize());
      },
      [] {
        std::vector<Variant> v;
        for (std::int32_t i = 0; i < kN; ++i) v.push_back(Variant(i));
        benchmark::DoNotOptimize(v.size());
      });
}
BENCHMARK(BM_ListAppendElem)->Unit(benchmark::kMillisecond);

void BM_StackPushPop(benchmark::State& state) {
  bench::alternating_runs(
      state, kN,
      [] {
        auto s = make<clsStack>();
        for (std::int32_t i = 0; i < kN; ++i) s->Push(Variant(i));
        std::int64_t sum = 0;
        for (std::int32_t i = 0; i < kN; ++i) sum += s->vPop().to_long();
        benchmark::DoNotOptimize(sum);
      },
      [] {
        std::vector<Variant> v;
        for (std::int32_t i = 0; i < kN; ++i) v.push_back(Variant(i));
        std::int64_t sum = 0;
        for (std::int32_t i = 0; i < kN; ++i) {
          Variant top = std::move(v.back());
          v.pop_back();
          sum += top.to_long();
        }
        benchmark::DoNotOptimize(sum);
      });
}
BENCHMARK(BM_StackPushPop)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorvel
