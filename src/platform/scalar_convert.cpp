// Number-to-number conversions. Rounding is written out rather than left to std::nearbyint so the
// result does not depend on the thread's floating-point rounding mode.
#include "quorvel/platform/scalar_convert.h"

#include <cmath>
#include <limits>

namespace quorvel {

namespace {

// The platform converts NaN without complaint: it produces the pattern 0x7FFFFFFF and keeps the
// target's low bits (Long 2147483647, Integer -1, Byte 255).
constexpr std::uint32_t kNanPattern = 0x7FFFFFFFu;

// Rounds half to even and checks [lo, hi]; false on overflow. The first test also turns away
// infinities and anything so large that floor() would no longer be exact.
inline bool round_in_range(double value, double lo, double hi, double& rounded) noexcept {
  if (!(value >= lo - 1.0 && value <= hi + 1.0)) return false;
  double whole = std::floor(value);
  const double fraction = value - whole;  // exact: |value| < 2^32
  if (fraction > 0.5 || (fraction == 0.5 && (static_cast<std::int64_t>(whole) & 1) != 0)) whole += 1.0;
  if (whole < lo || whole > hi) return false;
  rounded = whole;
  return true;
}

}  // namespace

ConvStatus to_long(double value, std::int32_t& out) noexcept {
  if (std::isnan(value)) {
    out = static_cast<std::int32_t>(kNanPattern);
    return ConvStatus::Ok;
  }
  double r;
  if (!round_in_range(value, -2147483648.0, 2147483647.0, r)) return ConvStatus::Overflow;
  out = static_cast<std::int32_t>(r);
  return ConvStatus::Ok;
}

ConvStatus to_integer(double value, std::int16_t& out) noexcept {
  if (std::isnan(value)) {
    out = static_cast<std::int16_t>(kNanPattern & 0xFFFFu);
    return ConvStatus::Ok;
  }
  double r;
  if (!round_in_range(value, -32768.0, 32767.0, r)) return ConvStatus::Overflow;
  out = static_cast<std::int16_t>(r);
  return ConvStatus::Ok;
}

ConvStatus to_integer(std::int32_t value, std::int16_t& out) noexcept {
  if (value < -32768 || value > 32767) return ConvStatus::Overflow;
  out = static_cast<std::int16_t>(value);
  return ConvStatus::Ok;
}

ConvStatus to_byte(double value, std::uint8_t& out) noexcept {
  if (std::isnan(value)) {
    out = static_cast<std::uint8_t>(kNanPattern & 0xFFu);
    return ConvStatus::Ok;
  }
  double r;
  if (!round_in_range(value, 0.0, 255.0, r)) return ConvStatus::Overflow;
  out = static_cast<std::uint8_t>(r);
  return ConvStatus::Ok;
}

ConvStatus to_byte(std::int32_t value, std::uint8_t& out) noexcept {
  if (value < 0 || value > 255) return ConvStatus::Overflow;
  out = static_cast<std::uint8_t>(value);
  return ConvStatus::Ok;
}

ConvStatus to_single(double value, float& out) noexcept {
  if (std::isnan(value)) {
    out = std::numeric_limits<float>::quiet_NaN();
    return ConvStatus::Ok;
  }
  // Beyond the largest finite Double's float range the cast itself would be undefined; the midpoint
  // between FLT_MAX and 2^128 already rounds to infinity, so test it first.
  constexpr double kFirstInfinite = 0x1.ffffffp+127;  // (FLT_MAX + 2^128) / 2, rounds to even: up
  if (std::fabs(value) >= kFirstInfinite) return ConvStatus::Overflow;
  out = static_cast<float>(value);
  return ConvStatus::Ok;
}

}  // namespace quorvel
