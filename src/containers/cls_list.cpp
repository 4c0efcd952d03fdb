// The 1-based Variant list.
#include "quorvel/containers/cls_list.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "kind_test.h"
#include "quorvel/frame/error_catalogue.h"
#include "quorvel/platform/describe.h"
#include "quorvel/platform/error.h"

namespace quorvel {

const EnumInfo& list_mode_info() {
  static const EnumInfo info{"enumListMode", {{"ModeNormal", 0}, {"ModeAuto", 1}}};
  return info;
}

const ClassInfo& clsList::describe() {
  static const ClassInfo info = describe_class<clsList>(
      ClassFlags::Creatable,
      {debug_id_entry<clsList>(1), tear_down_entry<clsList>(2), let<&clsList::put_lSize>("lSize", 3, "Value"),
       get<&clsList::get_lSize>("lSize", 3), set<&clsList::putref_vElem>("vElem", 0, "lIx", "Value"),
       let<&clsList::put_vElem>("vElem", 0, "lIx", "Value"), get<&clsList::get_vElem>("vElem", 0, "lIx"),
       method<&clsList::XchgElems>("XchgElems", 4, "lIx1", "lIx2"), method<&clsList::Reverse>("Reverse", 5),
       method<&clsList::SetElemsAt>("SetElemsAt", 6, "lIx", "oList"),
       method<&clsList::RemoveElemsAt>("RemoveElemsAt", 7, "lIx", opt("lCnt", Variant(1))),
       method<&clsList::vPopElemAt>("vPopElemAt", 8, "lIx"), method<&clsList::InsertElemsAt>("InsertElemsAt", 9, "lIx", "oList"),
       method<&clsList::ConcatList>("ConcatList", 10, "oList"),
       method<&clsList::AppendElem>("AppendElem", 11, "vElem", opt("lCnt", Variant(1))), method<&clsList::Clear>("Clear", 12),
       let<&clsList::put_eMode>("eMode", 13, "Value"), get<&clsList::get_eMode>("eMode", 13)},
      "A 1-based list of Variants");
  return info;
}

void clsList::check_position(std::int64_t ix) {
  if (items_.empty()) raise(Failure::ListBound, sender());
  if (ix < 1) raise(Failure::ListBoundBelowOne, sender());
  if (ix > static_cast<std::int64_t>(items_.size())) raise(Failure::ListBoundAboveSize, sender());
}

void clsList::reserve_for(std::int64_t count) {
  containers::check_element_count(count);
  if (static_cast<std::size_t>(count) <= items_.capacity()) return;
  // Geometric, so that appending one at a time stays linear overall.
  const std::int64_t doubled = static_cast<std::int64_t>(items_.capacity()) * 2;
  items_.reserve(static_cast<std::size_t>(std::clamp(doubled, count, containers::kMaxVariantElements)));
}

void clsList::drop_tail(std::size_t keep) {
  // One at a time: a released element's destructor may call back into the list, which must be
  // whole at that moment.
  while (items_.size() > keep) {
    Variant gone = std::move(items_.back());
    items_.pop_back();
  }
  if (items_.empty()) Items().swap(items_);
}

void clsList::insert_at(std::size_t at, Items&& added) {
  reserve_for(static_cast<std::int64_t>(items_.size()) + static_cast<std::int64_t>(added.size()));
  items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(std::min(at, items_.size())),
                std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()));
}

clsList::Items clsList::snapshot(clsList& other) {
  Items copy;
  const std::size_t count = other.items_.size();  // counted once, as the caller sees the call
  copy.reserve(count);
  for (std::size_t i = 0; i < count && i < other.items_.size(); ++i) {
    Variant held = other.items_[i];  // the read below may run caller code that changes `other`
    copy.push_back(containers::kept_by_kind(held));
  }
  return copy;
}

void clsList::put_lSize(std::int32_t Value) {
  if (Value < 0) raise_runtime_error(RuntimeError::SubscriptOutOfRange);
  const auto wanted = static_cast<std::size_t>(Value);
  if (wanted <= items_.size()) return drop_tail(wanted);
  reserve_for(Value);
  items_.resize(wanted);
}

Variant clsList::get_vElem(std::int32_t lIx) {
  check_position(lIx);
  Variant held = items_[static_cast<std::size_t>(lIx) - 1];
  return containers::kept_by_kind(held);
}

void clsList::put_vElem(std::int32_t lIx, const Variant& Value) {
  check_position(lIx);
  Variant value = containers::kept_by_kind(Value);
  check_position(lIx);  // the default value's reader may have resized the list
  items_[static_cast<std::size_t>(lIx) - 1].swap(value);
}

