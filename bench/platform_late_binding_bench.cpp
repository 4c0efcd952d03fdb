// Late-bound calls against the peers a C++ host would otherwise use: a direct virtual call and a
// hash map of std::function looked up by a lower-cased name.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
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

void BM_LateBoundByDispId(benchmark::State& state) {
  Ref<Adder> adder = make<Adder>();
  Unknown& target = *as_unknown(adder.get());
  const DispId id = get_dispid(target, u"Add");
  std::array<Variant, 2> args{Variant(1), Variant(2)};
  for (auto _ : state) {
    Variant r = invoke(target, id, MemberKind::Method, args);
    benchmark::DoNotOptimize(r);
  }
}
BENCHMARK(BM_LateBoundByDispId);

void BM_LateBoundByName(benchmark::State& state) {
  Ref<Adder> adder = make<Adder>();
  Unknown& target = *as_unknown(adder.get());
  std::array<Variant, 2> args{Variant(1), Variant(2)};
  for (auto _ : state) {
    Variant r = invoke(target, u"add", MemberKind::Method, args);
    benchmark::DoNotOptimize(r);
  }
}
BENCHMARK(BM_LateBoundByName);

void BM_PeerVirtualCall(benchmark::State& state) {
  Ref<IAdder> adder(make<Adder>().get());
  IAdder* volatile p = adder.get();
  for (auto _ : state) benchmark::DoNotOptimize(p->Add(1, 2));
}
BENCHMARK(BM_PeerVirtualCall);

void BM_PeerFunctionMapByName(benchmark::State& state) {
  std::unordered_map<std::string, std::function<std::int32_t(std::int32_t, std::int32_t)>> map;
  map["add"] = [](std::int32_t a, std::int32_t b) { return a + b; };
  const std::string name = "Add";
  for (auto _ : state) {
    std::string key = name;
    std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    benchmark::DoNotOptimize(map.at(key)(1, 2));
  }
}
BENCHMARK(BM_PeerFunctionMapByName);

}  // namespace
}  // namespace quorvel
