// The literal quicksort shared by every element kind: Hoare partitioning around a copy of the
// middle element, the left part finished before the right one. Kinds differ only in the `Ops`
// they plug in (how to take the pivot, test an element against it, and exchange two elements).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace quorvel::sorting {

/// The middle of [lo, hi]: (lo + hi) / 2 rounded to the nearest whole number, ties to the even
/// one. The sum is taken in 64 bits so that no range can overflow it.
constexpr std::int32_t midpoint(std::int32_t lo, std::int32_t hi) noexcept {
  const std::int64_t sum = static_cast<std::int64_t>(lo) + hi;
  const std::int64_t down = sum >> 1;  // floor, also for negative sums
  const std::int64_t mid = ((sum & 1) != 0 && (down & 1) != 0) ? down + 1 : down;
  return static_cast<std::int32_t>(mid);
}

/// Pending index ranges. Balanced input never needs more than the inline slots; adversarial input
/// spills to the heap instead of deepening the thread's stack.
class RangeStack {
 public:
  struct Range {
    std::int32_t lo;
    std::int32_t hi;
  };
  bool empty() const noexcept { return size_ == 0; }
  void push(Range r) {
    if (size_ < inline_.size()) {
      inline_[size_] = r;
    } else {
      spill_.push_back(r);
    }
    ++size_;
  }
  Range pop() noexcept {
    --size_;
    if (size_ < inline_.size()) return inline_[size_];
    const Range r = spill_.back();
    spill_.pop_back();
    return r;
  }

 private:
  std::array<Range, 64> inline_{};
  std::vector<Range> spill_;
  std::size_t size_ = 0;
};

/// Sorts [lo, hi] with the kind's `ops`:
///   `Pivot take_pivot(std::int32_t mid)` copies the element at mid;
///   `bool before(std::int32_t i, const Pivot&)` element orders before the pivot (one comparer call);
///   `bool after(std::int32_t j, const Pivot&)` element orders after the pivot (one comparer call);
///   `void exchange(std::int32_t i, std::int32_t j)` (also called with i == j).
///
/// The calls happen in exactly the order of the recursive algorithm: a partition, then the whole
/// left part, then the right part. Each scan stops at its range end, so an inconsistent order
/// (a comparer that always answers -1) neither leaves the range nor loops; with a consistent
/// order the scans never reach that stop. The pivot is read before anything else, also when
/// lo > hi (the list variant relies on the list's own index check for that case).
template <class Ops>
void quicksort_literal(Ops& ops, std::int32_t lo, std::int32_t hi) {
  RangeStack pending;
  for (;;) {
    const auto pivot = ops.take_pivot(midpoint(lo, hi));
    // 64-bit cursors: i can step past hi and j below lo at the ends of the 32-bit index space.
    std::int64_t i = lo;
    std::int64_t j = hi;
    while (i <= j) {
      while (ops.before(static_cast<std::int32_t>(i), pivot) && i < hi) ++i;
      while (ops.after(static_cast<std::int32_t>(j), pivot) && j > lo) --j;
      if (i <= j) {
        ops.exchange(static_cast<std::int32_t>(i), static_cast<std::int32_t>(j));
        ++i;
        --j;
      }
    }
    const bool left = lo < j;
    const bool right = i < hi;
    if (left) {
      // The right part waits until the whole left part is done, as after a recursive call.
      if (right) pending.push({static_cast<std::int32_t>(i), hi});
      hi = static_cast<std::int32_t>(j);
    } else if (right) {
      lo = static_cast<std::int32_t>(i);
    } else if (pending.empty()) {
      return;
    } else {
      const RangeStack::Range next = pending.pop();
      lo = next.lo;
      hi = next.hi;
    }
  }
}

}  // namespace quorvel::sorting
