// The library's one string comparison by compare mode, used by the string containers. Binary and
// text comparisons go through comparer objects kept per thread, created on the thread's first use.
#pragma once

#include <cstdint>

#include "quorvel/platform/string.h"

namespace quorvel {

/// Orders `A` against `B` in `CompareMode`: -1, 0 or 1.
/// - 0: binary (UTF-16 code units), by the thread's `BinaryModeComparer`;
/// - 1: text (the user's locale, case ignored), by the thread's `TextModeComparer`;
/// - 2: the database mode. No database is ever attached to the library, so the mode falls back to
///   the text order of the user's locale, compared directly (the same order as 1).
/// Any other mode raises 0x80040001 with an empty message and no sender, through the error
/// reporter. The first binary or text comparison on a thread creates that comparer (raising 7
/// without memory); it then lives until the thread ends or its context is reset.
/// Cost: one comparison plus a per-thread slot lookup.
std::int32_t CompareStrings(String& A, String& B, std::int32_t CompareMode);

}  // namespace quorvel
