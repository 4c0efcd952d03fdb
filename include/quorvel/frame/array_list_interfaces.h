// The untyped views of the array lists: `IArrayList` (read and write), `IArrayReader` (read only)
// and `IArrayList2` (text form), and the formatter contract `IFormatter` that the text form uses.
#pragma once

#include <cstdint>

#include "quorvel/frame/comparer_interfaces.h"
#include "quorvel/platform/class_info.h"
#include "quorvel/platform/interface_list.h"
#include "quorvel/platform/variant.h"

namespace quorvel {

class IArrayList;

#define QUORVEL_IFORMATTER_MEMBERS(X) X(method, Variant, Format, 1, (const Variant& Value), (Value), ("Value"))

/// Gives the text form of one element: the string form of its result replaces the element.
class IFormatter : public Unknown {
 public:
  static constexpr const char* type_name = "IFormatter";
  static constexpr Guid iid{"{5B0C2E11-8E6A-4C1D-A3F2-1D2C3B4A0201}"};
  static const InterfaceInfo& interface_info();
  static Ref<IFormatter> late_bound(Ref<Unknown> object);

  QUORVEL_DECLARE_MEMBERS(QUORVEL_IFORMATTER_MEMBERS)
};

// `Sort`'s (0, 0), also when omitted, means the whole list in most lists.
#define QUORVEL_IARRAYLIST_MEMBERS(X)                                                                \
  X(method, void, SetArray, 1, (const Variant& Value), (Value), ("Value"))                           \
  X(method, Variant, GetArray, 2, (), (), ())                                                        \
  X(method, Ref<IArrayList>, Copy, 3, (const Variant& m, const Variant& n), (m, n), (opt("m"), opt("n"))) \
  X(let, void, ShrinkFactor, 4, (float Value), (Value), ("Value"))                                   \
  X(get, float, ShrinkFactor, 4, (), (), ())                                                         \
  X(get, std::int32_t, LowerBound, 5, (), (), ())                                                    \
  X(get, std::int32_t, UpperBound, 6, (), (), ())                                                    \
  X(let, void, GrowLength, 7, (std::int32_t Value), (Value), ("Value"))                              \
  X(get, std::int32_t, GrowLength, 7, (), (), ())                                                    \
  X(method, void, Shrink, 8, (std::int32_t DestroyCache), (DestroyCache), ("DestroyCache"))          \
  X(method, void, EraseArray, 9, (), (), ())                                                         \
  X(method, void, SetCount, 10, (std::int32_t Count, bool PreserveValues), (Count, PreserveValues),  \
    ("Count", "PreserveValues"))                                                                     \
  X(get, std::int32_t, Count, 11, (), (), ())                                                        \
  X(method, void, AddItem, 12, (const Variant& Value), (Value), ("Value"))                           \
  X(method, void, RemoveItem, 13, (std::int32_t Index, bool KeepSequence), (Index, KeepSequence),    \
    ("Index", "KeepSequence"))                                                                       \
  X(let, void, Item, 0, (std::int32_t Index, const Variant& Value), (Index, Value), ("Index", "Value")) \
  X(get, Variant, Item, 0, (std::int32_t Index), (Index), ("Index"))                                 \
  X(method, bool, Find, 14, (const Variant& Value, std::int32_t& retIndex), (Value, retIndex),       \
    ("Value", "retIndex"))                                                                           \
  X(get, std::int32_t, VarType, 15, (), (), ())                                                      \
  X(method, Ref<IArrayList>, CreateNew, 16, (), (), ())                                              \
  X(method, void, Sort, 17, (std::int32_t m, std::int32_t n, Ref<IComparer> Comparer), (m, n, Comparer), \
    (opt("m"), opt("n"), opt("Comparer")))                                                           \
  X(set, void, Item, 0, (std::int32_t Index, const Variant& Value), (Index, Value), ("Index", "Value"))

/// Any array list, whatever its element kind: elements travel as Variants and are converted to
/// the list's kind on the way in. Index range 0 to Count - 1.
class IArrayList : public Unknown {
 public:
  static constexpr const char* type_name = "IArrayList";
  static constexpr Guid iid{"{5B0C2E11-8E6A-4C1D-A3F2-1D2C3B4A0202}"};
  static const InterfaceInfo& interface_info();
  /// An object that has every member of this interface by name, served through an adapter that
  /// calls them late-bound; Nothing for any other object.
  static Ref<IArrayList> late_bound(Ref<Unknown> object);

  QUORVEL_DECLARE_MEMBERS(QUORVEL_IARRAYLIST_MEMBERS)
};

#define QUORVEL_IARRAYREADER_MEMBERS(X)                                                              \
  X(method, Variant, GetArray, 1, (), (), ())                                                        \
  X(method, Ref<IArrayList>, Copy, 2, (const Variant& m, const Variant& n), (m, n), (opt("m"), opt("n"))) \
  X(get, std::int32_t, LowerBound, 3, (), (), ())                                                    \
  X(get, std::int32_t, UpperBound, 4, (), (), ())                                                    \
  X(get, std::int32_t, Count, 5, (), (), ())                                                         \
  X(get, Variant, Item, 0, (std::int32_t Index), (Index), ("Index"))                                 \
  X(method, bool, Find, 6, (const Variant& Value, std::int32_t& retIndex), (Value, retIndex),        \
    ("Value", "retIndex"))                                                                           \
  X(get, std::int32_t, VarType, 7, (), (), ())

/// The reading members of any list, also of the locked (read-only) lists.
class IArrayReader : public Unknown {
 public:
  static constexpr const char* type_name = "IArrayReader";
  static constexpr Guid iid{"{5B0C2E11-8E6A-4C1D-A3F2-1D2C3B4A0203}"};
  static const InterfaceInfo& interface_info();

  QUORVEL_DECLARE_MEMBERS(QUORVEL_IARRAYREADER_MEMBERS)
};

#define QUORVEL_IARRAYLIST2_MEMBERS(X) \
  X(method, String, ToString, 1, (Ref<IFormatter>& StringFormatter), (StringFormatter), (opt("StringFormatter")))

/// The text form of a list: elements separated by blanks, quoted when blank or containing one.
class IArrayList2 : public Unknown {
 public:
  static constexpr const char* type_name = "IArrayList2";
  static constexpr Guid iid{"{5B0C2E11-8E6A-4C1D-A3F2-1D2C3B4A0204}"};
  static const InterfaceInfo& interface_info();

  QUORVEL_DECLARE_MEMBERS(QUORVEL_IARRAYLIST2_MEMBERS)
};

}  // namespace quorvel
