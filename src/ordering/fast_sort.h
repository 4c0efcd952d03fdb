// Sorts for the kinds whose equal elements cannot be told apart. For those, every correct sort
// gives the same result as the engine's quicksort, so these take the fastest road instead:
// radix sorts for numbers, a prefix-key radix sort for strings.
#pragma once

#include <cstdint>
#include <span>

#include "quorvel/platform/string.h"
#include "quorvel/platform/var_kind.h"

namespace quorvel::sorting {

/// Ascending by the signed 16-bit value (True, -1, before False, 0).
void sort_booleans(std::span<VariantBool> items);
/// Ascending, unsigned. In place (a counting sort), never allocates.
void sort_bytes(std::span<std::uint8_t> items) noexcept;
void sort_integers(std::span<std::int16_t> items);
void sort_longs(std::span<std::int32_t> items);

/// Ascending by value when the range holds neither a NaN nor a negative zero (either would make
/// equal elements distinguishable or the order partial); returns false, untouched, otherwise.
bool try_sort_singles(std::span<float> items);
bool try_sort_doubles(std::span<double> items);

/// Binary order of the code units (a proper prefix first).
void sort_strings(std::span<String> items);

}  // namespace quorvel::sorting
