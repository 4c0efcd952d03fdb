// The hexadecimal texts of strings.
#include "quorvel/text/hex_text.h"

#include <array>
#include <cstring>
#include <string>

#include "quorvel/platform/error.h"
#include "quorvel/platform/memory.h"
#include "quorvel/platform/number_text.h"

namespace quorvel {
namespace {

// Each byte's two digits as one 32-bit word in memory order, so a code unit is one 64-bit store.
constexpr std::array<std::uint32_t, 256> kByteDigits = [] {
  std::array<std::uint32_t, 256> table{};
  constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  for (std::uint32_t b = 0; b < 256; ++b) {
    table[b] = static_cast<std::uint32_t>(kDigits[b >> 4]) | (static_cast<std::uint32_t>(kDigits[b & 15]) << 16);
  }
  return table;
}();

// The value of a hexadecimal digit among the first 128 units, 0xFF for anything else.
constexpr std::array<std::uint8_t, 128> kDigitValue = [] {
  std::array<std::uint8_t, 128> table{};
  table.fill(0xFF);
  for (int d = 0; d < 10; ++d) table['0' + d] = static_cast<std::uint8_t>(d);
  for (int d = 0; d < 6; ++d) {
    table['A' + d] = static_cast<std::uint8_t>(10 + d);
    table['a' + d] = static_cast<std::uint8_t>(10 + d);
  }
  return table;
}();

int digit_value(char16_t unit) noexcept { return unit < 128 ? kDigitValue[unit] : 0xFF; }

// A pair that is not two plain digits is read as the value model reads "&H" and the pair, so
// that exactly the texts it accepts are accepted.
bool read_odd_pair(char16_t first, char16_t second, std::uint8_t& byte) noexcept {
  const char16_t text[] = {u'&', u'H', first, second};
  return parse_byte(std::u16string_view(text, 4), NumberSeparators{}, byte) == ConvStatus::Ok;
}

bool read_pair(const char16_t* at, std::uint8_t& byte) noexcept {
  const int high = digit_value(at[0]);
  const int low = digit_value(at[1]);
  if ((high | low) <= 0xF) [[likely]] {
    byte = static_cast<std::uint8_t>(high << 4 | low);
    return true;
  }
  return read_odd_pair(at[0], at[1], byte);
}

// Code page 1252 at 0x80-0x9F: the character each byte stands for (0 where the byte is unassigned
// and stands for the control character of its own number).
constexpr char16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

constexpr std::uint8_t kSubstitute = 0x3F;

}  // namespace

void write_code_unit_hex(std::u16string_view text, char16_t* out) noexcept {
  for (const char16_t unit : text) {
    const std::uint64_t digits = static_cast<std::uint64_t>(kByteDigits[unit & 0xFF]) |
                                 static_cast<std::uint64_t>(kByteDigits[unit >> 8]) << 32;
    std::memcpy(out, &digits, sizeof digits);
    out += 4;
  }
}

String code_unit_hex(std::u16string_view text) {
  if (text.size() > SIZE_MAX / 8) raise_out_of_memory();
  char16_t* out = nullptr;
  String result = String::uninitialized(code_unit_hex_length(text.size()), out);
  if (out != nullptr) write_code_unit_hex(text, out);
  return result;
}

HexDecodeStatus decode_code_unit_hex(std::u16string_view part, String& out) {
  if (part.size() % 4 != 0) return HexDecodeStatus::LengthNotMultipleOfFour;
  // Checked before the result exists, so that a bad pair costs no allocation.
  const std::size_t length = part.size() / 4;
  std::uint8_t low = 0;
  std::uint8_t high = 0;
  for (std::size_t i = 0; i < length; ++i) {
    if (!read_pair(part.data() + 4 * i, low) || !read_pair(part.data() + 4 * i + 2, high)) {
      return HexDecodeStatus::BadPair;
    }
  }
  char16_t* units = nullptr;
  String decoded = String::uninitialized(length, units);
  for (std::size_t i = 0; i < length; ++i) {
    read_pair(part.data() + 4 * i, low);
    read_pair(part.data() + 4 * i + 2, high);
    units[i] = static_cast<char16_t>(high << 8 | low);
  }
  out = std::move(decoded);
  return HexDecodeStatus::Ok;
}

std::uint8_t ansi_code(char16_t unit) noexcept {
  if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<std::uint8_t>(unit);
  if (unit < 0xA0) return kHighControls[unit - 0x80] == 0 ? static_cast<std::uint8_t>(unit) : kSubstitute;
  for (std::size_t i = 0; i < 32; ++i) {
    if (kHighControls[i] == unit) return static_cast<std::uint8_t>(0x80 + i);
  }
  return kSubstitute;
}

String ansi_code_hex(std::u16string_view text) {
  if (text.size() > SIZE_MAX / 4) raise_out_of_memory();
  char16_t* out = nullptr;
  String result = String::uninitialized(text.size() * 2, out);
  for (const char16_t unit : text) {
    const std::uint32_t digits = kByteDigits[ansi_code(unit)];
    std::memcpy(out, &digits, sizeof digits);
    out += 2;
  }
  return result;
}

}  // namespace quorvel
