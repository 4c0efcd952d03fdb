// Strings and dictionaries against plain peers in the same binary; `ratio` = ours / peer (below 1:
// ours is faster). Hexadecimal text of a long string against a table loop, the dictionary text
// both ways (MB/s of text; 10k and 100k entries show whether the cost is linear), key lookups
// against std::unordered_map, and the compare-mode dispatch against the collation it reaches.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "quorvel/platform/collation.h"
#include "quorvel/text/compare_strings.h"
#include "quorvel/text/dictionary_text.h"
#include "quorvel/text/hex_text.h"
#include "quorvel/text/string_dictionary.h"
#include "side_by_side.h"

namespace quorvel {
namespace {

std::u16string random_units(std::mt19937& random, std::size_t length) {
  std::u16string s(length, u' ');
  for (char16_t& c : s) c = static_cast<char16_t>(random());
  return s;
}

// Words of 6 to 14 letters in mixed case, all distinct when folded.
std::vector<KeyValueString> random_pairs(std::size_t count) {
  std::mt19937 random(7);
  std::vector<KeyValueString> pairs;
  pairs.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    std::u16string key;
    for (std::size_t n = 6 + random() % 9; n > 0; --n) key.push_back(static_cast<char16_t>((random() % 2 ? u'a' : u'A') + random() % 26));
    key += u"#" + std::u16string(String::from_utf8(std::to_string(i)).view());
    pairs.push_back({String(key), String(random_units(random, 8))});
  }
  return pairs;
}

std::u16string folded(std::u16string_view key) {
  std::u16string out(key);
  for (char16_t& c : out) c = static_cast<char16_t>(static_cast<unsigned>(c - u'A') < 26u ? c | 0x20 : c);
  return out;
}

void BM_ToHexSeqMillionUnits(benchmark::State& state) {
  std::mt19937 random(1);
  const std::u16string text = random_units(random, 1'000'000);
  bench::alternating_runs(
      state, static_cast<std::int64_t>(text.size()),
      [&] { benchmark::DoNotOptimize(code_unit_hex(text)); },
      [&] {
        static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
        std::u16string out(text.size() * 4, u'\0');
        const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
        for (std::size_t i = 0; i < text.size() * 2; ++i) {
          out[2 * i] = kDigits[bytes[i] >> 4];
          out[2 * i + 1] = kDigits[bytes[i] & 15];
        }
        benchmark::DoNotOptimize(out.data());
      });
}
BENCHMARK(BM_ToHexSeqMillionUnits)->Unit(benchmark::kMillisecond);

void dictionary_text(benchmark::State& state, bool parse) {
  const std::vector<KeyValueString> pairs = random_pairs(static_cast<std::size_t>(state.range(0)));
  auto d = make<StringDictionary>();
  d->init_from_pairs(pairs, 1);
  const String text = d->ToString();
  for (auto _ : state) {
    if (parse) {
      auto copy = make<StringDictionary>();
      copy->init_from_text(text);
      benchmark::DoNotOptimize(copy.get());
    } else {
      benchmark::DoNotOptimize(d->ToString());
    }
  }
  const double bytes = static_cast<double>(text.size() * sizeof(char16_t));
  state.counters["MB_per_s"] = benchmark::Counter(bytes / 1e6, benchmark::Counter::kIsIterationInvariantRate);
  state.counters["entries_per_s"] =
      benchmark::Counter(static_cast<double>(pairs.size()), benchmark::Counter::kIsIterationInvariantRate);
}
void BM_DictionaryParse(benchmark::State& state) { dictionary_text(state, true); }
void BM_DictionaryWrite(benchmark::State& state) { dictionary_text(state, false); }
BENCHMARK(BM_DictionaryParse)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DictionaryWrite)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

void has_key(benchmark::State& state, std::int32_t mode) {
  const std::vector<KeyValueString> pairs = random_pairs(100'000);
  auto d = make<StringDictionary>();
  d->init_from_pairs(pairs, mode);
  std::unordered_map<std::u16string, std::u16string> peer;
  for (const KeyValueString& p : pairs) {
    peer.emplace(mode == 0 ? std::u16string(p.Key.view()) : folded(p.Key.view()), std::u16string(p.Value.view()));
  }
  // Lookups in a shuffled order, with keys as callers pass them: strings, for the peer already
  // in the form it stores (folded in mode 1, since its folding is not what is measured).
  std::vector<String> ours_keys;
  std::vector<std::u16string> peer_keys;
  std::mt19937 random(3);
  for (int i = 0; i < 4096; ++i) {
    const String& key = pairs[random() % pairs.size()].Key;
    ours_keys.push_back(key);
    peer_keys.push_back(mode == 0 ? std::u16string(key.view()) : folded(key.view()));
  }
  std::size_t i = 0, j = 0;
  bench::side_by_side(
      state, [&] { benchmark::DoNotOptimize(d->HasKey(ours_keys[i++ & 4095])); },
      [&] { benchmark::DoNotOptimize(peer.find(peer_keys[j++ & 4095]) != peer.end()); });
}
void BM_HasKeyBinary(benchmark::State& state) { has_key(state, 0); }
void BM_HasKeyText(benchmark::State& state) { has_key(state, 1); }
BENCHMARK(BM_HasKeyBinary);
BENCHMARK(BM_HasKeyText);

void BM_CompareStringsTextShort(benchmark::State& state) {
  const char16_t* words[] = {u"apple", u"Apple", u"banana", u"cherry", u"APPLE", u"date", u"Banana", u"fig"};
  std::vector<String> strings(std::begin(words), std::end(words));
  std::size_t i = 0, j = 0;
  bench::side_by_side(
      state,
      [&] {
        benchmark::DoNotOptimize(CompareStrings(strings[i & 7], strings[(i + 3) & 7], 1));
        ++i;
      },
      [&] {
        benchmark::DoNotOptimize(compare_text(strings[j & 7].view(), strings[(j + 3) & 7].view()));
        ++j;
      });
}
BENCHMARK(BM_CompareStringsTextShort);

}  // namespace
}  // namespace quorvel
