#include "quorvel/platform/scalar_convert.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfenv>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <limits>
#include <nlohmann/json.hpp>
#include <string>

namespace quorvel {
namespace {

using nlohmann::json;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// A scalar of one of the library's number kinds, as a recorded vector gives it.
struct Scalar {
  std::string kind;  // "Integer", "Double", ...
  double real = 0;   // floats, widened exactly
  std::int32_t whole = 0;  // whole kinds; a Boolean's raw 16-bit value
  bool is_float() const { return kind == "Single" || kind == "Double"; }
};

ConvStatus status_named(const std::string& hr) {
  if (hr == "ok") return ConvStatus::Ok;
  if (hr == "overflow") return ConvStatus::Overflow;
  if (hr == "type mismatch") return ConvStatus::TypeMismatch;
  ADD_FAILURE() << "unexpected result code " << hr;
  return ConvStatus::Ok;
}

std::uint64_t hex_bits(const json& v) { return std::stoull(v.get<std::string>(), nullptr, 16); }

Scalar source_of(const json& row) {
  Scalar s{row["src_kind"].get<std::string>()};
  if (s.kind == "Double") {
    s.real = std::bit_cast<double>(hex_bits(row["src_bits"]));
  } else if (s.kind == "Single") {
    s.real = std::bit_cast<float>(static_cast<std::uint32_t>(hex_bits(row["src_bits"])));
  } else {
    s.whole = row["src_value"].get<std::int32_t>();
  }
  return s;
}

// The conversion table for number kinds, built from the functions under test the way the Variant
// coercion uses them. Floats come out as their bits, whole numbers as themselves.
ConvStatus convert(const Scalar& s, const std::string& target, std::uint64_t& bits, std::int32_t& whole) {
  ConvStatus st = ConvStatus::Ok;
  if (target == "Long") {
    if (s.is_float()) return to_long(s.real, whole);
    whole = s.whole;
  } else if (target == "Integer") {
    std::int16_t v = 0;
    st = s.is_float() ? to_integer(s.real, v) : to_integer(s.whole, v);
    whole = v;
  } else if (target == "Byte") {
    std::uint8_t v = 0;
    st = s.is_float() ? to_byte(s.real, v) : to_byte(s.whole, v);
    whole = v;
  } else if (target == "Boolean") {
    // Boolean to Boolean is a copy: a non-canonical 1 stays 1.
    whole = s.kind == "Boolean" ? s.whole : boolean_value(s.is_float() ? to_boolean(s.real) : s.whole != 0);
  } else if (target == "Double") {
    bits = std::bit_cast<std::uint64_t>(s.is_float() ? s.real : static_cast<double>(s.whole));
  } else if (target == "Single") {
    float f = 0;
    if (s.kind == "Double") {
      st = to_single(s.real, f);
    } else {
      f = s.is_float() ? static_cast<float>(s.real) : static_cast<float>(s.whole);  // exact or nearest
    }
    bits = std::bit_cast<std::uint32_t>(f);
  } else {
    ADD_FAILURE() << "no number target " << target;
  }
  return st;
}

TEST(ScalarConvertVectors, NumberToNumber) {
  std::ifstream in(std::string(QUORVEL_TEST_DATA) + "/conversions.json");
  const json data = json::parse(in);
  const auto is_number = [](const std::string& k) {
    return k == "Integer" || k == "Long" || k == "Single" || k == "Double" || k == "Boolean" || k == "Byte";
  };
  int checked = 0;
  for (const json& row : data["vectors"]) {
    if (!is_number(row["src_kind"]) || !is_number(row["target"])) continue;
    SCOPED_TRACE(row.dump());
    std::uint64_t bits = 0;
    std::int32_t whole = 0;
    const ConvStatus want = status_named(row["result"]);
    const ConvStatus st = convert(source_of(row), row["target"], bits, whole);
    EXPECT_EQ(st, want);
    ++checked;
    if (st != ConvStatus::Ok || want != ConvStatus::Ok) continue;
    if (row.contains("out_bits")) {
      EXPECT_EQ(bits, hex_bits(row["out_bits"]));
    } else {
      EXPECT_EQ(whole, row["out_value"].get<std::int32_t>());
    }
  }
  EXPECT_EQ(checked, 326);  // every number-to-number row
}

struct RoundRow {
  const char* name;
  double value;
  ConvStatus status;
  std::int32_t result;
};

TEST(ToLong, RoundsHalfToEvenWithinRange) {
  const RoundRow rows[] = {
      {"half down to even", 2.5, ConvStatus::Ok, 2},
      {"half up to even", 3.5, ConvStatus::Ok, 4},
      {"negative half", -2.5, ConvStatus::Ok, -2},
      {"just under a half", 0.49999999999999994, ConvStatus::Ok, 0},
      {"top", 2147483647.0, ConvStatus::Ok, 2147483647},
      {"top and a bit", 2147483647.4, ConvStatus::Ok, 2147483647},
      {"top plus a half", 2147483647.5, ConvStatus::Overflow, 0},
      {"bottom minus a half", -2147483648.5, ConvStatus::Ok, -2147483647 - 1},
      {"bottom minus more", -2147483648.5000005, ConvStatus::Overflow, 0},
      {"huge", 1e300, ConvStatus::Overflow, 0},
      {"infinity", kInf, ConvStatus::Overflow, 0},
      {"negative infinity", -kInf, ConvStatus::Overflow, 0},
      {"NaN reads as the top", kNaN, ConvStatus::Ok, 2147483647},
  };
  for (const RoundRow& row : rows) {
    SCOPED_TRACE(row.name);
    std::int32_t v = 12345;
    EXPECT_EQ(to_long(row.value, v), row.status);
    EXPECT_EQ(v, row.status == ConvStatus::Ok ? row.result : 12345);  // untouched on failure
  }
}

TEST(ToInteger, BoundsAndNaN) {
  const RoundRow rows[] = {
      {"top plus under a half", 32767.49, ConvStatus::Ok, 32767},
      {"top plus a half", 32767.5, ConvStatus::Overflow, 0},
      {"bottom minus a half", -32768.5, ConvStatus::Ok, -32768},
      {"bottom minus more", -32768.51, ConvStatus::Overflow, 0},
      {"NaN keeps the low 16 bits", kNaN, ConvStatus::Ok, -1},
  };
  for (const RoundRow& row : rows) {
    SCOPED_TRACE(row.name);
    std::int16_t v = 0;
    EXPECT_EQ(to_integer(row.value, v), row.status);
    if (row.status == ConvStatus::Ok) {
      EXPECT_EQ(v, row.result);
    }
  }
  std::int16_t v = 0;
  EXPECT_EQ(to_integer(std::int32_t{32767}, v), ConvStatus::Ok);
  EXPECT_EQ(to_integer(std::int32_t{32768}, v), ConvStatus::Overflow);
  EXPECT_EQ(to_integer(std::int32_t{-32768}, v), ConvStatus::Ok);
  EXPECT_EQ(v, -32768);
  EXPECT_EQ(to_integer(std::int32_t{-32769}, v), ConvStatus::Overflow);
}

TEST(ToByte, BoundsAndNaN) {
  const RoundRow rows[] = {
      {"negative half rounds to zero", -0.5, ConvStatus::Ok, 0},
      {"negative zero", -0.0, ConvStatus::Ok, 0},
      {"rounds below zero", -0.51, ConvStatus::Overflow, 0},
      {"top plus under a half", 255.49, ConvStatus::Ok, 255},
      {"top plus a half", 255.5, ConvStatus::Overflow, 0},
      {"even half below the top", 254.5, ConvStatus::Ok, 254},
      {"NaN keeps the low byte", kNaN, ConvStatus::Ok, 255},
      {"negative infinity", -kInf, ConvStatus::Overflow, 0},
  };
  for (const RoundRow& row : rows) {
    SCOPED_TRACE(row.name);
    std::uint8_t v = 0;
    EXPECT_EQ(to_byte(row.value, v), row.status);
    if (row.status == ConvStatus::Ok) {
      EXPECT_EQ(v, row.result);
    }
  }
  std::uint8_t v = 0;
  EXPECT_EQ(to_byte(std::int32_t{255}, v), ConvStatus::Ok);
  EXPECT_EQ(to_byte(std::int32_t{256}, v), ConvStatus::Overflow);
  EXPECT_EQ(to_byte(std::int32_t{-1}, v), ConvStatus::Overflow);
}

TEST(ToSingle, OverflowStartsAtTheMidpointAboveTheLargestSingle) {
  constexpr double kMid = 0x1.ffffffp+127;
  float f = 0;
  EXPECT_EQ(to_single(kMid, f), ConvStatus::Overflow);
  EXPECT_EQ(to_single(-kMid, f), ConvStatus::Overflow);
  EXPECT_EQ(to_single(std::nextafter(kMid, 0.0), f), ConvStatus::Ok);
  EXPECT_EQ(f, std::numeric_limits<float>::max());
  EXPECT_EQ(to_single(kInf, f), ConvStatus::Overflow);
  EXPECT_EQ(to_single(1e-300, f), ConvStatus::Ok);  // too small: 0 without complaint
  EXPECT_EQ(f, 0.0f);
  EXPECT_EQ(to_single(kNaN, f), ConvStatus::Ok);
  EXPECT_TRUE(std::isnan(f));
}

// The thread's rounding mode must not leak into the platform's rounding rule.
TEST(ToLong, IgnoresTheFloatingPointRoundingMode) {
  const int saved = std::fegetround();
  std::int32_t up = 0;
  std::int32_t down = 0;
  std::fesetround(FE_UPWARD);
  to_long(2.5, up);
  std::fesetround(FE_DOWNWARD);
  to_long(3.5, down);
  std::fesetround(saved);
  EXPECT_EQ(up, 2);
  EXPECT_EQ(down, 4);
}

TEST(Booleans, NonZeroIsTrueAndTrueIsMinusOne) {
  EXPECT_TRUE(to_boolean(kNaN));
  EXPECT_TRUE(to_boolean(-kInf));
  EXPECT_TRUE(to_boolean(5e-324));
  EXPECT_FALSE(to_boolean(-0.0));
  static_assert(boolean_value(true) == -1 && boolean_value(false) == 0);
}

}  // namespace
}  // namespace quorvel
