// The entry objects against their peers: the collection text against a plain join, repeated
// language names against a hash map, and a filled list from one factory call against creation
// by program id and one late-bound AddItem per value. `ratio` = ours / peer.
#include <benchmark/benchmark.h>

#include <array>
#include <string>
#include <unordered_map>
#include <vector>

#include "quorvel/entry/collection_helper.h"
#include "quorvel/entry/constructors.h"
#include "quorvel/platform/late_binding.h"
#include "quorvel/platform/registry.h"
#include "quorvel/text/lcid.h"
#include "side_by_side.h"

namespace quorvel {
namespace {

void BM_CollectionText(benchmark::State& state) {
  constexpr std::int32_t kItems = 100'000;
  auto items = make<Collection>();
  std::vector<std::u16string> plain;
  for (std::int32_t i = 0; i < kItems; ++i) {
    std::u16string text = u"item";
    text += static_cast<char16_t>(u'a' + i % 26);
    text += static_cast<char16_t>(u'a' + i / 26 % 26);
    items->Add(Variant(String(text)));
    plain.push_back(std::move(text));
  }
  auto helper = new_collection_helper();
  bench::alternating_runs(
      state, kItems,
      [&] {
        const String text = helper->ToString(items);
        benchmark::DoNotOptimize(text.c_str());
      },
      [&] {
        std::u16string text;
        for (const std::u16string& s : plain) {
          if (!text.empty()) text += u' ';
          text += s;
        }
        benchmark::DoNotOptimize(text.data());
      });
}
BENCHMARK(BM_CollectionText)->Unit(benchmark::kMillisecond);

void BM_EnglishLanguageName(benchmark::State& state) {
  const Ref<LCID> lcid = new_lcid(1038);
  benchmark::DoNotOptimize(lcid->get_EnglishLanguageName());  // the first call reaches ICU
  std::unordered_map<std::int32_t, std::u16string> names{{1038, u"Hungarian"}, {1033, u"English"}};
  bench::side_by_side(
      state,
      [&] {
        const String name = lcid->get_EnglishLanguageName();
        benchmark::DoNotOptimize(name.c_str());
      },
      [&] {
        std::u16string name = names.find(1038)->second;
        benchmark::DoNotOptimize(name.data());
      });
}
BENCHMARK(BM_EnglishLanguageName);

void BM_NewArrayListLong(benchmark::State& state) {
  auto factory = new_constructors();
  const DispId add = get_dispid(*make<ArrayList_Long>(), u"AddItem");
  bench::side_by_side(
      state,
      [&] {
        std::array<Variant, 8> args{1, 2, 3, 4, 5, 6, 7, 8};
        Variant list = invoke(*factory, u"new_ArrayList_Long", MemberKind::Method, args);
        benchmark::DoNotOptimize(list.if_object());
      },
      [&] {
        Ref<Object> list = create_object(u"Quorvel.ArrayList_Long");
        for (std::int32_t i = 1; i <= 8; ++i) {
          Variant value = i;
          invoke(*list, add, MemberKind::Method, std::span<Variant>(&value, 1));
        }
        benchmark::DoNotOptimize(list.get());
      });
}
BENCHMARK(BM_NewArrayListLong);

}  // namespace
}  // namespace quorvel
