// The hexadecimal texts of strings: the code-unit form (each UTF-16 unit as its low byte and then
// its high byte), its decoder, and the ANSI-code form. The string containers hand them out and the
// dictionary text is written and read with them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "quorvel/platform/string.h"

namespace quorvel {

/// Code units the code-unit hexadecimal text of `units` code units takes (4 per unit).
constexpr std::size_t code_unit_hex_length(std::size_t units) noexcept { return units * 4; }

/// Writes the code-unit hexadecimal text of `text` to `out`, which must hold
/// `code_unit_hex_length(text.size())` units: per code unit its low byte, then its high byte, each
/// as two upper-case digits. Never raises. Cost: one table lookup per byte.
void write_code_unit_hex(std::u16string_view text, char16_t* out) noexcept;

/// The code-unit hexadecimal text of `text` as a new string ("AB" gives "41004200"; "" gives "").
/// Raises 7 without memory, also when the text would pass the longest string.
String code_unit_hex(std::u16string_view text);

/// What decoding a code-unit hexadecimal part found wrong.
enum class HexDecodeStatus : std::uint8_t {
  Ok,
  LengthNotMultipleOfFour,  // the text form never writes such a part
  BadPair,                  // a pair that the value model's conversion does not read as a byte
};

/// Decodes a code-unit hexadecimal part into `out`: every two characters are one byte (digits in
/// either case), bytes taken two at a time as low and high byte. A pair that is not two digits is
/// read as the value model reads "&H" followed by it (so it fails unless it is a number such a
/// text can hold). On anything but Ok, `out` is left as it was. Raises 7 without memory.
HexDecodeStatus decode_code_unit_hex(std::u16string_view part, String& out);

/// The code that the library's ANSI code page, code page 1252 (Western European), gives `unit`: 0x00-0x7F and
/// 0xA0-0xFF as themselves, the 27 characters of the code page at 0x80-0x9F by their byte, the
/// five unassigned bytes (0x81, 0x8D, 0x8F, 0x90, 0x9D) reached by the control characters of
/// those numbers, and every other unit (surrogates included) the code page's substitute, the
/// question mark (0x3F). The code page is fixed, not taken from the user's locale, so that the
/// text is the same on every machine.
std::uint8_t ansi_code(char16_t unit) noexcept;

/// The ANSI-code hexadecimal text of `text`: each code unit's `ansi_code` as two upper-case
/// digits ("AB" gives "4142", "é" gives "E9", "€" gives "80", "ā" gives "3F"). Raises 7.
String ansi_code_hex(std::u16string_view text);

}  // namespace quorvel
