// The storage rule of the classic containers: an object reference is kept by reference unless
// its object has a default value, which then stands for it and is kept as a value.
#pragma once

#include <cstdint>
#include <limits>

#include "quorvel/platform/variant.h"

namespace quorvel::containers {

/// The objects, arrays and by-reference values of `kept_by_kind`.
Variant kept_by_kind_slow(const Variant& value);

/// `value` as a container keeps it: a plain copy, or the default value of an object that has
/// one (reading it is caller code, which may raise). Raises what that read raises, and 7.
inline Variant kept_by_kind(const Variant& value) {
  // A scalar or a string held in place is its own copy: no call needed.
  const std::uint16_t raw = value.raw_code();
  if ((raw & (kArrayFlag | kByRefFlag)) == 0 && raw != Variant::code(VarKind::Object)) return value;
  return kept_by_kind_slow(value);
}

/// Largest element count a container's Variant storage may reach: the platform's arrays cannot
/// hold more than 2 GiB, and a request beyond it must raise rather than run the machine dry.
inline constexpr std::int64_t kMaxVariantElements = (std::int64_t{1} << 31) / static_cast<std::int64_t>(sizeof(Variant));

[[noreturn]] void raise_element_count(std::int64_t count);

/// Raises 6 when `count` does not fit a Long, 7 when it exceeds `kMaxVariantElements`.
inline void check_element_count(std::int64_t count) {
  if (count > kMaxVariantElements) raise_element_count(count);
}

}  // namespace quorvel::containers
