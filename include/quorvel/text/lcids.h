// A keyed set of locale id objects, each present once under the text key of its id.
#pragma once

#include <cstdint>

#include "quorvel/platform/class_info.h"
#include "quorvel/platform/collection.h"
#include "quorvel/text/lcid.h"

namespace quorvel {

/// `LCID` objects in the order added, keyed by "1033#" (creatable as "Quorvel.LCIDs"). An
/// `Index` is a 1-based position or a key text, as `Collection` takes it. `Item` is the default
/// member.
class LCIDs final : public ObjectImpl<> {
 public:
  static constexpr const char* type_name = "LCIDs";
  static constexpr Guid clsid{"{B0F932EC-41C2-47E7-9006-9FCA9E8985CD}"};
  static constexpr Guid iid{"{CA5E042F-B512-49E2-BEA3-9D45C7BB5A67}"};  // its own interface
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }

  LCIDs();

  /// `LCID` as a string, trimmed of blanks, followed by "#": 1033 gives "1033#". No check that
  /// it is a locale id. Raises the conversion's error (an object without a default value: 438).
  String GetKey(const Variant& LCID);
  /// Adds the conversion of `LCID` (an `LCID` object as itself, a value as a new object) under
  /// the key of the argument itself. Raises 457 for a key already present, 13 for another
  /// object, 91 for Nothing, and the conversion's errors; nothing is added then. O(1).
  void Add(const Variant& LCID);
  /// Removes the item at `Index`; raises the collection's 9 or 5 for a missing one.
  void Remove(Variant& Index);
  /// The item at `Index`, or Nothing when there is none (never raises).
  Ref<LCID> Item(Variant& Index) noexcept;
  /// False on an empty set; otherwise whether `Item(Index)` is an object.
  bool Exists(Variant& Index) noexcept;
  std::int32_t get_Count() const noexcept { return items_->Count(); }
  /// Empties the set (the items are released after the set is already empty).
  void Clear();
  /// The items in order, as a new collection the caller may walk by position (there is no
  /// separate enumerator object on this platform). Raises 7. O(n).
  Ref<Collection> NewEnum();
  /// The ids in order at indexes 0 to Count - 1; unallocated when the set is empty. Raises 7.
  ArrayOf<std::int32_t> ToLongArray();

  /// C++ iteration over the items (Variants holding `LCID` objects).
  Collection::const_iterator begin() const noexcept { return items_->begin(); }
  Collection::const_iterator end() const noexcept { return items_->end(); }

 private:
  Ref<Collection> items_;
};

}  // namespace quorvel
