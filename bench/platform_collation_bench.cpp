// The two string orders against their standard-library peers: the text order against a
// case-folding lexicographical compare (which knows ASCII only), the binary order against
// std::u16string_view::compare. Each benchmark times its peer over the same pairs and reports
// `ratio` = our time per comparison / the peer's (below 1: faster than the peer).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include <unicode/ucol.h>

#include "quorvel/platform/collation.h"
#include "quorvel/platform/thread_context.h"

namespace {

using Words = std::vector<std::u16string>;

/// Mixed-case words of 3 to 12 units over `alphabet`, many sharing a prefix, as in a sorted list.
Words make_words(std::u16string_view alphabet, std::size_t count, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  std::uniform_int_distribution<int> length(3, 12);
  Words words;
  for (std::size_t i = 0; i < count; ++i) {
    std::u16string word = (i % 3 == 0 || words.empty()) ? u"" : words.back().substr(0, 3);
    for (int n = length(random); n > 0; --n) word.push_back(alphabet[pick(random)]);
    words.push_back(std::move(word));
  }
  return words;
}

/// Long keys that differ late, where skipping the common prefix is the work.
Words make_keys(std::size_t count, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> position(24, 47);
  Words keys;
  for (std::size_t i = 0; i < count; ++i) {
    std::u16string key(48, u'k');
    key[static_cast<std::size_t>(position(random))] = static_cast<char16_t>(u'a' + i % 26);
    keys.push_back(std::move(key));
  }
  return keys;
}

int fold_ascii(char16_t unit) { return (unit >= u'A' && unit <= u'Z') ? unit + 32 : unit; }

int peer_text(std::u16string_view a, std::u16string_view b) {
  const auto less = [](char16_t x, char16_t y) { return fold_ascii(x) < fold_ascii(y); };
  if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), less)) return -1;
  return std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), less) ? 1 : 0;
}

int peer_binary(std::u16string_view a, std::u16string_view b) {
  const int result = a.compare(b);
  return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

/// Nanoseconds per comparison of `compare` over all neighbouring pairs of `words`.
template <class Compare>
double time_per_pair(const Words& words, Compare compare, int rounds) {
  const auto start = std::chrono::steady_clock::now();
  int sum = 0;
  for (int round = 0; round < rounds; ++round) {
    for (std::size_t i = 0; i + 1 < words.size(); ++i) sum += compare(words[i], words[i + 1]);
  }
  benchmark::DoNotOptimize(sum);
  const std::chrono::duration<double, std::nano> spent = std::chrono::steady_clock::now() - start;
  return spent.count() / (static_cast<double>(rounds) * static_cast<double>(words.size() - 1));
}

/// Runs `ours` under the benchmark loop and reports it against `peer` on the same pairs.
template <class Ours, class Peer>
void run_against_peer(benchmark::State& state, const Words& words, Ours ours, Peer peer) {
  ours(words[0], words[1]);  // builds the thread's collator outside the timing
  const double peer_ns = time_per_pair(words, peer, 50);
  std::size_t i = 0;
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    benchmark::DoNotOptimize(ours(words[i], words[i + 1]));
    if (++i + 1 == words.size()) i = 0;
  }
  const std::chrono::duration<double, std::nano> spent = std::chrono::steady_clock::now() - start;
  const double ours_ns = spent.count() / static_cast<double>(state.iterations());
  state.counters["peer_ns"] = peer_ns;
  state.counters["ratio"] = ours_ns / peer_ns;
}

void BM_CompareTextAscii(benchmark::State& state) {
  quorvel::this_thread_context().lcid = 0x409;
  const Words words = make_words(u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ", 4096, 1);
  run_against_peer(state, words, quorvel::compare_text, peer_text);
}
BENCHMARK(BM_CompareTextAscii);

// The same pairs through ICU alone: what the ASCII table saves.
void BM_CompareTextAsciiThroughIcu(benchmark::State& state) {
  quorvel::this_thread_context().lcid = 0x409;
  const Words words = make_words(u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ", 4096, 1);
  run_against_peer(state, words, quorvel::compare_text_collator, peer_text);
}
BENCHMARK(BM_CompareTextAsciiThroughIcu);

// Accented words go through ICU; the peer cannot order them correctly and is only the yardstick.
void BM_CompareTextAccented(benchmark::State& state) {
  quorvel::this_thread_context().lcid = 0x409;
  const Words words = make_words(u"abcdeABCDE\u00E9\u00E8\u00F6\u00C9\u00DF", 4096, 2);
  run_against_peer(state, words, quorvel::compare_text, peer_text);
}
BENCHMARK(BM_CompareTextAccented);

/// ICU's own comparison with the settings of the text order (en-US, case ignored): the peer the
/// text order is held to (target: within 1.2x on short strings).
class IcuPeer {
 public:
  IcuPeer() {
    UErrorCode status = U_ZERO_ERROR;
    collator_ = ucol_open("en_US", &status);
    ucol_setStrength(collator_, UCOL_SECONDARY);
  }
  ~IcuPeer() { ucol_close(collator_); }
  IcuPeer(const IcuPeer&) = delete;
  IcuPeer& operator=(const IcuPeer&) = delete;
  int operator()(std::u16string_view a, std::u16string_view b) const {
    return ucol_strcoll(collator_, a.data(), static_cast<std::int32_t>(a.size()), b.data(),
                        static_cast<std::int32_t>(b.size()));
  }

 private:
  UCollator* collator_ = nullptr;
};

void BM_CompareTextAsciiVsIcu(benchmark::State& state) {
  quorvel::this_thread_context().lcid = 0x409;
  const IcuPeer icu;
  const Words words = make_words(u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ", 4096, 1);
  run_against_peer(state, words, quorvel::compare_text, std::cref(icu));
}
BENCHMARK(BM_CompareTextAsciiVsIcu);

void BM_CompareTextAccentedVsIcu(benchmark::State& state) {
  quorvel::this_thread_context().lcid = 0x409;
  const IcuPeer icu;
  const Words words = make_words(u"abcdeABCDE\u00E9\u00E8\u00F6\u00C9\u00DF", 4096, 2);
  run_against_peer(state, words, quorvel::compare_text, std::cref(icu));
}
BENCHMARK(BM_CompareTextAccentedVsIcu);

void BM_CompareBinaryWords(benchmark::State& state) {
  const Words words = make_words(u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ", 4096, 3);
  run_against_peer(state, words, quorvel::compare_binary, peer_binary);
}
BENCHMARK(BM_CompareBinaryWords);

void BM_CompareBinaryLongKeys(benchmark::State& state) {
  const Words keys = make_keys(4096, 4);
  run_against_peer(state, keys, quorvel::compare_binary, peer_binary);
}
BENCHMARK(BM_CompareBinaryLongKeys);

}  // namespace
