// The notifier and the event pump: who sees which arguments, and delivery that listeners disturb.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "quorvel/locks/cls_event_pump.h"
#include "quorvel/locks/late_bound_notifier.h"
#include "support/test_objects.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

using test_support::error_of;
using NotifiersTest = test_support::LiveCountCheck;

// A C++ listener gets the arguments themselves: what it writes, the notifier keeps from the
// others and the caller; the pump passes on to them, but never a Long into an object variable.
TEST_F(NotifiersTest, CppListenersWritingTheirArguments) {
  Ref<LateBoundNotifier> notifier = make<LateBoundNotifier>();
  std::vector<std::string> log;
  for (int i = 0; i < 2; ++i) {
    notifier->events().attach(u"OnNotify", [&](std::span<Variant> a) {
      log.push_back(a[1].to_string().to_utf8());
      a[1] = Variant(u"rewritten");
    });
  }
  const Variant args(u"a");
  notifier->NotifyClients(nullptr, args);
  EXPECT_EQ(log, (std::vector<std::string>{"a", "a"}));
  EXPECT_EQ(args.to_string(), String(u"a"));

  Ref<clsEventPump> pump = make<clsEventPump>();
  pump->events().attach(u"TheEvent", [](std::span<Variant> a) { a[1].assign(Variant(u"y")); });
  pump->events().attach(u"TheEvent", [](std::span<Variant> a) { a[0].assign(Variant(std::int32_t{3})); });
  Ref<Unknown> object(as_unknown(pump.get()));
  String text(u"t");
  Variant data;
  EXPECT_EQ(error_of([&] { pump->Raise(object, text, data); }), 13);
  EXPECT_EQ(text, String(u"y"));
  EXPECT_EQ(object.get(), as_unknown(pump.get()));
}

// Detaching, attaching and raising from inside delivery, on a notifier: nobody attached before
// the raise is skipped unless detached first, and the same object comes out whole.
TEST_F(NotifiersTest, DeliveryThatListenersDisturb) {
  Ref<LateBoundNotifier> notifier = make<LateBoundNotifier>();
  std::vector<EventCookie> cookies;
  std::string heard;
  const struct {
    const char* name;
    std::function<void()> act;  // run by listener "b" during the first raise
    const char* first;
    const char* second;
    std::int32_t error = 0;
  } rows[] = {
      {"b detaches itself", [&] { notifier->events().detach(cookies[1]); }, "abc", "ac"},
      {"b detaches c", [&] { notifier->events().detach(cookies[2]); }, "ab", "ab"},
      {"b attaches d", [&] { notifier->events().attach(u"OnNotify", [&](std::span<Variant>) { heard += 'd'; }); },
       "abc", "abcd"},
      {"b drops the notifier's last reference", [&] { notifier = nullptr; }, "abc", ""},
      {"b notifies again", [&] { notifier->NotifyClients(nullptr, Variant()); }, "ababcc", "abc"},
      {"b raises", [] { raise_runtime_error(RuntimeError::InvalidProcedureCall); }, "ab", "abc", 5},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    if (!notifier) notifier = make<LateBoundNotifier>();
    notifier->events().detach_all();
    cookies.clear();
    heard.clear();
    bool acted = false;
    for (char name : {'a', 'b', 'c'}) {
      cookies.push_back(notifier->events().attach(u"OnNotify", [&, name](std::span<Variant>) {
        heard += name;
        if (name == 'b' && !std::exchange(acted, true)) row.act();
      }));
    }
    {
      const Ref<LateBoundNotifier> caller = notifier;
      EXPECT_EQ(error_of([&] { caller->NotifyClients(nullptr, Variant(std::int32_t{1})); }), row.error);
    }
    EXPECT_EQ(heard, row.first);
    heard.clear();
    if (notifier) notifier->NotifyClients(nullptr, Variant());
    EXPECT_EQ(heard, row.second);
  }
}

// Whatever a listener does with its reference to the sender, the sender's count comes out right:
// alive while the caller holds it (even when the caller's is the only other reference), gone after.
TEST_F(NotifiersTest, ListenersHandlingTheirSender) {
  Ref<LateBoundNotifier> notifier = make<LateBoundNotifier>();
  Variant kept;
  const struct {
    const char* name;
    std::function<void(Variant&)> act;  // on the first listener's sender argument
    std::int32_t error = 0;
  } rows[] = {
      {"leaves it", [](Variant&) {}},
      {"copies it", [&](Variant& s) { kept = s; }},
      {"takes it", [&](Variant& s) { kept = std::move(s); }},
      {"overwrites it", [](Variant& s) { s = Variant(std::int32_t{1}); }},
      {"takes it and drops it", [](Variant& s) { Variant(std::move(s)).clear(); }},
      {"copies it and drops both", [](Variant& s) { Variant(s).clear(); s.clear(); }},
      {"notifies again with it", [&](Variant& s) { notifier->NotifyClients(s.to_object(), Variant()); }},
      {"takes it and raises", [&](Variant& s) { kept = std::move(s); raise_runtime_error(RuntimeError::Overflow); }, 6},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    notifier->events().detach_all();
    std::vector<Unknown*> seen;
    for (int i = 0; i < 2; ++i) {
      notifier->events().attach(u"OnNotify", [&, i](std::span<Variant> a) {
        seen.push_back(a[0].if_object());
        if (i == 0 && seen.size() == 1) row.act(a[0]);
      });
    }
    Ref<Unknown> sender = test_support::token(Variant());
    const std::int64_t live = Object::live_count();
    EXPECT_EQ(error_of([&] { notifier->NotifyClients(sender, Variant()); }), row.error);
    for (Unknown* s : seen) EXPECT_EQ(s, sender.get());
    kept.clear();
    EXPECT_EQ(Object::live_count(), live);
    sender = nullptr;
    EXPECT_EQ(Object::live_count(), live - 1);
  }
}

}  // namespace
}  // namespace quorvel
