// Descriptions of the comparer contracts' own classes: their members are the contracts' own.
#include "quorvel/ordering/comparer_interface_classes.h"

#include "quorvel/platform/describe.h"

namespace quorvel {

QUORVEL_DESCRIBE_INERT_CLASS(IComparerClass, IComparer, ClassFlags::Creatable)
QUORVEL_DESCRIBE_INERT_CLASS(IFindComparerClass, IFindComparer, ClassFlags::Creatable)
QUORVEL_DESCRIBE_INERT_CLASS(IrefStringComparerClass, IrefStringComparer, ClassFlags::None)

}  // namespace quorvel
