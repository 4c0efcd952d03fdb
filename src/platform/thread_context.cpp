// Per-thread state: one context per thread, slots numbered once per process.
#include "quorvel/platform/thread_context.h"

#include <atomic>

namespace quorvel {

std::size_t ThreadContext::next_slot_id() noexcept {
  static std::atomic<std::size_t> next{0};
  return next.fetch_add(1, std::memory_order_relaxed);
}

void ThreadContext::reset() noexcept {
  // Release newest first: a later slot may hold objects that an earlier one serves.
  while (!slots_.empty()) {
    auto last = std::move(slots_.back());
    slots_.pop_back();
    last.reset();
  }
  lcid = 0x409;
}

ThreadContext::~ThreadContext() { reset(); }

ThreadContext& this_thread_context() noexcept {
  // Initial-exec: a fixed offset from the thread pointer instead of a call per access (the
  // context is small enough for the static TLS reserve even when the library is loaded late).
  thread_local ThreadContext context [[gnu::tls_model("initial-exec")]];
  return context;
}

}  // namespace quorvel
