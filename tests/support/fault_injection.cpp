// The test binary's one replacement of the global allocation functions, and the hook into the
// library's own allocations: both count, and either can be told to fail the k-th allocation.
#include "support/fault_injection.h"

#include <cstdlib>
#include <new>

#include "quorvel/platform/memory.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUORVEL_SANITIZER_ALLOCATOR 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define QUORVEL_SANITIZER_ALLOCATOR 1
#endif

namespace quorvel::fault {

namespace {

thread_local long t_allocations = 0;
thread_local long t_fail_at = 0;  // an allocation number; 0: none
thread_local bool t_fired = false;

// One more allocation: true when it is the one to fail.
bool count_and_decide() noexcept {
  ++t_allocations;
  if (t_fail_at == 0 || t_allocations != t_fail_at) return false;
  t_fail_at = 0;
  t_fired = true;
  return true;
}

// Installed before any test runs; costs the library one call per allocation.
const bool g_hooked = (set_allocation_fault_hook(&count_and_decide), true);

}  // namespace

long allocations() noexcept { return t_allocations; }

bool operator_new_counted() noexcept {
#ifdef QUORVEL_SANITIZER_ALLOCATOR
  return false;
#else
  return g_hooked;
#endif
}

FailAllocation::FailAllocation(long k) noexcept {
  t_fired = false;
  t_fail_at = t_allocations + k;
}
FailAllocation::~FailAllocation() { t_fail_at = 0; }
bool FailAllocation::fired() const noexcept { return t_fired; }

const ClassInfo& Meddler::describe() {
  static const ClassInfo info =
      describe_class<Meddler, IComparer, IFormatter>(ClassFlags::None, {get<&Meddler::get_Value>("Value", 0)});
  return info;
}

void Meddler::Plan::call_out() {
  if (++calls == strike && action) action();
}

Meddler::~Meddler() {
  if (plan_) plan_->call_out();
}

Variant Meddler::get_Value() {
  if (plan_) plan_->call_out();
  return value_;
}

std::int16_t Meddler::Compare(const Variant& A, const Variant& B) {
  if (plan_) plan_->call_out();
  return static_cast<std::int16_t>(var_compare(A.default_value(), B.default_value(), false));
}

Variant Meddler::Format(const Variant& Value) {
  if (plan_) plan_->call_out();
  return Value;
}

}  // namespace quorvel::fault

#ifndef QUORVEL_SANITIZER_ALLOCATOR
// Replacing operator new here (and not in the sanitizer build) keeps the sanitizer's own checks
// of new and delete intact there.
void* operator new(std::size_t size) {
  if (quorvel::fault::count_and_decide()) throw std::bad_alloc();
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#endif
