// The full argument list of a call whose given arguments are rearranged or completed: room for
// the usual few inline, the rest from the library's allocator (so running out raises 7).
#pragma once

#include <array>
#include <span>
#include <vector>

#include "quorvel/platform/memory.h"
#include "quorvel/platform/variant.h"

namespace quorvel::detail {

class ArgumentScratch {
 public:
  /// `n` Empty slots, valid while the scratch lives. Raises 7.
  std::span<Variant> take(std::size_t n) {
    if (n <= local_.size()) return {local_.data(), n};
    heap_.resize(n);
    return heap_;
  }

 private:
  std::array<Variant, 8> local_;
  std::vector<Variant, RaisingAllocator<Variant>> heap_;
};

}  // namespace quorvel::detail
