// The storage core of the ten array lists: a zero-based typed array whose length is the capacity,
// the count of slots in use, and the growth and shrink policy. The arithmetic lives once in the
// untyped base; the typed part only moves elements.
#pragma once

#include <cstdint>
#include <span>
#include <type_traits>
#include <utility>

#include "quorvel/platform/array.h"

namespace quorvel {

/// The element-kind-free half of a list's storage: count, grow length, shrink factor and the
/// capacity each growth or shrink rule arrives at. Nothing here validates caller arguments; the
/// lists check (and raise their catalogued errors) before they call in.
class ListStorageBase {
 public:
  static constexpr std::int32_t kDefaultGrowLength = 1000;
  static constexpr float kDefaultShrinkFactor = 1.5f;

  std::int32_t count() const noexcept { return count_; }
  std::int32_t grow_length() const noexcept { return grow_length_; }
  float shrink_factor() const noexcept { return shrink_factor_; }
  /// Takes effect at the next growth; `value` >= 1 is the caller's check.
  void set_grow_length(std::int32_t value) noexcept { grow_length_ = value; }
  /// Takes effect at the next shrink; `value` > 1 is the caller's check.
  void set_shrink_factor(float value) noexcept { shrink_factor_ = value; }

  /// Capacity after one append to a full storage: one more grow length. Raises 6 when the count
  /// itself cannot grow (counts are signed 32-bit); a step that would pass the 32-bit range stops
  /// at its end instead.
  std::int32_t capacity_for_append(std::int32_t capacity) const;
  /// Capacity for `wanted` elements (> capacity) by the set-count rule: the missing slots, but at
  /// least one grow length.
  std::int32_t capacity_for_count(std::int32_t capacity, std::int32_t wanted) const noexcept;
  /// Capacity for `wanted` elements (> capacity) by the range-append rule: whole grow lengths,
  /// one more than the shortfall divides into.
  std::int32_t capacity_for_range(std::int32_t capacity, std::int32_t wanted) const noexcept;
  /// Capacity after a shrink with `count` elements in use: exactly `count` when the cache is
  /// destroyed or the list is empty, otherwise at most shrink factor x grow length spare slots
  /// (rounded half to even).
  std::int32_t capacity_after_shrink(std::int32_t capacity, std::int32_t count, bool destroy_cache) const noexcept;

 protected:
  std::int32_t count_ = 0;
  std::int32_t grow_length_ = kDefaultGrowLength;
  float shrink_factor_ = kDefaultShrinkFactor;
};

/// The typed half: the slots themselves, an `ArrayOf<E>` with lower bound 0 whose element count
/// is the capacity (unallocated while the capacity is 0).
///
/// Every element kind moves as bytes (numbers, and the one-pointer strings, references and
/// Variants), so growth is `realloc` (which can extend in place or remap pages instead of
/// copying) and removals move blocks with `memmove`. Spare slots of number kinds keep whatever
/// was last stored there; a slot vacated by moving a counted element (string, object, Variant)
/// is left at the kind's new-slot value, so a reference is never held twice under one count.
///
/// While the slots are `lock()`ed (a sort or a scan that calls out), any change of capacity
/// raises 10 before anything changes. Allocation failure raises 7 and keeps the old slots.
/// Elements that leave the list are released only after count and slots show them gone: their
/// release may run caller code that reads the list.
template <class E>
class ListStorage : public ListStorageBase {
 public:
  ListStorage() noexcept = default;
  ListStorage(const ListStorage&) = delete;
  ListStorage& operator=(const ListStorage&) = delete;

  std::int32_t capacity() const noexcept { return slots_.count(); }
  /// The slots in use, 0 to count - 1.
  std::span<E> items() noexcept { return slots_.items().first(static_cast<std::size_t>(count_)); }
  std::span<const E> items() const noexcept { return slots_.items().first(static_cast<std::size_t>(count_)); }
  /// The whole storage array (capacity slots), as the sort engine takes it.
  ArrayOf<E>& slots() noexcept { return slots_; }
  const ArrayOf<E>& slots() const noexcept { return slots_; }

  /// Appends at index count, growing by one grow length when full. Inline: appending to a
  /// storage with room is a store and an increment.
  void append(E value) {
    if (count_ == capacity()) grow_for_append();
    E& slot = slots_.items()[static_cast<std::size_t>(count_)];
    if constexpr (std::is_trivially_copyable_v<E>) {
      slot = value;
      ++count_;
    } else {
      // A spare slot may still hold an element; it is released once the new one is counted.
      E previous(std::move(slot));
      slot = std::move(value);
      ++count_;
    }
  }
  /// Sets the count: within the capacity the slots are re-exposed as they are and a shrink
  /// follows; beyond it the storage grows (keeping the elements when `preserve`, else every slot
  /// starts at the new-slot value) and no shrink follows. `count` >= 0 is the caller's check.
  void set_count(std::int32_t count, bool preserve);
  /// Gives back spare slots by the shrink rule.
  void shrink(bool destroy_cache);
  /// Count 0, capacity 0, storage released.
  void erase();
  /// Removes the element at `index` (in range: the caller's check), then shrinks.
  void remove(std::int32_t index, bool keep_sequence);
  /// Replaces the storage with `array` (lower bound 0, or unallocated): count = capacity = its length.
  void adopt(ArrayOf<E> array);
  /// A zero-based copy of the elements in use; unallocated when the count is 0.
  ArrayOf<E> to_array() const;
  /// Grows the capacity to `capacity` (>= the current one) keeping the elements.
  void reserve(std::int32_t capacity);
  /// Count = `count` (<= capacity) without touching slots or capacity.
  void expose(std::int32_t count) noexcept { count_ = count; }
  /// Back to `count` (<= the count) and at most `capacity` slots, releasing what the list no longer
  /// holds after the fields are updated; never raises (without memory the spare slots stay).
  void truncate(std::int32_t count, std::int32_t capacity) noexcept;

 private:
  void grow_for_append();
  /// Capacity (<= the current one) and count changed together. What the shrink gives back comes
  /// out as an array that the caller lets go of once the list is consistent: releasing it may run
  /// caller code. Raises 10 when locked, 7 without memory, before any change.
  [[nodiscard]] ArrayOf<E> shrink_to(std::int32_t capacity, std::int32_t count);
  /// The slots cut to `capacity` after `detach_from(capacity)`; raises only 10 when locked.
  void cut_to(std::int32_t capacity);
  /// Moves the counted elements of the slots from `capacity` on into an array of their own (the
  /// slots left at the new-slot value). Raises 10 when locked, 7 without memory; nothing moves then.
  ArrayOf<E> detach_from(std::int32_t capacity);
  void check_unlocked() const;

  ArrayOf<E> slots_;
};

/// Locks a storage array against resizing for the life of the guard (scans and sorts that call
/// out to caller code, which could otherwise reallocate the array under them).
class StorageLock {
 public:
  explicit StorageLock(Array& array) noexcept : array_(array) { array_.lock(); }
  ~StorageLock() { array_.unlock(); }
  StorageLock(const StorageLock&) = delete;
  StorageLock& operator=(const StorageLock&) = delete;

 private:
  Array& array_;
};

}  // namespace quorvel
