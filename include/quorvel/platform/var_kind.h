// The kinds of automation value, with the platform's own numbers, and the two flags on a kind code.
#pragma once

#include <cstdint>

namespace quorvel {

/// The kind of a value; the numbers are the automation type codes.
enum class VarKind : std::uint16_t {
  Empty = 0,
  Null = 1,
  Integer = 2,
  Long = 3,
  Single = 4,
  Double = 5,
  String = 8,
  Object = 9,
  Error = 10,
  Boolean = 11,
  Variant = 12,
  Byte = 17,
  Record = 36,
};

/// Flag on a kind code: an array of the kind in the low bits (8195 is an array of Long).
inline constexpr std::uint16_t kArrayFlag = 0x2000;
/// Flag on a kind code: a reference to caller storage of the kind in the low bits.
inline constexpr std::uint16_t kByRefFlag = 0x4000;
/// The low bits of a kind code that name the kind itself.
inline constexpr std::uint16_t kKindMask = 0x0FFF;

/// The error code that marks an omitted optional argument (kind Error).
inline constexpr std::int32_t kMissingArgument = static_cast<std::int32_t>(0x80020004u);

/// The automation name of a kind ("Long", "String", ...), for messages and the type library.
const char* kind_name(VarKind kind) noexcept;

/// The automation type of a parameter, result or record field: a kind code (with the array flag)
/// and, for objects and records, the name of the class, interface or record ("" for any object).
struct TypeDesc {
  std::uint16_t code = 0;
  const char* type_name = "";
};

/// A 16-bit automation Boolean: True is -1 (all bits set), False is 0; any non-zero reads as True.
struct VariantBool {
  std::int16_t bits = 0;
  constexpr VariantBool() noexcept = default;
  constexpr VariantBool(bool value) noexcept : bits(value ? -1 : 0) {}  // NOLINT: implicit by design
  constexpr operator bool() const noexcept { return bits != 0; }       // NOLINT
  static constexpr VariantBool from_bits(std::int16_t raw) noexcept {
    VariantBool b;
    b.bits = raw;
    return b;
  }
};

}  // namespace quorvel
