// The conversion object: a value seen as a list or as a locale id.
#pragma once

#include "quorvel/frame/array_list_interfaces.h"
#include "quorvel/platform/class_info.h"
#include "quorvel/text/lcid.h"

namespace quorvel {

/// Conversions (not creatable; the library hands out the instance). Stateless.
class TypeCast final : public ObjectImpl<> {
 public:
  static constexpr const char* type_name = "TypeCast";
  static constexpr Guid clsid{"{2FC0565F-5FFA-4A23-B257-1E6233D8A82A}"};
  static constexpr Guid iid{"{80A91962-40B0-47A5-B866-13F2132E248B}"};  // its own interface
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }

  /// The caller's own object seen through `IArrayList` (no copy); Nothing for Nothing. A value
  /// that is no object, or an object without the interface, raises 13; no array is converted.
  Ref<IArrayList> ToArrayList(Variant& Value);
  /// An `LCID` object as itself (another object raises 13, Nothing gives Nothing); any other
  /// value as a new `LCID` of that value converted to Long (6, 13, 94).
  Ref<LCID> ToLCID(const Variant& Value);
};

/// Library-internal: a new conversion object. Raises 7.
Ref<TypeCast> new_type_cast();

}  // namespace quorvel
