#include "quorvel/platform/number_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "quorvel/platform/string.h"

namespace quorvel {
namespace {

const NumberSeparators kEnUs{};
const NumberSeparators kFrFr{u',', u'\u00A0', u"\u20AC"};

// Reads `text` as `target` ("Double", "Long", "Byte" or "Boolean"); `seen` is the value read (a
// Double's bits, a Boolean as -1 or 0). Every read also checks that a failure leaves the output alone.
ConvStatus read_as(const std::string& target, std::u16string_view text, const NumberSeparators& seps,
                   std::int64_t& seen) {
  const auto read = [&](auto parse, auto value, auto record) {
    const auto before = value;
    const ConvStatus st = parse(text, seps, value);
    if (st != ConvStatus::Ok) {
      EXPECT_EQ(value, before) << "output written on failure";
    }
    seen = record(value);
    return st;
  };
  const auto same = [](auto v) { return static_cast<std::int64_t>(v); };
  if (target == "Double") return read(parse_double, 0.25, [](double d) { return std::bit_cast<std::int64_t>(d); });
  if (target == "Long") return read(parse_long, std::int32_t{7}, same);
  if (target == "Byte") return read(parse_byte, std::uint8_t{7}, same);
  EXPECT_EQ(target, "Boolean");
  return read(parse_boolean, true, [&](bool b) { return same(boolean_value(b)); });
}

// A Double, or a Single when `single`, written as text.
std::u16string written(double value, bool single, const NumberSeparators& seps = kEnUs) {
  char16_t buf[kNumberTextCapacity];
  return {buf, single ? format_single(static_cast<float>(value), seps, buf) : format_double(value, seps, buf)};
}

// Forms the recorded vectors do not reach, and input that must fail cleanly.
TEST(NumberText, ReadsEdgeForms) {
  constexpr ConvStatus Ok = ConvStatus::Ok, Over = ConvStatus::Overflow, Bad = ConvStatus::TypeMismatch;
  const struct {
    const char* name;
    const char* target;
    std::u16string text;
    ConvStatus status;
    double value;  // when Ok; a Boolean as -1 or 0
  } rows[] = {
      {"exponent far above", "Double", u"1e99999", Over, 0},
      {"huge exponent digits", "Double", u"1e" + std::u16string(5'000, u'9'), Over, 0},
      {"zero with huge exponent", "Double", u"0e99999", Ok, 0},
      {"ten thousand digits", "Double", std::u16string(10'000, u'9'), Over, 0},
      {"ten thousand leading zeros", "Double", u"0." + std::u16string(10'000, u'0') + u"1", Ok, 0},
      {"digits beyond the nineteenth", "Double", u"1000000000000000000000", Ok, 1e21},
      {"embedded NUL", "Double", std::u16string(u"12\0", 3), Bad, 0},
      {"lone high surrogate", "Double", u"1\xD800", Bad, 0},
      {"exponent sign alone", "Double", u"1e+", Bad, 0},
      {"sign between blanks", "Double", u" - 5 ", Ok, -5},
      {"parenthesis and sign", "Double", u"(-5)", Bad, 0},
      {"unclosed parenthesis", "Double", u"(5", Bad, 0},
      {"closing without opening", "Double", u"5)", Bad, 0},
      {"currency twice", "Double", u"$5$", Bad, 0},
      {"thousands after the point", "Double", u"0.5,5", Ok, 0.55},
      {"trailing thousands", "Double", u"5,", Ok, 5},
      {"signed hex", "Double", u"-&H10", Bad, 0},
      {"hex with fraction", "Double", u"&H10.5", Bad, 0},
      {"octal digit 8", "Double", u"&O18", Bad, 0},
      {"hex beyond 64 bits", "Double", u"&H" + std::u16string(40, u'F'), Over, 0},
      {"ampersand alone", "Double", u"&", Bad, 0},
      {"Long: hex above 32 bits", "Long", u"&H100000000", Over, 0},
      {"Long: bottom minus a half rounds to even", "Long", u"-2147483648.5", Ok, -2147483648.0},
      {"Byte: hex above the top", "Byte", u"&H100", Over, 0},
      {"Boolean: word between blanks", "Boolean", u" false\t", Ok, 0},
      {"Boolean: word with more", "Boolean", u"Truex", Bad, 0},
      {"Boolean: half a hash", "Boolean", u"#TRUE", Bad, 0},
      {"Boolean: empty", "Boolean", u"", Bad, 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    std::int64_t seen = 0;
    ASSERT_EQ(read_as(row.target, row.text, kEnUs, seen), row.status);
    if (row.status != ConvStatus::Ok) continue;
    EXPECT_EQ(row.target == std::string("Double") ? std::bit_cast<double>(seen) : static_cast<double>(seen), row.value);
  }
}

TEST(NumberText, CurrencyIsTheLocalesWholeSymbolOrNone) {
  double d = 0;
  EXPECT_EQ(parse_double(u"$5", {u'.', u',', u""}, d), ConvStatus::TypeMismatch);
  EXPECT_EQ(parse_double(u"CH 5", {u'.', u',', u"CHF"}, d), ConvStatus::TypeMismatch);
  EXPECT_EQ(parse_double(u"CHF 5", {u'.', u',', u"CHF"}, d), ConvStatus::Ok);
  EXPECT_EQ(d, 5);
}

TEST(NumberText, WritesEdgeValues) {
  const struct {
    const char* name;
    double value;
    bool single;
    std::u16string_view text;
  } rows[] = {
      {"exact tie in exponent form", 1000000000000005.0, false, u"1.00000000000001E+15"},
      {"smallest subnormal", 4.9406564584124654e-324, false, u"4.94065645841247E-324"},
      {"negative infinity", -std::numeric_limits<double>::infinity(), false, u"-INF"},
      {"negative NaN", -std::numeric_limits<double>::quiet_NaN(), false, u"NAN"},
      {"Single: exact tie rounds up", 1234566.5, true, u"1234567"},
      {"Single: largest plain", 9999999.0, true, u"9999999"},
      {"Single: first exponent form", 1e7, true, u"1E+07"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(written(row.value, row.single), row.text);
  }
  EXPECT_EQ(written(1.5e300, false, kFrFr), u"1,5E+300");
}

// What is written reads back as a number close to the original, and never longer than the capacity
// (the longest forms are negative, with 15 digits and a three-digit exponent or four leading zeros).
TEST(NumberText, WrittenDoublesReadBackWithinTheDigitsWritten) {
  std::uint64_t state = 0x9E3779B97F4A7C15u;
  for (int n = 0; n < 20'000; ++n) {
    state ^= state << 13, state ^= state >> 7, state ^= state << 17;
    const double value = std::bit_cast<double>(state);
    if (!std::isfinite(value)) continue;
    SCOPED_TRACE(value);
    const std::u16string text = written(value, false);
    ASSERT_LT(text.size(), kNumberTextCapacity);
    double back = 0;
    const ConvStatus st = parse_double(text, kEnUs, back);
    if (std::fabs(value) > 1.79769313486231e308) continue;  // rounds to text above the largest Double
    ASSERT_EQ(st, ConvStatus::Ok) << testing::PrintToString(text);
    if (std::fabs(value) < 1e-300) continue;  // subnormals keep fewer digits
    EXPECT_NEAR(back / value, 1.0, 1e-14) << testing::PrintToString(text);
  }
}

}  // namespace
}  // namespace quorvel
