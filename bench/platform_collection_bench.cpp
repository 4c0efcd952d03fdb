// The keyed collection against the standard-library structures a C++ program would use for the
// same job: a vector in order plus a hash of lower-cased keys, and for removals at the front a list
// plus a hash of keys to list positions. Each benchmark runs both on the same data and reports
// the ratio of their times (ours / peer; below 1 is faster).
#include <benchmark/benchmark.h>

#include <chrono>
#include <list>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

#include "quorvel/platform/collection.h"

namespace quorvel {
namespace {

using Clock = std::chrono::steady_clock;

std::u16string key_text(std::int32_t i, bool upper) {
  std::u16string key = upper ? u"KEY-" : u"key-";
  for (char digit : std::to_string(i)) key.push_back(static_cast<char16_t>(digit));
  return key;
}

std::u16string lower_ascii(std::u16string_view s) {
  std::u16string out(s);
  for (char16_t& c : out) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
  }
  return out;
}

struct PeerOrdered {
  std::vector<Variant> items;
  std::unordered_map<std::u16string, std::size_t> keys;
  void add(const Variant& item, std::u16string_view key) {
    if (!keys.emplace(lower_ascii(key), items.size()).second) throw std::runtime_error("duplicate");
    items.push_back(item);
  }
  const Variant& item(std::u16string_view key) const { return items[keys.at(lower_ascii(key))]; }
};

struct PeerList {
  std::list<Variant> items;
  std::unordered_map<std::u16string, std::list<Variant>::iterator> keys;
  // The key entry of each item, in order (no rehash happens once filling is over).
  std::vector<std::unordered_map<std::u16string, std::list<Variant>::iterator>::iterator> key_of;
  void add(const Variant& item, std::u16string_view key) {
    auto [it, fresh] = keys.emplace(lower_ascii(key), items.end());
    if (!fresh) throw std::runtime_error("duplicate");
    it->second = items.insert(items.end(), item);
    key_of.push_back(it);
  }
};

void report(benchmark::State& state, double ours, double peer, std::int64_t operations) {
  state.counters["ours_ns_per_op"] = ours / static_cast<double>(operations);
  state.counters["peer_ns_per_op"] = peer / static_cast<double>(operations);
  state.counters["ratio"] = ours / peer;
}

double nanoseconds(Clock::duration d) { return std::chrono::duration<double, std::nano>(d).count(); }

void BM_CollectionAddKeyed(benchmark::State& state) {
  const auto n = static_cast<std::int32_t>(state.range(0));
  std::vector<Variant> keys;
  for (std::int32_t i = 0; i < n; ++i) keys.emplace_back(String(key_text(i, false)));
  double ours = 0, peer = 0;
  std::int64_t operations = 0;
  for (auto _ : state) {
    auto t0 = Clock::now();
    {
      Ref<Collection> c = make<Collection>();
      for (std::int32_t i = 0; i < n; ++i) c->Add(Variant(i), keys[static_cast<std::size_t>(i)]);
      benchmark::DoNotOptimize(c->Count());
    }
    auto t1 = Clock::now();
    {
      PeerOrdered p;
      for (std::int32_t i = 0; i < n; ++i) p.add(Variant(i), *keys[static_cast<std::size_t>(i)].if_string());
      benchmark::DoNotOptimize(p.items.size());
    }
    auto t2 = Clock::now();
    ours += nanoseconds(t1 - t0);
    peer += nanoseconds(t2 - t1);
    operations += n;
  }
  report(state, ours, peer, operations);
}
BENCHMARK(BM_CollectionAddKeyed)->Arg(1000)->Arg(100000);

void BM_CollectionItemByKey(benchmark::State& state) {
  const auto n = static_cast<std::int32_t>(state.range(0));
  Ref<Collection> c = make<Collection>();
  PeerOrdered p;
  std::vector<Variant> asked;
  for (std::int32_t i = 0; i < n; ++i) {
    c->Add(Variant(i), Variant(String(key_text(i, false))));
    p.add(Variant(i), key_text(i, false));
    asked.emplace_back(String(key_text((i * 7919) % n, i % 2 == 0)));  // mixed case, scattered
  }
  double ours = 0, peer = 0;
  std::int64_t operations = 0;
  for (auto _ : state) {
    auto t0 = Clock::now();
    for (const Variant& key : asked) benchmark::DoNotOptimize(c->Item(key));
    auto t1 = Clock::now();
    for (const Variant& key : asked) benchmark::DoNotOptimize(p.item(*key.if_string()));
    auto t2 = Clock::now();
    ours += nanoseconds(t1 - t0);
    peer += nanoseconds(t2 - t1);
    operations += n;
  }
  report(state, ours, peer, operations);
}
BENCHMARK(BM_CollectionItemByKey)->Arg(1000)->Arg(100000);

// Emptying from the front: positions shift on every removal, which a plain vector would make
// quadratic; the peer is a list, whose front removal is constant.
void BM_CollectionRemoveFirst(benchmark::State& state) {
  const auto n = static_cast<std::int32_t>(state.range(0));
  const Variant first(std::int32_t{1});
  double ours = 0, peer = 0;
  std::int64_t operations = 0;
  for (auto _ : state) {
    state.PauseTiming();
    Ref<Collection> c = make<Collection>();
    PeerList p;
    for (std::int32_t i = 0; i < n; ++i) {
      c->Add(Variant(i), Variant(String(key_text(i, false))));
      p.add(Variant(i), key_text(i, false));
    }
    state.ResumeTiming();
    auto t0 = Clock::now();
    for (std::int32_t i = 0; i < n; ++i) c->Remove(first);
    auto t1 = Clock::now();
    for (std::int32_t i = 0; i < n; ++i) {
      p.keys.erase(p.key_of[static_cast<std::size_t>(i)]);
      p.items.pop_front();
    }
    auto t2 = Clock::now();
    ours += nanoseconds(t1 - t0);
    peer += nanoseconds(t2 - t1);
    operations += n;
  }
  report(state, ours, peer, operations);
}
BENCHMARK(BM_CollectionRemoveFirst)->Arg(1000)->Arg(100000);

}  // namespace
}  // namespace quorvel
