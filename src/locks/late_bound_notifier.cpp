// The late-bound notifier.
#include "quorvel/locks/late_bound_notifier.h"

#include <array>
#include <new>

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

void LateBoundNotifier::NotifyClients(const Ref<Unknown>& sender, const Variant& Args) {
  if (events_.size() == 0) return;
  // The caller holds the sender through the call, so it is borrowed here uncounted: only the
  // listeners' copies count it. Its Variant lives in storage that is never destroyed, so it is
  // never released either.
  alignas(Variant) unsigned char storage[sizeof(Variant)];
  const Variant* borrowed = ::new (static_cast<void*>(storage)) Variant(Ref<Unknown>::adopt(sender.get()));
  const std::array<const Variant*, 2> args{borrowed, &Args};
  events_.raise_copies(u"OnNotify", args);
}

}  // namespace quorvel
