// The two debug members that clsList, clsStack, clsEventPump and clsHashIdIx carry: `lDebugId`,
// which no class assigns and so reads 0, and `TearDown`, which breaks reference cycles.
#pragma once

#include <cstdint>
#include <span>
#include <type_traits>
#include <utility>

#include "quorvel/platform/class_info.h"

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

// The entries are written out rather than made with `get<>`/`method<>`, because those take a
// member of `C` itself and these members may be inherited; the static_asserts keep the written
// kinds and the C++ signatures together. Only class_info.h is needed, so class headers can
// include this one.

/// The description entry of `lDebugId` (a read-only Long property) of class `C`.
template <class C>
MemberInfo debug_id_entry(DispId id) {
  MemberInfo m;
  m.name = "lDebugId";
  m.id = id;
  m.kind = MemberKind::Get;
  m.help = "Per-object debug id; always 0";
  static_assert(std::is_same_v<decltype(std::declval<const C&>().get_lDebugId()), std::int32_t>);
  m.result = {Variant::code(VarKind::Long)};
  m.invoke = [](Unknown& self, std::span<Variant>, Variant& result) {
    result = Variant(static_cast<C&>(static_cast<Object&>(self)).get_lDebugId());
  };
  return m;
}

/// The description entry of `TearDown` (a method without arguments) of class `C`.
template <class C>
MemberInfo tear_down_entry(DispId id) {
  MemberInfo m;
  m.name = "TearDown";
  m.id = id;
  m.kind = MemberKind::Method;
  m.help = "Breaks the object's references so that reference cycles can be freed";
  static_assert(std::is_void_v<decltype(std::declval<C&>().TearDown())>);
  m.result = {Variant::code(VarKind::Empty)};
  m.invoke = [](Unknown& self, std::span<Variant>, Variant&) {
    static_cast<C&>(static_cast<Object&>(self)).TearDown();
  };
  return m;
}

}  // namespace quorvel
