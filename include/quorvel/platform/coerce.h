// Coercion of any value to one kind, with the platform's rules and the user's locale. The member
// conversions of `Variant` (`to_long()`, ...) are the typed faces of the same rules.
#pragma once

#include "quorvel/platform/variant.h"

namespace quorvel {

/// `value` converted to `kind`: Integer, Long, Single, Double, String, Boolean, Byte (scalars),
/// Object (a reference, 424 for anything else), Variant (`copy_ind()`), Empty, Null or Error
/// (kept only when already of that kind, else 13). Rounds half to even; raises 6 (overflow),
/// 13 (no form of that kind), 94 (Null to a scalar). Objects convert through their default value.
Variant change_type(const Variant& value, VarKind kind);

}  // namespace quorvel
