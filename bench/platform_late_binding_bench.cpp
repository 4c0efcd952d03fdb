// Late-bound calls against the peers a C++ host would otherwise use: a direct virtual call and a
// hash map of std::function looked up by a lower-cased name.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cctype>
#include <functional>
#include <string>
#include <unordered_map>

#include "quorvel/platform/describe.h"
#include "quorvel/platform/late_binding.h"

namespace quorvel {
namespace {

class IAdder : public Unknown {
 public:
  static constexpr Guid iid{"{33333333-0000-4000-8000-000000000001}"};
  virtual std::int32_t Add(std::int32_t a, std::int32_t b) = 0;
};

class Adder final : public ObjectImpl<IAdder> {
 public:
  static constexpr const char* type_name = "BenchAdder";
  static constexpr Guid iid{"{33333333-0000-4000-8000-000000000002}"};
  static const ClassInfo& describe() {
    static const ClassInfo info =
        describe_class<Adder>(ClassFlags::None, {method<&Adder::Add>("Add", 1, {"A", "B"})});
    return info;
  }
  const ClassInfo& class_info() const noexcept override { return describe(); }
  std::int32_t Add(std::int32_t a, std::int32_t b) override { return a + b; }
};

using Clock = std::chrono::steady_clock;

// Times `ours` and `peer` in alternating batches and reports ns per call of each and their ratio.
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
  const double calls = static_cast<double>(state.iterations()) * kBatch;
  state.counters["ours_ns"] = ours_ns / calls;
  state.counters["peer_ns"] = peer_ns / calls;
  state.counters["ratio"] = ours_ns / peer_ns;
}

using FunctionMap = std::unordered_map<std::string, std::function<std::int32_t(std::int32_t, std::int32_t)>>;

FunctionMap peer_map() {
  FunctionMap map;
  map["add"] = [](std::int32_t a, std::int32_t b) { return a + b; };
  return map;
}

std::string lower(std::string name) {
  std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return name;
}

// A call by a dispatch id looked up once, against a function found once in a hash map: both
// then convert nothing but pass two integers and get one back.
void BM_LateBoundByDispIdVsFunctionMap(benchmark::State& state) {
  Ref<Adder> adder = make<Adder>();
  Unknown& target = *as_unknown(adder.get());
  const DispId id = get_dispid(target, u"Add");
  std::array<Variant, 2> args{Variant(1), Variant(2)};
  const FunctionMap map = peer_map();
  const auto& fn = map.at("add");
  side_by_side(
      state, [&] { benchmark::DoNotOptimize(invoke(target, id, MemberKind::Method, args)); },
      [&] { benchmark::DoNotOptimize(fn(1, 2)); });
}
BENCHMARK(BM_LateBoundByDispIdVsFunctionMap);

// A call by name each time (case-insensitive lookup included) against a hash map of functions
// looked up by the lower-cased name.
void BM_LateBoundByNameVsFunctionMap(benchmark::State& state) {
  Ref<Adder> adder = make<Adder>();
  Unknown& target = *as_unknown(adder.get());
  std::array<Variant, 2> args{Variant(1), Variant(2)};
  const FunctionMap map = peer_map();
  const std::string name = "Add";
  side_by_side(
      state, [&] { benchmark::DoNotOptimize(invoke(target, u"Add", MemberKind::Method, args)); },
      [&] { benchmark::DoNotOptimize(map.at(lower(name))(1, 2)); });
}
BENCHMARK(BM_LateBoundByNameVsFunctionMap);

// For scale: the early-bound call through the interface, against a plain function pointer.
void BM_EarlyBoundVirtualVsFunctionPointer(benchmark::State& state) {
  Ref<IAdder> adder(make<Adder>().get());
  IAdder* volatile p = adder.get();
  std::int32_t (*volatile f)(std::int32_t, std::int32_t) = [](std::int32_t a, std::int32_t b) { return a + b; };
  side_by_side(
      state, [&] { benchmark::DoNotOptimize(p->Add(1, 2)); }, [&] { benchmark::DoNotOptimize(f(1, 2)); });
}
BENCHMARK(BM_EarlyBoundVirtualVsFunctionPointer);

}  // namespace
}  // namespace quorvel
