// The handle of a lock: while it is bound, the lock state that issued it is locked.
#pragma once

#include "quorvel/locks/lock_interfaces.h"

namespace quorvel {

/// Holds a lock (made only by `LockState`; not creatable). Bound to its lock state's callback
/// until unlocked; then stale. Dropping the last reference to a bound handle unlocks it, and the
/// lock state raises `OnUnlock`; dropping a stale one is silent.
class LockHandle final : public ObjectImpl<ILockHandle> {
 public:
  static constexpr const char* type_name = "LockHandle";
  static constexpr Guid clsid{"{C9C9C37F-8F82-4E31-A94D-2FA208ACFFEE}"};
  static constexpr Guid iid{"{1F167CC4-37E3-4A41-9701-CF973EE45E81}"};  // its own interface
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }

  LockHandle() noexcept = default;
  /// Unlocks a bound handle. What a listener raises then is lost: no caller is left to hear it.
  ~LockHandle() override;

  /// The same object as `ILockHandle`.
  Ref<ILockHandle> get_AsILockHandle() noexcept { return Ref<ILockHandle>(this); }

  /// Unlocks: calls the callback's `UnlockHandle` with this handle as sender, which makes the
  /// lock state raise `OnUnlock`. The handle is stale before the call, so a listener that raises
  /// (its error leaves here) or unlocks again cannot unlock the state twice. Raises 0x80040003
  /// "Invalid handle [object may already unlocked]" on a stale handle, "Uninitialized object
  /// usage!" on one never bound.
  void UnlockHandle() override;

  /// Binds the handle to `callback`, once. Raises 0x80040003 "Object already initialized!".
  void initialize(Ref<ILockCallback> callback);
  /// Replaces the callback: by Nothing at any time, by an object only while it is Nothing.
  /// Raises 0x80040003 with an empty message for a second object.
  void set_callback(Ref<ILockCallback> callback);
  /// True until unlocked (and after `initialize`).
  bool bound() const noexcept { return static_cast<bool>(callback_); }

 private:
  Ref<ILockCallback> callback_;
  bool initialized_ = false;
  bool terminating_ = false;
};

}  // namespace quorvel
