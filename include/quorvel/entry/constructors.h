// The factory object: new, filled objects from plain arguments.
#pragma once

#include <span>

#include "quorvel/arraylists/array_list_boolean.h"
#include "quorvel/arraylists/array_list_byte.h"
#include "quorvel/arraylists/array_list_double.h"
#include "quorvel/arraylists/array_list_integer.h"
#include "quorvel/arraylists/array_list_long.h"
#include "quorvel/arraylists/array_list_object.h"
#include "quorvel/arraylists/array_list_single.h"
#include "quorvel/arraylists/array_list_string.h"
#include "quorvel/arraylists/array_list_value.h"
#include "quorvel/arraylists/array_list_variant.h"
#include "quorvel/arraylists/locked_array_list.h"
#include "quorvel/containers/box_variant.h"
#include "quorvel/platform/class_info.h"
#include "quorvel/platform/record_type.h"
#include "quorvel/text/const_string_container.h"
#include "quorvel/text/dictionary_reader.h"
#include "quorvel/text/key_value_string.h"
#include "quorvel/text/lcid.h"

namespace quorvel {

/// The factories (not creatable; the library hands out the instance). Stateless: every call
/// makes a new object that the caller owns.
///
/// The list factories take a variable argument list: late-bound, each argument is one value; in
/// C++ the caller passes the values as contiguous Variants (an array, a vector).
class Constructors final : public ObjectImpl<> {
 public:
  static constexpr const char* type_name = "Constructors";
  static constexpr Guid clsid{"{A17C04BC-1B5E-45F3-B1FE-8A91A3B1F956}"};
  static constexpr Guid iid{"{A65FADEF-3D6E-43B5-8A08-0050932494C1}"};  // its own interface
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }

  /// A new read-only dictionary read from its text form `Data` (the text form's errors pass). Raises 7.
  Ref<IDictionaryReader> ParseConstDictionary(const String& Data);
  /// A new read-only dictionary of the records of `KeyValues`, lower to upper bound, keys compared
  /// in `CompareMode`; raises 457 for a repeated key and makes none. O(n).
  Ref<IDictionaryReader> new_ConstDictionary(RecordArray<KeyValueString>& KeyValues, std::int32_t CompareMode = 0);
  /// A new read-only dictionary whose keys are the elements of the array in `Keys` (their string
  /// form), each with an empty value; raises 13 when `Keys` holds no array, 457 for a repeated key.
  Ref<IDictionaryReader> new_ConstDictionaryEx(Variant& Keys, std::int32_t CompareMode = 0);
  /// A new fixed string holder with a copy of `Value` (left unchanged). Raises 7.
  Ref<ConstStringContainer> new_ConstStringContainer(String& Value);
  /// A new box holding `Value` (an object by reference, anything else as a copy). Raises 7.
  Ref<Box_Variant> new_Box_Variant(const Variant& Value);
  /// A new locale id object holding `LCID` converted to Long; raises 6, 13 or 94 and makes none.
  Ref<LCID> NewLCID(const Variant& LCID);

  // A list of Values.count() items in call order, with GrowLength and capacity exactly that
  // count; with no values, a new list with the defaults. Each value is converted as a late-bound
  // AddItem converts it (6, 13, 94 raised and no list returned; the Object list takes only
  // object references, Nothing included, else 13; the Variant and Value lists keep objects by
  // reference). O(n).
  Ref<ArrayList_Boolean> new_ArrayList_Boolean(std::span<const Variant> Values);
  Ref<ArrayList_Byte> new_ArrayList_Byte(std::span<const Variant> Values);
  Ref<ArrayList_Double> new_ArrayList_Double(std::span<const Variant> Values);
  Ref<ArrayList_Integer> new_ArrayList_Integer(std::span<const Variant> Values);
  Ref<ArrayList_Long> new_ArrayList_Long(std::span<const Variant> Values);
  Ref<ArrayList_Object> new_ArrayList_Object(std::span<const Variant> Values);
  Ref<ArrayList_Single> new_ArrayList_Single(std::span<const Variant> Values);
  Ref<ArrayList_String> new_ArrayList_String(std::span<const Variant> Values);
  Ref<ArrayList_Variant> new_ArrayList_Variant(std::span<const Variant> Values);
  Ref<ArrayList_Value> new_ArrayList_Value(std::span<const Variant> Values);

  // A locked list filled once: a first value holding a list (`IArrayList`) or a reader
  // (`IArrayReader`) is copied and the other values ignored; otherwise all the values are the
  // elements (`FromArray`). With no values the list stays uninitialised. Errors of the filling
  // pass and no list is returned.
  Ref<LockedArrayList_Boolean> new_LockedArrayList_Boolean(std::span<const Variant> Values);
  Ref<LockedArrayList_Byte> new_LockedArrayList_Byte(std::span<const Variant> Values);
  Ref<LockedArrayList_Double> new_LockedArrayList_Double(std::span<const Variant> Values);
  Ref<LockedArrayList_Integer> new_LockedArrayList_Integer(std::span<const Variant> Values);
  Ref<LockedArrayList_Long> new_LockedArrayList_Long(std::span<const Variant> Values);
  Ref<LockedArrayList_Single> new_LockedArrayList_Single(std::span<const Variant> Values);
  Ref<LockedArrayList_String> new_LockedArrayList_String(std::span<const Variant> Values);
};

/// Library-internal: a new factory object. Raises 7.
Ref<Constructors> new_constructors();

}  // namespace quorvel
