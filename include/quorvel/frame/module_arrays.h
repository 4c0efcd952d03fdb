// The array length procedures shared across the library: the element count of a typed array, or
// of the array a Variant holds, with 0 for an unallocated array.
#pragma once

#include <cstdint>

#include "quorvel/platform/array.h"
#include "quorvel/platform/string.h"
#include "quorvel/platform/variant.h"

namespace quorvel {

/// The element count of the array `Variants` holds, whatever its element kind: 1 - L + U from its
/// bounds L and U, in Long arithmetic, 0 when that is negative or the array is unallocated.
/// Raises 13 (type mismatch) when `Variants` holds no array, and 6 when 1 - L overflows a Long
/// (a lower bound below -2147483646), each with the source "Quorvel.ModuleArrays.GetLengthVariants".
std::int32_t GetLengthVariants(Variant& Variants);

/// The element count of a typed array, as `GetLengthVariants` counts it; 0 when unallocated.
/// Raises 6 as `GetLengthVariants` does, with the source "Quorvel.ModuleArrays." and the
/// procedure's name. Cost: constant.
std::int32_t GetLengthBooleans(ArrayOf<VariantBool>& Booleans);
std::int32_t GetLengthBytes(ArrayOf<std::uint8_t>& Bytes);
std::int32_t GetLengthDoubles(ArrayOf<double>& Doubles);
std::int32_t GetLengthIntegers(ArrayOf<std::int16_t>& Integers);
std::int32_t GetLengthLongs(ArrayOf<std::int32_t>& Longs);
std::int32_t GetLengthSingles(ArrayOf<float>& Singles);
std::int32_t GetLengthStrings(ArrayOf<String>& Strings);

/// 1 - `lower` + `upper` evaluated left to right in Long arithmetic, negative results as 0.
/// Raises 6 (overflow) when a step leaves the Long range.
std::int32_t length_from_bounds(std::int32_t lower, std::int32_t upper);

}  // namespace quorvel
