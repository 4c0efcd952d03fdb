// A single Variant wrapped in an object, so that a value can be shared by reference.
#pragma once

#include "quorvel/platform/class_info.h"
#include "quorvel/platform/variant.h"

namespace quorvel {

/// Holds one Variant, Empty at creation (creatable as "Quorvel.Box_Variant"). `Value` is the
/// default member, with get, let and set.
class Box_Variant final : public ObjectImpl<> {
 public:
  static constexpr const char* type_name = "Box_Variant";
  static constexpr Guid clsid{"{17D4A0B5-441E-4EEC-BB64-25B01378D0E6}"};
  static constexpr Guid iid{"{2FE939ED-3112-4691-8CB5-D5EDBA3230ED}"};  // its own interface
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }

  /// The held value: an object as the same reference, anything else as a copy. Raises 7.
  Variant get_Value();
  /// Stores a copy of `Value`; an object stands for its default value (438 without one, 91 for
  /// Nothing). Raises 7; on any failure the old value stays.
  void put_Value(const Variant& Value);
  /// Stores the object reference `Value` (Nothing included); any other value raises 424.
  void putref_Value(const Variant& Value);

  /// Library-internal, for the factories: stores `Value` by the trial rule (an object reference
  /// by reference, anything else as a copy) and returns the box itself. Raises 7.
  Ref<Box_Variant> initialize(const Variant& Value);

 private:
  Variant value_;
};

}  // namespace quorvel
