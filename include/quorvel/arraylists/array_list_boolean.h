// The array list of Booleans.
#pragma once

#include <cstdint>

#include "quorvel/arraylists/array_list_core.h"

namespace quorvel {

/// A growable zero-based array of Booleans (16-bit: True -1, False 0) (creatable as "Quorvel.ArrayList_Boolean").
/// Members: `ArrayListCore`; views: `IArrayList`, `IArrayReader`, `IArrayList2`.
class ArrayList_Boolean final : public ArrayListCore<ArrayList_Boolean, VariantBool> {
 public:
  static constexpr const char* type_name = "ArrayList_Boolean";
  static constexpr Guid clsid{"{D0124794-182D-480C-A2DC-2D0C6F973264}"};
  static constexpr Guid iid{"{A3ED980C-5BF9-4F24-8538-97DC390274A4}"};  // its own interface
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }
};

}  // namespace quorvel
