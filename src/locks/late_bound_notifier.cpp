// The late-bound notifier.
#include "quorvel/locks/late_bound_notifier.h"

#include <string_view>

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

namespace {
constexpr std::u16string_view kOnNotify = u"OnNotify";
}  // namespace

void LateBoundNotifier::NotifyClients(const Ref<Unknown>& sender, const Variant& Args) {
  if (events_.size() == 0) return;
  events_.raise_copies(kOnNotify, sender.get(), Args);
}

}  // namespace quorvel
