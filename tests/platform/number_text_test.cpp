#include "quorvel/platform/number_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "quorvel/platform/string.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

using nlohmann::json;

std::u16string utf16(const json& text) { return std::u16string(String::from_utf8(text.get<std::string>()).view()); }
std::uint64_t bits(const json& hex) { return std::stoull(hex.get<std::string>(), nullptr, 16); }

ConvStatus status_named(const json& result) {
  if (result == "ok") return ConvStatus::Ok;
  if (result == "overflow") return ConvStatus::Overflow;
  EXPECT_EQ(result, "type mismatch");
  return ConvStatus::TypeMismatch;
}

const NumberSeparators kEnUs{};
const NumberSeparators kDeDe{u',', u'.', u"\u20AC"};
const NumberSeparators kFrFr{u',', u'\u00A0', u"\u20AC"};

NumberSeparators separators_for(const json& lcid) {
  return lcid == "0x0407" ? kDeDe : lcid == "0x040C" ? kFrFr : kEnUs;
}

// Reads `text` as `target` ("Double", "Byte", ...); `seen` is the value as the vectors record it (a
// float's bits, a Boolean as -1 or 0). Every read also checks that a failure leaves the output alone.
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
  const auto float_bits = [&](float f) { return same(std::bit_cast<std::uint32_t>(f)); };
  if (target == "Double") return read(parse_double, 0.25, [](double d) { return std::bit_cast<std::int64_t>(d); });
  if (target == "Single") return read(parse_single, 0.25f, float_bits);
  if (target == "Long") return read(parse_long, std::int32_t{7}, same);
  if (target == "Integer") return read(parse_integer, std::int16_t{7}, same);
  if (target == "Byte") return read(parse_byte, std::uint8_t{7}, same);
  EXPECT_EQ(target, "Boolean");
  return read(parse_boolean, true, [&](bool b) { return same(boolean_value(b)); });
}

// A Double, or a Single when `single`, written as text.
std::u16string written(double value, bool single, const NumberSeparators& seps = kEnUs) {
  char16_t buf[kNumberTextCapacity];
  return {buf, single ? format_single(static_cast<float>(value), seps, buf) : format_double(value, seps, buf)};
}

// Checks one recorded vector that reads or writes text; false when the row does neither (String to
// String and Empty to String are copies, which the Variant coercion tests cover).
bool check_text_vector(const json& row, const NumberSeparators& seps) {
  const std::string src = row["src_kind"];
  const std::string target = row["target"];
  const ConvStatus want = status_named(row["result"]);
  if (src == "String" && target != "String") {
    std::int64_t seen = 0;
    EXPECT_EQ(read_as(target, utf16(row["src_value"]), seps, seen), want);
    if (want == ConvStatus::Ok) {
      EXPECT_EQ(seen, row.contains("out_bits") ? static_cast<std::int64_t>(bits(row["out_bits"]))
                                               : row["out_value"].get<std::int64_t>());
    }
    return true;
  }
  if (target != "String" || src == "String" || src == "Empty") return false;
  const std::u16string expected = utf16(row["out_value"]);
  if (src == "Double" || src == "Single") {
    const bool single = src == "Single";
    const std::uint64_t b = bits(row["src_bits"]);
    const double value = single ? std::bit_cast<float>(static_cast<std::uint32_t>(b)) : std::bit_cast<double>(b);
    EXPECT_EQ(written(value, single, seps), expected);
  } else if (src == "Boolean") {
    EXPECT_EQ(row["src_value"].get<int>() != 0 ? kTrueText : kFalseText, expected);
  } else {
    char16_t buf[kNumberTextCapacity];
    EXPECT_EQ(std::u16string(buf, format_long(row["src_value"].get<std::int32_t>(), buf)), expected);
  }
  return true;
}

TEST(NumberTextVectors, ConversionsUnderEnUs) {
  int checked = 0;
  for (const auto data = test_support::load_test_data("conversions.json"); const json& row : data["vectors"]) {
    SCOPED_TRACE(row.dump());
    checked += check_text_vector(row, kEnUs);
  }
  EXPECT_EQ(checked, 362);  // every text row of the file, not a silent subset
}

TEST(NumberTextVectors, OtherLocalesAndBooleanWords) {
  int checked = 0;
  for (const auto data = test_support::load_test_data("conversions_locales.json"); const json& row : data["vectors"]) {
    SCOPED_TRACE(row.dump());
    checked += check_text_vector(row, separators_for(row["lcid"]));
  }
  EXPECT_EQ(checked, 76);
}

// Each float written as text and that text read back: both directions pinned bit for bit.
TEST(NumberTextVectors, FloatStrings) {
  const json data = test_support::load_test_data("floatstrings.json");
  int checked = 0;
  for (const char* group : {"r8", "r4", "other_locales"}) {
    for (const json& row : data[group]) {
      SCOPED_TRACE(row.dump());
      const std::string kind = row["conversion"] == "Double to String" ? "Double" : "Single";
      const NumberSeparators seps = separators_for(row["lcid"]);
      check_text_vector({{"src_kind", kind}, {"src_bits", row["in_bits"]}, {"target", "String"},
                         {"result", row["result"]}, {"out_value", row["out"]}},
                        seps);
      check_text_vector({{"src_kind", "String"}, {"src_value", row["out"]}, {"target", kind},
                         {"result", row["reparse_result"]}, {"out_bits", row.value("reparse_bits", json())}},
                        seps);
      ++checked;
    }
  }
  EXPECT_EQ(checked, 99);
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
      {"smallest Double", "Double", u"4.94065645841247E-324", Ok, 4.9406564584124654e-324},
      {"embedded NUL", "Double", std::u16string(u"12\0", 3), Bad, 0},
      {"lone high surrogate", "Double", u"1\xD800", Bad, 0},
      {"lone low surrogate", "Double", u"\xDC00" u"5", Bad, 0},
      {"exponent sign alone", "Double", u"1e+", Bad, 0},
      {"sign between blanks", "Double", u" - 5 ", Ok, -5},
      {"parenthesis and sign", "Double", u"(-5)", Bad, 0},
      {"unclosed parenthesis", "Double", u"(5", Bad, 0},
      {"closing without opening", "Double", u"5)", Bad, 0},
      {"currency twice", "Double", u"$5$", Bad, 0},
      {"thousands after the point", "Double", u"0.5,5", Ok, 0.55},
      {"trailing thousands", "Double", u"5,", Ok, 5},
      {"hex between blanks", "Double", u" &H1F ", Ok, 31},
      {"signed hex", "Double", u"-&H10", Bad, 0},
      {"hex with fraction", "Double", u"&H10.5", Bad, 0},
      {"octal digit 8", "Double", u"&O18", Bad, 0},
      {"hex beyond 64 bits", "Double", u"&H" + std::u16string(40, u'F'), Over, 0},
      {"ampersand alone", "Double", u"&", Bad, 0},
      {"Long: hex above 32 bits", "Long", u"&H100000000", Over, 0},
      {"Long: bottom minus a half rounds to even", "Long", u"-2147483648.5", Ok, -2147483648.0},
      {"Long: below the bottom", "Long", u"-2147483649", Over, 0},
      {"Byte: top in hex", "Byte", u"&HFF", Ok, 255},
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
      {"negative exponent form", -1.5e-20, false, u"-1.5E-20"},
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
