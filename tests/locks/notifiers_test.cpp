// The notifier and the event pump: who sees which arguments, and delivery that listeners disturb.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "quorvel/locks/cls_event_pump.h"
#include "quorvel/locks/late_bound_notifier.h"
#include "support/fault_injection.h"
#include "support/test_objects.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

using NotifiersTest = test_support::LiveCountCheck;

// A C++ listener object, which the notifier calls directly rather than by member name.
class Heeder final : public ObjectImpl<ILateBoundNotifierEvents> {
 public:
  static constexpr const char* type_name = "TestHeeder";
  static constexpr Guid iid{"{5B0E2C41-7D6A-4C3F-8E19-2A6F4B8D0C37}"};
  QUORVEL_CLASS_INFO(describe_class<Heeder, ILateBoundNotifierEvents>(ClassFlags::None, {}))

  explicit Heeder(std::function<void(const Ref<Unknown>&, const Variant&)> f) : heed(std::move(f)) {}
  void OnNotify(const Ref<Unknown>& sender, const Variant& Args) override { heed(sender, Args); }
  std::function<void(const Ref<Unknown>&, const Variant&)> heed;
};

// Direct and by-name listeners hear in attach order; the direct one gets the caller's sender and
// Args themselves (a by-name one writing its copy of Args changes neither).
TEST_F(NotifiersTest, ListenerObjectsAreCalledDirectlyInTurn) {
  Ref<LateBoundNotifier> n = make<LateBoundNotifier>();
  const Ref<Unknown> sender(as_unknown(n.get()));
  const Variant args(u"text");
  std::u16string order;
  n->events().attach(u"OnNotify", [&](std::span<Variant> a) { order += u'a', a[1].assign(Variant(1)); });
  attach_listener(n, make<Heeder>([&](const Ref<Unknown>& s, const Variant& a) {
    order += u'b';
    EXPECT_EQ(&s, &sender);
    EXPECT_EQ(&a, &args);
    EXPECT_EQ(a.to_string(), String(u"text"));
  }));
  n->events().attach(u"OnNotify", [&](std::span<Variant>) { order += u'c'; });
  n->NotifyClients(sender, args);
  n->NotifyClients(sender, args);
  EXPECT_EQ(order, u"abcabc");
}

// Pump listeners share the caller's variables (as the scenario file shows), but a Long never goes
// into its object variable.
TEST_F(NotifiersTest, PumpKeepsItsObjectVariableAnObject) {
  Ref<clsEventPump> pump = make<clsEventPump>();
  pump->events().attach(u"TheEvent", [](std::span<Variant> a) { a[1].assign(Variant(u"y")); });
  pump->events().attach(u"TheEvent", [](std::span<Variant> a) { a[0].assign(Variant(std::int32_t{3})); });
  Ref<Unknown> object(as_unknown(pump.get()));
  String text(u"t");
  Variant data;
  EXPECT_RAISES(pump->Raise(object, text, data), 13);
  EXPECT_EQ(text, String(u"y"));
  EXPECT_EQ(object.get(), as_unknown(pump.get()));
}

