#include "quorvel/platform/events.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "quorvel/platform/ascii_case.h"
#include "quorvel/platform/collection.h"
#include "quorvel/platform/describe.h"
#include "quorvel/platform/error.h"
#include "support/test_objects.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

// A tiny event-raising class, as a library class would write one: an event interface described
// like any interface, named by the class's description, and one EventSource for it.
class ITickerEvents : public Unknown {
 public:
  static constexpr const char* type_name = "ITickerEvents";
  static constexpr Guid iid{"{E1C0B61E-BDC1-44C8-B698-5B8DDEFD1F09}"};
  virtual void OnTick(std::int32_t Count) = 0;
  virtual void OnStop(String& Reason) = 0;
  static const InterfaceInfo& interface_info() {
    static const InterfaceInfo info(type_name, iid,
                                    {method<&ITickerEvents::OnTick>("OnTick", 1, {"Count"}),
                                     method<&ITickerEvents::OnStop>("OnStop", 2, {"Reason"})});
    return info;
  }
};

class Ticker final : public ObjectImpl<IEventContainer> {
 public:
  static constexpr const char* type_name = "TestTicker";
  static constexpr Guid iid{"{E116CFA5-A076-4BD6-A379-73DCC4B3C734}"};
  QUORVEL_CLASS_INFO(describe_class<Ticker>(ClassFlags::None, {method<&Ticker::Tick>("Tick", 1),
                  method<&Ticker::Stop>("Stop", 2)}, "", &ITickerEvents::interface_info()))
  EventSource* find_event_source(const Guid& events_iid) noexcept override {
    return events_iid == ITickerEvents::iid ? &events : nullptr;
  }

  void Tick() {
    std::array<Variant, 1> args{Variant(1)};
    events.raise(u"OnTick", args);
  }
  // The reason goes by reference: listeners may rewrite it.
  String Stop() {
    String reason(u"done");
    std::array<Variant, 1> args{Variant::by_ref(reason)};
    events.raise(u"onstop", args);
    return reason;
  }

  EventSource events;
};

// A listener written in C++ against the event interface.
class TypedSink final : public ObjectImpl<ITickerEvents> {
 public:
  static constexpr const char* type_name = "TestTypedSink";
  static constexpr Guid iid{"{A39E10D3-9EA1-48E4-8EC7-41819C9B27AE}"};
  QUORVEL_CLASS_INFO(describe_class<TypedSink, ITickerEvents>(ClassFlags::None, {}))
  explicit TypedSink(std::vector<std::string>& log) : log_(log) {}
  void OnTick(std::int32_t Count) override { log_.push_back("typed " + std::to_string(Count)); }
  void OnStop(String& Reason) override {
    log_.push_back("typed stop " + Reason.to_utf8());
    Reason = String(u"stopped by typed");
  }

 private:
  std::vector<std::string>& log_;
};

// A listener known only by its member names, with a handler for one of the two events.
class NamedSink final : public ObjectImpl<> {
 public:
  static constexpr const char* type_name = "TestNamedSink";
  static constexpr Guid iid{"{6B96BEB6-EDB3-4B6D-8B11-12074E359100}"};
  QUORVEL_CLASS_INFO(describe_class<NamedSink>(ClassFlags::None, {method<&NamedSink::OnTick>("ontick", 1, {"Count"})}))
  explicit NamedSink(std::vector<std::string>& log) : log_(log) {}
  void OnTick(const Variant& Count) { log_.push_back("named " + Count.to_string().to_utf8()); }

 private:
  std::vector<std::string>& log_;
};

using EventsLive = test_support::LiveCountCheck;

