// The notifier and the event pump: who sees which arguments, and delivery that listeners disturb.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "quorvel/locks/cls_event_pump.h"
#include "quorvel/locks/late_bound_notifier.h"
#include "quorvel/platform/describe.h"
#include "quorvel/platform/late_binding.h"
#include "support/test_objects.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

using test_support::error_of;
using NotifiersTest = test_support::LiveCountCheck;

// Known only by its member names; assigns to every by-reference argument it gets.
class NamedPumpListener final : public ObjectImpl<> {
 public:
  static constexpr const char* type_name = "TestNamedPumpListener";
  static constexpr Guid iid{"{E9397251-19E3-41DB-B968-3E2B1AB484A9}"};
  static const ClassInfo& describe() {
    static const ClassInfo info = describe_class<NamedPumpListener>(
        ClassFlags::None, {method<&NamedPumpListener::TheEvent>("TheEvent", 1, "objSource", "sSource", "vData"),
                           method<&NamedPumpListener::OnNotify>("OnNotify", 2, "sender", "Args")});
    return info;
  }
  const ClassInfo& class_info() const noexcept override { return describe(); }
  void TheEvent(Variant& objSource, Variant& sSource, Variant& vData) {
    objSource = Variant::nothing();
    heard.push_back(sSource.to_string().to_utf8() + "/" + vData.to_string().to_utf8());
    sSource = Variant(u"x");
    vData = Variant(std::int32_t{2});
  }
  void OnNotify(const Variant& sender, Variant& Args) {
    heard.push_back(std::string(sender.if_object() ? "obj" : "none") + "/" + Args.to_string().to_utf8());
    Args = Variant(u"changed");
  }
  std::vector<std::string> heard;
};

TEST_F(NotifiersTest, EachNotifyListenerGetsItsOwnCopyOfArgs) {
  Ref<LateBoundNotifier> notifier = make<LateBoundNotifier>();
  const Variant args(u"a");
  notifier->NotifyClients(nullptr, args);  // no listener: nothing happens

  std::vector<std::string> log;
  const auto rewrite = [&](std::span<Variant> a) {
    log.push_back(a[1].to_string().to_utf8() + (a[0].if_object() ? " from sender" : " from Nothing"));
    a[1] = Variant(u"rewritten");
  };
  notifier->events().attach(u"OnNotify", rewrite);
  auto named = make<NamedPumpListener>();
  attach_listener(notifier, named);
  notifier->events().attach(u"OnNotify", rewrite);

  // Through the default member, late-bound, with a Nothing sender.
  std::vector<Variant> call{Variant::nothing(), args};
  invoke(*as_unknown(notifier.get()), 0, MemberKind::Method, call);
  notifier->NotifyClients(Ref<Unknown>(as_unknown(named.get())), args);
  EXPECT_EQ(log, (std::vector<std::string>{"a from Nothing", "a from Nothing", "a from sender", "a from sender"}));
  EXPECT_EQ(named->heard, (std::vector<std::string>{"none/a", "obj/a"}));
  EXPECT_EQ(call[1].to_string(), String(u"a"));
  EXPECT_EQ(args.to_string(), String(u"a"));
}

TEST_F(NotifiersTest, PumpListenersChangeTheCallersVariables) {
  Ref<clsEventPump> pump = make<clsEventPump>();
  EXPECT_EQ(pump->get_lDebugId(), 0);
  pump->TearDown();

  std::vector<std::string> log;
  pump->events().attach(u"TheEvent", [&](std::span<Variant> a) {
    log.push_back(a[1].to_string().to_utf8() + "/" + a[2].to_string().to_utf8() + (a[0].if_object() ? "/obj" : "/none"));
  });
  auto named = make<NamedPumpListener>();
  attach_listener(pump, named);
  pump->events().attach(u"TheEvent", [&](std::span<Variant> a) {
    log.push_back(a[1].to_string().to_utf8() + "/" + a[2].to_string().to_utf8() + (a[0].if_object() ? "/obj" : "/none"));
  });

  // Late-bound, as a host calls it: the write-backs land in the host's variables.
  Variant source(Ref<Unknown>(as_unknown(pump.get())));
  Variant text(u"s");
  Variant data(std::int32_t{1});
  std::vector<Variant> args{Variant::by_ref(source), Variant::by_ref(text), Variant::by_ref(data)};
  invoke(*as_unknown(pump.get()), u"Raise", MemberKind::Method, args);
  EXPECT_EQ(log, (std::vector<std::string>{"s/1/obj", "x/2/none"}));
  EXPECT_EQ(text.to_string(), String(u"x"));
  EXPECT_EQ(data.to_long(), 2);
  EXPECT_TRUE(source.is_object() && source.if_object() == nullptr);

  // A listener that raises after others assigned: the assignments stay, the error leaves.
  pump->events().attach(u"TheEvent", [](std::span<Variant> a) {
    a[1].assign(Variant(u"y"));
    raise_runtime_error(RuntimeError::InvalidProcedureCall);
  });
  Ref<Unknown> object(as_unknown(pump.get()));
  String s(u"t");
  Variant d;
  EXPECT_EQ(error_of([&] { pump->Raise(object, s, d); }), 5);
  EXPECT_EQ(s, String(u"y"));
  EXPECT_EQ(d.to_long(), 2);
  EXPECT_FALSE(object);

  // An object variable cannot take a Long.
  pump->events().detach_all();
  pump->events().attach(u"TheEvent", [](std::span<Variant> a) { a[0].assign(Variant(std::int32_t{3})); });
  object = Ref<Unknown>(as_unknown(pump.get()));
  EXPECT_EQ(error_of([&] { pump->Raise(object, s, d); }), 13);
  EXPECT_TRUE(object);
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

}  // namespace
}  // namespace quorvel
