// The untyped views of the array lists: `IArrayList` (read and write), `IArrayReader` (read only)
// and `IArrayList2` (text form), and the formatter contract `IFormatter` that the text form uses.
#pragma once

#include <cstdint>

#include "quorvel/frame/comparer_interfaces.h"
#include "quorvel/platform/class_info.h"
#include "quorvel/platform/variant.h"

namespace quorvel {

/// Gives the text form of one element: the string form of its result replaces the element.
class IFormatter : public Unknown {
 public:
  static constexpr const char* type_name = "IFormatter";
  static constexpr Guid iid{"{5B0C2E11-8E6A-4C1D-A3F2-1D2C3B4A0201}"};
  static const InterfaceInfo& interface_info();
  static Ref<IFormatter> late_bound(Ref<Unknown> object);

  virtual Variant Format(const Variant& Value) = 0;
};

/// Any array list, whatever its element kind: elements travel as Variants and are converted to
/// the list's kind on the way in. Index range 0 to Count - 1.
class IArrayList : public Unknown {
 public:
  static constexpr const char* type_name = "IArrayList";
  static constexpr Guid iid{"{5B0C2E11-8E6A-4C1D-A3F2-1D2C3B4A0202}"};
  static const InterfaceInfo& interface_info();

  virtual void SetArray(const Variant& Value) = 0;
  virtual Variant GetArray() = 0;
  virtual Ref<IArrayList> Copy(const Variant& m, const Variant& n) = 0;
  virtual void put_ShrinkFactor(float Value) = 0;
  virtual float get_ShrinkFactor() = 0;
  virtual std::int32_t get_LowerBound() = 0;
  virtual std::int32_t get_UpperBound() = 0;
  virtual void put_GrowLength(std::int32_t Value) = 0;
  virtual std::int32_t get_GrowLength() = 0;
  virtual void Shrink(std::int32_t DestroyCache) = 0;
  virtual void EraseArray() = 0;
  virtual void SetCount(std::int32_t Count, bool PreserveValues) = 0;
  virtual std::int32_t get_Count() = 0;
  virtual void AddItem(const Variant& Value) = 0;
  virtual void RemoveItem(std::int32_t Index, bool KeepSequence) = 0;
  virtual void put_Item(std::int32_t Index, const Variant& Value) = 0;
  virtual Variant get_Item(std::int32_t Index) = 0;
  virtual bool Find(const Variant& Value, std::int32_t& retIndex) = 0;
  virtual std::int32_t get_VarType() = 0;
  virtual Ref<IArrayList> CreateNew() = 0;
  /// (0, 0), also when omitted, means the whole list in most lists.
  virtual void Sort(std::int32_t m, std::int32_t n, Ref<IComparer> Comparer) = 0;
  virtual void putref_Item(std::int32_t Index, const Variant& Value) = 0;
};

/// The reading members of any list, also of the locked (read-only) lists.
class IArrayReader : public Unknown {
 public:
  static constexpr const char* type_name = "IArrayReader";
  static constexpr Guid iid{"{5B0C2E11-8E6A-4C1D-A3F2-1D2C3B4A0203}"};
  static const InterfaceInfo& interface_info();

  virtual Variant GetArray() = 0;
  virtual Ref<IArrayList> Copy(const Variant& m, const Variant& n) = 0;
  virtual std::int32_t get_LowerBound() = 0;
  virtual std::int32_t get_UpperBound() = 0;
  virtual std::int32_t get_Count() = 0;
  virtual Variant get_Item(std::int32_t Index) = 0;
  virtual bool Find(const Variant& Value, std::int32_t& retIndex) = 0;
  virtual std::int32_t get_VarType() = 0;
};

/// The text form of a list: elements separated by blanks, quoted when blank or containing one.
class IArrayList2 : public Unknown {
 public:
  static constexpr const char* type_name = "IArrayList2";
  static constexpr Guid iid{"{5B0C2E11-8E6A-4C1D-A3F2-1D2C3B4A0204}"};
  static const InterfaceInfo& interface_info();

  virtual String ToString(Ref<IFormatter>& StringFormatter) = 0;
};

}  // namespace quorvel
