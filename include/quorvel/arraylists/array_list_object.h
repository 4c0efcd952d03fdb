// The array list of object references.
#pragma once

#include "quorvel/arraylists/array_list_core.h"

namespace quorvel {

/// A growable zero-based array of counted object references, Nothing included (creatable as
/// "Quorvel.ArrayList_Object"). Elements are stored by reference (set), never copied: `Item` has
/// get and set, and `IArrayList.Item` let raises 0x80040003. `Find` compares the default values
/// of the objects (read late-bound, 91 for Nothing, 438 without a default member), not their
/// identity. `Sort` needs a comparer. `SetArray` takes over object arrays only (else 0x80040001).
/// Shared members: `ArrayListCore`; views: `IArrayList`, `IArrayReader`, `IArrayList2`.
class ArrayList_Object final : public ArrayListCore<ArrayList_Object, Ref<Unknown>> {
 public:
  static constexpr const char* type_name = "ArrayList_Object";
  static constexpr Guid clsid{"{0403674F-4442-4A40-94AD-05260DC6015F}"};
  static constexpr Guid iid{"{F0158927-AAB1-424B-9924-6BB83DAD92D6}"};  // its own interface
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }
};

}  // namespace quorvel
