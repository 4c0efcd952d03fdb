// The two debug members that clsList, clsStack, clsEventPump and clsHashIdIx carry: `lDebugId`,
// which no class assigns and so reads 0, and `TearDown`, which breaks reference cycles.
#pragma once

#include <cstdint>

#include "quorvel/platform/describe.h"

namespace quorvel {

/// Base giving a class its debug members. `TearDown` here does nothing (as in clsList and
/// clsEventPump); a class that holds references it must break declares its own `TearDown()`,
/// which hides this one and which the description entry then calls. `TearDown` does not end the
/// object's life: the object stays usable in whatever state it leaves.
class DebugMembers {
 public:
  /// The per-object debug id: always 0.
  std::int32_t get_lDebugId() const noexcept { return 0; }
  /// Breaks the object's references; nothing to break by default.
  void TearDown() noexcept {}

 protected:
  DebugMembers() = default;
  ~DebugMembers() = default;
};

/// The description entries of `lDebugId` and `TearDown` of class `C`, with their dispatch ids:
/// `TearDown` is the class's own when it declares one, else the inherited one.
template <class C>
MemberInfo debug_id_entry(DispId id) {
  return with_help(get<&C::get_lDebugId, C>("lDebugId", id), "Per-object debug id; always 0");
}
template <class C>
MemberInfo tear_down_entry(DispId id) {
  return with_help(method<&C::TearDown, C>("TearDown", id), "Breaks the object's references so that reference cycles can be freed");
}

}  // namespace quorvel
