// The platform's comparison of two Variants: the relations =, < and > that sorting and searching
// build their default order on.
#pragma once

#include <cstdint>

#include "quorvel/platform/variant.h"

namespace quorvel {

/// The outcome of comparing two values; `Null` when no relation holds.
enum class VarOrder : std::int8_t { Less = -1, Equal = 0, Greater = 1, Null = 2 };

/// Compares `a` with `b` by their kinds:
/// - two numbers (Byte, Boolean as -1/0, Integer, Long, Single, Double) by value, a Single against
///   a Double at Single precision (the Double rounded to the nearest Single, unless it lies beyond
///   the Single range);
/// - a number against a string: the number is Less, whatever the string holds;
/// - two strings by the text order of the user locale when `ignore_case`, else by the binary
///   order (collation.h); Empty against a string is the empty string, against a number 0;
/// - Null on either side, or a NaN against a number: `Null`, as no relation holds;
/// - an object (by reference or not) through its default value.
/// Raises: 13 (type mismatch) for an array or an Error value, 438 for an object without a default
/// member, 91 for Nothing; whatever reading a default value raises.
/// Cost: no allocation, except the first text comparison of a locale on a thread (collation.h)
/// and an object's default value.
VarOrder var_compare(const Variant& a, const Variant& b, bool ignore_case);

}  // namespace quorvel
