// The list interfaces published as classes of their own: callers can create `IArrayList` and
// `IFormatter`; `IArrayReader` and `IArrayList2` exist but are not creatable. Their members do
// nothing and give the default of their result kind (0, Empty, the empty string, Nothing, False).
#pragma once

#include <cstdint>

#include "quorvel/frame/array_list_interfaces.h"

namespace quorvel {

/// The class "IArrayList" (creatable): an empty list that holds nothing and changes nothing.
class IArrayListClass final : public ObjectImpl<IArrayList> {
 public:
  static constexpr const char* type_name = "IArrayList";
  static constexpr Guid iid{"{829DAA18-8A8B-4978-A4F8-34F174D1C15B}"};
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }

  void SetArray(const Variant&) override {}
  Variant GetArray() override { return {}; }
  Ref<IArrayList> Copy(const Variant&, const Variant&) override { return {}; }
  void put_ShrinkFactor(float) override {}
  float get_ShrinkFactor() override { return 0; }
  std::int32_t get_LowerBound() override { return 0; }
  std::int32_t get_UpperBound() override { return 0; }
  void put_GrowLength(std::int32_t) override {}
  std::int32_t get_GrowLength() override { return 0; }
  void Shrink(std::int32_t) override {}
  void EraseArray() override {}
  void SetCount(std::int32_t, bool) override {}
  std::int32_t get_Count() override { return 0; }
  void AddItem(const Variant&) override {}
  void RemoveItem(std::int32_t, bool) override {}
  void put_Item(std::int32_t, const Variant&) override {}
  Variant get_Item(std::int32_t) override { return {}; }
  bool Find(const Variant&, std::int32_t&) override { return false; }
  std::int32_t get_VarType() override { return 0; }
  Ref<IArrayList> CreateNew() override { return {}; }
  void Sort(std::int32_t, std::int32_t, Ref<IComparer>) override {}
  void putref_Item(std::int32_t, const Variant&) override {}
};

/// The class "IFormatter" (creatable): its `Format` gives Empty for every value.
class IFormatterClass final : public ObjectImpl<IFormatter> {
 public:
  static constexpr const char* type_name = "IFormatter";
  static constexpr Guid iid{"{A595E970-0D7E-4A2B-8EBA-A262A4B60696}"};
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }

  Variant Format(const Variant&) override { return {}; }
};

/// The class "IArrayReader" (not creatable).
class IArrayReaderClass final : public ObjectImpl<IArrayReader> {
 public:
  static constexpr const char* type_name = "IArrayReader";
  static constexpr Guid iid{"{C5357F31-5381-43CB-80D1-27D5A8901672}"};
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }

  Variant GetArray() override { return {}; }
  Ref<IArrayList> Copy(const Variant&, const Variant&) override { return {}; }
  std::int32_t get_LowerBound() override { return 0; }
  std::int32_t get_UpperBound() override { return 0; }
  std::int32_t get_Count() override { return 0; }
  Variant get_Item(std::int32_t) override { return {}; }
  bool Find(const Variant&, std::int32_t&) override { return false; }
  std::int32_t get_VarType() override { return 0; }
};

/// The class "IArrayList2" (not creatable): its text form is the empty string.
class IArrayList2Class final : public ObjectImpl<IArrayList2> {
 public:
  static constexpr const char* type_name = "IArrayList2";
  static constexpr Guid iid{"{9DE747DB-BCF3-4B98-805E-61CEC5C70B0C}"};
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }

  String ToString(Ref<IFormatter>&) override { return {}; }
};

}  // namespace quorvel
