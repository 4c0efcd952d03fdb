// The sort engine against std::sort on the same data, side by side. Each benchmark times the
// engine as the measured time and std::sort on an identical copy in the same iteration, and
// reports `ratio` = engine time / std::sort time (below 1: the engine is faster).
// Goals: Longs and Doubles without a comparer at most 0.5; strings at most 1; a C++ comparer
// at most 2 against std::sort calling the same comparer; Variants with a DefaultComparer at most
// 1.5 against std::sort calling CompareVariants directly.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "quorvel/arraylists/array_list_double.h"
#include "quorvel/arraylists/array_list_long.h"
#include "quorvel/arraylists/array_list_string.h"
#include "quorvel/ordering/comparers.h"
#include "quorvel/ordering/sort_engine.h"
#include "quorvel/platform/describe.h"

namespace {

using namespace quorvel;
using Clock = std::chrono::steady_clock;

constexpr std::int32_t kCount = 1'000'000;

double seconds_of(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

/// One iteration = a fresh copy for each side (not timed), then the engine (timed) and the peer.
template <class Fresh, class Ours, class Peer>
void side_by_side(benchmark::State& state, Fresh fresh, Ours ours, Peer peer) {
  double ours_total = 0;
  double peer_total = 0;
  for (auto _ : state) {
    fresh();
    const auto t0 = Clock::now();
    ours();
    const auto t1 = Clock::now();
    peer();
    const auto t2 = Clock::now();
    state.SetIterationTime(seconds_of(t1 - t0));
    ours_total += seconds_of(t1 - t0);
    peer_total += seconds_of(t2 - t1);
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["peer_ms"] = peer_total / n * 1e3;
  state.counters["ratio"] = ours_total / peer_total;
}

std::vector<std::int32_t> random_longs() {
  std::mt19937 rng(1);
  std::vector<std::int32_t> v(kCount);
  for (auto& x : v) x = static_cast<std::int32_t>(rng());
  return v;
}

std::vector<double> random_doubles() {
  std::mt19937 rng(2);
  std::normal_distribution<double> d(0, 1e6);
  std::vector<double> v(kCount);
  for (auto& x : v) x = d(rng);
  return v;
}

// 8 to 16 letters and digits, made in one go so that each side's strings lie in memory in the
// same (unsorted) order.
std::vector<std::u16string> random_strings() {
  const std::u16string_view alphabet = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::mt19937 rng(3);
  std::vector<std::u16string> v(kCount);
  for (auto& s : v) {
    s.resize(8 + rng() % 9);
    for (char16_t& c : s) c = alphabet[rng() % alphabet.size()];
  }
  return v;
}

template <class E>
ArrayOf<E> array_from(const std::vector<E>& values) {
  ArrayOf<E> a(0, static_cast<std::int32_t>(values.size()));
  std::copy(values.begin(), values.end(), a.items().begin());
  return a;
}

// The engine's entry point `sort` without a comparer on a copy of `input`, against std::sort.
template <class E, class Sort>
void number_sort(benchmark::State& state, const std::vector<E>& input, Sort sort) {
  ArrayOf<E> ours(0, kCount);
  std::vector<E> peer;
  side_by_side(
      state,
      [&] {
        std::copy(input.begin(), input.end(), ours.items().begin());
        peer = input;
      },
      [&] { (make<QuickSort>().get()->*sort)(ours, 0, kCount - 1, nullptr); },
      [&] { std::sort(peer.begin(), peer.end()); });
}

void BM_SortLongs(benchmark::State& state) { number_sort(state, random_longs(), &QuickSort::SortLongs); }
BENCHMARK(BM_SortLongs)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_SortDoubles(benchmark::State& state) { number_sort(state, random_doubles(), &QuickSort::SortDoubles); }
BENCHMARK(BM_SortDoubles)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_SortStrings(benchmark::State& state) {
  const std::vector<std::u16string> input = random_strings();
  ArrayOf<String> ours(0, kCount);
  std::vector<std::u16string> peer;
  side_by_side(
      state,
      [&] {
        for (std::size_t i = 0; i < input.size(); ++i) ours.items()[i] = String(input[i]);
        peer = input;
      },
      [&] { make<QuickSort>()->SortStrings(ours, 0, kCount - 1, nullptr); },
      [&] { std::sort(peer.begin(), peer.end()); });
}
BENCHMARK(BM_SortStrings)->UseManualTime()->Unit(benchmark::kMillisecond);

/// A caller's C++ comparer of two Longs.
class LongComparer final : public ObjectImpl<IComparer> {
 public:
  static constexpr const char* type_name = "BenchLongComparer";
  static constexpr Guid iid{"{0E3D51A2-6C7B-4F10-9B53-5A1C00DE0401}"};
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }
  std::int16_t Compare(const Variant& A, const Variant& B) override {
    const std::int32_t a = *A.if_long(), b = *B.if_long();
    return static_cast<std::int16_t>((a > b) - (a < b));
  }
};

const ClassInfo& LongComparer::describe() {
  static const ClassInfo info = describe_class<LongComparer, IComparer>(ClassFlags::None, {});
  return info;
}

void BM_SortLongsWithComparer(benchmark::State& state) {
  const std::vector<std::int32_t> input = random_longs();
  Ref<IComparer> comparer(make<LongComparer>().get());
  ArrayOf<std::int32_t> ours(0, kCount);
  std::vector<std::int32_t> peer;
  side_by_side(
      state,
      [&] {
        std::copy(input.begin(), input.end(), ours.items().begin());
        peer = input;
      },
      [&] { make<QuickSort>()->SortLongs(ours, 0, kCount - 1, comparer.get()); },
      [&] {
        std::sort(peer.begin(), peer.end(),
                  [&](std::int32_t a, std::int32_t b) { return comparer->Compare(Variant(a), Variant(b)) < 0; });
      });
}
BENCHMARK(BM_SortLongsWithComparer)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_SortVariantsWithDefaultComparer(benchmark::State& state) {
  const std::vector<std::int32_t> input = random_longs();
  Ref<IComparer> comparer(make<DefaultComparer>().get());
  ArrayOf<Variant> ours(0, kCount);
  std::vector<Variant> peer(kCount);
  side_by_side(
      state,
      [&] {
        for (std::size_t i = 0; i < input.size(); ++i) ours.items()[i] = peer[i] = Variant(input[i]);
      },
      [&] { make<QuickSort>()->SortVariants(ours, 0, kCount - 1, comparer.get()); },
      [&] {
        std::sort(peer.begin(), peer.end(),
                  [](const Variant& a, const Variant& b) { return CompareVariants(a, b, CompareMode::Binary) < 0; });
      });
}
BENCHMARK(BM_SortVariantsWithDefaultComparer)->UseManualTime()->Unit(benchmark::kMillisecond);

// Through the lists' own Sort: the range check and the engine call on top of the sorts above.
template <class List, class Peer>
void list_sort(benchmark::State& state, const std::vector<Peer>& input) {
  auto list = make<List>();
  std::vector<Peer> peer;
  side_by_side(
      state,
      [&] {
        list->EraseArray();
        for (const Peer& x : input) list->AddItem(x);
        peer = input;
      },
      [&] { list->Sort(); },
      [&] { std::sort(peer.begin(), peer.end()); });
}

void BM_ArrayListLongSort(benchmark::State& state) { list_sort<ArrayList_Long>(state, random_longs()); }
BENCHMARK(BM_ArrayListLongSort)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_ArrayListDoubleSort(benchmark::State& state) { list_sort<ArrayList_Double>(state, random_doubles()); }
BENCHMARK(BM_ArrayListDoubleSort)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_ArrayListStringSort(benchmark::State& state) { list_sort<ArrayList_String>(state, random_strings()); }
BENCHMARK(BM_ArrayListStringSort)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