// Listeners of both classes that, at their k-th call (or a listener object's release), detach,
// attach, drop the raiser, raise again or raise: a raise that runs through skips nobody attached
// before it and still attached after it, and afterwards each listener hears the next raise once.
TEST(NotifierFaults, ListenersDisturbingAnyCall) {
  struct Subject {
    Ref<LateBoundNotifier> notifier = make<LateBoundNotifier>();
    Ref<clsEventPump> pump = make<clsEventPump>();
    int heard = 0;
    unsigned heard_by = 0;  // one bit per listener attached before the raise
    bool raise_now = false;
    std::int32_t raised = 0;
  };
  using Each = std::function<void(EventSource&, const char16_t* event)>;
  auto each = [](Subject& s, const Each& f) {
    if (s.notifier) f(s.notifier->events(), u"OnNotify");
    if (s.pump) f(s.pump->events(), u"TheEvent");
  };
  auto notify = [](Subject& s) {
    if (const Ref<LateBoundNotifier> keep = s.notifier) keep->NotifyClients(nullptr, Variant(1));
    if (const Ref<clsEventPump> keep = s.pump) {
      Ref<Unknown> source(as_unknown(keep.get()));
      String text(u"t");
      Variant data;
      keep->Raise(source, text, data);
    }
  };
  constexpr EventCookie kObject = 3;  // the Meddler attached as a listener object (heard by no name)
  const std::pair<const char*, std::function<void(Subject&)>> actions[] = {
      {"detach all", [&](Subject& s) { each(s, [](EventSource& e, auto) { e.detach_all(); }); }},
      {"detach the first", [&](Subject& s) { each(s, [](EventSource& e, auto) { e.detach(1); }); }},
      {"release the listener object", [&](Subject& s) { each(s, [](EventSource& e, auto) { e.detach(kObject); }); }},
      {"attach",
       [&](Subject& s) {
         each(s, [&](EventSource& e, auto event) { e.attach(event, [&heard = s.heard](auto) { ++heard; }); });
       }},
      {"drop the raisers", [](Subject& s) { s.notifier = nullptr, s.pump = nullptr; }},
      {"raise again", [&](Subject& s) { notify(s); }},
      {"raise", [](Subject& s) { s.raise_now = true; }},  // from the listener, not from a destructor
  };
  for (const auto& [name, act] : actions) {
    SCOPED_TRACE(name);
    auto listened = [&, &act = act](fault::Meddler::Plan& plan) {
      auto s = std::make_unique<Subject>();
      Subject& subject = *s;
      unsigned bit = 1;
      each(subject, [&](EventSource& e, auto event) {
        for (int i = 0; i < 2; ++i, bit <<= 1) {
          auto heard = [&, bit] {
            ++subject.heard;
            subject.heard_by |= bit;
            plan.call_out();
            if (std::exchange(subject.raise_now, false)) raise_runtime_error(RuntimeError::InvalidProcedureCall);
          };
          if (i == 1 && std::u16string_view(event) == u"OnNotify") {  // the notifier's second: a direct one
            e.attach(make<Heeder>([heard](const Ref<Unknown>&, const Variant&) { heard(); }));
          } else {
            e.attach(event, [heard](std::span<Variant>) { heard(); });
          }
        }
        e.attach(fault::meddler(plan, Variant()).to_object());  // cookie kObject
        bit <<= 1;
      });
      plan.action = [&subject, &act] { (void)fault::outcome_of([&] { act(subject); }); };
      return s;
    };
    auto check = [&](std::unique_ptr<Subject>& s) {
      EXPECT_TRUE(s->raised == 0 || s->raised == 5) << s->raised;
      std::size_t attached = 0;
      unsigned bit = 1;
      each(*s, [&](EventSource& e, auto) {
        for (EventCookie cookie = 1; cookie <= kObject; ++cookie, bit <<= 1) {
          const bool kept = e.detach(cookie);
          EXPECT_TRUE(s->raised != 0 || !kept || cookie == kObject || (s->heard_by & bit)) << cookie;
        }
        attached += e.size();  // those attached during the run
      });
      s->heard = 0;
      s->raise_now = false;
      notify(*s);
      EXPECT_EQ(static_cast<std::size_t>(s->heard), attached);
    };
    auto run = [&](std::unique_ptr<Subject>& s) { s->raised = fault::outcome_of([&] { notify(*s); }); };
    EXPECT_GT(fault::walk_meddling(listened, run, check), 0);
  }
}

// Each listener's copy of an array Args needs memory: without it the raise stops with 7 and
// nothing is left behind.
TEST(NotifierFaults, CopiesWithoutMemory) {
  const Variant args(Array(VarKind::Long, 0, 3));
  auto listened = [] {
    auto n = make<LateBoundNotifier>();
    for (int i = 0; i < 2; ++i) n->events().attach(u"OnNotify", [](std::span<Variant>) {});
    return n;
  };
  const auto notify = [&](Ref<LateBoundNotifier>& n) { n->NotifyClients(nullptr, args); };
  EXPECT_GT(fault::expect_fault_tolerant(listened, notify, [](Ref<LateBoundNotifier>&) { return std::string(); }), 0);
}

}  // namespace
}  // namespace quorvel
