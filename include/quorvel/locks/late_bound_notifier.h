// Turns a call into an event: `NotifyClients`(sender, Args) raises `OnNotify`(sender, Args).
#pragma once

#include <string_view>

#include "quorvel/platform/class_info.h"
#include "quorvel/platform/events.h"
#include "quorvel/platform/interface_list.h"

namespace quorvel {

#define QUORVEL_INOTIFIEREVENTS_MEMBERS(X) \
  X(method, void, OnNotify, 1, (const Ref<Unknown>& sender, const Variant& Args), (sender, Args), ("sender", "Args"))

/// The event of a `LateBoundNotifier`. A C++ listener object that implements this is called
/// directly, not by member name: it gets the caller's sender and Args themselves, read-only.
class ILateBoundNotifierEvents : public Unknown {
 public:
  static constexpr const char* type_name = "ILateBoundNotifierEvents";
  static constexpr Guid iid{"{718311CC-49FE-4285-BBA3-56B2C2AE2686}"};
  static const InterfaceInfo& interface_info();

  QUORVEL_DECLARE_MEMBERS(QUORVEL_INOTIFIEREVENTS_MEMBERS)
};

/// A notifier (creatable as "Quorvel.LateBoundNotifier") without state of its own.
class LateBoundNotifier final : public ObjectImpl<IEventContainer> {
 public:
  static constexpr const char* type_name = "LateBoundNotifier";
  static constexpr Guid clsid{"{09E66A79-9B72-409A-8DFA-3DD185F6E318}"};
  static constexpr Guid iid{"{C050C768-491C-46D7-A1B6-7A1033AD1D83}"};  // its own interface
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }

  /// The default member. Raises `OnNotify`(sender, Args) once, to the listeners attached now;
  /// each gets its own copy of Args, so none sees what another wrote, nor does the caller (a
  /// listener object implementing `ILateBoundNotifierEvents` reads the caller's, unable to write).
  /// Raises what a listener raises (the later ones are then not called). No listener: no effect.
  /// The caller keeps `sender` alive through the call (a late-bound call does).
  /// Cost: per listener but those implementing `ILateBoundNotifierEvents`, one copy of Args and
  /// one counted reference to the sender.
  void NotifyClients(const Ref<Unknown>& sender, const Variant& Args) {
    if (events_.size() != 0) events_.raise_copies(kOnNotify, sender, Args, &kDirectOnNotify);
  }

  /// The listeners of `OnNotify`.
  EventSource& events() noexcept { return events_; }
  EventSource* find_event_source(const Guid& events_iid) noexcept override {
    return events_iid == ILateBoundNotifierEvents::iid ? &events_ : nullptr;
  }

 private:
  static constexpr std::u16string_view kOnNotify = u"OnNotify";
  static void call_on_notify(Unknown& view, const Ref<Unknown>& sender, const Variant& Args);
  static const EventSource::DirectCall kDirectOnNotify;

  EventSource events_;
};

}  // namespace quorvel
