// The C interface against the C++ surface it wraps: the same late-bound call by dispatch id,
// `Item(0)` of a one-item Long list, through qv_invoke and through invoke. Target: within 1.3x.
#include <benchmark/benchmark.h>

#include "side_by_side.h"

#include <array>

#include "quorvel/platform/late_binding.h"
#include "quorvel/platform/registry.h"
#include "quorvel/quorvel.h"

namespace quorvel {
namespace {

void BM_CInvokeByDispIdVsCppInvoke(benchmark::State& state) {
  qv_object list = nullptr;
  qv_create("Quorvel.ArrayList_Long", &list);
  qv_variant item{};
  item.kind = QV_LONG;
  item.value.lng = 42;
  qv_invoke_by_name(list, "AddItem", QV_METHOD, &item, 1, nullptr);
  std::int32_t id = 0;
  qv_get_dispid(list, "Item", &id);
  qv_variant c_args[1] = {};
  c_args[0].kind = QV_LONG;
  Unknown& target = *reinterpret_cast<Unknown*>(list);
  std::array<Variant, 1> args{Variant(0)};
  bench::side_by_side(
      state,
      [&] {
        qv_variant result;
        benchmark::DoNotOptimize(qv_invoke(list, id, QV_GET, c_args, 1, &result));
        benchmark::DoNotOptimize(result);
      },
      [&] { benchmark::DoNotOptimize(invoke(target, id, MemberKind::Get, args)); });
  qv_release(list);
}
BENCHMARK(BM_CInvokeByDispIdVsCppInvoke);

}  // namespace
}  // namespace quorvel
