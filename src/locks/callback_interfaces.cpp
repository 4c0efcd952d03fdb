// The shared contracts' descriptions and their published classes.
#include "quorvel/locks/callback_interfaces.h"

#include "quorvel/platform/describe.h"

namespace quorvel {

QUORVEL_DESCRIBE_INTERFACE(IUnaryStringTest, QUORVEL_IUNARYSTRINGTEST_MEMBERS)
QUORVEL_DESCRIBE_INTERFACE(INotifyCallback, QUORVEL_INOTIFYCALLBACK_MEMBERS)
QUORVEL_DESCRIBE_INTERFACE(IStateHandle, QUORVEL_ISTATEHANDLE_MEMBERS)
QUORVEL_DESCRIBE_INTERFACE(IAsyncCallback, QUORVEL_IASYNCCALLBACK_MEMBERS)
QUORVEL_DESCRIBE_INTERFACE(IAllJobDoneCallback, QUORVEL_IALLJOBDONECALLBACK_MEMBERS)
QUORVEL_DESCRIBE_INTERFACE(ILongIndexer, QUORVEL_ILONGINDEXER_MEMBERS)
QUORVEL_DESCRIBE_INERT_CLASS(IUnaryStringTestClass, IUnaryStringTest, ClassFlags::None)
QUORVEL_DESCRIBE_INERT_CLASS(INotifyCallbackClass, INotifyCallback, ClassFlags::None)
QUORVEL_DESCRIBE_INERT_CLASS(IStateHandleClass, IStateHandle, ClassFlags::None)
QUORVEL_DESCRIBE_INERT_CLASS(IAsyncCallbackClass, IAsyncCallback, ClassFlags::None)
QUORVEL_DESCRIBE_INERT_CLASS(IAllJobDoneCallbackClass, IAllJobDoneCallback, ClassFlags::None)
QUORVEL_DESCRIBE_INERT_CLASS(ILongIndexerClass, ILongIndexer, ClassFlags::None)

}  // namespace quorvel
