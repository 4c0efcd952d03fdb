// The number-to-number rows of the recorded conversions run through the Variant coercion tests;
// here the range edges and odd values they do not reach.
#include "quorvel/platform/scalar_convert.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <type_traits>

namespace quorvel {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Runs one conversion into a T; a conversion that fails must leave its output as it was.
template <class T, class From>
std::function<ConvStatus(std::int32_t&)> into(From value) {
  return [value](std::int32_t& whole) {
    T out = 99;
    const ConvStatus st = [&] {
      if constexpr (std::is_same_v<T, std::int32_t>)
        return to_long(value, out);
      else if constexpr (std::is_same_v<T, std::int16_t>)
        return to_integer(value, out);
      else
        return to_byte(value, out);
    }();
    if (st != ConvStatus::Ok) {
      EXPECT_EQ(out, 99) << "output written on failure";
    }
    whole = out;
    return st;
  };
}

TEST(ScalarConvert, BoundsToWholeNumbers) {
  constexpr ConvStatus Ok = ConvStatus::Ok, Over = ConvStatus::Overflow;
  const struct {
    const char* name;
    std::function<ConvStatus(std::int32_t&)> convert;
    ConvStatus status;
    std::int32_t result;
  } rows[] = {
      {"top plus under a half", into<std::int32_t>(2147483647.4), Ok, 2147483647},
      {"top plus a half", into<std::int32_t>(2147483647.5), Over, 0},
      {"bottom minus a half", into<std::int32_t>(-2147483648.5), Ok, -2147483647 - 1},
      {"bottom minus more", into<std::int32_t>(-2147483648.5000005), Over, 0},
      {"infinity", into<std::int32_t>(kInf), Over, 0},
      {"Integer: bottom minus a half", into<std::int16_t>(-32768.5), Ok, -32768},
      {"Integer: NaN keeps the low 16 bits", into<std::int16_t>(kNaN), Ok, -1},
      {"Integer: Long above the top", into<std::int16_t>(32768), Over, 0},
      {"Integer: Long below the bottom", into<std::int16_t>(-32769), Over, 0},
      {"Byte: negative half rounds to zero", into<std::uint8_t>(-0.5), Ok, 0},
      {"Byte: Long top", into<std::uint8_t>(255), Ok, 255},
      {"Byte: Long above the top", into<std::uint8_t>(256), Over, 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    std::int32_t whole = 0;
    EXPECT_EQ(row.convert(whole), row.status);
    if (row.status == ConvStatus::Ok) {
      EXPECT_EQ(whole, row.result);
    }
  }
}

TEST(ScalarConvert, SingleOverflowStartsAtTheMidpointAboveTheLargestSingle) {
  float f = 0;
  EXPECT_EQ(to_single(std::nextafter(0x1.ffffffp+127, 0.0), f), ConvStatus::Ok);
  EXPECT_EQ(f, std::numeric_limits<float>::max());
  EXPECT_EQ(to_single(0x1.ffffffp+127, f), ConvStatus::Overflow);
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
