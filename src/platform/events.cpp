// Event listeners kept in attach order. A raise walks the list by index without copying it; a
// detach during a raise only marks the entry, and the outermost raise sweeps marked entries out.
#include "quorvel/platform/events.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

#include "quorvel/platform/ascii_case.h"
#include "quorvel/platform/class_info.h"
#include "quorvel/platform/error.h"
#include "quorvel/platform/late_binding.h"

namespace quorvel {

struct EventSource::Listener {
  EventCookie cookie = 0;
  bool attached = true;
  std::u16string event;  // for a handler: the event it listens to
  EventHandler handler;
  Ref<Unknown> object;   // for an object listener
  // The object's view for the last DirectCall asked about it (null: it has none), so that a run
  // of raises asks the object once.
  const DirectCall* direct_for = nullptr;
  Unknown* direct_view = nullptr;
};

namespace {

inline bool same_name(std::u16string_view a, std::u16string_view b) noexcept {
  if (a.size() != b.size()) return false;
  // Spelled alike, as raisers and listeners mostly are: four units a word, no library call.
  std::size_t i = 0;
  for (; i + 4 <= a.size(); i += 4) {
    std::uint64_t x;
    std::uint64_t y;
    std::memcpy(&x, a.data() + i, sizeof x);
    std::memcpy(&y, b.data() + i, sizeof y);
    if (x != y) return same_ignoring_ascii_case(a, b);
  }
  for (; i < a.size(); ++i) {
    if (a[i] != b[i]) return same_ignoring_ascii_case(a, b);
  }
  return true;
}

// The view of `listener` through which it answers `event`, with the member's dispatch id: the
// interface it was attached as, else its class's own interface or one it implements. Null when
// it has no method of that name.
Unknown* handler_of(Unknown& listener, std::u16string_view event, DispId& id) noexcept {
  Object& object = listener.identity();
  auto answers = [&](const InterfaceInfo* info) {
    id = info ? info->find_id(event) : -1;
    return id >= 0 && info->find(id, MemberKind::Method) != nullptr;
  };
  if (answers(object.interface_of(&listener))) return &listener;
  const ClassInfo& c = object.class_info();
  if (answers(c.own)) return object.interface_for(*c.own);
  for (const InterfaceInfo* info : c.implements) {
    if (answers(info)) return object.interface_for(*info);
  }
  return nullptr;
}

}  // namespace

EventSource::EventSource() = default;

EventSource::~EventSource() = default;

EventCookie EventSource::attach(std::u16string_view event, EventHandler handler) {
  auto l = std::make_unique<Listener>();
  l->event = std::u16string(event);
  l->handler = std::move(handler);
  l->cookie = next_cookie_;
  listeners_.push_back(std::move(l));
  if (++next_cookie_ == 0) next_cookie_ = 1;
  return listeners_.back()->cookie;
}

EventCookie EventSource::attach(Ref<Unknown> listener) {
  if (!listener) raise_runtime_error(RuntimeError::ObjectNotSet);
  auto l = std::make_unique<Listener>();
  l->object = std::move(listener);
  l->cookie = next_cookie_;
  listeners_.push_back(std::move(l));
  if (++next_cookie_ == 0) next_cookie_ = 1;
  return listeners_.back()->cookie;
}

bool EventSource::detach(EventCookie cookie) noexcept {
  auto it = std::find_if(listeners_.begin(), listeners_.end(),
                         [&](const auto& l) { return l->attached && l->cookie == cookie; });
  if (it == listeners_.end()) return false;
  if (raising_ > 0) {
    // The listener may be the one running now: keep it alive until the raise is over.
    (*it)->attached = false;
    ++detached_;
    return true;
  }
  std::unique_ptr<Listener> gone = std::move(*it);
  listeners_.erase(it);
  // `gone` goes last: releasing a listener object may run code that comes back here.
  return true;
}

void EventSource::detach_all() noexcept {
  if (raising_ > 0) {
    for (auto& l : listeners_) {
      if (l->attached) {
        l->attached = false;
        ++detached_;
      }
    }
    return;
  }
  std::vector<std::unique_ptr<Listener>> gone;
  gone.swap(listeners_);
  detached_ = 0;
}

void EventSource::sweep() noexcept {
  std::vector<std::unique_ptr<Listener>> gone;
  auto keep = std::stable_partition(listeners_.begin(), listeners_.end(), [](const auto& l) { return l->attached; });
  // Moving out cannot fail once `gone` has room; without room, leave the marked entries for the
  // next sweep (they are skipped by every raise).
  try {
    gone.reserve(static_cast<std::size_t>(listeners_.end() - keep));
  } catch (...) {
    return;
  }
  for (auto it = keep; it != listeners_.end(); ++it) gone.push_back(std::move(*it));
  listeners_.erase(keep, listeners_.end());
  detached_ = 0;
}

template <class WithArgs>
void EventSource::deliver(std::u16string_view event, WithArgs&& with_args, const DirectCall* direct,
                          const Ref<Unknown>* sender, const Variant* value) {
  struct Depth {
    EventSource& source;
    explicit Depth(EventSource& s) noexcept : source(s) { ++source.raising_; }
    ~Depth() {
      if (--source.raising_ == 0 && source.detached_ > 0) source.sweep();
    }
  } depth(*this);

  // Listeners attached by a listener land past `n` and wait for the next raise.
  const std::size_t n = listeners_.size();
  for (std::size_t i = 0; i < n; ++i) {
    Listener& l = *listeners_[i];
    if (!l.attached) continue;
    if (l.object) {
      if (direct) {
        if (l.direct_for != direct) [[unlikely]] {
          l.direct_view = l.object->find_interface(direct->iid);
          l.direct_for = direct;
        }
        if (l.direct_view) [[likely]] {
          // No count taken: a detached entry lives on, marked, until the outermost raise ends.
          // No copy either: the listener can write to neither argument.
          direct->call(*l.direct_view, *sender, *value);
          continue;
        }
      }
      // Out of line, like the handler's call below, taking nothing by capture: the direct
      // call's loop stays small.
      [](Listener& l, std::u16string_view event, WithArgs& with_args) __attribute__((noinline)) {
        DispId id = -1;
        Unknown* target = handler_of(*l.object, event, id);
        if (!target) return;
        Ref<Unknown> keep = l.object;
        with_args([&](std::span<Variant> args) { invoke(*target, id, MemberKind::Method, args); });
      }(l, event, with_args);
    } else {
      [](Listener& l, std::u16string_view event, WithArgs& with_args) __attribute__((noinline)) {
        if (same_name(l.event, event)) with_args(l.handler);
      }(l, event, with_args);
    }
  }
}

void EventSource::raise(std::u16string_view event, std::span<Variant> args) {
  deliver(event, [args](auto&& call) { call(args); });
}

void EventSource::raise_copies(std::u16string_view event, const Ref<Unknown>& sender, const Variant& value,
                               const DirectCall* direct) {
  deliver(
      event,
      [&](auto&& call) {
        Variant pair[2] = {Variant(sender), value};
        call(std::span<Variant>(pair));
      },
      direct, &sender, &value);
}

namespace {

EventSource* event_source_of(Unknown& source) noexcept {
  Object& object = source.identity();
  const InterfaceInfo* events = object.class_info().events;
  auto* container = static_cast<IEventContainer*>(object.find_interface(IEventContainer::iid));
  return events && container ? container->find_event_source(events->iid()) : nullptr;
}

}  // namespace

EventCookie attach_listener(Unknown* source, Ref<Unknown> listener) {
  if (!source || !listener) raise_runtime_error(RuntimeError::ObjectNotSet);
  EventSource* s = event_source_of(*source);
  if (!s) raise_runtime_error(RuntimeError::NoSuchMember);
  return s->attach(std::move(listener));
}

bool detach_listener(Unknown* source, EventCookie cookie) {
  if (!source) raise_runtime_error(RuntimeError::ObjectNotSet);
  EventSource* s = event_source_of(*source);
  return s && s->detach(cookie);
}

}  // namespace quorvel
