// The array list of Variants, with two searches of its own: by a field of each element, and
// from a start index with an optional comparer.
#pragma once

#include <cstdint>

#include "quorvel/arraylists/array_list_core.h"

namespace quorvel {

/// A growable zero-based array of Variants (creatable as "Quorvel.ArrayList_Variant").
///
/// Values are stored unchanged: an object reference (Nothing included) by reference, anything
/// else as a deep copy. `Item` has get, let (an object gives its default value) and set. `Find`
/// uses the runtime's text-mode Variant equality (Null equals nothing). `Sort` needs a comparer,
/// and `IArrayList.Sort(0, 0)` sorts the one-item range [0, 0], not the whole list. `SetArray`
/// appends the elements of any zero-based array (0x80040001 for a non-array or another lower
/// bound, 9 for an unallocated array). Shared members: `ArrayListCore`; views: `IArrayList`,
/// `IArrayReader`, `IArrayList2`.
class ArrayList_Variant final : public ArrayListCore<ArrayList_Variant, Variant> {
 public:
  static constexpr const char* type_name = "ArrayList_Variant";
  static constexpr Guid clsid{"{3016A174-6A19-47D2-B451-E2DA0BA136FC}"};
  static constexpr Guid iid{"{4A7A2D04-4E26-4664-9995-7D4C12ABCF15}"};  // its own interface
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }
  static constexpr ListFlavor kFlavor{.zero_zero_is_whole_list = false};

  /// The first element whose `Field` equals `Value` in text mode: True (a Boolean) with its index
  /// in `retIndex`, or Empty (not False) with `retIndex` untouched.
  ///
  /// When the type code of `Field` has the bit 8 set (String, Object, Boolean, Variant, arrays,
  /// ...), each element is an object whose property named by the text of `Field` is read
  /// late-bound (424 for a non-object, 91 for Nothing, 438 without that member). Otherwise each
  /// element is indexed by `Field`: an array element gives its element at that index (9 outside),
  /// an object element its default member called with `Field` (438 without one), anything else
  /// raises 13. Every error ends the scan. All items are scanned, whatever their number.
  Variant FindEx(const Variant& Value, const Variant& Field, std::int32_t& retIndex);
  /// Scans from `StartIndex` (omitted: 0) to the end: an element matches when
  /// `Comparer.Compare(element, Value)` is 0, or without a comparer when it equals `Value` in text
  /// mode. True with the index in `retIx`, else false with `retIx` untouched. A `StartIndex`
  /// below 0 raises 9 (no message) rather than reading outside the list; `StartIndex` is never
  /// written back. Errors of the comparer end the scan.
  bool FindFirst(const Variant& Value, Variant& StartIndex = omitted<Variant>(), Ref<IComparer> Comparer = nullptr,
                 std::int32_t& retIx = omitted<std::int32_t>());
};

}  // namespace quorvel
