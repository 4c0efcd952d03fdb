// Fault injection for tests: make the k-th allocation fail, or let caller code (a comparer, a
// formatter, a default value, a destructor) change the very object under test at its k-th call,
// for k = 1, 2, ... until the operation runs through untouched.
//
// Plugging a class in takes three pieces, all plain lambdas:
//   - `make`:  builds a fresh object in a known state (and keeps whatever the operation needs);
//   - `run`:   the operation under test on that object;
//   - `state`: a text of everything observable (count, items, keys, ...).
// Then `expect_fault_tolerant(make, run, state)` walks every allocation of `run`, and
// `walk_meddling` walks every call-out of it with a `Meddler` whose action changes the object.
// Both check that each failure surfaces as a quorvel::Error (7 when memory ran out), that a
// failed run leaves `state` as it was and that no library object is leaked.
//
// Allocations seen: the global operator new (replaced once for the whole test binary in
// fault_injection.cpp) and the library's own malloc-based allocations (through its fault hook).
// Under AddressSanitizer the sanitizer keeps its own operator new, so only the library's own
// allocations are counted and failed there; `operator_new_counted()` tells which applies.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "quorvel/frame/array_list_interfaces.h"
#include "quorvel/frame/comparer_interfaces.h"
#include "quorvel/platform/describe.h"
#include "quorvel/platform/error.h"
#include "quorvel/platform/error_reporter.h"
#include "quorvel/platform/variant_compare.h"

namespace quorvel::fault {

/// Allocations made on this thread so far (operator new where counted, and the library's own).
long allocations() noexcept;
/// False under AddressSanitizer, whose operator new is not replaced.
bool operator_new_counted() noexcept;

/// While alive, the `k`-th allocation on this thread from now (1-based) fails, once.
class FailAllocation {
 public:
  explicit FailAllocation(long k) noexcept;
  ~FailAllocation();
  FailAllocation(const FailAllocation&) = delete;
  FailAllocation& operator=(const FailAllocation&) = delete;
  /// True once the failure has been injected.
  bool fired() const noexcept;
};

/// Hostile caller code. Its default member `Value` gives `value`; `Compare` orders default
/// values, `Format` gives the value unchanged; each of those calls, and its destruction, is one
/// call-out. At the `strike`-th call-out counted by `calls` (shared by every Meddler of a run),
/// `action` runs first. Members by name: `Value`.
class Meddler final : public ObjectImpl<IComparer, IFormatter> {
 public:
  static constexpr const char* type_name = "FaultMeddler";
  static constexpr Guid iid{"{4F3C2B1A-7D6E-4A5B-9C8D-0E1F2A3B4C5D}"};
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }

  /// The call-outs of one run and what happens at the chosen one.
  struct Plan {
    long calls = 0;
    long strike = 0;  // 0: never
    std::function<void()> action;
    void call_out();
  };

  Meddler(Plan& plan, Variant value) : plan_(&plan), value_(std::move(value)) {}
  ~Meddler() override;
  Variant get_Value();
  std::int16_t Compare(const Variant& A, const Variant& B) override;
  Variant Format(const Variant& Value) override;
  /// Stops counting: the plan may be gone before this object is.
  void detach() noexcept { plan_ = nullptr; }

 private:
  Plan* plan_;
  Variant value_;
};

/// A Meddler of `plan` held in a Variant, as a caller passes an object.
inline Variant meddler(Meddler::Plan& plan, Variant value) {
  return Variant(Ref<Unknown>(as_unknown(make<Meddler>(plan, std::move(value)).get())));
}

/// What a run raised: 0 when it returned, -1 when it threw something that is not a quorvel::Error.
template <class F>
std::int32_t outcome_of(F&& f) {
  try {
    f();
  } catch (const Error& e) {
    return e.number();
  } catch (...) {
    return -1;
  }
  return 0;
}

/// Runs `run(make())` once undisturbed, then with the k-th allocation failing, for k = 1, 2, ...
/// until a run completes without reaching its k-th allocation. A run that raises must raise 7
/// and leave `state` as it was; one that returns must leave the state of the undisturbed run.
/// No run may keep a library object alive. Returns how many allocations were failed.
template <class Make, class Run, class State>
long expect_fault_tolerant(Make make, Run run, State state) {
  constexpr long kLimit = 20000;
  ErrorReporter::this_thread();  // made once per thread, not the operation's
  // One undisturbed run first: what is built once per process on first use (class descriptions,
  // collators) is not the operation's to roll back.
  auto first = make();
  EXPECT_EQ(outcome_of([&] { run(first); }), 0) << "the undisturbed run";
  const std::string after = state(first);
  for (long k = 1; k <= kLimit; ++k) {
    const std::int64_t live = Object::live_count();
    bool fired = false;
    {
      auto subject = make();
      const std::string before = state(subject);
      std::int32_t raised = 0;
      {
        FailAllocation fail(k);  // only while the operation runs
        raised = outcome_of([&] { run(subject); });
        fired = fail.fired();
      }
      // Not reached, or absorbed (a shrink that keeps its larger block): the normal outcome.
      EXPECT_TRUE(raised == 0 || (fired && raised == 7)) << "allocation " << k << " raised " << raised;
      EXPECT_EQ(state(subject), raised == 0 ? after : before) << "allocation " << k;
    }
    EXPECT_EQ(Object::live_count(), live) << "objects leaked or released twice, allocation " << k;
    if (!fired) return k - 1;
  }
  ADD_FAILURE() << "still allocating after " << kLimit << " allocations";
  return kLimit;
}

/// Runs `run(make(plan))` with `plan.action` striking at call-out k, for k = 1, 2, ... until a
/// run makes fewer than k call-outs. After each run: whatever was raised is a quorvel::Error,
/// `check` accepts the object, and no library object is leaked. Returns the number of call-outs.
template <class Make, class Run, class Check>
long walk_meddling(Make make, Run run, Check check) {
  constexpr long kLimit = 5000;
  ErrorReporter::this_thread();
  for (long k = 1; k <= kLimit; ++k) {
    SCOPED_TRACE(k);
    const std::int64_t live = Object::live_count();
    long calls = 0;
    {
      Meddler::Plan plan;
      plan.strike = k;
      auto subject = make(plan);
      EXPECT_NE(outcome_of([&] { run(subject); }), -1) << "call-out " << k << " let a foreign exception out";
      calls = plan.calls;
      plan.strike = 0;  // releasing the object below runs no more actions
      check(subject);
    }
    EXPECT_EQ(Object::live_count(), live) << "objects leaked or released twice, call-out " << k;
    if (calls < k) return calls;
  }
  ADD_FAILURE() << "still calling out after " << kLimit << " calls";
  return kLimit;
}

}  // namespace quorvel::fault
