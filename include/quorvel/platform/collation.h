// The two string orders of the platform: binary (UTF-16 code units) and text (the user locale's
// collation with letter case ignored). A null string is an empty view and equals "".
#pragma once

#include <string_view>

namespace quorvel {

/// Binary order: code units compared as unsigned 16-bit numbers, the first difference decides, a
/// proper prefix orders first. Returns -1, 0 or 1. Cost: one pass over the common prefix.
int compare_binary(std::u16string_view a, std::u16string_view b) noexcept;

/// Text order under the calling thread's user locale (`user_locale()`): ICU's collation of that
/// locale with case, kana type and width ignored (secondary strength), and hyphen and apostrophe
/// weighed after the letters, as the platform's word sort does; the letters the platform expands
/// (æ, œ, ß and their capitals) equal their two letters ("ae", "oe", "ss"). Returns -1, 0 or 1.
/// Cost: the first call for a locale on a thread builds its collator (well under a millisecond for
/// most locales, up to about 0.1 s for the large East Asian ones); after that, strings that are all
/// ASCII go through a table of per-unit weights proved equal to the collator's at build time, and
/// other strings through ICU. An unknown locale id collates as the root locale.
/// Raises: std::bad_alloc only.
int compare_text(std::u16string_view a, std::u16string_view b);

/// `compare_text(a, b) == 0`.
bool equal_text(std::u16string_view a, std::u16string_view b);

/// The text order computed by ICU alone, without the ASCII table: the reference that the table is
/// checked against in tests and benchmarks.
int compare_text_collator(std::u16string_view a, std::u16string_view b);

}  // namespace quorvel
