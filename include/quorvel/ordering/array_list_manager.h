// The algorithms over any list: sorting a range, bisection search in a monotonic sequence,
// the monotonicity check and the collapse of equal adjacent elements.
#pragma once

#include <cstdint>

#include "quorvel/frame/array_list_interfaces.h"
#include "quorvel/frame/comparer_interfaces.h"
#include "quorvel/platform/class_info.h"
#include "quorvel/platform/variant.h"

namespace quorvel {

/// Stateless algorithms on any `IArrayList` (creatable as "Quorvel.ArrayList_Manager"): the
/// library's lists, copies of locked lists and a caller's own implementation alike. Every element
/// is read through `Item`, in the order a caller's list and comparer can observe; on a library
/// list ordered without a comparer, by `DefaultComparer` or by `BinaryModeComparer` nothing
/// observable depends on the route, so the elements are then read in place.
/// Errors of the list and of the comparer are not caught: they end the call. A Nothing list
/// raises 91 where it is first used, unless a member says otherwise.
class ArrayList_Manager final : public ObjectImpl<> {
 public:
  static constexpr const char* type_name = "ArrayList_Manager";
  static constexpr Guid clsid{"{D80B0057-58F0-41E4-972D-AB0A53C34B33}"};
  static constexpr Guid iid{"{98EBE8E1-560B-4EBC-B810-A4702823DFEF}"};  // its own interface
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }

  /// Sorts items m to n in place through the sort engine's list entry (reads and writes by
  /// `Item`), in the default order without a comparer. The engine reads the middle item first,
  /// so an empty range over an empty list raises the list's index error.
  void QuickSort(Ref<IArrayList> ArrayList, std::int32_t m, std::int32_t n, Ref<IComparer> Comparer = nullptr);

  /// Bisection for `Value` in the monotonic range m to n (omitted: `LowerBound` and `UpperBound`,
  /// written back as Longs). Direction by sign of `MonotonityDirection` (1 ascending). The
  /// midpoint is rounded half to even. `retIndex` is the match, else the last index compared, 0
  /// when nothing was compared. Raises 0x80040001 (no message) for direction 0; conversion errors
  /// of m and n; no range check (the list's own index error passes). Cost: O(log(n - m)) reads.
  bool LogarithmicSearch(Ref<IArrayList> ArrayList, const Variant& Value, std::int32_t& retIndex,
                         std::int16_t MonotonityDirection, Ref<IComparer> Comparer = nullptr,
                         Variant& m = omitted<Variant>(), Variant& n = omitted<Variant>());

  /// Whether the list is monotonic: `retDirection` 1 ascending, -1 descending, 0 constant (and 0
  /// when not monotonic), `retStrict` when no two neighbours are equal; the first unequal pair
  /// fixes the direction. Fewer than two items: True, 0, True. Raises 0x80040001 (no message)
  /// for a Nothing list. Cost: Count - 1 comparisons.
  bool CheckMonotonity(Ref<IArrayList> ArrayList, std::int16_t& retDirection, bool& retStrict = omitted<bool>(),
                       Ref<IComparer> Comparer = nullptr);

  /// Collapses each run of adjacent equal items to its first: by identity in an object list
  /// (`VarType` 9), by the Variant relation = in binary mode otherwise (Null raises 94). In place
  /// (`RemoveItem` with the sequence kept; the list itself is returned, removals made before an
  /// error stay) or into a new list from `CreateNew`.
  Ref<IArrayList> Reducate(Ref<IArrayList> ArrayList, bool InPlace);

  /// `LogarithmicSearch` with a key comparer: `Compare(item, Value)`, so items and key may be of
  /// different kinds. Raises 0x80040001 (no message) for a Nothing comparer, before the direction.
  bool LogarithmicSearchEx(Ref<IArrayList> ArrayList, const Variant& Value, std::int32_t& retIndex,
                           std::int16_t MonotonityDirection, Ref<IFindComparer> Comparer,
                           Variant& m = omitted<Variant>(), Variant& n = omitted<Variant>());

 private:
  Unknown* sender() noexcept { return as_unknown(static_cast<Object*>(this)); }
};

}  // namespace quorvel
