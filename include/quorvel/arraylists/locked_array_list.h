// The locked array lists: read-only typed arrays, one class per value kind, each a shell around a
// private array list of its kind. They are filled once through `IArrayInitializer` and from then
// on offer only the reading members; `IArrayReader` views the same members untyped.
#pragma once

#include <cstdint>

#include "quorvel/arraylists/array_list_boolean.h"
#include "quorvel/arraylists/array_list_byte.h"
#include "quorvel/arraylists/array_list_double.h"
#include "quorvel/arraylists/array_list_integer.h"
#include "quorvel/arraylists/array_list_long.h"
#include "quorvel/arraylists/array_list_single.h"
#include "quorvel/arraylists/array_list_string.h"
#include "quorvel/frame/array_initializer.h"
#include "quorvel/frame/one_shot.h"

namespace quorvel {

/// `IArrayReader` of a locked list: its own reading members, elements as Variants.
template <class Locked>
class LockedReaderView final : public ForwardingView<IArrayReader, Locked> {
 public:
  using ForwardingView<IArrayReader, Locked>::ForwardingView;
  QUORVEL_FORWARDING_MEMBERS(QUORVEL_IARRAYREADER_MEMBERS)
};

/// What the seven locked lists share; `Inner` is the array list class kept inside.
///
/// Initialisers: the first that returns normally locks the content; every later call raises
/// 0x80040003 "Object already initialized!" (the locked list as sender) and changes nothing. One
/// that raises leaves the list open, keeping what it added. A call that arrives while another
/// initialiser of the same list is running (from caller code it called) raises 0x80040003 with
/// no message. Nothing as the source raises 91.
/// Reading members forward to the inner list and do not look at the state: an uninitialised
/// locked list reads as an empty list.
template <class Derived, class Inner>
class LockedArrayList : public ObjectImpl<IArrayInitializer> {
 public:
  using Element = typename Inner::Element;
  using Result = typename Inner::Result;
  /// The automation type code of the element kind (a class constant, also before filling).
  static constexpr std::int32_t kVarType = static_cast<std::int32_t>(ElementKind<Element>::kind);

  LockedArrayList();
  ~LockedArrayList() override;

  /// The inner list's `SetArray` (its own kind at lower bound 0 taken over whole, any other array
  /// appended converted; a failed conversion there ends quietly with the list initialised and
  /// empty), then no spare capacity is kept. Errors of `SetArray` (0x80040001, 13) pass.
  void FromArray(Variant& Values) override;
  /// A list of the same `VarType` gives its `GetArray`; any other is read item by item from
  /// `LowerBound` to `UpperBound` (read once, after `VarType`), each converted to the kind.
  /// Conversion errors (6, 13, 94) and the source's own errors pass.
  void FromArrayList(Ref<IArrayList> ArrayList) override;
  /// As `FromArrayList`, except that the reader's bounds are read before its `VarType`.
  void FromArrayReader(Ref<IArrayReader> ArrayReader) override;

  /// A new, ordinary, changeable array list of the inner kind holding items m to n (omitted: all).
  /// Raises 0x80040001 as the inner list's `Copy` does.
  Ref<IArrayList> Copy(const Variant& m = Variant::missing(), const Variant& n = Variant::missing());
  std::int32_t get_Count();
  /// `Value` converted to the kind (6, 13, 94 pass), then the inner list's `Find` (numbers
  /// exactly, strings ignoring case).
  bool Find(const Variant& Value, std::int32_t& retIndex);
  /// A zero-based copy of the items; unallocated when empty.
  ArrayOf<Element> GetArray();
  /// Raises 0x80040001 (no message, the inner list as sender) outside 0 to Count - 1.
  Result get_Item(std::int32_t Index);
  std::int32_t get_LowerBound();
  std::int32_t get_UpperBound();
  std::int32_t get_VarType();

 protected:
  Unknown* find_view(const Guid& iid) noexcept override;

 private:
  class FillGuard;
  Unknown* sender() noexcept { return as_unknown(static_cast<Object*>(this)); }
  void begin_fill();
  template <class Source>
  void fill_from(Source& source, std::int32_t lower, std::int32_t upper);
  void finish();

