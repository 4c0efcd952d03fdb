// The same list driven two ways: early-bound through the C++ classes, and late-bound by program
// id, member names and Variants, as a host that knows no C++ types would.
#include <cstdio>
#include <vector>

#include "quorvel/arraylists/array_list_long.h"
#include "quorvel/locks/late_bound_notifier.h"
#include "quorvel/ordering/comparers.h"
#include "quorvel/platform/describe.h"
#include "quorvel/platform/error.h"
#include "quorvel/platform/late_binding.h"
#include "quorvel/platform/registry.h"

using namespace quorvel;

// A C++ listener: the notifier calls it directly, with its sender and Args read-only.
class Heard final : public ObjectImpl<ILateBoundNotifierEvents> {
 public:
  static constexpr const char* type_name = "Heard";
  static constexpr Guid iid{"{6F2A9C14-3B7E-4D58-A1C6-8E0B5D7F2A93}"};
  QUORVEL_CLASS_INFO(describe_class<Heard, ILateBoundNotifierEvents>(ClassFlags::None, {}))
  void OnNotify(const Ref<Unknown>& sender, const Variant& Args) override {
    std::printf("listener object: heard %d from %s\n", Args.to_long(), sender ? "an object" : "Nothing");
  }
};

int main() {
  // Early-bound: the class's own members, typed.
  Ref<ArrayList_Long> list = make<ArrayList_Long>();
  for (std::int32_t v : {5, 3, 9}) list->AddItem(v);
  list->Sort();
  std::int32_t at = -1;
  if (list->Find(9, at)) std::printf("early-bound: %s, 9 at %d\n", list->ToString().to_utf8().c_str(), at);
  try {
    list->get_Item(5);
  } catch (const Error& e) {
    std::printf("early-bound: Item(5) raised %d from %s\n", e.number(), e.source().to_utf8().c_str());
  }

  // Events: a listener object, and a callable listening to one event by name.
  Ref<LateBoundNotifier> notifier = make<LateBoundNotifier>();
  const EventCookie cookie = attach_listener(notifier, make<Heard>());
  notifier->events().attach(u"OnNotify", [](std::span<Variant> args) {
    std::printf("callable: heard %d\n", args[1].to_long());
  });
  notifier->NotifyClients(nullptr, Variant(42));
  detach_listener(notifier, cookie);

  // Late-bound: nothing but a program id, names and Variants.
  Variant any(create_object(u"Quorvel.ArrayList_Long"));
  for (Variant v : {Variant(u"12"), Variant(2.5), Variant(true)}) {
    std::vector<Variant> args{v};
    invoke(any, u"AddItem", MemberKind::Method, args);
  }
  std::vector<Variant> sort_args{Variant::missing(), Variant::missing(), Variant(make<DefaultComparer>())};
  invoke(any, u"Sort", MemberKind::Method, sort_args);
  Variant found;
  std::vector<Variant> find{Variant(12), Variant::by_ref(found)};
  const bool hit = invoke(any, u"Find", MemberKind::Method, find).to_boolean();
  std::printf("late-bound: %s, Find(12) = %s at %d\n",
              invoke(any, u"ToString", MemberKind::Method, {}).to_string().to_utf8().c_str(), hit ? "True" : "False",
              found.to_long());
  std::vector<Variant> bad{Variant(u"x")};
  try {
    invoke(any, u"AddItem", MemberKind::Method, bad);
  } catch (const Error& e) {
    std::printf("late-bound: AddItem(\"x\") raised %d %s\n", e.number(), e.description().to_utf8().c_str());
  }
  return 0;
}
