// The array list of Doubles.
#pragma once

#include <cstdint>

#include "quorvel/arraylists/array_list_core.h"

namespace quorvel {

/// A growable zero-based array of Doubles (64-bit floats) (creatable as "Quorvel.ArrayList_Double").
/// Members: `ArrayListCore`; views: `IArrayList`, `IArrayReader`, `IArrayList2`.
class ArrayList_Double final : public ArrayListCore<ArrayList_Double, double> {
 public:
  static constexpr const char* type_name = "ArrayList_Double";
  static constexpr Guid clsid{"{820DA90F-24DA-4530-9D84-CF074BF8837E}"};
  static constexpr Guid iid{"{DE760ECE-95E0-4894-8F89-66CDED058867}"};  // its own interface
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }
};

}  // namespace quorvel
