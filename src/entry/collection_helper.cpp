// The collection helpers.
#include "quorvel/entry/collection_helper.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "quorvel/frame/variant_procedures.h"
#include "quorvel/platform/describe.h"
#include "quorvel/platform/error.h"

namespace quorvel {

const ClassInfo& CollectionHelper::describe() {
  static const ClassInfo info = describe_class<CollectionHelper>(
      ClassFlags::None,
      {method<&CollectionHelper::TryRemove>("TryRemove", 1, "Collection", "Index"),
       method<&CollectionHelper::TryAdd>("TryAdd", 2, "Collection", "Item", "Key"),
       method<&CollectionHelper::HasItem>("HasItem", 3, "Collection", "Index", "Found"),
       method<&CollectionHelper::HasItemObj>("HasItemObj", 4, "Collection", "Index", "Found"),
       method<&CollectionHelper::CollectionBy>("CollectionBy", 5, "Values"),
       method<&CollectionHelper::ToString>("ToString", 6, "Collection", opt("m"), opt("n"), opt("Formatter"),
                                           opt("delimiter"))},
      "Adds, removes and looks up in a Collection without raising, and writes one as text");
  return info;
}

namespace {

// Runs one collection call; a failure of any kind is reported as false.
template <class F>
bool guarded(F&& call) noexcept {
  try {
    call();
    return true;
  } catch (...) {
    return false;
  }
}

bool starts_at(std::u16string_view text, std::size_t at, std::u16string_view d) noexcept {
  return at + d.size() <= text.size() && text.compare(at, d.size(), d) == 0;
}

// Cuts the trailing run of `d`, then the leading one, stepping one unit at a time, so that a
// delimiter which overlaps itself ("aa") may take more than one occurrence at each end.
void trim_runs(std::u16string& text, std::u16string_view d) {
  if (d == u" ") {
    const std::size_t first = text.find_first_not_of(u' ');
    if (first == std::u16string::npos) return text.clear();
    text.erase(text.find_last_not_of(u' ') + 1);
    text.erase(0, first);
    return;
  }
  if (text.size() >= d.size()) {
    std::size_t q = text.size() - d.size() + 1;  // 1-based: the last place where d could start
    std::size_t lowest = 0;
    while (q >= 1 && starts_at(text, q - 1, d)) lowest = q--;
    if (lowest != 0) text.erase(lowest - 1);
  }
  std::size_t k = 0;
  while (k + 1 <= text.size() && starts_at(text, k, d)) ++k;
  if (k >= 1) text.erase(0, std::min(text.size(), d.size() + k - 1));
}

void append_item(std::u16string& out, const Variant& item, std::u16string_view d, std::u16string_view trigger) {
  out += d;
  if (item.is_null()) return;  // Null joins as nothing, unquoted
  String converted;
  std::u16string_view text;
  if (const String* s = item.if_string()) {
    text = s->view();
  } else {
    converted = item.to_string();
    text = converted.view();
  }
  if (text.empty()) {
    out += u"\"\"";
  } else if (text.find(trigger) != std::u16string_view::npos) {
    out += u'"';
    for (const char16_t unit : text) {
      if (unit != u'"') out += unit;
    }
    out += u'"';
  } else {
    out += text;
  }
}

}  // namespace

bool CollectionHelper::TryRemove(Ref<Collection> items, Variant& Index) noexcept {
  return guarded([&] { items ? items->Remove(Index) : raise_runtime_error(RuntimeError::ObjectNotSet); });
}

bool CollectionHelper::TryAdd(Ref<Collection> items, Variant& Item, const Variant& Key) noexcept {
  return guarded([&] { items ? items->Add(Item, Key) : raise_runtime_error(RuntimeError::ObjectNotSet); });
}

bool CollectionHelper::HasItem(Ref<Collection> items, Variant& Index, Variant& Found) noexcept {
  return guarded([&] {
    if (!items) raise_runtime_error(RuntimeError::ObjectNotSet);
    Variant item = items->Item(Index);
    Found.swap(item);  // the old value goes last, with Found already set
  });
}

bool CollectionHelper::HasItemObj(Ref<Collection> items, Variant& Index, Ref<Unknown>& Found) noexcept {
  return guarded([&] {
    if (!items) raise_runtime_error(RuntimeError::ObjectNotSet);
    Ref<Unknown> object = items->Item(Index).to_object();
    std::swap(Found, object);
  });
}

Ref<Collection> CollectionHelper::CollectionBy(ArrayOf<Variant>& Values) {
  Ref<Collection> result = make<Collection>();
  for (const Variant& value : Values.items()) result->Add(value);
  return result;
}

String CollectionHelper::ToString(Ref<Collection> items, Variant& m, Variant& n, Ref<IFormatter>& Formatter,
                                  Variant& delimiter) {
  const bool ranged = !m.is_missing() || !n.is_missing();
  const std::int32_t first = m.is_missing() ? 1 : m.to_long();
  const String given = delimiter.is_missing() ? String(u" ") : delimiter.to_string();
  const std::u16string_view d = given.view();
  if (d.empty()) raise_runtime_error(RuntimeError::InvalidProcedureCall);
  if (!items) raise_runtime_error(RuntimeError::ObjectNotSet);
  const std::int32_t last = n.is_missing() ? items->Count() : n.to_long();
  if (ranged && first <= last) {
    items->at(first);  // the collection's own error for a range reaching outside it
    items->at(last);
  }
  const std::u16string_view trigger = ranged ? d : std::u16string_view(u" ");
  const Ref<IFormatter> formatter = Formatter;  // kept, should the formatter reset the caller's variable

  std::u16string out;
  // By position, each item read afresh: a formatter or an item's default member may change the
  // collection as it is walked. The whole form follows the count as it is now; the range form
  // raises the collection's error once the range no longer fits.
  for (std::int32_t i = ranged ? first : 1; ranged ? i <= last : i <= items->Count(); ++i) {
    const Variant& held = items->at(i);
    if (!formatter && held.if_string()) {
      append_item(out, held, d, trigger);  // no caller code runs on this path
      continue;
    }
    const Variant item = held;
    append_item(out, formatter ? formatter->Format(item) : item, d, trigger);
  }
  trim_runs(out, d);
  return String(out);
}

Ref<CollectionHelper> new_collection_helper() { return make<CollectionHelper>(); }

}  // namespace quorvel
