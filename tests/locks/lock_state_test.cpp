#include "quorvel/locks/lock_state.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "quorvel/frame/error_catalogue.h"
#include "quorvel/platform/interface_cast.h"
#include "support/fault_injection.h"
#include "support/test_objects.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

using test_support::error_of;
using LockStateTest = test_support::LiveCountCheck;

// Logs each event as "OnLock True": the event and the flag its sender shows at that moment.
void log_events(LockState& state, std::vector<std::string>& log) {
  for (const char16_t* event : {u"OnLock", u"OnUnlock"}) {
    state.events().attach(event, [&log, event](std::span<Variant> args) {
      LockState* sender = class_cast<LockState>(args[0].if_object());
      log.push_back(String(event).to_utf8() + (sender == nullptr ? " ?" : sender->get_Locked() ? " True" : " False"));
    });
  }
}

// A handle that outlives its state, and listeners that raise: in the scenario file.
TEST_F(LockStateTest, HandleRefusals) {
  EXPECT_RAISES(make<LockHandle>()->UnlockHandle(), error_number::kInvalidState, "Uninitialized object usage!",
                "LockHandle");
  Ref<LockState> state = make<LockState>();
  Ref<LockHandle> handle(class_cast<LockHandle>(state->LockHandle().get()));
  ASSERT_TRUE(handle);
  EXPECT_RAISES(handle->initialize(nullptr), error_number::kInvalidState, "Object already initialized!", "LockHandle");
  EXPECT_RAISES(handle->set_callback(Ref<ILockCallback>(make<ILockCallbackClass>().get())),
                error_number::kInvalidState, "", "LockHandle");
  EXPECT_TRUE(handle->bound());
}

// What listeners may do during delivery, and what the lock state and its caller see afterwards;
// every listener reads the flag already changed.
TEST_F(LockStateTest, ListenersThatReleaseOrReenter) {
  struct Run {
    Ref<LockState> state;
    Ref<ILockHandle> handle;
    Ref<ILockHandle> other;  // a handle taken by a listener
  };
  const std::vector<std::string> kOnce{"OnLock True", "OnUnlock False"};
  const struct {
    const char* name;
    const char16_t* event;  // the event the acting listener acts on, once
    std::function<void(Run&)> act;
    std::int32_t lock_error, unlock_error;  // what LockHandle, then (given a handle) UnlockHandle raise
    std::vector<std::string> log;
    bool locked_after;
  } rows[] = {
      {"OnLock asks for a second handle: the first is dropped and unlocks", u"OnLock",
       [](Run& r) { r.other = r.state->LockHandle(); }, error_number::kInvalidState, 0, kOnce, false},
      {"OnUnlock unlocks the same handle again", u"OnUnlock", [](Run& r) { r.handle->UnlockHandle(); }, 0,
       error_number::kInvalidState, kOnce, false},
      {"OnUnlock drops the lock state", u"OnUnlock", [](Run& r) { r.state = nullptr; }, 0, 0, kOnce, false},
      {"OnUnlock drops the handle being unlocked", u"OnUnlock", [](Run& r) { r.handle = nullptr; }, 0, 0, kOnce, false},
      {"OnUnlock locks again", u"OnUnlock", [](Run& r) { r.other = r.state->LockHandle(); }, 0, 0,
       {"OnLock True", "OnUnlock False", "OnLock True", "OnUnlock False"}, true},
      {"OnLock drops the lock state: the caller's reference was the last", u"OnLock",
       [](Run& r) { r.state = nullptr; }, 0, 0, {"OnLock True"}, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    std::vector<std::string> log;
    Run run{make<LockState>(), nullptr, nullptr};
    log_events(*run.state, log);
    bool acted = false;
    run.state->events().attach(row.event, [&](std::span<Variant>) {
      if (!std::exchange(acted, true)) row.act(run);
    });
    {
      const Ref<LockState> caller = run.state;  // the caller's own reference, as a late-bound call holds
      EXPECT_EQ(error_of([&] { run.handle = caller->LockHandle(); }), row.lock_error);
    }
    if (run.handle) {
      EXPECT_EQ(error_of([&] { run.handle->UnlockHandle(); }), row.unlock_error);
    }
    run.handle = nullptr;
    if (run.state) {
      EXPECT_EQ(run.state->get_Locked(), row.locked_after);
    }
    run.other = nullptr;
    EXPECT_EQ(log, row.log);
  }
}

// Locking without memory for the handle changes nothing and announces nothing.
TEST_F(LockStateTest, LockingWithoutMemoryLeavesTheStateAsItWas) {
  struct Subject {
    Ref<LockState> state = make<LockState>();
    int events = 0;
  };
  const auto make_subject = [] {
    auto s = std::make_unique<Subject>();
    s->state->events().attach(u"OnLock", [raw = s.get()](std::span<Variant>) { ++raw->events; });
    return s;
  };
  const auto lock = [](auto& s) { (void)s->state->LockHandle(); };
  const auto state = [](auto& s) { return std::to_string(s->state->get_Locked()) + "/" + std::to_string(s->events); };
  EXPECT_GE(fault::expect_fault_tolerant(make_subject, lock, state), 1);
}

}  // namespace
}  // namespace quorvel
