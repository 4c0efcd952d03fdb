// The lock state: listens to its sink's `Unlocked` and announces every change of its flag.
#include "quorvel/locks/lock_state.h"

#include <array>
#include <new>

#include "lock_sink.h"
#include "quorvel/frame/error_catalogue.h"
#include "quorvel/platform/describe.h"

namespace quorvel {

QUORVEL_DESCRIBE_INTERFACE(ILockStateEvents, QUORVEL_ILOCKSTATEEVENTS_MEMBERS)

const ClassInfo& LockState::describe() {
  static const ClassInfo info = describe_class<LockState, ILockState>(
      ClassFlags::Creatable, {get<&LockState::get_AsILockState>("AsILockState", 1)},
      "An on/off lock held by one LockHandle at a time", &ILockStateEvents::interface_info());
  return info;
}

LockState::LockState() : sink_(make<LockSink>()) {
  try {
    sink_cookie_ = sink_->events().attach(u"Unlocked", [this](std::span<Variant>) { set_locked(false); });
  } catch (const std::bad_alloc&) {
    raise_out_of_memory();
  }
}

LockState::~LockState() {
  // A handle may outlive this object: its sink must not call back into it.
  sink_->events().detach(sink_cookie_);
}

EventSource* LockState::find_event_source(const Guid& events_iid) noexcept {
  return events_iid == ILockStateEvents::iid ? &events_ : nullptr;
}

Ref<ILockHandle> LockState::LockHandle() {
  if (locked_) raise(Failure::HandleAlreadyLocked, as_unknown(this));
  Ref<quorvel::LockHandle> handle = make<quorvel::LockHandle>();
  handle->initialize(Ref<ILockCallback>(sink_.get()));
  // An OnLock listener that raises drops the handle on the way out, which unlocks again.
  set_locked(true);
  return Ref<ILockHandle>(std::move(handle));
}

void LockState::set_locked(bool value) {
  if (value == locked_) return;
  locked_ = value;
  // A listener may drop the last other reference (or overwrite its argument): this object must
  // outlive the delivery of its own event.
  const Ref<LockState> keep(this);
  std::array<Variant, 1> args{Variant(Ref<Unknown>(as_unknown(this)))};
  events_.raise(value ? u"OnLock" : u"OnUnlock", args);
}

}  // namespace quorvel
