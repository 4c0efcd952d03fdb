// Typed one-dimensional arrays with their own lower bound, or unallocated: the array values that
// cross the automation boundary and the storage of the array lists.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "quorvel/platform/memory.h"
#include "quorvel/platform/object.h"
#include "quorvel/platform/record.h"
#include "quorvel/platform/string.h"
#include "quorvel/platform/var_kind.h"

namespace quorvel {

class Variant;

/// The C++ element type of each array element kind.
template <class E>
struct ElementKind;
template <> struct ElementKind<VariantBool> { static constexpr VarKind kind = VarKind::Boolean; };
template <> struct ElementKind<std::uint8_t> { static constexpr VarKind kind = VarKind::Byte; };
template <> struct ElementKind<std::int16_t> { static constexpr VarKind kind = VarKind::Integer; };
template <> struct ElementKind<std::int32_t> { static constexpr VarKind kind = VarKind::Long; };
template <> struct ElementKind<float> { static constexpr VarKind kind = VarKind::Single; };
template <> struct ElementKind<double> { static constexpr VarKind kind = VarKind::Double; };
template <> struct ElementKind<String> { static constexpr VarKind kind = VarKind::String; };
template <> struct ElementKind<Ref<Unknown>> { static constexpr VarKind kind = VarKind::Object; };
template <> struct ElementKind<Variant> { static constexpr VarKind kind = VarKind::Variant; };
template <> struct ElementKind<Record> { static constexpr VarKind kind = VarKind::Record; };

/// Bytes per element of an array of `kind` (strings, objects and records are one pointer,
/// Variants 16).
std::size_t element_width(VarKind kind) noexcept;
/// True for the kinds an array can be made of from the kind alone (every element kind but records).
bool is_element_kind(VarKind kind) noexcept;

/// A one-dimensional array of one element kind: lower bound, count, or unallocated.
///
/// A value type: copying copies the elements (strings shared, objects counted, Variants deep).
/// Reading a bound of an unallocated array raises error 9. While `lock()`ed (as during a
/// comparer call inside a sort) resizing raises error 10.
class Array {
 public:
  /// An unallocated array of `element` kind.
  explicit Array(VarKind element = VarKind::Variant) noexcept : kind_(element) {}
  /// An unallocated array of records of type `record`.
  explicit Array(const RecordInfo& record) noexcept : kind_(VarKind::Record), record_(&record) {}
  /// An allocated array of `count` records of type `record`, each with its fields at their defaults.
  Array(const RecordInfo& record, std::int32_t lower, std::int32_t count);
  /// An allocated array with bounds `lower` to `lower + count - 1`, every element at its default
  /// (0, False, the empty string, Nothing, Empty). Raises 5 for a negative count, 6 when the upper
  /// bound leaves the 32-bit range.
  Array(VarKind element, std::int32_t lower, std::int32_t count);
  Array(const Array& other);
  Array(Array&& other) noexcept;
  Array& operator=(const Array& other);
  Array& operator=(Array&& other) noexcept;
  ~Array();

  // A Variant boxes its array on the heap: from the library's allocator, which raises 7.
  static void* operator new(std::size_t size) { return allocate_memory(size); }
  static void operator delete(void* block) noexcept { free_memory(block); }

  VarKind element_kind() const noexcept { return kind_; }
  /// The record type of an array of records; null for every other element kind.
  const RecordInfo* record_info() const noexcept { return record_; }
  bool allocated() const noexcept { return allocated_; }
  /// Lower bound; raises 9 when unallocated.
  std::int32_t lower_bound() const;
  /// Upper bound (lower + count - 1); raises 9 when unallocated.
  std::int32_t upper_bound() const;
  /// Number of elements; 0 when unallocated.
  std::int32_t count() const noexcept { return count_; }

  /// The element at `index` (array index space) as a Variant; raises 9 outside the bounds.
  Variant get(std::int32_t index) const;
  /// Stores `value` converted to the element kind at `index`; raises 9 outside, 6/13/94 on conversion.
  void put(std::int32_t index, const Variant& value);

  /// Typed view of the elements; `E` must be the element kind's C++ type.
  template <class E>
  std::span<E> elements() noexcept {
    return {static_cast<E*>(data_), static_cast<std::size_t>(count_)};
  }
  template <class E>
  std::span<const E> elements() const noexcept {
    return {static_cast<const E*>(data_), static_cast<std::size_t>(count_)};
  }
  void* data() noexcept { return data_; }
  const void* data() const noexcept { return data_; }

  /// Releases the elements: the array becomes unallocated. Raises 10 while locked.
  void erase();
  /// Changes the element count keeping the lower bound (an unallocated array gets lower bound 0);
  /// kept elements stay, new ones take their default. Raises 10 while locked, 7 when growing
  /// without memory (nothing changed); shrinking cannot run out of memory.
  void resize(std::int32_t count);

  void lock() noexcept { ++locks_; }
  void unlock() noexcept { --locks_; }
  bool locked() const noexcept { return locks_ > 0; }

  /// Adopts a block of `count` elements from `allocate_memory` (used by the lists to hand
  /// out their storage without copying it twice).
  static Array adopt(VarKind element, std::int32_t lower, std::int32_t count, void* malloc_block) noexcept;

 private:
  void check_unlocked() const;
  void destroy_elements() noexcept;

  VarKind kind_;
  const RecordInfo* record_ = nullptr;
  bool allocated_ = false;
  std::int32_t lower_ = 0;
  std::int32_t count_ = 0;
  std::int32_t locks_ = 0;
  void* data_ = nullptr;
};

/// An array whose element kind is fixed by the C++ type `E`: the declared form of typed array
/// parameters and results (`ArrayOf<std::int32_t>` is an array of Long).
template <class E>
class ArrayOf : public Array {
 public:
  using element_type = E;
  ArrayOf() noexcept : Array(ElementKind<E>::kind) {}
  ArrayOf(std::int32_t lower, std::int32_t count) : Array(ElementKind<E>::kind, lower, count) {}
  /// Wraps `array`; the caller has checked that its element kind is `E`'s.
  explicit ArrayOf(Array array) noexcept : Array(std::move(array)) {}
  std::span<E> items() noexcept { return elements<E>(); }
  std::span<const E> items() const noexcept { return elements<E>(); }
  E& at(std::int32_t index) { return items()[checked(index)]; }
  const E& at(std::int32_t index) const { return items()[checked(index)]; }

 private:
  std::size_t checked(std::int32_t index) const;
};

[[noreturn]] void raise_subscript_error();

template <class E>
std::size_t ArrayOf<E>::checked(std::int32_t index) const {
  if (!allocated()) raise_subscript_error();
  const std::int64_t offset = static_cast<std::int64_t>(index) - lower_bound();
  if (offset < 0 || offset >= count()) raise_subscript_error();
  return static_cast<std::size_t>(offset);
}

}  // namespace quorvel
