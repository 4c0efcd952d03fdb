#include "quorvel/platform/scalar_convert.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfenv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "support/test_support.h"

namespace quorvel {
namespace {

using nlohmann::json;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// A scalar of one of the library's number kinds, as a recorded vector gives it.
struct Scalar {
  std::string kind;        // "Integer", "Double", ...
  double real = 0;         // floats, widened exactly
  std::int32_t whole = 0;  // whole kinds; a Boolean's raw 16-bit value
  bool is_float() const { return kind == "Single" || kind == "Double"; }
};

std::uint64_t bits(const json& hex) { return std::stoull(hex.get<std::string>(), nullptr, 16); }

// Runs one conversion into a T and hands the result on as a whole number; a conversion that fails
// must leave its output as it was.
template <class T>
ConvStatus into(std::int32_t& whole, auto convert) {
  T out = 99;
  const ConvStatus st = convert(out);
  if (st != ConvStatus::Ok) {
    EXPECT_EQ(out, 99) << "output written on failure";
  }
  whole = out;
  return st;
}

// The conversion table for number kinds, built from the functions under test the way the Variant
// coercion uses them. Floats come out as their bits (`out_bits`), whole numbers as themselves (`whole`).
ConvStatus convert(const Scalar& s, const std::string& target, std::uint64_t& out_bits, std::int32_t& whole) {
  if (target == "Long") {
    if (s.is_float()) return into<std::int32_t>(whole, [&](auto& v) { return to_long(s.real, v); });
    whole = s.whole;
  } else if (target == "Integer") {
    return into<std::int16_t>(whole, [&](auto& v) {
      return s.is_float() ? to_integer(s.real, v) : to_integer(s.whole, v);
    });
  } else if (target == "Byte") {
    return into<std::uint8_t>(whole, [&](auto& v) { return s.is_float() ? to_byte(s.real, v) : to_byte(s.whole, v); });
  } else if (target == "Boolean") {
    // Boolean to Boolean is a copy: a non-canonical 1 stays 1.
    whole = s.kind == "Boolean" ? s.whole : boolean_value(s.is_float() ? to_boolean(s.real) : s.whole != 0);
  } else if (target == "Double") {
    out_bits = std::bit_cast<std::uint64_t>(s.is_float() ? s.real : static_cast<double>(s.whole));
  } else if (target == "Single") {
    float f = 0;
    if (s.kind == "Double") {
      if (const ConvStatus st = to_single(s.real, f); st != ConvStatus::Ok) return st;
    } else {
      f = s.is_float() ? static_cast<float>(s.real) : static_cast<float>(s.whole);  // exact or nearest
    }
    out_bits = std::bit_cast<std::uint32_t>(f);
  } else {
    ADD_FAILURE() << "no number target " << target;
  }
  return ConvStatus::Ok;
}

TEST(ScalarConvertVectors, NumberToNumber) {
  const auto is_number = [](const std::string& k) {
    return k == "Integer" || k == "Long" || k == "Single" || k == "Double" || k == "Boolean" || k == "Byte";
  };
  int checked = 0;
  for (const auto data = test_support::load_test_data("conversions.json"); const json& row : data["vectors"]) {
    if (!is_number(row["src_kind"]) || !is_number(row["target"])) continue;
    SCOPED_TRACE(row.dump());
    Scalar s{row["src_kind"].get<std::string>()};
    if (s.kind == "Double") {
      s.real = std::bit_cast<double>(bits(row["src_bits"]));
    } else if (s.kind == "Single") {
      s.real = std::bit_cast<float>(static_cast<std::uint32_t>(bits(row["src_bits"])));
    } else {
      s.whole = row["src_value"].get<std::int32_t>();
    }
    std::uint64_t out_bits = 0;
    std::int32_t whole = 0;
    const ConvStatus want = row["result"] == "ok" ? ConvStatus::Ok : ConvStatus::Overflow;
    ASSERT_TRUE(row["result"] == "ok" || row["result"] == "overflow");
    const ConvStatus st = convert(s, row["target"], out_bits, whole);
    EXPECT_EQ(st, want);
    ++checked;
    if (st != ConvStatus::Ok || want != ConvStatus::Ok) continue;
    if (row.contains("out_bits")) {
      EXPECT_EQ(out_bits, bits(row["out_bits"]));
    } else {
      EXPECT_EQ(whole, row["out_value"].get<std::int32_t>());
    }
  }
  EXPECT_EQ(checked, 326);  // every number-to-number row
}

// The range edges and odd values the recorded vectors do not reach.
TEST(ScalarConvert, BoundsToWholeNumbers) {
  const struct {
    const char* name;
    Scalar from;
    const char* target;
    ConvStatus status;
    std::int32_t result;
  } rows[] = {
      {"top plus under a half", {"Double", 2147483647.4}, "Long", ConvStatus::Ok, 2147483647},
      {"top plus a half", {"Double", 2147483647.5}, "Long", ConvStatus::Overflow, 0},
      {"bottom minus a half", {"Double", -2147483648.5}, "Long", ConvStatus::Ok, -2147483647 - 1},
      {"bottom minus more", {"Double", -2147483648.5000005}, "Long", ConvStatus::Overflow, 0},
      {"infinity", {"Double", kInf}, "Long", ConvStatus::Overflow, 0},
      {"Integer: bottom minus a half", {"Double", -32768.5}, "Integer", ConvStatus::Ok, -32768},
      {"Integer: NaN keeps the low 16 bits", {"Double", kNaN}, "Integer", ConvStatus::Ok, -1},
      {"Integer: Long above the top", {"Long", 0, 32768}, "Integer", ConvStatus::Overflow, 0},
      {"Integer: Long below the bottom", {"Long", 0, -32769}, "Integer", ConvStatus::Overflow, 0},
      {"Byte: negative half rounds to zero", {"Double", -0.5}, "Byte", ConvStatus::Ok, 0},
      {"Byte: Long top", {"Long", 0, 255}, "Byte", ConvStatus::Ok, 255},
      {"Byte: Long above the top", {"Long", 0, 256}, "Byte", ConvStatus::Overflow, 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    std::uint64_t unused = 0;
    std::int32_t whole = 0;
    EXPECT_EQ(convert(row.from, row.target, unused, whole), row.status);
    if (row.status == ConvStatus::Ok) {
      EXPECT_EQ(whole, row.result);
    }
  }
}

TEST(ScalarConvert, SingleOverflowStartsAtTheMidpointAboveTheLargestSingle) {
  float f = 0;
  EXPECT_EQ(to_single(std::nextafter(0x1.ffffffp+127, 0.0), f), ConvStatus::Ok);
  EXPECT_EQ(f, std::numeric_limits<float>::max());
  EXPECT_EQ(to_single(kNaN, f), ConvStatus::Ok);
  EXPECT_TRUE(std::isnan(f));
}

// The thread's rounding mode must not leak into the platform's rounding rule.
TEST(ScalarConvert, IgnoresTheFloatingPointRoundingMode) {
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

}  // namespace
}  // namespace quorvel
