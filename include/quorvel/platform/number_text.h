// Numbers as text, the platform's way: reading numbers (and Booleans) from UTF-16 text with a
// locale's separators, and writing them as the platform does. Pure functions, no allocation, no
// dependence on the process locale.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "quorvel/platform/scalar_convert.h"

namespace quorvel {

/// The parts of a locale's number format that reading and writing numbers need.
struct NumberSeparators {
  char16_t decimal = u'.';
  /// Skipped anywhere after the first digit. When it is a blank (U+00A0 or U+0020), both of those
  /// blanks count as the separator inside a number.
  char16_t thousands = u',';
  /// The locale's currency symbol, NUL-terminated (at most 7 code units); it may stand once before
  /// or after the number. Empty means none is accepted.
  char16_t currency[8] = u"$";
};

/// Reads a Double. Accepted, in this order: blanks (space, tab, CR, LF, VT, FF, U+00A0); at most
/// one sign, an opening parenthesis (negative) and the currency symbol, in any order and with
/// blanks between; digits with the decimal separator at most once and thousands separators after
/// the first digit; an exponent `e`/`E`, an optional sign and digits; then blanks, a trailing sign
/// (when none led), the closing parenthesis, the currency symbol. Alternatively `&H` + hex digits
/// or `&O` + octal digits, between blanks only, for a value up to 0x7FFFFFFF.
/// TypeMismatch for anything else (also "", "NaN", "1e", ",5"); Overflow for a value the platform
/// cannot hold ("1e400", also "1.7976931348623157e308": the platform's scaling rounds it over).
/// `out` is written only on Ok. Cost: one pass over the text, a few floating operations.
ConvStatus parse_double(std::u16string_view text, const NumberSeparators& seps, double& out) noexcept;

/// Reads a Single: the text read as a Double, then rounded; Overflow when that is infinite and
/// when a non-zero value lies below the smallest Single (2^-149), as the platform does for text.
ConvStatus parse_single(std::u16string_view text, const NumberSeparators& seps, float& out) noexcept;

/// Reads a Long: decimal text rounded half to even (so "3,5" under en-US is 35 and "(5)" is -5);
/// `&H` and `&O` values up to 0xFFFFFFFF wrap into the signed range ("&HFFFFFFFF" is -1).
ConvStatus parse_long(std::u16string_view text, const NumberSeparators& seps, std::int32_t& out) noexcept;

/// Reads an Integer; `&H`/`&O` values up to 0xFFFF wrap ("&HFFFF" is -1), larger ones overflow.
ConvStatus parse_integer(std::u16string_view text, const NumberSeparators& seps, std::int16_t& out) noexcept;

/// Reads a Byte; `&H`/`&O` values above 0xFF overflow.
ConvStatus parse_byte(std::u16string_view text, const NumberSeparators& seps, std::uint8_t& out) noexcept;

/// Reads a Boolean: the words True and False or #TRUE# and #FALSE# (letter case ignored, blanks
/// around allowed, English whatever the locale), or any number (non-zero is True, with the same
/// Overflow cases as `parse_double`).
ConvStatus parse_boolean(std::u16string_view text, const NumberSeparators& seps, bool& out) noexcept;

/// Code units a caller buffer for the `format_*` functions must have.
inline constexpr std::size_t kNumberTextCapacity = 40;

/// Writes a Double into `out` (at least `kNumberTextCapacity` code units) and returns the length.
/// At most 15 significant digits, correctly rounded with exact ties rounded away from zero; no
/// trailing zeros; plain digits for decimal exponents -4..14, else the form 1.5E+20, 1E-07,
/// 9.99999999999997E-311. The locale's decimal separator, never a thousands separator. 0 and -0
/// give "0"; infinities "INF" and "-INF"; NaN "NAN". Cost: about one `std::to_chars` call.
std::size_t format_double(double value, const NumberSeparators& seps, char16_t* out) noexcept;

/// Writes a Single the same way with at most 7 significant digits (plain for exponents -4..6).
std::size_t format_single(float value, const NumberSeparators& seps, char16_t* out) noexcept;

/// Writes a whole number as decimal digits with a leading minus when negative (also for Integer
/// and Byte). Returns the length (at most 11).
std::size_t format_long(std::int32_t value, char16_t* out) noexcept;

/// The words a Boolean is written as, whatever the locale.
inline constexpr std::u16string_view kTrueText = u"True";
inline constexpr std::u16string_view kFalseText = u"False";

}  // namespace quorvel
