// Events against a plain std::function call with the same arguments, and the cost of one lock
// cycle; `ratio` = ours / peer (below 1: ours is faster).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <functional>
#include <new>

#include "quorvel/locks/late_bound_notifier.h"
#include "quorvel/locks/lock_state.h"
#include "quorvel/platform/describe.h"
#include "quorvel/platform/memory.h"
#include "side_by_side.h"

// Every allocation of the process is counted, so that a lock cycle can report how many it makes.
namespace {
thread_local long g_allocations = 0;
}  // namespace

// Out of line, so that no caller sees malloc and free paired with new and delete.
[[gnu::noinline]] void* operator new(std::size_t size) {
  ++g_allocations;
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void* p) noexcept { std::free(p); }
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace quorvel {
namespace {

// The library's own allocations go through its allocator, seen through the fault hook.
bool count_library_allocation() noexcept {
  ++g_allocations;
  return false;
}

// A listener known only by its member name.
class NamedNotifyListener final : public ObjectImpl<> {
 public:
  static constexpr const char* type_name = "BenchNamedNotifyListener";
  static constexpr Guid iid{"{8763FC75-2AA0-4718-BBD4-CD1ECA373E27}"};
  QUORVEL_CLASS_INFO(describe_class<NamedNotifyListener>(
      ClassFlags::None, {method<&NamedNotifyListener::OnNotify>("OnNotify", 1, "sender", "Args")}))
  void OnNotify(const Variant& sender, const Variant& Args) {
    benchmark::DoNotOptimize(&sender);
    benchmark::DoNotOptimize(&Args);
  }
};

// A C++ listener object: the notifier calls its OnNotify directly.
class DirectNotifyListener final : public ObjectImpl<ILateBoundNotifierEvents> {
 public:
  static constexpr const char* type_name = "BenchDirectNotifyListener";
  static constexpr Guid iid{"{3C1F6E2B-8B0D-4E47-9C55-0A4D2B7E91F3}"};
  QUORVEL_CLASS_INFO(describe_class<DirectNotifyListener, ILateBoundNotifierEvents>(ClassFlags::None, {}))
  void OnNotify(const Ref<Unknown>& sender, const Variant& Args) override {
    benchmark::DoNotOptimize(&sender);
    benchmark::DoNotOptimize(&Args);
  }
};

// NotifyClients with the one listener `attach_one` attaches, against the peer's direct call.
template <class Attach>
void notify_one_listener(benchmark::State& state, Attach attach_one) {
  Ref<LateBoundNotifier> notifier = make<LateBoundNotifier>();
  attach_one(notifier);
  const Ref<Unknown> sender(as_unknown(notifier.get()));
  const Variant value(std::int32_t{42});
  std::function<void(const Variant&, const Variant&)> peer = [](const Variant& a, const Variant& b) {
    benchmark::DoNotOptimize(&a);
    benchmark::DoNotOptimize(&b);
  };
  const Variant sender_value(sender);
  bench::side_by_side(
      state, [&] { notifier->NotifyClients(sender, value); }, [&] { peer(sender_value, value); });
}

void BM_NotifyOneCppListener(benchmark::State& state) {
  notify_one_listener(state, [](const Ref<LateBoundNotifier>& notifier) {
    notifier->events().attach(u"OnNotify", [](std::span<Variant> args) { benchmark::DoNotOptimize(args.data()); });
  });
}
BENCHMARK(BM_NotifyOneCppListener);

void BM_NotifyOneCppListenerObject(benchmark::State& state) {
  notify_one_listener(state, [](const Ref<LateBoundNotifier>& notifier) {
    attach_listener(notifier, make<DirectNotifyListener>());
  });
}
BENCHMARK(BM_NotifyOneCppListenerObject);

void BM_NotifyOneLateBoundListener(benchmark::State& state) {
  notify_one_listener(state, [](const Ref<LateBoundNotifier>& notifier) {
    attach_listener(notifier, make<NamedNotifyListener>());
  });
}
BENCHMARK(BM_NotifyOneLateBoundListener);

// LockHandle, UnlockHandle and the release of the handle, with one listener on each event.
void BM_LockCycle(benchmark::State& state) {
  Ref<LockState> lock = make<LockState>();
  int events = 0;
  lock->events().attach(u"OnLock", [&](std::span<Variant>) { ++events; });
  lock->events().attach(u"OnUnlock", [&](std::span<Variant>) { ++events; });
  set_allocation_fault_hook(&count_library_allocation);
  const long before = g_allocations;
  for (auto _ : state) {
    Ref<ILockHandle> handle = lock->LockHandle();
    handle->UnlockHandle();
  }
  const long made = g_allocations - before;
  set_allocation_fault_hook(nullptr);
  state.counters["allocations_per_cycle"] = static_cast<double>(made) / static_cast<double>(state.iterations());
  state.counters["events_per_cycle"] = static_cast<double>(events) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_LockCycle);

}  // namespace
}  // namespace quorvel
