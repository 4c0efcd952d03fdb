// A lock state: an on/off flag taken by one holder at a time, the holder being a `LockHandle`.
#pragma once

#include "quorvel/locks/lock_handle.h"
#include "quorvel/locks/lock_interfaces.h"
#include "quorvel/platform/events.h"

namespace quorvel {

class LockSink;

#define QUORVEL_ILOCKSTATEEVENTS_MEMBERS(X)                                  \
  X(method, void, OnLock, 1, (Ref<Unknown> sender), (sender), ("sender")) \
  X(method, void, OnUnlock, 2, (Ref<Unknown> sender), (sender), ("sender"))

/// The events of a lock state; `sender` is the lock state. A C++ listener may implement this.
class ILockStateEvents : public Unknown {
 public:
  static constexpr const char* type_name = "ILockStateEvents";
  static constexpr Guid iid{"{A4A619BC-378D-43F8-A152-6BF60B20511C}"};
  static const InterfaceInfo& interface_info();

  QUORVEL_DECLARE_MEMBERS(QUORVEL_ILOCKSTATEEVENTS_MEMBERS)
};

/// A lock (creatable as "Quorvel.LockState"), unlocked at creation. `LockHandle` locks it and
/// hands out the handle; unlocking the handle, or dropping it while bound, unlocks it again.
/// Raises `OnLock` and `OnUnlock` after storing the new flag, so listeners read the new value.
/// The handle holds the lock state's private sink, not the lock state: a handle that outlives
/// its lock state unlocks nothing.
class LockState final : public ObjectImpl<ILockState, IEventContainer> {
 public:
  static constexpr const char* type_name = "LockState";
  static constexpr Guid clsid{"{34D0906E-388F-4A76-B216-20FDD0E5B5AC}"};
  static constexpr Guid iid{"{A5443E26-51CA-4675-B73B-36ABCD87884A}"};  // its own interface
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }

  /// Raises 7 when there is no memory for the sink.
  LockState();
  ~LockState() override;

  /// The same object as `ILockState`.
  Ref<ILockState> get_AsILockState() noexcept { return Ref<ILockState>(this); }
  /// Whether a handle holds the lock.
  bool get_Locked() noexcept override { return locked_; }
  /// Locks and returns the new handle, after `OnLock` has been delivered. Raises 0x80040003
  /// "Handle already locked!" while locked, 7 without memory, and what an `OnLock` listener
  /// raises; in that last case the new handle is dropped, which unlocks the state again.
  Ref<ILockHandle> LockHandle() override;

  /// The listeners of `OnLock` and `OnUnlock`.
  EventSource& events() noexcept { return events_; }
  EventSource* find_event_source(const Guid& events_iid) noexcept override;

 private:
  void set_locked(bool value);

  Ref<LockSink> sink_;
  bool locked_ = false;
  EventSource events_;
  EventCookie sink_cookie_ = 0;
};

}  // namespace quorvel
