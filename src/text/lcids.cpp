// The keyed set of locale ids.
#include "quorvel/text/lcids.h"

#include <string_view>
#include <utility>

#include "quorvel/platform/describe.h"
#include "quorvel/platform/interface_cast.h"

namespace quorvel {

const ClassInfo& LCIDs::describe() {
  static const ClassInfo info = describe_class<LCIDs>(
      ClassFlags::Creatable,
      {method<&LCIDs::GetKey>("GetKey", 1, "LCID"), method<&LCIDs::Add>("Add", 2, "LCID"),
       method<&LCIDs::Remove>("Remove", 3, "Index"), method<&LCIDs::Item>("Item", 0, "Index"),
       method<&LCIDs::Exists>("Exists", 4, "Index"), get<&LCIDs::get_Count>("Count", 5),
       method<&LCIDs::Clear>("Clear", 6), method<&LCIDs::NewEnum>("NewEnum", 7),
       method<&LCIDs::ToLongArray>("ToLongArray", 8)},
      "A set of locale ids keyed by their text");
  return info;
}

LCIDs::LCIDs() : items_(make<Collection>()) {}

String LCIDs::GetKey(const Variant& LCID) {
  const String text = LCID.to_string();
  std::u16string_view view = text.view();
  const std::size_t first = view.find_first_not_of(u' ');
  view = first == std::u16string_view::npos ? std::u16string_view() : view.substr(first);
  view = view.substr(0, view.find_last_not_of(u' ') + 1);
  std::u16string key(view);
  key += u'#';
  return String(key);
}

void LCIDs::Add(const Variant& LCID) {
  const Ref<quorvel::LCID> item = to_lcid(LCID);
  if (!item) raise_runtime_error(RuntimeError::ObjectNotSet);
  const String key = GetKey(LCID);
  items_->Add(Variant(item), Variant(key));
}

void LCIDs::Remove(Variant& Index) {
  // Held: the index's default value may clear this set, releasing the collection mid-call.
  const Ref<Collection> items = items_;
  items->Remove(Index);
}

Ref<LCID> LCIDs::Item(Variant& Index) noexcept {
  try {
    const Ref<Collection> items = items_;  // as in Remove
    return interface_cast<LCID>(items->Item(Index));
  } catch (...) {
    return nullptr;  // a missing index, or one that is no index at all
  }
}

bool LCIDs::Exists(Variant& Index) noexcept { return items_->Count() > 0 && Item(Index); }

void LCIDs::Clear() {
  Ref<Collection> old = make<Collection>();
  std::swap(items_, old);  // the old items go last, with the set already empty
}

Ref<Collection> LCIDs::NewEnum() {
  Ref<Collection> copy = make<Collection>();
  for (const Variant& item : *items_) copy->Add(item);
  return copy;
}

ArrayOf<std::int32_t> LCIDs::ToLongArray() {
  if (items_->Count() == 0) return {};
  ArrayOf<std::int32_t> ids(0, items_->Count());
  std::int32_t* out = ids.items().data();
  for (const Variant& item : *items_) *out++ = interface_cast<LCID>(item)->get_Value();
  return ids;
}

}  // namespace quorvel
