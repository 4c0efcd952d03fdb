// Late-bound calls against the early-bound call of the same member and against the dispatch a C++
// host would otherwise write: a hash map of std::function keyed by the lower-cased name, called
// with the same Variant arguments. Each benchmark times both sides in alternating batches and
// reports ns per call of each and `ratio` = ours / peer.
// Targets: by dispatch id within 10x of the early-bound call; by name no slower than the map.
#include <benchmark/benchmark.h>

#include "side_by_side.h"

#include <array>
#include <chrono>
#include <functional>
#include <span>
#include <string>
#include <unordered_map>

#include "quorvel/arraylists/array_list_long.h"
#include "quorvel/platform/late_binding.h"

namespace quorvel {
namespace {

using bench::side_by_side;


Ref<ArrayList_Long> one_item_list() {
  Ref<ArrayList_Long> list = make<ArrayList_Long>();
  list->AddItem(42);
  return list;
}

// The one-argument property get `Item(0)`, late-bound by a dispatch id looked up once, against
// the early-bound `get_Item(0)` through a pointer the compiler cannot see through.
void BM_ItemByDispIdVsEarlyBound(benchmark::State& state) {
  Ref<ArrayList_Long> list = one_item_list();
  Unknown& target = *as_unknown(list.get());
  const DispId id = get_dispid(target, u"Item");
  std::array<Variant, 1> args{Variant(0)};
  ArrayList_Long* volatile early = list.get();
  side_by_side(
      state, [&] { benchmark::DoNotOptimize(invoke(target, id, MemberKind::Get, args)); },
      [&] { benchmark::DoNotOptimize(early->get_Item(0)); });
}
BENCHMARK(BM_ItemByDispIdVsEarlyBound);

// The same late-bound call against the early-bound call through the untyped interface, a
// virtual call that also hands the item back as a Variant.
void BM_ItemByDispIdVsInterfaceCall(benchmark::State& state) {
  Ref<ArrayList_Long> list = one_item_list();
  Unknown& target = *as_unknown(list.get());
  const DispId id = get_dispid(target, u"Item");
  std::array<Variant, 1> args{Variant(0)};
  Ref<IArrayList> view = list.query<IArrayList>();
  IArrayList* volatile early = view.get();
  side_by_side(
      state, [&] { benchmark::DoNotOptimize(invoke(target, id, MemberKind::Get, args)); },
      [&] { benchmark::DoNotOptimize(early->get_Item(0)); });
}
BENCHMARK(BM_ItemByDispIdVsInterfaceCall);

using Dispatch = std::unordered_map<std::u16string, std::function<Variant(std::span<Variant>)>>;

std::u16string lower(std::u16string_view name) {
  std::u16string folded(name);
  for (char16_t& c : folded) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return folded;
}

// `Item(0)` by name each time, against the map on the lower-cased name with the same Variant
// argument (converted to the Long index the member takes).
void BM_ItemByNameVsFunctionMap(benchmark::State& state) {
  Ref<ArrayList_Long> list = one_item_list();
  Unknown& target = *as_unknown(list.get());
  std::array<Variant, 1> args{Variant(0)};
  Dispatch map;
  map[u"item"] = [&](std::span<Variant> a) { return Variant(list->get_Item(a[0].to_long())); };
  const std::u16string_view name = u"Item";
  side_by_side(
      state, [&] { benchmark::DoNotOptimize(invoke(target, name, MemberKind::Method | MemberKind::Get, args)); },
      [&] { benchmark::DoNotOptimize(map.at(lower(name))(args)); });
}
BENCHMARK(BM_ItemByNameVsFunctionMap);

}  // namespace
}  // namespace quorvel
