// The late-bound notifier.
#include "quorvel/locks/late_bound_notifier.h"

#include "quorvel/platform/describe.h"

namespace quorvel {

QUORVEL_DESCRIBE_INTERFACE(ILateBoundNotifierEvents, QUORVEL_INOTIFIEREVENTS_MEMBERS)

const ClassInfo& LateBoundNotifier::describe() {
  static const ClassInfo info = describe_class<LateBoundNotifier>(
      ClassFlags::Creatable,
      {with_help(method<&LateBoundNotifier::NotifyClients>("NotifyClients", 0, "sender", "Args"),
                 "Raises OnNotify(sender, Args) to every listener")},
      "Raises OnNotify for every NotifyClients call", &ILateBoundNotifierEvents::interface_info());
  return info;
}

void LateBoundNotifier::call_on_notify(Unknown& view, const Ref<Unknown>& sender, const Variant& Args) {
  static_cast<ILateBoundNotifierEvents&>(view).OnNotify(sender, Args);
}

const EventSource::DirectCall LateBoundNotifier::kDirectOnNotify{ILateBoundNotifierEvents::iid,
                                                                 &LateBoundNotifier::call_on_notify};

}  // namespace quorvel
