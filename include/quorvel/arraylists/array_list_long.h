// The array list of Longs (signed 32-bit), with two members of its own: counting down the
// elements above a value, and moving a block of elements.
#pragma once

#include <cstdint>

#include "quorvel/arraylists/array_list_core.h"

namespace quorvel {

/// A growable zero-based array of Longs (creatable as "Quorvel.ArrayList_Long").
/// Shared members: `ArrayListCore`; views: `IArrayList`, `IArrayReader`, `IArrayList2`.
class ArrayList_Long final : public ArrayListCore<ArrayList_Long, std::int32_t> {
 public:
  static constexpr const char* type_name = "ArrayList_Long";
  static constexpr Guid clsid{"{C5E7EB59-47A2-42E1-A321-43D8AEE053A0}"};
  static constexpr Guid iid{"{67953B67-91F9-49A0-8BDB-936510702ED3}"};  // its own interface
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }

  /// Decreases by one (not increases) every element of [m, n] (omitted: the whole list) that is
  /// greater than `AboveValue`, and returns how many changed. m > n changes nothing and gives 0;
  /// otherwise a range reaching outside 0 to Count - 1 raises 9 (no message) before any change.
  /// `m` and `n` are read, never written back.
  std::int32_t IncrementAbove(std::int32_t AboveValue, Variant& m = omitted<Variant>(), Variant& n = omitted<Variant>());
  /// Moves the `Count` elements from `Start` by `DirectionVector` places (negative: towards 0)
  /// as one overlapping-safe block move; the vacated places keep their values. Raises 9 (no
  /// message) unless Count >= 0 and Start, Start + Count - 1 and both ends of the target lie
  /// within 0 to Count - 1 of the list (so a zero-length move needs Start >= 1).
  void Move(std::int32_t Start, std::int32_t Count, std::int32_t DirectionVector);
};

}  // namespace quorvel
