// The lock state's private sink.
#include "lock_sink.h"

#include <array>

#include "quorvel/platform/describe.h"

namespace quorvel {

QUORVEL_DESCRIBE_INTERFACE(ILockSinkEvents, QUORVEL_ILOCKSINKEVENTS_MEMBERS)

const ClassInfo& LockSink::describe() {
  static const ClassInfo info =
      describe_class<LockSink, ILockCallback>(ClassFlags::None, {}, "", &ILockSinkEvents::interface_info());
  return info;
}

void LockSink::UnlockHandle(Ref<Unknown> sender) {
  std::array<Variant, 1> args{Variant(std::move(sender))};
  events_.raise(u"Unlocked", args);
}

}  // namespace quorvel
