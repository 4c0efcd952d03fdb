// The array list of Strings.
#pragma once

#include <cstdint>

#include "quorvel/arraylists/array_list_core.h"

namespace quorvel {

/// A growable zero-based array of counted UTF-16 strings (creatable as "Quorvel.ArrayList_String").
/// `Find` compares ignoring case (the user locale's text order); `Sort` without a comparer uses the
/// binary order. Members: `ArrayListCore`; views: `IArrayList`, `IArrayReader`, `IArrayList2`.
class ArrayList_String final : public ArrayListCore<ArrayList_String, String> {
 public:
  static constexpr const char* type_name = "ArrayList_String";
  static constexpr Guid clsid{"{85FB6858-3AFB-4D9E-9391-26367FFC9862}"};
  static constexpr Guid iid{"{86A4CACF-3285-4B33-84F3-225E287BAD7E}"};  // its own interface
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }
};

}  // namespace quorvel
