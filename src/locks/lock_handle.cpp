// The lock handle.
#include "quorvel/locks/lock_handle.h"

#include <utility>

#include "quorvel/frame/error_catalogue.h"
#include "quorvel/platform/describe.h"

namespace quorvel {

const ClassInfo& LockHandle::describe() {
  static const ClassInfo info = describe_class<LockHandle, ILockHandle>(
      ClassFlags::None, {get<&LockHandle::get_AsILockHandle>("AsILockHandle", 1)}, "Holds the lock of a LockState");
  return info;
}

LockHandle::~LockHandle() {
  terminating_ = true;
  if (!initialized_) return;
  try {
    UnlockHandle();
  } catch (...) {  // NOLINT(bugprone-empty-catch): a destructor has nobody to raise to
  }
}

void LockHandle::UnlockHandle() {
  if (!initialized_) raise(Failure::UninitializedUse, as_unknown(this));
  if (!callback_) {
    if (terminating_) return;
    raise(Failure::StaleHandle, as_unknown(this));
  }
  Ref<ILockCallback> callback = std::move(callback_);
  // A handle whose count has reached zero cannot be handed out again, not even as a sender.
  if (terminating_) return callback->UnlockHandle(nullptr);
  // The sender keeps this handle alive while listeners run; nothing after the call touches it.
  callback->UnlockHandle(Ref<Unknown>(as_unknown(this)));
}

void LockHandle::initialize(Ref<ILockCallback> callback) {
  if (initialized_) raise(Failure::AlreadyInitialized, as_unknown(this));
  set_callback(std::move(callback));
  initialized_ = true;
}

void LockHandle::set_callback(Ref<ILockCallback> callback) {
  if (callback && callback_) raise(Failure::InvalidState, as_unknown(this));
  // The old callback goes last: releasing it may run caller code that comes back here.
  std::swap(callback_, callback);
}

}  // namespace quorvel
