// The growth and shrink arithmetic of the array lists, and the element moves of each storage kind.
#include "quorvel/arraylists/list_storage.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <type_traits>
#include <utility>

#include "quorvel/platform/error.h"
#include "quorvel/platform/memory.h"
#include "quorvel/platform/variant.h"

namespace quorvel {

namespace {

constexpr std::int64_t kMaxCount = std::numeric_limits<std::int32_t>::max();

// Counts are signed 32-bit: a growth step that would pass the range stops at its end, which
// still holds every count a caller can ask for.
std::int32_t clamp_capacity(std::int64_t capacity) noexcept {
  return static_cast<std::int32_t>(capacity > kMaxCount ? kMaxCount : capacity);
}

// The platform rounds to the nearest integer with ties to the even one; spelled out rather than
// left to the floating-point environment's current rounding mode.
std::int64_t round_half_even(double x) noexcept {
  const double floor = std::floor(x);
  const double fraction = x - floor;
  auto result = static_cast<std::int64_t>(floor);
  if (fraction > 0.5 || (fraction == 0.5 && result % 2 != 0)) ++result;
  return result;
}

}  // namespace

std::int32_t ListStorageBase::capacity_for_append(std::int32_t capacity) const {
  if (capacity >= kMaxCount) raise_runtime_error(RuntimeError::Overflow);
  return clamp_capacity(static_cast<std::int64_t>(capacity) + grow_length_);
}

std::int32_t ListStorageBase::capacity_for_count(std::int32_t capacity, std::int32_t wanted) const noexcept {
  const std::int32_t needed = wanted - capacity;
  const std::int32_t step = needed < grow_length_ ? grow_length_ : needed;
  return clamp_capacity(static_cast<std::int64_t>(capacity) + step);
}

std::int32_t ListStorageBase::capacity_for_range(std::int32_t capacity, std::int32_t wanted) const noexcept {
  const std::int64_t shortfall = static_cast<std::int64_t>(wanted) - capacity;
  const std::int64_t steps = shortfall / grow_length_ + 1;  // a whole extra step also on an exact multiple
  return clamp_capacity(capacity + steps * grow_length_);
}

std::int32_t ListStorageBase::capacity_after_shrink(std::int32_t capacity, std::int32_t count,
                                                    bool destroy_cache) const noexcept {
  if (destroy_cache || count == 0) return count;
  // The Single factor widens exactly; the product and sum are formed in double precision.
  const double limit = static_cast<double>(shrink_factor_) * grow_length_ + count;
  if (limit >= capacity) return capacity;
  return static_cast<std::int32_t>(round_half_even(limit));
}

template <class E>
void ListStorage<E>::check_unlocked() const {
  if (slots_.locked()) raise_runtime_error(RuntimeError::ArrayLocked);
}

template <class E>
ArrayOf<E> ListStorage<E>::detach_from(std::int32_t capacity) {
  if constexpr (std::is_trivially_copyable_v<E>) {
    (void)capacity;
    return ArrayOf<E>();  // numbers have no release to postpone
  } else {
    const std::int32_t old_capacity = this->capacity();
    if (capacity >= old_capacity) return ArrayOf<E>();
    check_unlocked();
    ArrayOf<E> detached(0, old_capacity - capacity);  // the one step that can fail: 7
    // Counted elements move as bytes; the vacated slots are left at the new-slot value.
    const auto bytes = static_cast<std::size_t>(old_capacity - capacity) * sizeof(E);
    std::memcpy(static_cast<void*>(detached.items().data()), static_cast<const void*>(slots_.items().data() + capacity),
                bytes);
    std::memset(static_cast<void*>(slots_.items().data() + capacity), 0, bytes);
    return detached;
  }
}

template <class E>
void ListStorage<E>::cut_to(std::int32_t capacity) {
  if (capacity == this->capacity()) return;
  if (capacity == 0) {
    check_unlocked();
    ArrayOf<E> emptied(std::move(slots_));  // its counted elements were detached: only the block goes
    slots_ = ArrayOf<E>();
  } else {
    slots_.resize(capacity);  // a shrink with nothing left to release: raises only 10 when locked
  }
}

template <class E>
ArrayOf<E> ListStorage<E>::shrink_to(std::int32_t capacity, std::int32_t count) {
  ArrayOf<E> released = detach_from(capacity);
  cut_to(capacity);
  count_ = count;
  return released;
}

template <class E>
void ListStorage<E>::grow_for_append() {
  slots_.resize(capacity_for_append(capacity()));
}

template <class E>
void ListStorage<E>::set_count(std::int32_t count, bool preserve) {
  if (count <= capacity()) {
    // Within the capacity the slots are shown as they are; only the shrink may reallocate.
    // Whatever it gives back is released once the count is right (a destructor may read it).
    ArrayOf<E> released = shrink_to(capacity_after_shrink(capacity(), count, false), count);
    return;
  }
  const std::int32_t capacity = capacity_for_count(this->capacity(), count);
  if (preserve) {
    slots_.resize(capacity);
    count_ = count;
  } else {
    check_unlocked();
    ArrayOf<E> fresh(0, capacity);
    ArrayOf<E> released(std::move(slots_));
    slots_ = std::move(fresh);
    count_ = count;
  }
}

template <class E>
void ListStorage<E>::shrink(bool destroy_cache) {
  ArrayOf<E> released = shrink_to(capacity_after_shrink(capacity(), count_, destroy_cache), count_);
}

template <class E>
void ListStorage<E>::truncate(std::int32_t count, std::int32_t capacity) noexcept {
  // Without memory to set the dropped elements aside they stay in spare slots, which is a state
  // the list may be in anyway; the capacity then stays too.
  try {
    ArrayOf<E> released = shrink_to(capacity < this->capacity() ? capacity : this->capacity(), count);
    return;
  } catch (const Error&) {
  }
  count_ = count;
}

template <class E>
void ListStorage<E>::erase() {
  check_unlocked();
  ArrayOf<E> released(std::move(slots_));
  slots_ = ArrayOf<E>();
  count_ = 0;
}

template <class E>
void ListStorage<E>::remove(std::int32_t index, bool keep_sequence) {
  // The shrink that follows is known now; a locked storage refuses, and the slots it gives back
  // are set aside (the one allocation), before anything moves. When the list empties, that takes
  // the removed element too, and `removed` below is left the new-slot value.
  const std::int32_t capacity = capacity_after_shrink(this->capacity(), count_ - 1, false);
  if (capacity != this->capacity()) check_unlocked();
  ArrayOf<E> released = detach_from(capacity);
  E* p = slots_.items().data();
  const auto i = static_cast<std::size_t>(index);
  const auto last = static_cast<std::size_t>(count_ - 1);
  if constexpr (std::is_trivially_copyable_v<E>) {
    if (keep_sequence) {
      std::memmove(p + i, p + i + 1, (last - i) * sizeof(E));
    } else {
      p[i] = p[last];
    }
    cut_to(capacity);
    --count_;
  } else {
    // Counted elements move as bytes too; the removed one is released last, once the list is
    // consistent again (its release may run caller code).
    E removed(std::move(p[i]));
    if (i != last) {
      if (keep_sequence) {
        std::memmove(static_cast<void*>(p + i), static_cast<const void*>(p + i + 1), (last - i) * sizeof(E));
      } else {
        std::memcpy(static_cast<void*>(p + i), static_cast<const void*>(p + last), sizeof(E));
      }
      // The bits of the last slot now live one slot lower: reset it to the new-slot value.
      std::memset(static_cast<void*>(p + last), 0, sizeof(E));
    }
    cut_to(capacity);
    --count_;
  }
}

template <class E>
void ListStorage<E>::adopt(ArrayOf<E> array) {
  check_unlocked();
  if (array.count() == 0) array = ArrayOf<E>();  // no storage at all while the capacity is 0
  ArrayOf<E> released(std::move(slots_));
  slots_ = std::move(array);
  count_ = slots_.count();
}

template <class E>
ArrayOf<E> ListStorage<E>::to_array() const {
  if (count_ == 0) return ArrayOf<E>();
  const auto n = static_cast<std::size_t>(count_);
  void* block = allocate_memory(n * sizeof(E));
  if constexpr (std::is_trivially_copyable_v<E>) {
    std::memcpy(block, slots_.items().data(), n * sizeof(E));
  } else {
    try {
      std::uninitialized_copy_n(slots_.items().data(), n, static_cast<E*>(block));
    } catch (...) {
      free_memory(block);
      throw;
    }
  }
  return ArrayOf<E>(Array::adopt(ElementKind<E>::kind, 0, count_, block));
}

template <class E>
void ListStorage<E>::reserve(std::int32_t capacity) {
  if (capacity > this->capacity()) slots_.resize(capacity);
}

template class ListStorage<VariantBool>;
template class ListStorage<std::uint8_t>;
template class ListStorage<std::int16_t>;
template class ListStorage<std::int32_t>;
template class ListStorage<float>;
template class ListStorage<double>;
template class ListStorage<String>;
template class ListStorage<Ref<Unknown>>;
template class ListStorage<Variant>;

}  // namespace quorvel