  Ref<Inner> inner_;
  OneShot once_;
  bool filling_ = false;
  LockedReaderView<LockedArrayList> reader_view_;
};

/// A read-only array of Booleans (True -1, False 0); `VarType` 11.
class LockedArrayList_Boolean final : public LockedArrayList<LockedArrayList_Boolean, ArrayList_Boolean> {
 public:
  static constexpr const char* type_name = "LockedArrayList_Boolean";
  static constexpr Guid clsid{"{ABF48F4B-4A75-484A-A8B3-BB744F412FED}"};
  static constexpr Guid iid{"{199ABF85-C07F-4E4E-97B1-09689906FDD7}"};  // its own interface
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }
};

/// A read-only array of Bytes; `VarType` 17.
class LockedArrayList_Byte final : public LockedArrayList<LockedArrayList_Byte, ArrayList_Byte> {
 public:
  static constexpr const char* type_name = "LockedArrayList_Byte";
  static constexpr Guid clsid{"{C5747710-CA1D-469F-BE3B-145087C7B5EF}"};
  static constexpr Guid iid{"{0173AF4F-0ADE-4331-A4FF-F0533FDB402C}"};  // its own interface
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }
};

/// A read-only array of Doubles; `VarType` 5.
class LockedArrayList_Double final : public LockedArrayList<LockedArrayList_Double, ArrayList_Double> {
 public:
  static constexpr const char* type_name = "LockedArrayList_Double";
  static constexpr Guid clsid{"{85941E00-6FAC-45AC-A761-BDA1809F6D72}"};
  static constexpr Guid iid{"{107EE5D1-DBB7-44CF-AAEF-9CAAE44DA920}"};  // its own interface
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }
};

/// A read-only array of Integers (signed 16-bit); `VarType` 2.
class LockedArrayList_Integer final : public LockedArrayList<LockedArrayList_Integer, ArrayList_Integer> {
 public:
  static constexpr const char* type_name = "LockedArrayList_Integer";
  static constexpr Guid clsid{"{7D37F014-45AB-46F5-8223-5AD0DDC9C4CE}"};
  static constexpr Guid iid{"{93036D00-9CEF-4CF1-8F4B-E45F1327E21C}"};  // its own interface
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }
};

/// A read-only array of Longs (signed 32-bit); `VarType` 3.
class LockedArrayList_Long final : public LockedArrayList<LockedArrayList_Long, ArrayList_Long> {
 public:
  static constexpr const char* type_name = "LockedArrayList_Long";
  static constexpr Guid clsid{"{CE152A5D-DA09-4820-8673-A021EE2ACE0C}"};
  static constexpr Guid iid{"{14C8F654-447A-43CE-851A-858A02146F57}"};  // its own interface
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }
};

/// A read-only array of Singles; `VarType` 4.
class LockedArrayList_Single final : public LockedArrayList<LockedArrayList_Single, ArrayList_Single> {
 public:
  static constexpr const char* type_name = "LockedArrayList_Single";
  static constexpr Guid clsid{"{B5625DA5-A976-4FAB-BF9B-50A82DF8CC46}"};
  static constexpr Guid iid{"{E5EE34BB-B4BB-416B-A9EC-88B0758068FD}"};  // its own interface
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }
};

/// A read-only array of Strings; `VarType` 8. `Find` ignores case.
class LockedArrayList_String final : public LockedArrayList<LockedArrayList_String, ArrayList_String> {
 public:
  static constexpr const char* type_name = "LockedArrayList_String";
  static constexpr Guid clsid{"{B88A396F-03F2-4FE2-9662-329D9D7C2BD6}"};
  static constexpr Guid iid{"{65B7222D-1B12-476F-90F3-C2D076E71D8D}"};  // its own interface
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }
};

/// Library-internal (callers get locked lists from the factories): a new, uninitialised locked
/// list of class `Locked`. Raises 7 without memory.
template <class Locked>
Ref<Locked> make_locked_list() {
  return make<Locked>();
}

/// Library-internal: a locked list of class `Locked` filled by `FromArray(values)`.
/// Raises what `FromArray` raises.
template <class Locked>
Ref<Locked> make_locked_list(Variant values) {
  Ref<Locked> list = make<Locked>();
  list->FromArray(values);
  return list;
}

}  // namespace quorvel
