// Writing numbers as text the platform's way. std::to_chars does the correctly rounded digit work;
// this file fixes the one rounding difference (exact ties) and lays the digits out.
#include "quorvel/platform/number_text.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <iterator>

namespace quorvel {

namespace {

constexpr std::uint64_t kPow5[] = {
    1ull, 5ull, 25ull, 125ull, 625ull, 3125ull, 15625ull, 78125ull, 390625ull, 1953125ull, 9765625ull,
    48828125ull, 244140625ull, 1220703125ull, 6103515625ull, 30517578125ull, 152587890625ull,
    762939453125ull, 3814697265625ull, 19073486328125ull, 95367431640625ull, 476837158203125ull,
    2384185791015625ull, 11920928955078125ull, 59604644775390625ull, 298023223876953125ull,
    1490116119384765625ull, 7450580596923828125ull};
constexpr int kPow5Count = static_cast<int>(std::size(kPow5));

constexpr std::uint64_t kPow10[] = {1ull,
                                    10ull,
                                    100ull,
                                    1000ull,
                                    10000ull,
                                    100000ull,
                                    1000000ull,
                                    10000000ull,
                                    100000000ull,
                                    1000000000ull,
                                    10000000000ull,
                                    100000000000ull,
                                    1000000000000ull,
                                    10000000000000ull,
                                    100000000000000ull,
                                    1000000000000000ull,
                                    10000000000000000ull};

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

constexpr int digit_count(std::uint64_t v) noexcept {
  int n = 1;
  for (; v >= 10000; v /= 10000) n += 4;
  return n + (v >= 10) + (v >= 100) + (v >= 1000);
}

// Writes the decimal digits of `v` straight into place, two at a time, and returns how many.
// 32-bit values take 32-bit divisions, which are much cheaper.
template <class U>
std::size_t write_digits(U v, char16_t* out) noexcept {
  const int len = digit_count(v);
  char16_t* p = out + len;
  while (v >= 100) {
    const auto pair = static_cast<unsigned>(v % 100) * 2;
    v /= 100;
    *--p = static_cast<char16_t>(kDigitPairs[pair + 1]);
    *--p = static_cast<char16_t>(kDigitPairs[pair]);
  }
  if (v >= 10) {
    const auto pair = static_cast<unsigned>(v) * 2;
    *--p = static_cast<char16_t>(kDigitPairs[pair + 1]);
    *--p = static_cast<char16_t>(kDigitPairs[pair]);
  } else {
    *--p = static_cast<char16_t>(u'0' + v);
  }
  return static_cast<std::size_t>(len);
}

std::size_t write_unsigned(std::uint64_t v, char16_t* out) noexcept {
  return v <= 0xFFFF'FFFFu ? write_digits(static_cast<std::uint32_t>(v), out) : write_digits(v, out);
}

// True when `value` (positive, finite) is exactly (10 * digits + 5) * 10^scale, a tie at the last
// kept digit. The standard library rounds such ties to even; the platform rounds them up
// (100000000000000.5 is written 100000000000001). Exact integer arithmetic on value = m * 2^e.
bool is_exact_tie(double value, std::uint64_t digits, int scale) noexcept {
  const auto bits = std::bit_cast<std::uint64_t>(value);
  std::uint64_t m = bits & ((1ull << 52) - 1);
  const int biased = static_cast<int>(bits >> 52) & 0x7FF;
  int e = -1074;
  if (biased != 0) {
    m |= 1ull << 52;
    e = biased - 1075;
  }
  const int zeros = std::countr_zero(m);
  m >>= zeros;
  e += zeros;
  // The tie is (2 * digits + 1) * 5^(scale + 1) * 2^scale; its odd part must be m, its power of two e.
  if (e != scale) return false;
  const std::uint64_t odd = 2 * digits + 1;
  if (scale >= -1) {
    const int p = scale + 1;
    return p < kPow5Count && m % kPow5[p] == 0 && m / kPow5[p] == odd;
  }
  const int t = -(scale + 1);
  return t < kPow5Count && odd % kPow5[t] == 0 && odd / kPow5[t] == m;
}

// Writes a finite non-zero `value` with at most `precision` significant digits (7 or 15).
std::size_t write_rounded(double value, int precision, const NumberSeparators& seps, char16_t* out) noexcept {
  char16_t* p = out;
  if (std::signbit(value)) {
    *p++ = u'-';
    value = -value;
  }
  // Whole numbers within the precision are exact and plain: the common case, no rounding needed.
  if (value < static_cast<double>(kPow10[precision]) && value == std::floor(value)) {
    p += write_unsigned(static_cast<std::uint64_t>(value), p);
    return static_cast<std::size_t>(p - out);
  }

  char buf[40];  // "d.dddddddddddddde-308" at most
  const std::to_chars_result r =
      std::to_chars(buf, std::end(buf), value, std::chars_format::scientific, precision - 1);
  std::uint64_t digits = 0;
  const char* q = buf;
  for (; q != r.ptr && *q != 'e'; ++q) {
    if (*q != '.') digits = digits * 10 + static_cast<unsigned>(*q - '0');
  }
  int exp10 = 0;
  if (q != r.ptr) {
    ++q;  // 'e'
    const bool minus = *q == '-';
    for (++q; q != r.ptr; ++q) exp10 = exp10 * 10 + (*q - '0');
    if (minus) exp10 = -exp10;
  }
  if (is_exact_tie(value, digits, exp10 - precision) && ++digits == kPow10[precision]) {
    digits = kPow10[precision - 1];
    ++exp10;
  }

  int count = precision;
  while (digits % 10 == 0) {
    digits /= 10;
    --count;
  }
  char16_t d[20];
  write_unsigned(digits, d);  // exactly `count` digits: the leading one is not 0

  if (exp10 < -4 || exp10 >= precision) {
    *p++ = d[0];
    if (count > 1) {
      *p++ = seps.decimal;
      for (int k = 1; k < count; ++k) *p++ = d[k];
    }
    *p++ = u'E';
    *p++ = exp10 < 0 ? u'-' : u'+';
    const int mag = exp10 < 0 ? -exp10 : exp10;
    if (mag < 10) *p++ = u'0';
    p += write_unsigned(static_cast<std::uint64_t>(mag), p);
  } else if (exp10 >= 0) {
    for (int k = 0; k <= exp10; ++k) *p++ = k < count ? d[k] : u'0';
    if (count > exp10 + 1) {
      *p++ = seps.decimal;
      for (int k = exp10 + 1; k < count; ++k) *p++ = d[k];
    }
  } else {
    *p++ = u'0';
    *p++ = seps.decimal;
    for (int k = -1; k > exp10; --k) *p++ = u'0';
    for (int k = 0; k < count; ++k) *p++ = d[k];
  }
  return static_cast<std::size_t>(p - out);
}

std::size_t write_text(std::u16string_view text, char16_t* out) noexcept {
  for (std::size_t k = 0; k < text.size(); ++k) out[k] = text[k];
  return text.size();
}

// NaN, infinities and zeros, which the platform writes as words or "0"; 0 when `value` is none.
std::size_t write_special(double value, char16_t* out) noexcept {
  if (std::isnan(value)) return write_text(u"NAN", out);
  if (std::isinf(value)) return write_text(value < 0 ? u"-INF" : u"INF", out);
  if (value == 0) return write_text(u"0", out);  // also -0
  return 0;
}

}  // namespace

std::size_t format_double(double value, const NumberSeparators& seps, char16_t* out) noexcept {
  if (const std::size_t n = write_special(value, out)) return n;
  return write_rounded(value, 15, seps, out);
}

std::size_t format_single(float value, const NumberSeparators& seps, char16_t* out) noexcept {
  if (const std::size_t n = write_special(value, out)) return n;
  return write_rounded(value, 7, seps, out);  // widening is exact, so are the digits
}

std::size_t format_long(std::int32_t value, char16_t* out) noexcept {
  if (value >= 0) return write_digits(static_cast<std::uint32_t>(value), out);
  out[0] = u'-';
  // Negate unsigned: -2147483648 has no positive Long.
  return 1 + write_digits(0u - static_cast<std::uint32_t>(value), out + 1);
}

}  // namespace quorvel
