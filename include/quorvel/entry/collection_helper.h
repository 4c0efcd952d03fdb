// Guarded operations over the keyed collection and its delimited text form.
#pragma once

#include <cstdint>

#include "quorvel/frame/array_list_interfaces.h"
#include "quorvel/platform/class_info.h"
#include "quorvel/platform/collection.h"
#include "quorvel/platform/variant.h"

namespace quorvel {

/// Helpers over `Collection` (not creatable; the library hands out its instance). Stateless.
class CollectionHelper final : public ObjectImpl<> {
 public:
  static constexpr const char* type_name = "CollectionHelper";
  static constexpr Guid clsid{"{F2A4224E-6873-470A-BEE0-DE5F882DE360}"};
  static constexpr Guid iid{"{881CEE9C-D57E-456B-9F68-574F789D378B}"};  // its own interface
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }

  // The four guarded operations never raise: any failure of their one collection call (Nothing
  // as the collection included) is False, and leaves the collection and `Found` as they were.

  /// Removes the item at `Index` (a position or a key). O(min(p, n - p)).
  bool TryRemove(Ref<Collection> items, Variant& Index) noexcept;
  /// Adds `Item` at the end under `Key` (missing: no key).
  bool TryAdd(Ref<Collection> items, Variant& Item, const Variant& Key = Variant::missing()) noexcept;
  /// Copies the item at `Index` into `Found` (an object item as the same reference).
  bool HasItem(Ref<Collection> items, Variant& Index, Variant& Found) noexcept;
  /// Sets `Found` to the item at `Index` when that item is an object reference (Nothing included).
  bool HasItemObj(Ref<Collection> items, Variant& Index, Ref<Unknown>& Found) noexcept;

  /// A new collection holding the elements of `Values` in order, without keys; an unallocated
  /// array gives an empty collection. Raises 7. O(n).
  Ref<Collection> CollectionBy(ArrayOf<Variant>& Values);

  /// The items as delimited text. Given `m` or `n`, the positions m (omitted: 1) to n (omitted:
  /// Count), and an item containing the delimiter is quoted; otherwise every item, and an item
  /// containing a blank is quoted. A quoted item loses its own double quotes; an empty item is
  /// written as two double quotes. `Formatter` (not Nothing) replaces each item first, one call
  /// per item in order. Leading and trailing delimiter runs are then removed: all blanks for the
  /// default delimiter (one blank), all of any other one-character delimiter, one occurrence of a
  /// longer one (more where it overlaps itself).
  /// Raises 5 for an empty delimiter, the collection's 9 for a position outside it (m > n gives
  /// ""), 91 for Nothing, and what conversions and the formatter raise. O(total text).
  String ToString(Ref<Collection> items, Variant& m = omitted<Variant>(), Variant& n = omitted<Variant>(),
                  Ref<IFormatter>& Formatter = omitted<Ref<IFormatter>>(),
                  Variant& delimiter = omitted<Variant>());
};

/// Library-internal (callers reach the instance through the application object): a new helper.
/// Raises 7.
Ref<CollectionHelper> new_collection_helper();

}  // namespace quorvel
