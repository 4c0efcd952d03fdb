// The one-shot rule of objects that are filled once and then read-only: a flag, false at creation
// and true after the first successful initialisation, tested by every initialising operation.
#pragma once

#include "quorvel/frame/error_catalogue.h"
#include "quorvel/platform/object.h"

namespace quorvel {

/// The `Initialized` flag of a one-shot object. Use: call `check_not_initialized(this)` first in
/// every initialising operation, do all of the operation's own checks, fill, and call
/// `mark_initialized()` last, once nothing can fail any more. There is no way back.
class OneShot {
 public:
  /// True once the object has been initialised.
  bool initialized() const noexcept { return initialized_; }

  /// Raises 0x80040003 "Object already initialized!" through the error reporter, with `sender`
  /// (the object) as sender, when the object is initialised already; otherwise does nothing.
  template <class T>
  void check_not_initialized(T* sender) const {
    if (initialized_) raise(Failure::AlreadyInitialized, sender ? as_unknown(sender) : nullptr);
  }

  /// Records that the initialisation succeeded.
  void mark_initialized() noexcept { initialized_ = true; }

 private:
  bool initialized_ = false;
};

}  // namespace quorvel
