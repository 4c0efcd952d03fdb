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
// must release the comparers with everything else the thread made.
struct StringComparerCache {
  Ref<IrefStringComparer> binary;
  Ref<IrefStringComparer> text;
  StringComparerCache() noexcept { current_cache = this; }
  ~StringComparerCache() { current_cache = nullptr; }
  StringComparerCache(const StringComparerCache&) = delete;
  StringComparerCache& operator=(const StringComparerCache&) = delete;
};

StringComparerCache& cache() {
  StringComparerCache* c = current_cache;
  return c ? *c : this_thread_context().slot<StringComparerCache>();
}

template <class Comparer>
IrefStringComparer& cached(Ref<IrefStringComparer>& slot) {
  if (!slot) [[unlikely]] slot = make<Comparer>()->as_string_comparer();
  return *slot;
}

}  // namespace

std::int32_t CompareStrings(String& A, String& B, std::int32_t CompareMode) {
  switch (CompareMode) {
    case 0:
      return cached<BinaryModeComparer>(cache().binary).Compare(A, B);
    case 1:
      return cached<TextModeComparer>(cache().text).Compare(A, B);
    case 2:
      return compare_text(A.view(), B.view());
    default:
      raise(Failure::InvalidArgument, nullptr);
  }
}

}  // namespace quorvel
