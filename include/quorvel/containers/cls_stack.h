// The bounded last-in-first-out stack: peeks at any depth, drops its oldest element when a
// maximum depth is reached, and tears down the objects it holds.
#pragma once

#include <cstdint>
#include <vector>

#include "quorvel/frame/debug_members.h"
#include "quorvel/platform/class_info.h"
#include "quorvel/platform/memory.h"
#include "quorvel/platform/variant.h"

namespace quorvel {

/// A stack of Variants (creatable as "Quorvel.clsStack"). Elements are kept by the kind test: an
/// object by reference unless it has a default value, which is kept instead. Storage appears with
/// the first push and goes with `TearDown`; it grows geometrically whatever `lSizeInc` says (the
/// step is only remembered), so pushing is amortised constant time.
class clsStack final : public ObjectImpl<>, public DebugMembers {
 public:
  static constexpr const char* type_name = "clsStack";
  static constexpr Guid clsid{"{E8B70969-F24C-48E9-A212-D8DAB722EF4A}"};
  static constexpr Guid iid{"{A9DE47A8-1F8A-4F38-B515-9C1A41E05513}"};  // its own interface
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }

  /// Calls `TearDown` by name on every held object that has such a member (plain values and
  /// objects without one are just released), then discards the storage: `vPop` raises again
  /// until the next push. The stack is emptied before any call, so an element's `TearDown` that
  /// raises ends the call with the stack empty and the remaining elements released untouched.
  void TearDown();
  /// The maximum depth; 0 is unlimited. Raises 0x800403E8 "Let lSize/1" (source "clsStack")
  /// when below the element count, changing nothing.
  void put_lSizeMax(std::int32_t Value);
  /// The growth step, stored as given.
  void put_lSizeInc(std::int32_t Value) noexcept { size_inc_ = Value; }
  std::int32_t get_lSizeInc() const noexcept { return size_inc_; }
  /// Pushes `vElem`; at the maximum depth the oldest element is dropped first. Raises what the
  /// read of an object's default value raises, and 6 or 7 when no room can be made; the stack
  /// is then unchanged. Amortised O(1); O(depth) when the oldest is dropped.
  void Push(const Variant& vElem) {
    // Inline for a plain value with room to spare on a stack without a maximum: a compare and a
    // copy. Otherwise a plain value goes the long way as a copy (its bits, or a counted string),
    // so that a caller's plain value never has its address taken and can stay in registers.
    if (is_plain(vElem)) {
      if (size_max_ != 0 || items_.size() == items_.capacity()) return push_any(Variant(vElem));
      return items_.push_back(vElem);
    }
    push_any(vElem);
  }
  /// Removes and returns the top element, or Empty on an empty stack. Raises 0x800403E9 (source
  /// "clsStack") while the stack has no storage (never pushed, or torn down).
  Variant vPop() {
    if (!has_storage_ || items_.empty()) return pop_rare();
    Variant top = std::move(items_.back());  // kept by the kind test already: never a default value
    items_.pop_back();
    return top;
  }
  /// The element `lElemNr` places below the top (0 is the top), or Empty outside the stack.
  Variant vPeek(std::int32_t lElemNr);
  /// The number of elements.
  std::int32_t lElemCnt() const noexcept { return static_cast<std::int32_t>(items_.size()); }

 private:
  static bool is_plain(const Variant& v) noexcept {
    const std::uint16_t raw = v.raw_code();
    return (raw & (kArrayFlag | kByRefFlag)) == 0 && raw != Variant::code(VarKind::Object);
  }
  void push_any(const Variant& vElem);
  Variant pop_rare();

  std::vector<Variant, RaisingAllocator<Variant>> items_;  // bottom first
  bool has_storage_ = false;
  std::int32_t size_inc_ = 10;
  std::int32_t size_max_ = 0;
};

}  // namespace quorvel
