// Descriptions of the comparer contracts, made from their member lists.
#include "quorvel/frame/comparer_interfaces.h"

#include "quorvel/platform/describe.h"

namespace quorvel {

QUORVEL_DESCRIBE_INTERFACE(IComparer, QUORVEL_ICOMPARER_MEMBERS)
QUORVEL_DESCRIBE_INTERFACE(IFindComparer, QUORVEL_IFINDCOMPARER_MEMBERS)
QUORVEL_DESCRIBE_INTERFACE(IrefStringComparer, QUORVEL_IREFSTRINGCOMPARER_MEMBERS)

}  // namespace quorvel
