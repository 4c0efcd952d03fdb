// String comparison by mode, with the per-thread binary and text comparers.
#include "quorvel/text/compare_strings.h"

#include "quorvel/frame/error_catalogue.h"
#include "quorvel/ordering/comparers.h"
#include "quorvel/platform/collation.h"
#include "quorvel/platform/thread_context.h"

namespace quorvel {
namespace {

struct StringComparerCache;

// The thread's cache, while it exists: one load instead of a slot lookup on every comparison.
thread_local StringComparerCache* current_cache [[gnu::tls_model("initial-exec")]] = nullptr;

// In the thread context rather than thread_local: resetting a context (as every scenario does)
// must release the comparers with everything else the thread made. Held by their own final
// classes, so that a comparison is a direct call rather than one through the interface.
struct StringComparerCache {
  Ref<BinaryModeComparer> binary;
  Ref<TextModeComparer> text;
  StringComparerCache() noexcept { current_cache = this; }
  ~StringComparerCache() { current_cache = nullptr; }
  StringComparerCache(const StringComparerCache&) = delete;
  StringComparerCache& operator=(const StringComparerCache&) = delete;
};

// Out of line, so that the usual call keeps no frame of its own.
template <class Comparer, Ref<Comparer> StringComparerCache::*Slot>
[[gnu::noinline, gnu::cold]] Comparer& first_use() {
  Ref<Comparer>& slot = this_thread_context().slot<StringComparerCache>().*Slot;
  if (!slot) slot = make<Comparer>();
  return *slot;
}

template <class Comparer, Ref<Comparer> StringComparerCache::*Slot>
Comparer& cached() {
  const StringComparerCache* c = current_cache;
  if (c && c->*Slot) [[likely]] return *(c->*Slot);
  return first_use<Comparer, Slot>();
}

}  // namespace

std::int32_t CompareStrings(String& A, String& B, std::int32_t CompareMode) {
  switch (CompareMode) {
    case 0:
      return cached<BinaryModeComparer, &StringComparerCache::binary>().Compare(A, B);
    case 1:
      return cached<TextModeComparer, &StringComparerCache::text>().Compare(A, B);
    case 2:
      return compare_text(A.view(), B.view());
    default:
      raise(Failure::InvalidArgument, nullptr);
  }
}

}  // namespace quorvel
