// The array list of Integers.
#pragma once

#include <cstdint>

#include "quorvel/arraylists/array_list_core.h"

namespace quorvel {

/// A growable zero-based array of Integers (signed 16-bit) (creatable as "Quorvel.ArrayList_Integer").
/// Members: `ArrayListCore`; views: `IArrayList`, `IArrayReader`, `IArrayList2`.
class ArrayList_Integer final : public ArrayListCore<ArrayList_Integer, std::int16_t> {
 public:
  static constexpr const char* type_name = "ArrayList_Integer";
  static constexpr Guid clsid{"{14C53416-C508-4E8A-B7D9-DC2892750C6A}"};
  static constexpr Guid iid{"{1DCF0722-97B1-4C57-A873-9C6F7B446779}"};  // its own interface
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }
};

}  // namespace quorvel
