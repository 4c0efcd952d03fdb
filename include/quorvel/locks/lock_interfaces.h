// The three contracts of a lock: the state that hands out one handle at a time, the handle, and
// the callback through which a handle tells its state that it has been unlocked.
#pragma once

#include "quorvel/platform/class_info.h"
#include "quorvel/platform/interface_list.h"

namespace quorvel {

class ILockHandle;

#define QUORVEL_ILOCKHANDLE_MEMBERS(X) X(method, void, UnlockHandle, 1, (), (), ())

/// Holding a lock: the lock is held until `UnlockHandle` or until the last reference goes.
class ILockHandle : public Unknown {
 public:
  static constexpr const char* type_name = "ILockHandle";
  static constexpr Guid iid{"{47E7BD9B-FF57-46D5-89E5-7F4F9A3958F2}"};
  static const InterfaceInfo& interface_info();

  QUORVEL_DECLARE_MEMBERS(QUORVEL_ILOCKHANDLE_MEMBERS)
};

#define QUORVEL_ILOCKSTATE_MEMBERS(X)       \
  X(get, bool, Locked, 1, (), (), ())       \
  X(method, Ref<ILockHandle>, LockHandle, 2, (), (), ())

/// An on/off flag taken by one holder at a time: `LockHandle` hands out the holder's handle.
class ILockState : public Unknown {
 public:
  static constexpr const char* type_name = "ILockState";
  static constexpr Guid iid{"{C393EB24-CD53-4327-93C1-34C7337B3293}"};
  static const InterfaceInfo& interface_info();

  QUORVEL_DECLARE_MEMBERS(QUORVEL_ILOCKSTATE_MEMBERS)
};

#define QUORVEL_ILOCKCALLBACK_MEMBERS(X) X(method, void, UnlockHandle, 1, (Ref<Unknown> sender), (sender), ("sender"))

/// Told by a handle that it has been unlocked; `sender` is the handle.
class ILockCallback : public Unknown {
 public:
  static constexpr const char* type_name = "ILockCallback";
  static constexpr Guid iid{"{7C802D02-4705-4400-8C18-3E8ECBDE8091}"};
  static const InterfaceInfo& interface_info();

  QUORVEL_DECLARE_MEMBERS(QUORVEL_ILOCKCALLBACK_MEMBERS)
};

/// The interfaces published as classes (not creatable); their members do nothing and give False
/// or Nothing.
QUORVEL_INERT_CLASS(ILockStateClass, ILockState, QUORVEL_ILOCKSTATE_MEMBERS, "{8EA21395-A82D-49F5-B2CE-D4F61AD8B192}");
QUORVEL_INERT_CLASS(ILockHandleClass, ILockHandle, QUORVEL_ILOCKHANDLE_MEMBERS, "{55414704-0F6E-40E3-8CE4-99CC2353D479}");
QUORVEL_INERT_CLASS(ILockCallbackClass, ILockCallback, QUORVEL_ILOCKCALLBACK_MEMBERS, "{BE489D7F-034C-4AE7-842F-374EAEE6B545}");

}  // namespace quorvel
