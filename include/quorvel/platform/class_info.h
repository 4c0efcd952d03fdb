// One description per class and per interface: members in slot order with dispatch ids, kinds,
// parameters and results. Late binding, creation by name and id, and the type library all read it.
#pragma once

#include <array>
#include <memory>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "quorvel/platform/guid.h"
#include "quorvel/platform/object.h"
#include "quorvel/platform/variant.h"

namespace quorvel {

/// A dispatch id; the default member of an interface has id 0.
using DispId = std::int32_t;

/// How a member is reached; a late-bound call may ask for several at once (Method | Get).
enum class MemberKind : std::uint8_t { Method = 1, Get = 2, Let = 4, Set = 8 };
constexpr MemberKind operator|(MemberKind a, MemberKind b) noexcept {
  return static_cast<MemberKind>(static_cast<std::uint8_t>(a) | static_cast<std::uint8_t>(b));
}
constexpr bool has_kind(MemberKind set, MemberKind k) noexcept {
  return (static_cast<std::uint8_t>(set) & static_cast<std::uint8_t>(k)) != 0;
}

/// One parameter of a member.
struct ParamInfo {
  const char* name = "";
  TypeDesc type;
  bool by_ref = false;
  bool optional = false;
  bool has_default = false;
  Variant default_value;
};

class Unknown;
/// Calls the C++ member behind a description: `args` holds one Variant per parameter, in call
/// order, already completed with defaults; the result (if any) goes to `result`.
using Invoker = void (*)(Unknown& self, std::span<Variant> args, Variant& result);

/// One member entry: a method, or one accessor (get, let or set) of a property.
struct MemberInfo {
  const char* name = "";
  DispId id = 0;
  MemberKind kind = MemberKind::Method;
  std::vector<ParamInfo> params;
  TypeDesc result;
  Invoker invoke = nullptr;
  const char* help = "";
  std::size_t required_count() const noexcept;
};

/// An interface (or a class's own default interface, or an event interface): members in slot order.
class InterfaceInfo {
 public:
  InterfaceInfo(std::string name, Guid iid, std::vector<MemberInfo> members, const char* help = "");

  const char* name() const noexcept { return name_.c_str(); }
  const Guid& iid() const noexcept { return iid_; }
  const char* help() const noexcept { return help_; }
  std::span<const MemberInfo> members() const noexcept { return members_; }

  /// The dispatch id of a member name, compared without regard to case; -1 when absent.
  DispId find_id(std::u16string_view name) const noexcept;
  /// The entry with this id that answers one of `kinds` (Method before Get), or null.
  const MemberInfo* find(DispId id, MemberKind kinds) const noexcept {
    if (id < 0 || static_cast<std::size_t>(id) >= by_id_.size()) return nullptr;
    const auto& slots = by_id_[static_cast<std::size_t>(id)];
    for (std::size_t k = 0; k < 4; ++k) {  // Method, Get, Let, Set: a call prefers a method
      if ((static_cast<unsigned>(kinds) >> k & 1u) != 0 && slots[k] >= 0) return &members_[static_cast<std::size_t>(slots[k])];
    }
    return nullptr;
  }
  /// True when some entry has this id.
  bool has_id(DispId id) const noexcept;

 private:
  void build_name_table();
  std::string name_;
  Guid iid_;
  std::vector<MemberInfo> members_;
  const char* help_;
  struct NameSlot {
    std::uint32_t hash = 0;
    DispId id = -1;
    std::string folded;
  };
  std::vector<NameSlot> by_name_;  // open addressing on the folded name's hash; size a power of two
  std::size_t name_mask_ = 0;      // by_name_.size() - 1
  std::vector<std::array<std::int16_t, 4>> by_id_;      // member index per kind, ids 0..n
};

/// How a class may be reached from outside.
enum class ClassFlags : std::uint8_t {
  None = 0,
  Creatable = 1,  // by program id and class id
  Global = 2,     // one predeclared instance per thread, members callable without creation
};
constexpr ClassFlags operator|(ClassFlags a, ClassFlags b) noexcept {
  return static_cast<ClassFlags>(static_cast<std::uint8_t>(a) | static_cast<std::uint8_t>(b));
}

class Object;

/// A class: its own interface, the interfaces it implements, its events, and how to make one.
struct ClassInfo {
  const char* name = "";
  Guid clsid;
  ClassFlags flags = ClassFlags::None;
  const char* help = "";
  const InterfaceInfo* own = nullptr;
  bool own_is_interface = false;  // an interface's own class: its members are the interface's
  std::vector<const InterfaceInfo*> implements;
  const InterfaceInfo* events = nullptr;
  Ref<Object> (*create)() = nullptr;
  std::shared_ptr<const InterfaceInfo> own_storage;  // keeps `own` alive

  bool creatable() const noexcept { return (static_cast<std::uint8_t>(flags) & 1) != 0; }
  bool global() const noexcept { return (static_cast<std::uint8_t>(flags) & 2) != 0; }
};

}  // namespace quorvel
