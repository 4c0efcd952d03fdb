// Number-to-number conversions with the platform's rules: whole numbers by rounding half to even,
// range checks that fail with overflow, and the platform's odd cases (NaN, tiny and huge floats).
// Pure functions on scalars; the Variant coercions are built on them.
#pragma once

#include <cstdint>

namespace quorvel {

/// Outcome of a conversion; the values are the runtime error numbers a caller raises.
enum class ConvStatus : std::uint8_t {
  Ok = 0,
  Overflow = 6,       ///< the value lies outside the target's range
  TypeMismatch = 13,  ///< the value has no form of the target kind (text only)
};

/// `value` rounded half to even into a Long. Overflow when the rounded value lies outside the
/// range, infinities included. NaN is no error: it reads as 2147483647, as on the platform.
/// `out` is written only on Ok. Cost: a few instructions, no allocation.
ConvStatus to_long(double value, std::int32_t& out) noexcept;

/// `value` rounded half to even into an Integer; Overflow outside -32768..32767. NaN reads as -1
/// (the platform truncates its NaN pattern 0x7FFFFFFF to 16 bits).
ConvStatus to_integer(double value, std::int16_t& out) noexcept;
/// Overflow outside -32768..32767.
ConvStatus to_integer(std::int32_t value, std::int16_t& out) noexcept;

/// `value` rounded half to even into a Byte; Overflow outside 0..255 (so -0.5 gives 0, -0.6
/// overflows). NaN reads as 255 (the low byte of 0x7FFFFFFF).
ConvStatus to_byte(double value, std::uint8_t& out) noexcept;
/// Overflow outside 0..255.
ConvStatus to_byte(std::int32_t value, std::uint8_t& out) noexcept;

/// `value` rounded to the nearest Single. Overflow when that is infinite (an infinite Double
/// included, and anything from the midpoint between the largest Single and 2^128 up). Values too
/// small for a Single become 0 without error; NaN stays NaN.
ConvStatus to_single(double value, float& out) noexcept;

/// A number as a Boolean: True for any non-zero value, NaN included.
constexpr bool to_boolean(double value) noexcept { return value != 0; }

/// The 16-bit value of a Boolean as integer and float targets see it: True is -1, False 0.
/// (A Boolean holding another non-zero pattern keeps that pattern when widened.)
constexpr std::int16_t boolean_value(bool value) noexcept { return value ? -1 : 0; }

}  // namespace quorvel
