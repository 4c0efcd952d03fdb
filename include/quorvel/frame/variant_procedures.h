// The shared Variant procedures: the dereferencing deep copy and its exchange twin, and the
// object-or-value assignment (a set when the source holds an object reference, else a let).
#pragma once

#include <cstdint>

#include "quorvel/platform/variant.h"

namespace quorvel {

/// Failure codes a dereferencing copy reports (negative, as the platform's status codes are).
namespace copy_status {
inline constexpr std::int32_t kOk = 0;
inline constexpr std::int32_t kOutOfMemory = static_cast<std::int32_t>(0x8007000Eu);  // -2147024882
inline constexpr std::int32_t kFail = static_cast<std::int32_t>(0x80004005u);         // -2147467259
}  // namespace copy_status

/// One dereferencing deep copy of `source` into `dest`, as a status instead of an exception: 0, or
/// a negative failure code with `dest` left as it was. Only allocation can fail here: copying a
/// String shares it and copying an object reference counts it, so the failures come from copying
/// arrays (an array of Variants copies its elements, nested arrays included). Running out of memory
/// reports 0x8007000E; an error with a runtime number n reports 0x800A0000 + n; anything else
/// reports 0x80004005.
std::int32_t copy_variant_status(Variant& dest, const Variant& source) noexcept;

/// Replaces `Dest` with a deep copy of `Source`; a by-reference `Source` is copied from the value
/// it points at, so `Dest` never holds a by-reference value afterwards. `Dest`'s old content is
/// released once the copy exists (so a `Source` that points into what `Dest` holds stays valid
/// while it is read). Raises 0x80040007 "CopyVariant.OLEVariantCopyInd Failed : <code>" through
/// the error reporter (no sender) when the copy fails; `Dest` is then unchanged.
/// Cost: constant for scalars, strings and objects; linear in the elements for arrays.
void CopyVariant(Variant& Dest, const Variant& Source);

/// Exchanges `A` and `B` by three dereferencing copies through a temporary (temporary from `A`,
/// `A` from `B`, `B` from the temporary). Each copy is checked: the first that fails raises
/// 0x80040007 "OLEVariantCopyInd Failed : <code>" through the error reporter (no sender) and
/// the exchange stops there with both left as they were. Either may hold a by-reference value;
/// both hold plain values afterwards.
void SwapVariants(Variant& A, Variant& B);

/// A set of `Source` into `Target` when `Source` holds an object reference (Nothing included):
/// `Target` then refers to the same object and the result is true. Otherwise false, with `Target`
/// unchanged. Never raises.
bool TrySetObject(Variant& Target, const Variant& Source) noexcept;

/// `TrySetObject`, and when that is false a let of a dereferenced copy of `Source` into `Target`.
/// Returns what was assigned (a reference for an object, a copy otherwise). The old content is
/// released last, with `Target` already set. Raises only what copying an array raises (running
/// out of memory), with `Target` as it was.
Variant AssignVariant(Variant& Target, const Variant& Source);

namespace detail {
/// Test seam: makes the `nth` following dereferencing copy on this thread (1 = the next) report
/// `code` instead of copying; 0 turns it off. Lets tests reach the failure paths that otherwise
/// only exhausted memory reaches.
void fail_variant_copy(int nth, std::int32_t code) noexcept;
}  // namespace detail

}  // namespace quorvel
