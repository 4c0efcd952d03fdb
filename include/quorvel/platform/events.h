// Events an object raises to the listeners attached to it at that moment: synchronously, on the
// raising thread, in attach order, before the raising call returns.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "quorvel/platform/guid.h"
#include "quorvel/platform/object.h"
#include "quorvel/platform/variant.h"

namespace quorvel {

/// Identifies one attachment, for `EventSource::detach`; never 0.
using EventCookie = std::uint32_t;

/// A C++ listener: receives the event's arguments, in the raiser's order. It may change them: a
/// raiser that passes by-reference Variants sees what the listener wrote.
using EventHandler = std::function<void(std::span<Variant>)>;

/// The listeners of one object's events (one per event interface the object raises).
///
/// Two kinds of listener: a C++ callable attached to one event by name, and an object whose
/// member of the event's name is called late-bound with the event's arguments (an object with no
/// such member is passed over). An event interface is described like any interface: an abstract
/// class with one member per event, described with `method<>`; its description is the class's
/// `ClassInfo::events`. A C++ class implementing that interface can itself be attached as an
/// object listener.
///
/// Attaching and detaching are allowed at any time, also from a listener during a raise: a
/// listener attached during a raise is first called by the next raise; one detached during a
/// raise is not called again, not even later in that raise. Errors raised by a listener are not
/// caught: they end the raise (the remaining listeners are not called) and leave through the
/// raising call. Raises may nest. The object that owns the source stays alive through a raise as
/// through any call of its members: its caller holds a reference.
///
/// Cost: a raise walks the listeners in place (no copy of the list); a late-bound listener costs a
/// name look-up and a late-bound call.
class EventSource {
 public:
  EventSource();
  EventSource(const EventSource&) = delete;
  EventSource& operator=(const EventSource&) = delete;
  ~EventSource();

  /// Attaches `handler` to the event named `event` (compared without regard to case).
  EventCookie attach(std::u16string_view event, EventHandler handler);
  /// Attaches `listener` to every event: for each event, the member of that name of the interface
  /// it is held as, or else of the first interface of its class that has one, is called. Raises 91
  /// for Nothing.
  EventCookie attach(Ref<Unknown> listener);
  template <class T>
    requires(!std::is_same_v<T, Unknown>)
  EventCookie attach(const Ref<T>& listener) {
    return attach(Ref<Unknown>(listener ? as_unknown(listener.get()) : nullptr));
  }
  /// Detaches the listener of `cookie`; false when no listener has it (already detached).
  bool detach(EventCookie cookie) noexcept;
  /// Detaches every listener.
  void detach_all() noexcept;

  /// The number of listeners attached.
  std::size_t size() const noexcept { return listeners_.size() - detached_; }

  /// Calls every listener of `event` attached now, in attach order, with `args`.
  /// Raises whatever a listener raises.
  void raise(std::u16string_view event, std::span<Variant> args = {});
  /// How `raise_copies` reaches a listener object whose class implements the event interface
  /// `iid` in C++: `call(view, sender, value)` with the object's view as that interface, a direct
  /// call rather than one by member name, whichever interface the object was attached as.
  struct DirectCall {
    Guid iid;
    void (*call)(Unknown& view, const Ref<Unknown>& sender, const Variant& value);
  };

  /// `raise` with two arguments, `sender` (Nothing when null) and `value`, each listener getting
  /// its own copies: what one listener writes into its arguments, neither the next listener nor
  /// the raiser sees. A listener object that `direct` reaches gets the raiser's `sender` and
  /// `value` themselves, read-only: it can change neither, so it needs no copy. Raises 7 when a
  /// copy finds no memory. Cost: per listener but those that `direct` reaches, a copy of `value`
  /// and one counted reference to `sender`, made in place.
  void raise_copies(std::u16string_view event, const Ref<Unknown>& sender, const Variant& value,
                    const DirectCall* direct = nullptr);

 private:
  struct Listener;
  void sweep() noexcept;
  // Calls each listener of `event`: `with_args(call)` hands `call` the arguments of one listener.
  template <class WithArgs>
  void deliver(std::u16string_view event, WithArgs&& with_args, const DirectCall* direct = nullptr,
               const Ref<Unknown>* sender = nullptr, const Variant* value = nullptr);

  std::vector<std::unique_ptr<Listener>> listeners_;
  std::size_t detached_ = 0;  // entries marked but kept while a raise walks the list
  int raising_ = 0;           // nesting depth of raises in progress
  EventCookie next_cookie_ = 1;
};

/// Implemented by an object that raises events, so that a host can attach listeners knowing only
/// the object (the way a connection-point container is asked for its connection points).
class IEventContainer : public Unknown {
 public:
  static constexpr const char* type_name = "IEventContainer";
  static constexpr Guid iid{"{8F7DF82E-EC17-48D5-97DB-14A6B7C10974}"};
  /// The source of the events described by the interface `events_iid`, or null.
  virtual EventSource* find_event_source(const Guid& events_iid) noexcept = 0;
};

/// Attaches `listener` to the events of `source` (those of its class's `ClassInfo::events`).
/// Raises 438 when `source` raises no events, 91 when either is Nothing.
EventCookie attach_listener(Unknown* source, Ref<Unknown> listener);
/// Detaches what `attach_listener` attached; false when the cookie is not attached there.
/// Raises 91 when `source` is Nothing.
bool detach_listener(Unknown* source, EventCookie cookie);

template <class S, class L>
EventCookie attach_listener(const Ref<S>& source, const Ref<L>& listener) {
  return attach_listener(source ? as_unknown(source.get()) : nullptr,
                         Ref<Unknown>(listener ? as_unknown(listener.get()) : nullptr));
}
template <class S>
bool detach_listener(const Ref<S>& source, EventCookie cookie) {
  return detach_listener(source ? as_unknown(source.get()) : nullptr, cookie);
}

}  // namespace quorvel
