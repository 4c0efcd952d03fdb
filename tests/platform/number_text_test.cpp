#include "quorvel/platform/number_text.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <limits>
#include <nlohmann/json.hpp>
#include <string>

namespace quorvel {
namespace {

using nlohmann::json;

json load(const char* name) { return test_support::load_test_data(name); }

std::u16string utf16(const std::string& s) {
  std::u16string out;
  for (std::size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    const int len = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    char32_t cp = len == 1 ? c : len == 2 ? c & 0x1F : len == 3 ? c & 0x0F : c & 0x07;
    for (int k = 1; k < len; ++k) cp = (cp << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    i += len;
    if (cp >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(cp);
    }
  }
  return out;
}

std::string narrow(std::u16string_view s) {  // for messages; the texts compared here are ASCII
  std::string out;
  for (char16_t c : s) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

ConvStatus status_named(const std::string& hr) {
  if (hr == "ok") return ConvStatus::Ok;
  if (hr == "overflow") return ConvStatus::Overflow;
  if (hr == "type mismatch") return ConvStatus::TypeMismatch;
  ADD_FAILURE() << "unexpected result code " << hr;
  return ConvStatus::Ok;
}

std::uint64_t hex_bits(const json& v) { return std::stoull(v.get<std::string>(), nullptr, 16); }

const NumberSeparators kEnUs{};
const NumberSeparators kDeDe{u',', u'.', u"\u20AC"};
const NumberSeparators kFrFr{u',', u'\u00A0', u"\u20AC"};

NumberSeparators separators_for(const std::string& lcid) {
  if (lcid == "0x0407") return kDeDe;
  if (lcid == "0x040C") return kFrFr;
  return kEnUs;
}

std::u16string format_double(double v, const NumberSeparators& seps = kEnUs) {
  char16_t buf[kNumberTextCapacity];
  return std::u16string(buf, quorvel::format_double(v, seps, buf));
}

std::u16string format_single(float v, const NumberSeparators& seps = kEnUs) {
  char16_t buf[kNumberTextCapacity];
  return std::u16string(buf, quorvel::format_single(v, seps, buf));
}

std::u16string format_long(std::int32_t v) {
  char16_t buf[kNumberTextCapacity];
  return std::u16string(buf, quorvel::format_long(v, buf));
}

// Checks one recorded text-to-number or number-to-text vector; false when the row is not about text.
bool check_text_vector(const json& row, const NumberSeparators& seps) {
  const std::string src = row["src_kind"];
  const std::string target = row["target"];
  const ConvStatus want = status_named(row["result"]);
  if (src == "String") {
    const std::u16string text = utf16(row["src_value"].get<std::string>());
    if (target == "Double") {
      double d = 0;
      EXPECT_EQ(parse_double(text, seps, d), want);
      if (want == ConvStatus::Ok) {
        EXPECT_EQ(std::bit_cast<std::uint64_t>(d), hex_bits(row["out_bits"])) << d;
      }
    } else if (target == "Single") {
      float f = 0;
      EXPECT_EQ(parse_single(text, seps, f), want);
      if (want == ConvStatus::Ok) {
        EXPECT_EQ(std::bit_cast<std::uint32_t>(f), hex_bits(row["out_bits"])) << f;
      }
    } else if (target == "Long") {
      std::int32_t v = 0;
      EXPECT_EQ(parse_long(text, seps, v), want);
      if (want == ConvStatus::Ok) {
        EXPECT_EQ(v, row["out_value"].get<std::int32_t>());
      }
    } else if (target == "Integer") {
      std::int16_t v = 0;
      EXPECT_EQ(parse_integer(text, seps, v), want);
      if (want == ConvStatus::Ok) {
        EXPECT_EQ(v, row["out_value"].get<std::int16_t>());
      }
    } else if (target == "Byte") {
      std::uint8_t v = 0;
      EXPECT_EQ(parse_byte(text, seps, v), want);
      if (want == ConvStatus::Ok) {
        EXPECT_EQ(v, row["out_value"].get<std::uint8_t>());
      }
    } else if (target == "Boolean") {
      bool v = false;
      EXPECT_EQ(parse_boolean(text, seps, v), want);
      if (want == ConvStatus::Ok) {
        EXPECT_EQ(boolean_value(v), row["out_value"].get<std::int16_t>());
      }
    } else {
      return false;  // String to String is a copy: the Variant coercion tests cover it
    }
    return true;
  }
  if (target != "String" || want != ConvStatus::Ok) return false;
  const std::u16string expected = utf16(row["out_value"].get<std::string>());
  if (src == "Double") {
    EXPECT_EQ(narrow(format_double(std::bit_cast<double>(hex_bits(row["src_bits"])), seps)), narrow(expected));
  } else if (src == "Single") {
    const auto bits = static_cast<std::uint32_t>(hex_bits(row["src_bits"]));
    EXPECT_EQ(narrow(format_single(std::bit_cast<float>(bits), seps)), narrow(expected));
  } else if (src == "Long" || src == "Integer" || src == "Byte") {
    EXPECT_EQ(narrow(format_long(row["src_value"].get<std::int32_t>())), narrow(expected));
  } else if (src == "Boolean") {
    EXPECT_EQ(row["src_value"].get<int>() != 0 ? kTrueText : kFalseText, expected);
  } else {
    return false;  // Empty to String: the Variant coercion tests cover it
  }
  return true;
}

TEST(NumberTextVectors, ConversionsUnderEnUs) {
  const json data = load("conversions.json");
  int checked = 0;
  for (const json& row : data["vectors"]) {
    SCOPED_TRACE(row.dump());
    if (check_text_vector(row, kEnUs)) ++checked;
  }
  EXPECT_EQ(checked, 362);  // every text row of the file, not a silent subset
}

TEST(NumberTextVectors, OtherLocalesAndBooleanWords) {
  const json data = load("conversions_locales.json");
  int checked = 0;
  for (const json& row : data["vectors"]) {
    SCOPED_TRACE(row.dump());
    if (check_text_vector(row, separators_for(row["lcid"]))) ++checked;
  }
  EXPECT_EQ(checked, 76);
}

// Each float written as text and read back: both directions pinned bit for bit.
TEST(NumberTextVectors, FloatStrings) {
  const json data = load("floatstrings.json");
  int checked = 0;
  for (const char* group : {"r8", "r4", "other_locales"}) {
    for (const json& row : data[group]) {
      SCOPED_TRACE(row.dump());
      const NumberSeparators seps = separators_for(row["lcid"]);
      const std::u16string expected = utf16(row["out"].get<std::string>());
      const ConvStatus reparse = status_named(row["reparse_result"]);
      if (row["conversion"] == "Double to String") {
        EXPECT_EQ(narrow(format_double(std::bit_cast<double>(hex_bits(row["in_bits"])), seps)), narrow(expected));
        double d = 0;
        EXPECT_EQ(parse_double(expected, seps, d), reparse);
        if (reparse == ConvStatus::Ok) {
          EXPECT_EQ(std::bit_cast<std::uint64_t>(d), hex_bits(row["reparse_bits"]));
        }
      } else {
        const auto bits = static_cast<std::uint32_t>(hex_bits(row["in_bits"]));
        EXPECT_EQ(narrow(format_single(std::bit_cast<float>(bits), seps)), narrow(expected));
        float f = 0;
        EXPECT_EQ(parse_single(expected, seps, f), reparse);
        if (reparse == ConvStatus::Ok) {
          EXPECT_EQ(std::bit_cast<std::uint32_t>(f), hex_bits(row["reparse_bits"]));
        }
      }
      ++checked;
    }
  }
  EXPECT_EQ(checked, 99);
}

struct ParseRow {
  const char* name;
  std::u16string text;
  ConvStatus status;
  double value;  // when Ok
};

// Forms the recorded vectors do not reach, and input that must fail cleanly.
TEST(ParseDouble, EdgeForms) {
  const std::u16string many_nines(10'000, u'9');
  const std::u16string tiny = u"0." + std::u16string(10'000, u'0') + u"1";
  const ParseRow rows[] = {
      {"exponent far above", u"1e99999", ConvStatus::Overflow, 0},
      {"exponent far below", u"1e-99999", ConvStatus::Ok, 0},
      {"huge exponent digits", u"1e" + std::u16string(5'000, u'9'), ConvStatus::Overflow, 0},
      {"zero with huge exponent", u"0e99999", ConvStatus::Ok, 0},
      {"ten thousand digits", many_nines, ConvStatus::Overflow, 0},
      {"ten thousand leading zeros", tiny, ConvStatus::Ok, 0},
      {"digits beyond the nineteenth", u"1000000000000000000000", ConvStatus::Ok, 1e21},
      {"embedded NUL", std::u16string(u"12\0", 3), ConvStatus::TypeMismatch, 0},
      {"only NUL", std::u16string(1, u'\0'), ConvStatus::TypeMismatch, 0},
      {"lone high surrogate", u"1\xD800", ConvStatus::TypeMismatch, 0},
      {"lone low surrogate", u"\xDC00" u"5", ConvStatus::TypeMismatch, 0},
      {"exponent sign alone", u"1e+", ConvStatus::TypeMismatch, 0},
      {"sign between blanks", u" - 5 ", ConvStatus::Ok, -5},
      {"trailing plus", u"5+", ConvStatus::Ok, 5},
      {"parenthesis and sign", u"(-5)", ConvStatus::TypeMismatch, 0},
      {"unclosed parenthesis", u"(5", ConvStatus::TypeMismatch, 0},
      {"closing without opening", u"5)", ConvStatus::TypeMismatch, 0},
      {"currency twice", u"$5$", ConvStatus::TypeMismatch, 0},
      {"thousands after the point", u"0.5,5", ConvStatus::Ok, 0.55},
      {"trailing thousands", u"5,", ConvStatus::Ok, 5},
      {"hex between blanks", u" &H1F ", ConvStatus::Ok, 31},
      {"signed hex", u"-&H10", ConvStatus::TypeMismatch, 0},
      {"hex with fraction", u"&H10.5", ConvStatus::TypeMismatch, 0},
      {"octal digit 8", u"&O18", ConvStatus::TypeMismatch, 0},
      {"hex beyond 64 bits", u"&H" + std::u16string(40, u'F'), ConvStatus::Overflow, 0},
      {"ampersand alone", u"&", ConvStatus::TypeMismatch, 0},
      {"smallest Double by steps", u"4.94065645841247E-324", ConvStatus::Ok, 4.9406564584124654e-324},
  };
  for (const ParseRow& row : rows) {
    SCOPED_TRACE(row.name);
    double d = -1;
    EXPECT_EQ(parse_double(row.text, kEnUs, d), row.status);
    if (row.status == ConvStatus::Ok) {
      EXPECT_EQ(d, row.value);
    }
  }
}

TEST(ParseDouble, SeparatorsFollowTheLocale) {
  double d = 0;
  EXPECT_EQ(parse_double(u"1 234,5", kFrFr, d), ConvStatus::Ok);  // a plain blank stands in for U+00A0
  EXPECT_EQ(d, 1234.5);
  EXPECT_EQ(parse_double(u"1.234,5", kFrFr, d), ConvStatus::TypeMismatch);
  EXPECT_EQ(parse_double(u"1 234,5", kDeDe, d), ConvStatus::TypeMismatch);
  const NumberSeparators no_currency{u'.', u',', u""};
  EXPECT_EQ(parse_double(u"5", no_currency, d), ConvStatus::Ok);
  EXPECT_EQ(parse_double(u"$5", no_currency, d), ConvStatus::TypeMismatch);
  const NumberSeparators long_currency{u'.', u',', u"CHF"};
  EXPECT_EQ(parse_double(u"CHF 5", long_currency, d), ConvStatus::Ok);
  EXPECT_EQ(d, 5);
  EXPECT_EQ(parse_double(u"CH 5", long_currency, d), ConvStatus::TypeMismatch);
}

TEST(ParseDouble, FailureLeavesOutputAlone) {
  double d = 42;
  EXPECT_EQ(parse_double(u"abc", kEnUs, d), ConvStatus::TypeMismatch);
  EXPECT_EQ(parse_double(u"1e400", kEnUs, d), ConvStatus::Overflow);
  EXPECT_EQ(d, 42);
  std::int16_t i = 7;
  EXPECT_EQ(parse_integer(u"40000", kEnUs, i), ConvStatus::Overflow);
  EXPECT_EQ(i, 7);
}

TEST(ParseWhole, RadixWrapsToEachWidth) {
  std::int32_t l = 0;
  std::int16_t i = 0;
  std::uint8_t b = 0;
  EXPECT_EQ(parse_long(u"&H80000000", kEnUs, l), ConvStatus::Ok);
  EXPECT_EQ(l, std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(parse_long(u"&H100000000", kEnUs, l), ConvStatus::Overflow);
  EXPECT_EQ(parse_integer(u"&O177777", kEnUs, i), ConvStatus::Ok);
  EXPECT_EQ(i, -1);
  EXPECT_EQ(parse_byte(u"&HFF", kEnUs, b), ConvStatus::Ok);
  EXPECT_EQ(b, 255);
  EXPECT_EQ(parse_byte(u"&H100", kEnUs, b), ConvStatus::Overflow);
  float f = 0;
  EXPECT_EQ(parse_single(u"&H80000000", kEnUs, f), ConvStatus::Overflow);
}

TEST(ParseWhole, DecimalTextRoundsHalfToEven) {
  std::int32_t l = 0;
  EXPECT_EQ(parse_long(u"-2147483648.5", kEnUs, l), ConvStatus::Ok);
  EXPECT_EQ(l, std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(parse_long(u"-2147483649", kEnUs, l), ConvStatus::Overflow);
  std::uint8_t b = 0;
  EXPECT_EQ(parse_byte(u"254.5", kEnUs, b), ConvStatus::Ok);
  EXPECT_EQ(b, 254);
  EXPECT_EQ(parse_byte(u"1e99999", kEnUs, b), ConvStatus::Overflow);
}

TEST(ParseBoolean, WordsAndNumbers) {
  struct Row {
    const char* name;
    std::u16string_view text;
    ConvStatus status;
    bool value;
  };
  const Row rows[] = {
      {"upper case", u"TRUE", ConvStatus::Ok, true},
      {"blanks around", u" false\t", ConvStatus::Ok, false},
      {"hashes, mixed case", u"#False#", ConvStatus::Ok, false},
      {"word with more", u"Truex", ConvStatus::TypeMismatch, false},
      {"half a hash", u"#TRUE", ConvStatus::TypeMismatch, false},
      {"yes is no word", u"Yes", ConvStatus::TypeMismatch, false},
      {"empty", u"", ConvStatus::TypeMismatch, false},
      {"negative number", u"-0.0001", ConvStatus::Ok, true},
      {"zero in parentheses", u"(0)", ConvStatus::Ok, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    bool b = !row.value;
    EXPECT_EQ(parse_boolean(row.text, kEnUs, b), row.status);
    if (row.status == ConvStatus::Ok) {
      EXPECT_EQ(b, row.value);
    }
  }
}

struct FormatRow {
  const char* name;
  double value;
  const char* text;
};

TEST(FormatDouble, LayoutAndRounding) {
  const FormatRow rows[] = {
      {"exact tie rounds up", 100000000000000.5, "100000000000001"},
      {"exact tie above 1e15", 1000000000000005.0, "1.00000000000001E+15"},
      {"largest plain", 999999999999999.0, "999999999999999"},
      {"first exponent form", 1e15, "1E+15"},
      {"smallest plain", 0.0001, "0.0001"},
      {"just below plain", 0.00001, "1E-05"},
      {"negative exponent form", -1.5e-20, "-1.5E-20"},
      {"three exponent digits", 1.7976931348623157e308, "1.79769313486232E+308"},
      {"smallest subnormal", 4.9406564584124654e-324, "4.94065645841247E-324"},
      {"carry into a new digit", 9.9999999999999995, "10"},
      {"negative infinity", -std::numeric_limits<double>::infinity(), "-INF"},
      {"negative NaN", -std::numeric_limits<double>::quiet_NaN(), "NAN"},
      {"whole and negative", -123456789012345.0, "-123456789012345"},
  };
  for (const FormatRow& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(narrow(format_double(row.value)), row.text);
  }
  EXPECT_EQ(narrow(format_double(-0.000123, kDeDe)), "-0,000123");
  EXPECT_EQ(narrow(format_double(1.5e300, kFrFr)), "1,5E+300");
}

TEST(FormatSingle, LayoutAndRounding) {
  const struct {
    const char* name;
    float value;
    const char* text;
  } rows[] = {
      {"exact tie rounds up", 1234566.5f, "1234567"},
      {"largest plain", 9999999.0f, "9999999"},
      {"first exponent form", 10000000.0f, "1E+07"},
      {"largest Single", std::numeric_limits<float>::max(), "3.402823E+38"},
      {"smallest subnormal", std::numeric_limits<float>::denorm_min(), "1.401298E-45"},
      {"negative fraction", -0.3f, "-0.3"},
      {"negative zero", -0.0f, "0"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(narrow(format_single(row.value)), row.text);
  }
}

TEST(FormatLong, Extremes) {
  EXPECT_EQ(narrow(format_long(0)), "0");
  EXPECT_EQ(narrow(format_long(-7)), "-7");
  EXPECT_EQ(narrow(format_long(1000000)), "1000000");
  EXPECT_EQ(narrow(format_long(std::numeric_limits<std::int32_t>::min())), "-2147483648");
  EXPECT_EQ(narrow(format_long(std::numeric_limits<std::int32_t>::max())), "2147483647");
}

// What is written reads back as a number close to the original, and never longer than the capacity
// (the longest forms are negative, with 15 digits and a three-digit exponent or four leading zeros).
TEST(FormatDouble, ReadsBackWithinTheDigitsWritten) {
  std::uint64_t state = 0x9E3779B97F4A7C15u;
  for (int n = 0; n < 20'000; ++n) {
    state ^= state << 13, state ^= state >> 7, state ^= state << 17;
    const double value = std::bit_cast<double>(state);
    if (!std::isfinite(value)) continue;
    SCOPED_TRACE(value);
    const std::u16string text = format_double(value);
    ASSERT_LT(text.size(), kNumberTextCapacity);
    double back = 0;
    const ConvStatus st = parse_double(text, kEnUs, back);
    if (std::fabs(value) > 1.79769313486231e308) continue;  // rounds to text above the largest Double
    ASSERT_EQ(st, ConvStatus::Ok) << narrow(text);
    if (std::fabs(value) < 1e-300) continue;  // subnormals keep fewer digits
    EXPECT_NEAR(back / value, 1.0, 1e-14) << narrow(text);
  }
}

}  // namespace
}  // namespace quorvel
