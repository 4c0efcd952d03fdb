// The private go-between of a lock state and its handles: a handle calls the sink, the sink
// raises `Unlocked`, and the lock state listening to it unlocks. A handle holding only the sink
// never keeps its lock state alive.
#pragma once

#include "quorvel/locks/lock_interfaces.h"
#include "quorvel/platform/events.h"

namespace quorvel {

#define QUORVEL_ILOCKSINKEVENTS_MEMBERS(X) X(method, void, Unlocked, 1, (Ref<Unknown> sender), (sender), ("sender"))

/// The sink's one event; `sender` is the handle (Nothing when the handle is being destroyed).
class ILockSinkEvents : public Unknown {
 public:
  static constexpr const char* type_name = "ILockSinkEvents";
  static constexpr Guid iid{"{59BE2864-475E-4ADA-B625-D40076E4EFD7}"};
  static const InterfaceInfo& interface_info();

  QUORVEL_DECLARE_MEMBERS(QUORVEL_ILOCKSINKEVENTS_MEMBERS)
};

/// Not in the type library: only lock states make one.
class LockSink final : public ObjectImpl<ILockCallback, IEventContainer> {
 public:
  static constexpr const char* type_name = "LockSink";
  static constexpr Guid iid{"{EA75D3C4-5992-4299-86D0-B638C9F7361C}"};
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }

  /// Raises `Unlocked`(sender), and whatever its listener raises.
  void UnlockHandle(Ref<Unknown> sender) override;

  EventSource& events() noexcept { return events_; }
  EventSource* find_event_source(const Guid& events_iid) noexcept override {
    return events_iid == ILockSinkEvents::iid ? &events_ : nullptr;
  }

 private:
  EventSource events_;
};

}  // namespace quorvel
