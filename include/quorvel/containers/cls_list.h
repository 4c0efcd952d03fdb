// The 1-based Variant list: positions 1 to lSize, sized only by its own members.
#pragma once

#include <cstdint>
#include <vector>

#include "quorvel/frame/debug_members.h"
#include "quorvel/platform/class_info.h"
#include "quorvel/platform/memory.h"
#include "quorvel/platform/registry.h"
#include "quorvel/platform/variant.h"

namespace quorvel {

/// The list's mode; only `ModeNormal` exists in behaviour.
enum class enumListMode : std::int32_t { ModeNormal = 0, ModeAuto = 1 };
/// `enumListMode` in the type library.
const EnumInfo& list_mode_info();

/// A list of Variants at positions 1 to `lSize` (creatable as "Quorvel.clsList"); `vElem` is the
/// default member. Elements are stored and returned by the kind test: an object by reference
/// unless it has a default value, which is taken instead. Position errors raise 9 through the
/// error reporter with "clsList bound error!" (empty list), "... <1!" or "... >Size!"; range
/// errors raise 1001 directly with source "clsList". Caller code (default values, destructors of
/// released elements) runs only after the list is consistent again. Storage beyond 2 GiB raises
/// 7, a size beyond a Long 6; the list is then unchanged.
class clsList final : public ObjectImpl<>, public DebugMembers {
 public:
  static constexpr const char* type_name = "clsList";
  static constexpr Guid clsid{"{D20D7A8E-1119-495F-BF60-403E299B30BC}"};
  static constexpr Guid iid{"{19C46F1F-B95C-4455-9768-144D865A23C4}"};  // its own interface
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }

  /// Resizes to `Value` elements (new ones Empty, dropped ones from the end). Below 0 raises 9.
  void put_lSize(std::int32_t Value);
  std::int32_t get_lSize() const noexcept { return static_cast<std::int32_t>(items_.size()); }
  /// The element at `lIx`. O(1).
  Variant get_vElem(std::int32_t lIx);
  /// Stores `Value` at `lIx` by the kind test.
  void put_vElem(std::int32_t lIx, const Variant& Value);
  /// Stores the object reference `Value` (Nothing included) at `lIx`; a value raises 424.
  void putref_vElem(std::int32_t lIx, const Variant& Value);
  /// Exchanges two elements (each stored again by the kind test).
  void XchgElems(std::int32_t lIx1, std::int32_t lIx2);
  void Reverse();
  /// Overwrites the elements from `lIx` with those of `oList` (read before any is written, so
  /// the list itself may be passed); never grows: writing past `lSize` raises 9 ">Size!" and
  /// keeps what was written. Nothing raises 91.
  void SetElemsAt(std::int32_t lIx, Ref<clsList> oList);
  /// Removes `lCnt` elements from `lIx` (-1: through the end). 1001 "RemoveItemsAt/1" when `lIx`
  /// is past the end, "RemoveItemsAt/2" when the range is; then a `lCnt` of 0 changes nothing,
  /// and otherwise an `lIx` below 1 raises the position error. O(lSize).
  void RemoveElemsAt(std::int32_t lIx, std::int32_t lCnt = 1);
  /// Removes and returns the element at `lIx`.
  Variant vPopElemAt(std::int32_t lIx);
  /// Inserts the elements of `oList` before `lIx` (`lSize` + 1 appends). 1001 "InsertItemsAt/1"
  /// past that; below 1 the position error; an empty `oList` changes nothing. Nothing raises 91.
  void InsertElemsAt(std::int32_t lIx, Ref<clsList> oList);
  /// Appends the elements of `oList`; the list itself doubles. Nothing raises 91.
  void ConcatList(Ref<clsList> oList);
  /// Appends `lCnt` copies of `vElem` (an object as the same reference); a negative count drops
  /// that many from the end instead (below 0 elements raises 9). Amortised O(lCnt).
  void AppendElem(const Variant& vElem, std::int32_t lCnt = 1) {
    // Inline for one plain value with room to spare: a compare and a copy. When the storage must
    // grow, the value goes the long way as a copy (its bits, or a counted string), so that a
    // caller's plain value never has its address taken and can stay in registers.
    const std::uint16_t raw = vElem.raw_code();
    if (lCnt == 1 && (raw & (kArrayFlag | kByRefFlag)) == 0 && raw != Variant::code(VarKind::Object)) {
      if (items_.size() == items_.capacity()) return append_any(Variant(vElem), 1);
      return items_.push_back(vElem);
    }
    append_any(vElem, lCnt);
  }
  void Clear();
  /// `ModeAuto` raises 1001 "eMode/1"; anything else is accepted and ignored.
  void put_eMode(std::int32_t Value);
  /// Always raises 1001 "eMode/1".
  std::int32_t get_eMode();

 private:
  using Items = std::vector<Variant, RaisingAllocator<Variant>>;
  void append_any(const Variant& vElem, std::int32_t lCnt);
  void check_position(std::int64_t ix);
  Unknown* sender() noexcept { return as_unknown(static_cast<Object*>(this)); }
  // The elements of `other` read by the kind test before anything here changes.
  static Items snapshot(clsList& other);
  void insert_at(std::size_t at, Items&& added);
  void drop_tail(std::size_t keep);
  void reserve_for(std::int64_t count);

  Items items_;
};

}  // namespace quorvel
