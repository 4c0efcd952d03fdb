// Number text against the standard library's own conversions. Each benchmark converts the same
// batch of values both ways in every iteration, timing each side, and reports nanoseconds per value
// for both and the ratio ours / std (the target is at most 2).
#include <benchmark/benchmark.h>

#include <charconv>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "quorvel/platform/number_text.h"

namespace {

using Clock = std::chrono::steady_clock;

// Doubles over many magnitudes: small whole numbers, short decimals, long fractions, large and tiny.
std::vector<double> mixed_doubles() {
  std::vector<double> v;
  std::uint64_t s = 0x2545F4914F6CDD1Du;
  const auto next = [&s] {
    s ^= s << 13, s ^= s >> 7, s ^= s << 17;
    return s;
  };
  for (int k = 0; k < 1024; ++k) {
    const std::uint64_t r = next();
    switch (k % 5) {
      case 0: v.push_back(static_cast<double>(r % 100000)); break;
      case 1: v.push_back(static_cast<double>(r % 100000) / 100.0); break;
      case 2: v.push_back(static_cast<double>(r % 1000000) / 7.0); break;
      case 3: v.push_back(static_cast<double>(r >> 11) * 0x1p-53 * 1e20); break;
      default: v.push_back(static_cast<double>(r >> 11) * 0x1p-53 * 1e-12); break;
    }
    if (r & 1) v.back() = -v.back();
  }
  return v;
}

std::vector<std::int32_t> mixed_longs() {
  std::vector<std::int32_t> v;
  std::uint64_t s = 0x9E3779B97F4A7C15u;
  for (int k = 0; k < 1024; ++k) {
    s ^= s << 13, s ^= s >> 7, s ^= s << 17;
    const auto magnitude = static_cast<std::int64_t>(s % 2147483648u) >> (s % 31);  // 1 to 10 digits
    v.push_back(static_cast<std::int32_t>((s & (1u << 20)) ? -magnitude : magnitude));
  }
  return v;
}

void report(benchmark::State& state, double ours_ns, double std_ns, std::size_t per_iteration) {
  const double n = static_cast<double>(state.iterations()) * static_cast<double>(per_iteration);
  state.counters["ours_ns"] = ours_ns / n;
  state.counters["std_ns"] = std_ns / n;
  state.counters["ratio"] = ours_ns / std_ns;
  state.SetItemsProcessed(static_cast<std::int64_t>(n));
}

double elapsed_ns(Clock::time_point from) {
  return std::chrono::duration<double, std::nano>(Clock::now() - from).count();
}

void BM_FormatDouble(benchmark::State& state) {
  const std::vector<double> values = mixed_doubles();
  const quorvel::NumberSeparators seps;
  char16_t wide[quorvel::kNumberTextCapacity];
  char narrow[64];
  double ours = 0;
  double theirs = 0;
  for (auto _ : state) {
    auto t0 = Clock::now();
    for (double d : values) {
      benchmark::DoNotOptimize(quorvel::format_double(d, seps, wide));
      benchmark::ClobberMemory();
    }
    ours += elapsed_ns(t0);
    t0 = Clock::now();
    for (double d : values) {
      benchmark::DoNotOptimize(std::to_chars(narrow, narrow + sizeof narrow, d, std::chars_format::general, 15));
      benchmark::ClobberMemory();
    }
    theirs += elapsed_ns(t0);
  }
  report(state, ours, theirs, values.size());
}
BENCHMARK(BM_FormatDouble);

void BM_ParseDouble(benchmark::State& state) {
  const quorvel::NumberSeparators seps;
  std::vector<std::u16string> wide;
  std::vector<std::string> narrow;
  for (double d : mixed_doubles()) {
    char16_t buf[quorvel::kNumberTextCapacity];
    const std::u16string text(buf, quorvel::format_double(d, seps, buf));
    wide.push_back(text);
    narrow.emplace_back(text.begin(), text.end());  // ASCII
  }
  double ours = 0;
  double theirs = 0;
  for (auto _ : state) {
    auto t0 = Clock::now();
    for (const std::u16string& s : wide) {
      double d;
      benchmark::DoNotOptimize(quorvel::parse_double(s, seps, d));
      benchmark::DoNotOptimize(d);
    }
    ours += elapsed_ns(t0);
    t0 = Clock::now();
    for (const std::string& s : narrow) {
      double d;
      benchmark::DoNotOptimize(std::from_chars(s.data(), s.data() + s.size(), d));
      benchmark::DoNotOptimize(d);
    }
    theirs += elapsed_ns(t0);
  }
  report(state, ours, theirs, wide.size());
}
BENCHMARK(BM_ParseDouble);

void BM_FormatLong(benchmark::State& state) {
  const std::vector<std::int32_t> values = mixed_longs();
  char16_t wide[quorvel::kNumberTextCapacity];
  char narrow[16];
  double ours = 0;
  double theirs = 0;
  for (auto _ : state) {
    auto t0 = Clock::now();
    for (std::int32_t v : values) {
      benchmark::DoNotOptimize(quorvel::format_long(v, wide));
      benchmark::ClobberMemory();
    }
    ours += elapsed_ns(t0);
    t0 = Clock::now();
    for (std::int32_t v : values) {
      benchmark::DoNotOptimize(std::to_chars(narrow, narrow + sizeof narrow, v));
      benchmark::ClobberMemory();
    }
    theirs += elapsed_ns(t0);
  }
  report(state, ours, theirs, values.size());
}
BENCHMARK(BM_FormatLong);

}  // namespace