TEST_F(EventsLive, ListenersOfEveryKindAreCalledInAttachOrder) {
  std::vector<std::string> log;
  Ref<Ticker> ticker = make<Ticker>();
  ticker->events.attach(u"ONTICK", [&](std::span<Variant> a) { log.push_back("fn " + a[0].to_string().to_utf8()); });
  attach_listener(ticker, make<TypedSink>(log));
  ticker->events.attach(make<NamedSink>(log));
  ticker->events.attach(u"OnStop", [&](std::span<Variant>) { log.push_back("fn stop"); });
  ticker->Tick();
  EXPECT_EQ(log, (std::vector<std::string>{"fn 1", "typed 1", "named 1"}));
  log.clear();
  // The named sink has no OnStop and is passed over; the typed sink's write-back reaches the raiser.
  EXPECT_EQ(ticker->Stop(), String(u"stopped by typed"));
  EXPECT_EQ(log, (std::vector<std::string>{"typed stop done", "fn stop"}));

  EXPECT_RAISES(attach_listener(make<Collection>(), make<NamedSink>(log)), 438);  // raises no events
  EXPECT_RAISES(attach_listener(ticker, Ref<Unknown>()), 91);
  EXPECT_RAISES(ticker->events.attach(Ref<Unknown>()), 91);
  const EventCookie cookie = attach_listener(ticker, make<NamedSink>(log));
  EXPECT_TRUE(detach_listener(ticker, cookie));
  EXPECT_FALSE(detach_listener(ticker, cookie));
}

// A raise that ends by an error or runs inside another ends as cleanly as any.
TEST(Events, DetachingAndAttachingDuringARaise) {
  EventSource source;
  std::vector<std::string> log;
  std::array<EventCookie, 3> cookies{};
  const auto add_new = [&] { source.attach(u"E", [&](std::span<Variant>) { log.push_back("new"); }); };
  const struct {
    const char* name;
    int actor;                  // the listener that acts, during the first raise only
    std::function<void()> act;  // what it does
    std::vector<std::string> first, second;
    std::int32_t error = 0;  // what the first raise ends with
  } rows[] = {
      {"detach a later one", 0, [&] { EXPECT_TRUE(source.detach(cookies[1])); }, {"0", "2"}, {"0", "2"}},
      {"detach itself, once",
       1,
       [&] { EXPECT_TRUE(source.detach(cookies[1]) && !source.detach(cookies[1])); },
       {"0", "1", "2"},
       {"0", "2"}},
      {"detach all", 0, [&] { source.detach_all(); }, {"0"}, {}},
      {"attach a new one", 1, add_new, {"0", "1", "2"}, {"0", "1", "2", "new"}},
      {"detach a later one, then raise an error",
       1,
       [&] {
         source.detach(cookies[2]);
         raise_runtime_error(RuntimeError::InvalidProcedureCall);
       },
       {"0", "1"},
       {"0", "1"},
       5},
      {"detach a later one between nested raises",
       0,
       [&] {
         source.raise(u"E");
         source.detach(cookies[2]);
         source.raise(u"E");
       },
       {"0", "0", "1", "2", "0", "1", "1"},
       {"0", "1"}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    source.detach_all();
    log.clear();
    bool acted = false;
    for (std::size_t i = 0; i < 3; ++i) {
      cookies[i] = source.attach(u"E", [&, i](std::span<Variant>) {
        log.push_back(std::to_string(i));
        if (static_cast<int>(i) == row.actor && !std::exchange(acted, true)) row.act();
      });
    }
    EXPECT_EQ(test_support::error_of([&] { source.raise(u"E"); }), row.error);
    EXPECT_EQ(log, row.first);
    log.clear();
    source.raise(u"E");
    EXPECT_EQ(log, row.second);
    EXPECT_EQ(source.size(), row.second.size());
  }
}

// Only ASCII letters fold: '[' and '{' differ by the same 32 as 'A' and 'a'.
static_assert(same_ignoring_ascii_case("OnTick", "ONTICK") && same_ignoring_ascii_case(u"onstop", u"OnStop"));
static_assert(!same_ignoring_ascii_case("a[", "A{") && !same_ignoring_ascii_case(u"\u00e9", u"\u00c9"));

}  // namespace
}  // namespace quorvel
