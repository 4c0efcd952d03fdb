// Turns a call into an event whose three arguments are the caller's own variables.
#pragma once

#include <cstdint>

#include "quorvel/frame/debug_members.h"
#include "quorvel/platform/events.h"
#include "quorvel/platform/interface_list.h"

namespace quorvel {

#define QUORVEL_IEVENTPUMPEVENTS_MEMBERS(X)                                                     \
  X(method, void, TheEvent, 1, (Ref<Unknown> & objSource, String & sSource, Variant & vData), \
    (objSource, sSource, vData), ("objSource", "sSource", "vData"))

/// The event of a `clsEventPump`; all three arguments by reference. A C++ listener may implement this.
class IclsEventPumpEvents : public Unknown {
 public:
  static constexpr const char* type_name = "IclsEventPumpEvents";
  static constexpr Guid iid{"{075F49A8-22C1-409A-AD41-1DB31384F0D7}"};
  static const InterfaceInfo& interface_info();

  QUORVEL_DECLARE_MEMBERS(QUORVEL_IEVENTPUMPEVENTS_MEMBERS)
};

/// An event pump (creatable as "Quorvel.clsEventPump") without state of its own.
class clsEventPump final : public ObjectImpl<IEventContainer>, public DebugMembers {
 public:
  static constexpr const char* type_name = "clsEventPump";
  static constexpr Guid clsid{"{1240B159-7B87-4DCF-94CD-051DA11E931B}"};
  static constexpr Guid iid{"{0A3255E9-8017-43D6-BC24-850FB4119353}"};  // its own interface
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }

  /// Raises `TheEvent` with the caller's three variables by reference: what a listener assigns
  /// reaches the later listeners and the caller, also when a later listener raises. Raises what
  /// a listener raises, and 13 (leaving `objSource` as it was) when a listener put a value that
  /// is no object into `objSource`.
  void Raise(Ref<Unknown>& objSource, String& sSource, Variant& vData);

  /// The listeners of `TheEvent`.
  EventSource& events() noexcept { return events_; }
  EventSource* find_event_source(const Guid& events_iid) noexcept override {
    return events_iid == IclsEventPumpEvents::iid ? &events_ : nullptr;
  }

 private:
  EventSource events_;
};

}  // namespace quorvel