void clsList::putref_vElem(std::int32_t lIx, const Variant& Value) {
  check_position(lIx);
  Variant reference(Value.to_object());
  items_[static_cast<std::size_t>(lIx) - 1].swap(reference);
}

void clsList::XchgElems(std::int32_t lIx1, std::int32_t lIx2) {
  check_position(lIx1);
  check_position(lIx2);
  Variant first = items_[static_cast<std::size_t>(lIx1) - 1];
  Variant second = items_[static_cast<std::size_t>(lIx2) - 1];
  Variant into_first = containers::kept_by_kind(second);
  Variant into_second = containers::kept_by_kind(first);
  check_position(lIx1);
  check_position(lIx2);
  items_[static_cast<std::size_t>(lIx1) - 1].swap(into_first);
  items_[static_cast<std::size_t>(lIx2) - 1].swap(into_second);
}

void clsList::Reverse() {
  for (std::int32_t i = 1, j = get_lSize(); i < j; ++i, --j) XchgElems(i, j);
}

void clsList::SetElemsAt(std::int32_t lIx, Ref<clsList> oList) {
  check_position(lIx);
  if (!oList) raise_runtime_error(RuntimeError::ObjectNotSet);
  Items source = snapshot(*oList);
  for (std::size_t i = 0; i < source.size(); ++i) {
    const std::int64_t at = std::int64_t{lIx} + static_cast<std::int64_t>(i);
    check_position(at);
    items_[static_cast<std::size_t>(at) - 1].swap(source[i]);
  }
}

void clsList::RemoveElemsAt(std::int32_t lIx, std::int32_t lCnt) {
  const std::int64_t size = get_lSize();
  if (lIx > size) raise_direct(error_number::kListDirect, u"clsList", u"RemoveItemsAt/1");
  if (lCnt == 0) return;
  if (lIx < 1) check_position(lIx);
  std::int64_t count = lCnt == -1 ? size - lIx + 1 : lCnt;
  if (count < 0 || lIx + count - 1 > size) raise_direct(error_number::kListDirect, u"clsList", u"RemoveItemsAt/2");
  // The removed run goes to the end by exchanges (nothing released yet), then off one by one.
  const auto first = items_.begin() + (lIx - 1);
  std::rotate(first, first + static_cast<std::ptrdiff_t>(count), items_.end());
  drop_tail(static_cast<std::size_t>(size - count));
}

Variant clsList::vPopElemAt(std::int32_t lIx) {
  Variant element = get_vElem(lIx);
  RemoveElemsAt(lIx, 1);
  return element;
}

void clsList::InsertElemsAt(std::int32_t lIx, Ref<clsList> oList) {
  if (!oList) raise_runtime_error(RuntimeError::ObjectNotSet);
  if (oList->items_.empty()) return;
  if (std::int64_t{lIx} > std::int64_t{get_lSize()} + 1) raise_direct(error_number::kListDirect, u"clsList", u"InsertItemsAt/1");
  if (lIx < 1) check_position(lIx);
  Items added = snapshot(*oList);
  insert_at(static_cast<std::size_t>(lIx) - 1, std::move(added));
}

void clsList::ConcatList(Ref<clsList> oList) {
  if (!oList) raise_runtime_error(RuntimeError::ObjectNotSet);
  Items added = snapshot(*oList);
  insert_at(items_.size(), std::move(added));
}

void clsList::append_any(const Variant& vElem, std::int32_t lCnt) {
  if (lCnt == 0) return;
  const std::int64_t size = get_lSize();
  if (lCnt < 0) {
    if (size + lCnt < 0) raise_runtime_error(RuntimeError::SubscriptOutOfRange);
    return drop_tail(static_cast<std::size_t>(size + lCnt));
  }
  Variant value = containers::kept_by_kind(vElem);
  reserve_for(static_cast<std::int64_t>(items_.size()) + lCnt);
  const std::size_t before = items_.size();
  try {
    for (std::int32_t k = 0; k < lCnt; ++k) items_.push_back(value);
  } catch (...) {
    items_.resize(before);  // copies of `value` only: releasing them runs no caller code
    throw;
  }
}

void clsList::Clear() { put_lSize(0); }

void clsList::put_eMode(std::int32_t Value) {
  if (Value == static_cast<std::int32_t>(enumListMode::ModeAuto)) raise_direct(error_number::kListDirect, u"clsList", u"eMode/1");
}

std::int32_t clsList::get_eMode() { raise_direct(error_number::kListDirect, u"clsList", u"eMode/1"); }

}  // namespace quorvel
