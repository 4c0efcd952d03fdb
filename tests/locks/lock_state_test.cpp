#include "quorvel/locks/lock_state.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "quorvel/frame/error_catalogue.h"
#include "quorvel/platform/error.h"
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

// The flag is stored before each event, so a listener reads the new value; the rest of the
// lock and unlock sequence is in the scenarios.
TEST_F(LockStateTest, ListenersReadTheNewFlag) {
  std::vector<std::string> log;
  Ref<LockState> state = make<LockState>();
  log_events(*state, log);
  state->LockHandle()->UnlockHandle();
  (void)state->LockHandle();  // released at once: bound, so it unlocks
  EXPECT_EQ(log, (std::vector<std::string>{"OnLock True", "OnUnlock False", "OnLock True", "OnUnlock False"}));
}

TEST_F(LockStateTest, HandleErrorsAndAHandleThatOutlivesItsState) {
  Ref<LockHandle> loose = make<LockHandle>();
  EXPECT_RAISES(loose->UnlockHandle(), error_number::kInvalidState, "Uninitialized object usage!", "LockHandle");

  std::vector<std::string> log;
  Ref<LockState> state = make<LockState>();
  log_events(*state, log);
  Ref<LockHandle> handle(class_cast<LockHandle>(state->LockHandle().get()));
  ASSERT_TRUE(handle);
  EXPECT_RAISES(handle->initialize(nullptr), error_number::kInvalidState, "Object already initialized!", "LockHandle");
  EXPECT_RAISES(handle->set_callback(Ref<ILockCallback>(make<ILockCallbackClass>().get())),
                error_number::kInvalidState, "", "LockHandle");
  EXPECT_TRUE(handle->bound());

  state = nullptr;  // the handle keeps only the sink
  handle->UnlockHandle();
  EXPECT_FALSE(handle->bound());
  EXPECT_EQ(error_of([&] { handle->UnlockHandle(); }), error_number::kInvalidState);
  EXPECT_EQ(log, (std::vector<std::string>{"OnLock True"}));
}

// What listeners may do during delivery, and what the lock state and its caller see afterwards.
TEST_F(LockStateTest, ListenersThatRaiseReleaseOrReenter) {
  struct Run {
    Ref<LockState> state;
    Ref<ILockHandle> handle;
    Ref<ILockHandle> other;  // a handle taken by a listener
  };
  const struct {
    const char* name;
    const char16_t* event;  // the event the acting listener acts on, once
    std::function<void(Run&)> act;
    std::int32_t lock_error, unlock_error;  // what LockHandle, then (given a handle) UnlockHandle raise
    std::vector<std::string> log;
    bool locked_after;
  } rows[] = {
      {"OnLock raises: the new handle is dropped and unlocks",
       u"OnLock", [](Run&) { raise_runtime_error(RuntimeError::InvalidProcedureCall); }, 5, 0,
       {"OnLock True", "OnUnlock False"}, false},
      {"OnLock asks for a second handle",
       u"OnLock", [](Run& r) { r.other = r.state->LockHandle(); }, error_number::kInvalidState, 0,
       {"OnLock True", "OnUnlock False"}, false},
      {"OnUnlock raises: the handle is stale all the same",
       u"OnUnlock", [](Run&) { raise_runtime_error(RuntimeError::InvalidProcedureCall); }, 0, 5,
       {"OnLock True", "OnUnlock False"}, false},
      {"OnUnlock unlocks the same handle again",
       u"OnUnlock", [](Run& r) { r.handle->UnlockHandle(); }, 0, error_number::kInvalidState,
       {"OnLock True", "OnUnlock False"}, false},
      {"OnUnlock drops the lock state",
       u"OnUnlock", [](Run& r) { r.state = nullptr; }, 0, 0, {"OnLock True", "OnUnlock False"}, false},
      {"OnUnlock drops the handle being unlocked",
       u"OnUnlock", [](Run& r) { r.handle = nullptr; }, 0, 0, {"OnLock True", "OnUnlock False"}, false},
      {"OnUnlock locks again",
       u"OnUnlock", [](Run& r) { r.other = r.state->LockHandle(); }, 0, 0,
       {"OnLock True", "OnUnlock False", "OnLock True", "OnUnlock False"}, true},
      {"OnLock drops the lock state: the caller's reference was the last",
       u"OnLock", [](Run& r) { r.state = nullptr; }, 0, 0, {"OnLock True"}, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    std::vector<std::string> log;
    Run run{make<LockState>(), nullptr, nullptr};
    LockState* const state = run.state.get();
    log_events(*state, log);
    bool acted = false;
    state->events().attach(row.event, [&](std::span<Variant>) {
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
    auto s = std::make_shared<Subject>();
    s->state->events().attach(u"OnLock", [raw = s.get()](std::span<Variant>) { ++raw->events; });
    return s;
  };
  const long failed = fault::expect_fault_tolerant(
      make_subject, [](auto& s) { (void)s->state->LockHandle(); },
      [](auto& s) { return std::to_string(s->state->get_Locked()) + "/" + std::to_string(s->events); });
  EXPECT_GE(failed, 1);
}

}  // namespace
}  // namespace quorvel
