// The library's default order of two values, which the ready-made comparers compute and every
// sort or search without a comparer of its own falls back on.
#pragma once

#include <cstdint>

#include "quorvel/platform/variant.h"

namespace quorvel {

/// How strings compare: Binary by UTF-16 code units, Text without regard to case under the user
/// locale's collation; Database is the platform's database mode, which orders as Text here.
enum class CompareMode : std::int32_t { Binary = 0, Text = 1, Database = 2 };

/// -1, 0 or 1 from the tests A = B (0), A > B (1), A < B (-1) in that order; when none holds
/// (Null on either side, a NaN) the result is 0. Numbers order before any string; Empty is 0
/// against a number and "" against a string; an object compares through its default value, read
/// afresh for each test, as the platform's relational operators do.
/// Raises: 13 for an array or an Error value, 438 for an object without a default member, 91 for
/// Nothing, and whatever a default member raises.
/// Cost: one comparison for plain values, no allocation (beyond a collator's first use).
std::int16_t CompareVariants(const Variant& A, const Variant& B, CompareMode mode);

}  // namespace quorvel
