// The lock contracts' descriptions and their published classes.
#include "quorvel/locks/lock_interfaces.h"

#include "quorvel/platform/describe.h"

namespace quorvel {

QUORVEL_DESCRIBE_INTERFACE(ILockHandle, QUORVEL_ILOCKHANDLE_MEMBERS)
QUORVEL_DESCRIBE_INTERFACE(ILockState, QUORVEL_ILOCKSTATE_MEMBERS)
QUORVEL_DESCRIBE_INTERFACE(ILockCallback, QUORVEL_ILOCKCALLBACK_MEMBERS)
QUORVEL_DESCRIBE_INERT_CLASS(ILockStateClass, ILockState, ClassFlags::None)
QUORVEL_DESCRIBE_INERT_CLASS(ILockHandleClass, ILockHandle, ClassFlags::None)
QUORVEL_DESCRIBE_INERT_CLASS(ILockCallbackClass, ILockCallback, ClassFlags::None)

}  // namespace quorvel
