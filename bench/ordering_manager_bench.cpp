// The sequence algorithms against their standard-library peers on a million Longs, side by side
// in one binary; `ratio` = ours / peer (below 1: ours is faster).
// Goals, on a library list in the default order (the typed route): LogarithmicSearch within 2x of
// std::lower_bound, CheckMonotonity within 2x of std::is_sorted, Reducate into a new list within
// 2x of std::unique_copy into a new vector. The same with a caller's C++ comparer (for Reducate,
// which takes none: a caller's list) take the literal route through Variants; their ratios are
// reported to show its cost, without a goal.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <random>
#include <vector>

#include "quorvel/arraylists/array_list_long.h"
#include "quorvel/ordering/array_list_manager.h"
#include "quorvel/ordering/compare_variants.h"
#include "quorvel/platform/describe.h"
#include "side_by_side.h"

namespace quorvel {
namespace {

constexpr std::int32_t kCount = 1'000'000;

// A caller's comparer in the default order.
class CallerOrder final : public ObjectImpl<IComparer> {
 public:
  static constexpr const char* type_name = "BenchCallerOrder";
  static constexpr Guid iid{"{2D7E9A41-6C3B-4F85-A0D2-9B1E4C7F3A21}"};
  QUORVEL_CLASS_INFO(describe_class<CallerOrder, IComparer>(ClassFlags::None, {}))
  std::int16_t Compare(const Variant& A, const Variant& B) override {
    return CompareVariants(A, B, CompareMode::Binary);
  }
};

// A caller's list: every member forwarded to a library list.
class CallerList final : public ObjectImpl<IArrayList> {
 public:
  static constexpr const char* type_name = "BenchCallerList";
  static constexpr Guid iid{"{5F1C8B32-9E4D-4A67-B3F0-2C8D6E1A9B44}"};
  QUORVEL_CLASS_INFO(describe_class<CallerList, IArrayList>(ClassFlags::None, {}))
  explicit CallerList(Ref<IArrayList> inner) : inner_(std::move(inner)) {}
#define BENCH_FORWARD_(kind, R, Name, id, params, args, desc) \
  R QUORVEL_CPP_NAME(kind, Name) params override { return inner_->QUORVEL_CPP_NAME(kind, Name) args; }
  QUORVEL_IARRAYLIST_MEMBERS(BENCH_FORWARD_)
#undef BENCH_FORWARD_

 private:
  Ref<IArrayList> inner_;
};

std::vector<std::int32_t> sorted_values(std::int32_t run) {
  std::vector<std::int32_t> v(kCount);
  for (std::int32_t i = 0; i < kCount; ++i) v[static_cast<std::size_t>(i)] = i / run * 2;
  return v;
}

Ref<IArrayList> library_list(const std::vector<std::int32_t>& values) {
  auto list = make<ArrayList_Long>();
  for (std::int32_t v : values) list->AddItem(v);
  return list.query<IArrayList>();
}

std::vector<std::int32_t> search_keys() {
  std::mt19937 rng(3);
  std::vector<std::int32_t> keys(4096);
  for (auto& k : keys) k = static_cast<std::int32_t>(rng() % (2u * kCount));
  return keys;
}

void search(benchmark::State& state, bool caller_order) {
  const std::vector<std::int32_t> values = sorted_values(1);
  const std::vector<std::int32_t> keys = search_keys();
  const Ref<IArrayList> list = library_list(values);
  const Ref<IComparer> order = caller_order ? Ref<IComparer>(make<CallerOrder>()) : Ref<IComparer>();
  const auto manager = make<ArrayList_Manager>();
  std::size_t a = 0, b = 0;
  bench::side_by_side(
      state,
      [&] {
        std::int32_t at = 0;
        benchmark::DoNotOptimize(manager->LogarithmicSearch(list, Variant(keys[a++ & 4095]), at, 1, order));
        benchmark::DoNotOptimize(at);
      },
      [&] { benchmark::DoNotOptimize(std::lower_bound(values.begin(), values.end(), keys[b++ & 4095])); });
}

void check_monotonity(benchmark::State& state, bool caller_order) {
  const std::vector<std::int32_t> values = sorted_values(1);
  const Ref<IArrayList> list = library_list(values);
  const Ref<IComparer> order = caller_order ? Ref<IComparer>(make<CallerOrder>()) : Ref<IComparer>();
  const auto manager = make<ArrayList_Manager>();
  bench::alternating_runs(
      state, kCount,
      [&] {
        std::int16_t direction = 0;
        bool strict = false;
        benchmark::DoNotOptimize(manager->CheckMonotonity(list, direction, strict, order));
      },
      [&] { benchmark::DoNotOptimize(std::is_sorted(values.begin(), values.end())); });
}

void reducate(benchmark::State& state, bool caller_list) {
  const std::vector<std::int32_t> values = sorted_values(4);
  const Ref<IArrayList> library = library_list(values);
  const Ref<IArrayList> list = caller_list ? Ref<IArrayList>(make<CallerList>(library)) : library;
  const auto manager = make<ArrayList_Manager>();
  bench::alternating_runs(
      state, kCount, [&] { benchmark::DoNotOptimize(manager->Reducate(list, false)); },
      [&] {
        std::vector<std::int32_t> out;
        std::unique_copy(values.begin(), values.end(), std::back_inserter(out));
        benchmark::DoNotOptimize(out.data());
      });
}

BENCHMARK_CAPTURE(search, long_default_order, false);
BENCHMARK_CAPTURE(search, long_caller_comparer, true);
BENCHMARK_CAPTURE(check_monotonity, long_default_order, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(check_monotonity, long_caller_comparer, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(reducate, long_library_list, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(reducate, long_caller_list, true)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorvel
