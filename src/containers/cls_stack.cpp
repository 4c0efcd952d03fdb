// The bounded stack.
#include "quorvel/containers/cls_stack.h"

#include <algorithm>
#include <utility>

#include "kind_test.h"
#include "quorvel/frame/error_catalogue.h"
#include "quorvel/platform/describe.h"
#include "quorvel/platform/error.h"
#include "quorvel/platform/late_binding.h"

namespace quorvel {

const ClassInfo& clsStack::describe() {
  static const ClassInfo info = describe_class<clsStack>(
      ClassFlags::Creatable,
      {debug_id_entry<clsStack>(1), tear_down_entry<clsStack>(2), let<&clsStack::put_lSizeMax>("lSizeMax", 3, "Value"),
       let<&clsStack::put_lSizeInc>("lSizeInc", 4, "Value"), get<&clsStack::get_lSizeInc>("lSizeInc", 4),
       method<&clsStack::Push>("Push", 5, "vElem"), method<&clsStack::vPop>("vPop", 6),
       method<&clsStack::vPeek>("vPeek", 7, "lElemNr"), method<&clsStack::lElemCnt>("lElemCnt", 8)},
      "A last-in-first-out stack with an optional maximum depth");
  return info;
}

namespace {

bool has_member(Unknown& object, std::u16string_view name) {
  try {
    return interface_info_of(object).find_id(name) >= 0;
  } catch (const Error&) {
    return false;  // an object without late-bound members has no TearDown either
  }
}

}  // namespace

void clsStack::TearDown() {
  std::vector<Variant, RaisingAllocator<Variant>> held;
  held.swap(items_);
  has_storage_ = false;
  for (Variant& element : held) {
    if (Unknown* object = element.if_object()) {
      Ref<Unknown> keep(object);
      if (has_member(*object, u"TearDown")) invoke(*object, u"TearDown", MemberKind::Method, {});
    }
    element.clear();
  }
}

void clsStack::put_lSizeMax(std::int32_t Value) {
  if (Value < lElemCnt()) raise_direct(error_number::kStackSize, u"clsStack", u"Let lSize/1");
  size_max_ = Value;
}

void clsStack::push_any(const Variant& vElem) {
  Variant value = containers::kept_by_kind(vElem);
  // Caller code may have changed the depth or the maximum: the room is made from what is now.
  if (size_max_ != 0 && lElemCnt() >= size_max_ && !items_.empty()) {
    Variant oldest = std::move(items_.front());
    std::move(items_.begin() + 1, items_.end(), items_.begin());
    items_.back() = std::move(value);
    has_storage_ = true;
    return;  // `oldest` goes last, with the stack already whole
  }
  if (items_.size() == items_.capacity()) {
    containers::check_element_count(static_cast<std::int64_t>(items_.size()) + 1);
    const std::int64_t doubled = std::max<std::int64_t>(16, static_cast<std::int64_t>(items_.size()) * 2);
    items_.reserve(static_cast<std::size_t>(std::min(doubled, containers::kMaxVariantElements)));
  }
  items_.push_back(std::move(value));
  has_storage_ = true;
}

Variant clsStack::pop_rare() {
  if (!has_storage_) raise_direct(error_number::kStackEmpty, u"clsStack", u"");
  return {};  // emptied: Empty
}

Variant clsStack::vPeek(std::int32_t lElemNr) {
  if (lElemNr < 0 || lElemNr >= lElemCnt()) return {};
  return items_[items_.size() - 1 - static_cast<std::size_t>(lElemNr)];
}

}  // namespace quorvel
