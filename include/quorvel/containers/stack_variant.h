// The plain unbounded stack of Variants, built on a Variant array list.
#pragma once

#include "quorvel/arraylists/array_list_variant.h"
#include "quorvel/platform/class_info.h"
#include "quorvel/platform/variant.h"

namespace quorvel {

/// A stack whose top is the last item of an `ArrayList_Variant` with grow length 10 (creatable
/// as "Quorvel.Stack_Variant"). Values are kept as the list keeps them: an object reference
/// (Nothing included) by reference, anything else as a copy.
class Stack_Variant final : public ObjectImpl<> {
 public:
  static constexpr const char* type_name = "Stack_Variant";
  static constexpr Guid clsid{"{8FA392F8-F221-4EF9-8438-A723A130B5FD}"};
  static constexpr Guid iid{"{87BBC599-9DD8-47E3-8570-7F74C4458198}"};  // its own interface
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }

  /// Raises 7 when the list cannot grow.
  Stack_Variant();

  /// Pushes `Value`. Raises 7, leaving the stack unchanged.
  void Push(const Variant& Value);
  /// Removes and returns the top. On an empty stack the list's index check raises 0x80040001
  /// (no message, the list as sender) and nothing changes.
  Variant Pop();
  /// The top, left in place; raises as `Pop` does on an empty stack.
  Variant Peek();
  /// True when the stack holds nothing.
  bool get_IsEmpty();

 private:
  Ref<ArrayList_Variant> items_;
};

}  // namespace quorvel
