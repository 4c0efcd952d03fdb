// The one sorting engine: an in-place quicksort over an index range of a typed array, or of any
// list through `IArrayList`. A fresh engine serves one sort; it is not published to callers.
#pragma once

#include <cstdint>

#include "quorvel/frame/array_list_interfaces.h"
#include "quorvel/frame/comparer_interfaces.h"
#include "quorvel/platform/array.h"
#include "quorvel/platform/class_info.h"

namespace quorvel {

/// Sorts [m, n] (indexes of the array itself) in place. Without a comparer each kind uses its own
/// order; with one, only the sign of `Compare(element, pivot)` counts, element first. The order of
/// comparer calls is that of the classic recursive algorithm (left part before right part),
/// while pending ranges live on the engine's own stack, so no input can overflow the thread's.
/// Errors raised by a comparer end the sort; every element is still present exactly once.
///
/// The array entry points check that [m, n] lies within the array (else 9, nothing touched) and
/// return at once when m > n. The array stays locked against resizing for the whole sort (a
/// resize from a callback raises 10). Without a comparer, the kinds whose equal elements are
/// indistinguishable (Boolean, Byte, Integer, Long, String; Single and Double without NaN or -0)
/// take a radix sort with the same result; it needs scratch memory of about the range's size
/// (strings: 40 bytes per element), and sorts in place when that memory cannot be had.
/// Cost: O(n log n) comparisons on average; the comparer sees one Variant per argument, built
/// without allocating (a String shares its buffer).
class QuickSort final : public ObjectImpl<> {
 public:
  static constexpr const char* type_name = "QuickSort";
  static constexpr Guid clsid{"{5B0C2E11-8E6A-4C1D-A3F2-1D2C3B4A0301}"};
  static constexpr Guid iid{"{78B99204-3B56-4024-B7A2-4BDC9C00DD9E}"};  // its own interface
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }

  void SortBooleans(ArrayOf<VariantBool>& Arr, std::int32_t m, std::int32_t n, IComparer* Comparer);
  void SortBytes(ArrayOf<std::uint8_t>& Arr, std::int32_t m, std::int32_t n, IComparer* Comparer);
  void SortDoubles(ArrayOf<double>& Arr, std::int32_t m, std::int32_t n, IComparer* Comparer);
  void SortIntegers(ArrayOf<std::int16_t>& Arr, std::int32_t m, std::int32_t n, IComparer* Comparer);
  void SortLongs(ArrayOf<std::int32_t>& Arr, std::int32_t m, std::int32_t n, IComparer* Comparer);
  /// Raises 0x80040001 (no message, the engine as sender) without a comparer.
  void SortObjects(ArrayOf<Ref<Unknown>>& Arr, std::int32_t m, std::int32_t n, IComparer* Comparer);
  void SortSingles(ArrayOf<float>& Arr, std::int32_t m, std::int32_t n, IComparer* Comparer);
  void SortStrings(ArrayOf<String>& Arr, std::int32_t m, std::int32_t n, IComparer* Comparer);
  /// Locks the array against resizing while a comparer runs (a resize then raises 10).
  void SortVariants(ArrayOf<Variant>& Arr, std::int32_t m, std::int32_t n, IComparer* Comparer);
  /// Reads and writes through the list's `Item`; its index check guards the range.
  void SortList(IArrayList& List, std::int32_t m, std::int32_t n, IComparer* Comparer);

 private:
  void SetComparer(IComparer* Comparer) noexcept;
  void ClearComparer() noexcept;

  // Held for the one sort: a comparer or list released by a callback stays alive until the end.
  Ref<IArrayList> list_;
  Ref<IComparer> comparer_;
};

}  // namespace quorvel
