// The comparer contracts published as classes of their own: `IComparer` and `IFindComparer` can
// be created (a bare `IComparer` makes a sort treat all elements as equal); `IrefStringComparer`
// cannot. Their members do nothing and return 0.
#pragma once

#include "quorvel/frame/comparer_interfaces.h"

namespace quorvel {

/// The class `IComparer`: `Compare` returns 0 for any arguments.
QUORVEL_INERT_CLASS(IComparerClass, IComparer, QUORVEL_ICOMPARER_MEMBERS, "{67F0CFC2-FCA8-4970-BFCC-34C30D61725C}");
/// The class `IFindComparer`: `Compare` returns 0 for any arguments.
QUORVEL_INERT_CLASS(IFindComparerClass, IFindComparer, QUORVEL_IFINDCOMPARER_MEMBERS,
                    "{37EE5503-7CB8-455F-9B18-FE38A69A6866}");
/// The class `IrefStringComparer` (not creatable): `Compare` returns 0 for any arguments.
QUORVEL_INERT_CLASS(IrefStringComparerClass, IrefStringComparer, QUORVEL_IREFSTRINGCOMPARER_MEMBERS,
                    "{4A46D131-CB78-43BC-8473-479ECB0EC6C1}");

}  // namespace quorvel
