// The array list of Singles.
#pragma once

#include <cstdint>

#include "quorvel/arraylists/array_list_core.h"

namespace quorvel {

/// A growable zero-based array of Singles (32-bit floats) (creatable as "Quorvel.ArrayList_Single").
/// Members: `ArrayListCore`; views: `IArrayList`, `IArrayReader`, `IArrayList2`.
class ArrayList_Single final : public ArrayListCore<ArrayList_Single, float> {
 public:
  static constexpr const char* type_name = "ArrayList_Single";
  static constexpr Guid clsid{"{BAE3B3CA-936D-42F7-B275-5817FBD3BCF2}"};
  static constexpr Guid iid{"{6484965A-C687-4C08-8CC2-803BB3B987C1}"};  // its own interface
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }
};

}  // namespace quorvel
