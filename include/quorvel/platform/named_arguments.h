// Late-bound calls that name some of their arguments, as script hosts write
// `list.Sort(Comparer:=c)`: named arguments follow the positional ones, in any order.
#pragma once

#include <span>
#include <string_view>

#include "quorvel/platform/class_info.h"
#include "quorvel/platform/variant.h"

namespace quorvel {

/// Calls member `id` of `target` like `invoke`, with the last `names.size()` of `args` named:
/// `names[i]` names `args[args.size() - names.size() + i]`. Names match the member's parameter
/// names without regard to case; parameters neither given nor named are omitted.
/// Raises 448 for a name the member has no parameter of, 5 for a parameter named twice or named
/// after a positional argument filled it, 450 when there are fewer arguments than names, and
/// whatever `invoke` raises. Costs one pass over the member's parameters per name.
Variant invoke_named(Unknown& target, DispId id, MemberKind kinds, std::span<Variant> args,
                     std::span<const std::u16string_view> names);

/// `invoke_named` by member name.
Variant invoke_named(Unknown& target, std::u16string_view member, MemberKind kinds, std::span<Variant> args,
                     std::span<const std::u16string_view> names);

}  // namespace quorvel
