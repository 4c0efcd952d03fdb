// Calling members by name or dispatch id with nothing but Variants: the surface that the
// command-line host, a C ABI or a Python host all drive.
#pragma once

#include <span>
#include <string_view>

#include "quorvel/platform/class_info.h"
#include "quorvel/platform/variant.h"

namespace quorvel {

/// The description of the interface that `target` (a pointer into some object) answers to.
/// Raises 438 for an object without late-bound members.
const InterfaceInfo& interface_info_of(Unknown& target);

/// The dispatch id of `name` on `target`'s interface, compared without regard to case; looked up
/// once, it can be reused for any number of calls. Raises 438 when there is no such member.
DispId get_dispid(Unknown& target, std::u16string_view name);

/// Calls member `id` of `target` as one of `kinds` (a call is `Method | Get`).
///
/// `args` are in call order; for let and set the assigned value is last. Each is coerced to the
/// declared parameter kind (a Long parameter given "12" gets 12, given "x" raises 13); an omitted
/// optional argument (a missing Variant, or fewer arguments) arrives as missing or as its
/// declared default; a by-reference parameter writes back into a by-reference argument, also
/// when the member raises.
/// Raises 438 (no such member of that kind), 450 (too many arguments), 449 (a required argument
/// left out), and whatever the member raises. Scalar calls do not touch the heap.
Variant invoke(Unknown& target, DispId id, MemberKind kinds, std::span<Variant> args);

/// `invoke` by name.
Variant invoke(Unknown& target, std::u16string_view name, MemberKind kinds, std::span<Variant> args);

/// `invoke` on the object a Variant holds: 91 for Nothing, 424 for a value that is not an object.
Variant invoke(const Variant& object, std::u16string_view name, MemberKind kinds, std::span<Variant> args);

/// True when the object's interface has a default member (dispatch id 0) callable without
/// arguments, so that the object has a default value.
bool has_default_member(Unknown& target) noexcept;

}  // namespace quorvel
