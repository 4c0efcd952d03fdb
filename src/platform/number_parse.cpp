// Reading numbers from text with the platform's syntax and arithmetic. The accepted forms and the
// way digits are scaled were worked out from values recorded on the platform (tests/data), not from
// any standard parser: the platform is not correctly rounded, and callers depend on its results.
#include "quorvel/platform/number_text.h"

#include <cmath>
#include <iterator>

namespace quorvel {

namespace {

// At most 19 significant digits are kept; later integer digits only raise the exponent, later
// fraction digits are dropped (a truncation below a unit in the 19th digit, far under a Double's
// precision). Written exponents saturate here, far beyond anything that is not 0 or infinite, so
// that "1e99999" cannot overflow a counter.
constexpr std::int64_t kExponentLimit = 1'000'000;
// A radix value above 32 bits is out of every target's range; it saturates here.
constexpr std::uint64_t kRadixSaturated = 0x1'0000'0000u;

struct Scanned {
  bool negative = false;
  bool radix = false;          // &H or &O form
  std::uint64_t mantissa = 0;  // decimal: the significant digits; radix: the value
  std::int64_t exponent = 0;   // decimal: the power of ten applied to the mantissa
};

constexpr bool is_blank(char16_t c) noexcept {
  return c == u' ' || (c >= u'\t' && c <= u'\r') || c == u'\u00A0';
}

constexpr bool is_digit(char16_t c) noexcept { return c >= u'0' && c <= u'9'; }

std::u16string_view currency_of(const NumberSeparators& seps) noexcept {
  std::size_t n = 0;
  while (n < std::size(seps.currency) - 1 && seps.currency[n] != 0) ++n;
  return {seps.currency, n};
}

// The leading or trailing decorations around a number: sign, parentheses, currency symbol.
struct Decor {
  bool sign = false;
  bool open = false;
  bool closed = false;
  bool currency = false;
};

// Reads one decoration at t[i]; false when t[i] is none or is not allowed here.
bool take_decoration(std::u16string_view t, std::size_t& i, std::u16string_view currency, bool leading,
                     Decor& decor, bool& negative) noexcept {
  const char16_t c = t[i];
  if (is_blank(c)) {
    ++i;
    return true;
  }
  if (c == u'+' || c == u'-') {
    if (decor.sign || decor.open) return false;
    decor.sign = true;
    negative = c == u'-';
    ++i;
    return true;
  }
  if (leading && c == u'(') {
    if (decor.sign || decor.open) return false;
    decor.open = true;
    negative = true;
    ++i;
    return true;
  }
  if (!leading && c == u')') {
    if (!decor.open || decor.closed) return false;
    decor.closed = true;
    ++i;
    return true;
  }
  if (!currency.empty() && t.substr(i).starts_with(currency)) {
    if (decor.currency) return false;
    decor.currency = true;
    i += currency.size();
    return true;
  }
  return false;
}

// &H / &O followed by digits, blanks after; nothing may precede but blanks.
bool scan_radix(std::u16string_view t, std::size_t i, Scanned& out) noexcept {
  const char16_t letter = t[i + 1];
  unsigned shift;
  if (letter == u'H' || letter == u'h') {
    shift = 4;
  } else if (letter == u'O' || letter == u'o') {
    shift = 3;
  } else {
    return false;
  }
  i += 2;
  std::uint64_t value = 0;
  bool any = false;
  for (; i < t.size(); ++i) {
    const char16_t c = t[i];
    unsigned d;
    if (is_digit(c)) {
      d = c - u'0';
    } else if (shift == 4 && c >= u'A' && c <= u'F') {
      d = c - u'A' + 10;
    } else if (shift == 4 && c >= u'a' && c <= u'f') {
      d = c - u'a' + 10;
    } else {
      break;
    }
    if (shift == 3 && d > 7) return false;
    any = true;
    value = (value << shift) | d;
    if (value > kRadixSaturated) value = kRadixSaturated;
  }
  if (!any) return false;
  for (; i < t.size(); ++i) {
    if (!is_blank(t[i])) return false;
  }
  out.radix = true;
  out.mantissa = value;
  return true;
}

// The whole grammar; false means type mismatch.
bool scan_number(std::u16string_view t, const NumberSeparators& seps, Scanned& out) noexcept {
  const std::u16string_view currency = currency_of(seps);
  const std::size_t n = t.size();
  std::size_t i = 0;
  Decor decor;
  // A decoration that is not allowed here (a second sign) is left for the digit loop to refuse.
  while (i < n && !is_digit(t[i]) && take_decoration(t, i, currency, true, decor, out.negative)) {
  }
  if (i + 1 < n && t[i] == u'&') {
    const bool decorated = decor.sign || decor.open || decor.currency;
    return !decorated && scan_radix(t, i, out);
  }

  // Digits, decimal separator, thousands separators. Kept in locals: this loop is the hot path.
  // |exponent| stays below the text's length here, so it cannot overflow before the exponent part.
  const bool blank_thousands = seps.thousands == u' ' || seps.thousands == u'\u00A0';
  constexpr std::uint64_t kRoomForDigit = 1'000'000'000'000'000'000u;  // below it, one more digit fits 19
  std::uint64_t mantissa = 0;
  std::int64_t exponent = 0;
  bool digit_seen = false;
  bool point_seen = false;
  for (;;) {
    const std::size_t run = i;
    for (; i < n; ++i) {
      const unsigned d = static_cast<unsigned>(t[i]) - u'0';
      if (d > 9) break;
      if (mantissa < kRoomForDigit) {  // leading zeros keep it 0 and count for nothing
        mantissa = mantissa * 10 + d;
        exponent -= point_seen;
      } else {
        exponent += !point_seen;
      }
    }
    digit_seen |= i != run;
    if (i == n) break;
    const char16_t c = t[i];
    if (c == seps.decimal && !point_seen) {
      point_seen = true;
    } else if (!(digit_seen && (c == seps.thousands || (blank_thousands && (c == u' ' || c == u'\u00A0'))))) {
      break;
    }
    ++i;
  }
  if (!digit_seen) return false;
  out.mantissa = mantissa;
  out.exponent = exponent;

  // Exponent.
  if (i < n && (t[i] == u'e' || t[i] == u'E')) {
    ++i;
    bool minus = false;
    if (i < n && (t[i] == u'+' || t[i] == u'-')) {
      minus = t[i] == u'-';
      ++i;
    }
    if (i >= n || !is_digit(t[i])) return false;
    std::int64_t e = 0;
    for (; i < n && is_digit(t[i]); ++i) {
      if (e < kExponentLimit) e = e * 10 + (t[i] - u'0');
    }
    out.exponent += minus ? -e : e;
  }

  while (i < n) {
    if (!take_decoration(t, i, currency, false, decor, out.negative)) return false;
  }
  return decor.open == decor.closed;
}

// The platform scales the digits by powers of ten in steps of 10^10 (each step exact, the result
// not correctly rounded): "0.142857142857143" reads one unit in the last place above the nearest
// Double, and the largest Double's own 17-digit text overflows. Reproduced deliberately.
double scale_decimal(std::uint64_t mantissa, std::int64_t exponent) noexcept {
  static constexpr double kPow10[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10};
  if (mantissa == 0) return 0.0;
  // Outside these bounds the stepwise result is certainly infinite or 0; skip the loop.
  if (exponent > 330) return HUGE_VAL;
  if (exponent < -360) return 0.0;
  double x = static_cast<double>(mantissa);
  int k = static_cast<int>(exponent < 0 ? -exponent : exponent);
  if (exponent >= 0) {
    for (; k > 10; k -= 10) x *= 1e10;
    return x * kPow10[k];
  }
  for (; k > 10; k -= 10) x /= 1e10;
  return x / kPow10[k];
}

// The value of decimal text; false when it is too large for a Double.
bool decimal_value(const Scanned& s, double& out) noexcept {
  const double x = scale_decimal(s.mantissa, s.exponent);
  if (std::isinf(x)) return false;
  out = s.negative ? -x : x;
  return true;
}

// Text as a Double for the floating and Boolean targets: radix values must fit a Long's positive
// range ("&HFFFFFFFF" overflows here, while it reads as -1 for a Long).
ConvStatus read_real(std::u16string_view text, const NumberSeparators& seps, double& out) noexcept {
  Scanned s;
  if (!scan_number(text, seps, s)) return ConvStatus::TypeMismatch;
  if (s.radix) {
    if (s.mantissa > 0x7FFF'FFFFu) return ConvStatus::Overflow;
    out = static_cast<double>(s.mantissa);
    return ConvStatus::Ok;
  }
  return decimal_value(s, out) ? ConvStatus::Ok : ConvStatus::Overflow;
}

constexpr char16_t fold(char16_t c) noexcept { return c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c; }

bool equals_folded(std::u16string_view text, std::u16string_view lower) noexcept {
  if (text.size() != lower.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (fold(text[i]) != lower[i]) return false;
  }
  return true;
}

}  // namespace

ConvStatus parse_double(std::u16string_view text, const NumberSeparators& seps, double& out) noexcept {
  return read_real(text, seps, out);
}

ConvStatus parse_single(std::u16string_view text, const NumberSeparators& seps, float& out) noexcept {
  double x;
  if (const ConvStatus st = read_real(text, seps, x); st != ConvStatus::Ok) return st;
  // From text the platform refuses what would become 0 or lose its last bit below the smallest
  // Single, while Double-to-Single rounds such values quietly.
  if (x != 0 && std::fabs(x) < 0x1p-149) return ConvStatus::Overflow;
  return to_single(x, out);
}

// For the whole-number targets, radix values up to the target's width wrap into its signed range
// ("&HFFFF" is -1 as an Integer but 65535 as a Long or Double); decimal text goes through the Double.
ConvStatus parse_long(std::u16string_view text, const NumberSeparators& seps, std::int32_t& out) noexcept {
  Scanned s;
  if (!scan_number(text, seps, s)) return ConvStatus::TypeMismatch;
  if (s.radix) {
    if (s.mantissa > 0xFFFF'FFFFu) return ConvStatus::Overflow;
    out = static_cast<std::int32_t>(static_cast<std::uint32_t>(s.mantissa));
    return ConvStatus::Ok;
  }
  double x;
  return decimal_value(s, x) ? to_long(x, out) : ConvStatus::Overflow;
}

ConvStatus parse_integer(std::u16string_view text, const NumberSeparators& seps, std::int16_t& out) noexcept {
  Scanned s;
  if (!scan_number(text, seps, s)) return ConvStatus::TypeMismatch;
  if (s.radix) {
    if (s.mantissa > 0xFFFFu) return ConvStatus::Overflow;
    out = static_cast<std::int16_t>(static_cast<std::uint16_t>(s.mantissa));
    return ConvStatus::Ok;
  }
  double x;
  return decimal_value(s, x) ? to_integer(x, out) : ConvStatus::Overflow;
}

ConvStatus parse_byte(std::u16string_view text, const NumberSeparators& seps, std::uint8_t& out) noexcept {
  Scanned s;
  if (!scan_number(text, seps, s)) return ConvStatus::TypeMismatch;
  if (s.radix) {
    if (s.mantissa > 0xFFu) return ConvStatus::Overflow;
    out = static_cast<std::uint8_t>(s.mantissa);
    return ConvStatus::Ok;
  }
  double x;
  return decimal_value(s, x) ? to_byte(x, out) : ConvStatus::Overflow;
}

ConvStatus parse_boolean(std::u16string_view text, const NumberSeparators& seps, bool& out) noexcept {
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && is_blank(text[first])) ++first;
  while (last > first && is_blank(text[last - 1])) --last;
  const std::u16string_view word = text.substr(first, last - first);
  if (equals_folded(word, u"true") || equals_folded(word, u"#true#")) {
    out = true;
    return ConvStatus::Ok;
  }
  if (equals_folded(word, u"false") || equals_folded(word, u"#false#")) {
    out = false;
    return ConvStatus::Ok;
  }
  double x;
  if (const ConvStatus st = read_real(text, seps, x); st != ConvStatus::Ok) return st;
  out = to_boolean(x);
  return ConvStatus::Ok;
}

}  // namespace quorvel
