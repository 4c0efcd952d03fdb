// The Variant array list whose default member is its first value.
#pragma once

#include "quorvel/arraylists/array_list_core.h"

namespace quorvel {

/// A growable zero-based array of Variants whose default member (dispatch id 0) is `Default`,
/// the first value, so that a bare reference in a value context reads it; `Item` has an id of
/// its own (creatable as "Quorvel.ArrayList_Value"). Stores, finds and sorts as
/// `ArrayList_Variant`, except that `IArrayList.Sort(0, 0)` sorts the whole list.
///
/// Implements `IArrayList` and `IArrayList2` but not `IArrayReader`. Two choices made here:
/// - `ToString` (own and through `IArrayList2`) gives the same text form as every other list
///   rather than failing for want of `IArrayReader`: the text does not depend on how it is read.
/// - `SetArray` appends any zero-based array as `ArrayList_Variant.SetArray` does, rather than
///   accepting only a type code of 8192 that no array has (which would make it always raise).
class ArrayList_Value final : public ArrayListCore<ArrayList_Value, Variant> {
 public:
  static constexpr const char* type_name = "ArrayList_Value";
  static constexpr Guid clsid{"{48C22435-10FE-4A5C-BF58-018B9F8540E7}"};
  static constexpr Guid iid{"{AB665EE9-A9CD-4874-B3A7-950C893AAFE5}"};  // its own interface
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }
  static constexpr ListFlavor kFlavor{.item_is_default = false, .readable = false};

  /// `Item(0)`: an object by reference, any other value copied. Raises 0x80040001 (no message)
  /// on an empty list.
  Variant get_Default();
};

}  // namespace quorvel
