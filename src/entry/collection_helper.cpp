// The collection helpers.
#include "quorvel/entry/collection_helper.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

#include "quorvel/frame/variant_procedures.h"
#include "quorvel/platform/describe.h"
#include "quorvel/platform/error.h"
#include "quorvel/platform/memory.h"

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

// The text without its trailing run of `d`, then without its leading one, stepping one unit at a
// time, so that a delimiter which overlaps itself ("aa") may take more than one occurrence.
std::u16string_view trim_runs(std::u16string_view text, std::u16string_view d) noexcept {
  if (d == u" ") {
    const std::size_t first = text.find_first_not_of(u' ');
    if (first == std::u16string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(u' ') + 1 - first);
  }
  if (text.size() >= d.size()) {
    std::size_t q = text.size() - d.size() + 1;  // 1-based: the last place where d could start
    std::size_t lowest = 0;
    while (q >= 1 && starts_at(text, q - 1, d)) lowest = q--;
    if (lowest != 0) text = text.substr(0, lowest - 1);
  }
  std::size_t k = 0;
  while (k + 1 <= text.size() && starts_at(text, k, d)) ++k;
  if (k >= 1) text.remove_prefix(std::min(text.size(), d.size() + k - 1));
  return text;
}

// The text being built: one block grown by reallocation (a large one is moved by remapping, not
// copied) and filled by short fixed-size copies, which for the usual short items beat one
// library copy call per piece.
class TextBuffer {
 public:
  explicit TextBuffer(std::size_t expected) {
    if (expected > 0) grow(expected);
  }
  TextBuffer(const TextBuffer&) = delete;
  TextBuffer& operator=(const TextBuffer&) = delete;
  ~TextBuffer() { free_memory(units_); }

  void append(std::u16string_view text) {
    char16_t* out = room(text.size());
    const char16_t* in = text.data();
    std::size_t n = text.size();
    for (; n >= 4; n -= 4, in += 4, out += 4) std::memcpy(out, in, 4 * sizeof(char16_t));
    for (; n > 0; --n) *out++ = *in++;
  }
  /// Appends `text` and tells whether it holds `unit`: one pass for the common unquoted item.
  bool append_finding(std::u16string_view text, char16_t unit) {
    const std::size_t n = text.size();
    char16_t* out = room(n);
    const char16_t* in = text.data();
    if (n < 4) {
      bool found = false;
      for (std::size_t i = 0; i < n; ++i) found |= (out[i] = in[i]) == unit;
      return found;
    }
    // Four units a word; the last word may overlap the one before it.
    const std::uint64_t pattern = kLanes * unit;
    std::uint64_t hits = 0;
    std::size_t i = 0;
    for (; i + 4 <= n; i += 4) hits |= copy_word(in + i, out + i, pattern);
    if (i < n) hits |= copy_word(in + n - 4, out + n - 4, pattern);
    return hits != 0;
  }
  /// Takes back the last `n` units appended.
  void drop(std::size_t n) noexcept { used_ -= n; }
  void push_back(char16_t unit) { *room(1) = unit; }
  std::u16string_view view() const noexcept { return {units_, used_}; }

 private:
  static constexpr std::uint64_t kLanes = 0x0001000100010001;
  // Copies four units; nonzero when one of them equals the unit `pattern` repeats (a lane of
  // w ^ pattern is zero: the borrow test may also mark lanes above it, which is harmless here).
  static std::uint64_t copy_word(const char16_t* in, char16_t* out, std::uint64_t pattern) noexcept {
    std::uint64_t w;
    std::memcpy(&w, in, sizeof w);
    std::memcpy(out, &w, sizeof w);
    const std::uint64_t x = w ^ pattern;
    return (x - kLanes) & ~x & (kLanes << 15);
  }
  char16_t* room(std::size_t n) {
    if (capacity_ - used_ < n) grow(n);
    char16_t* at = units_ + used_;
    used_ += n;
    return at;
  }
  void grow(std::size_t n) {
    const std::size_t capacity = std::max(capacity_ * 2, used_ + n + 64);
    units_ = static_cast<char16_t*>(reallocate_memory(units_, capacity * sizeof(char16_t)));
    capacity_ = capacity;
  }
  char16_t* units_ = nullptr;
  std::size_t used_ = 0;
  std::size_t capacity_ = 0;
};

// Inline: for a collection of plain strings this is the whole per-item cost.
[[gnu::always_inline]] inline void append_text(TextBuffer& out, std::u16string_view text, std::u16string_view d,
                        std::u16string_view trigger) {
  if (d.size() == 1) {
    out.push_back(d[0]);
  } else {
    out.append(d);
  }
  if (text.empty()) return out.append(u"\"\"");
  if (trigger.size() == 1) {
    if (!out.append_finding(text, trigger[0])) return;
    out.drop(text.size());
  } else if (text.find(trigger) == std::u16string_view::npos) {
    return out.append(text);
  }
  out.push_back(u'"');
  for (const char16_t unit : text) {
    if (unit != u'"') out.push_back(unit);
  }
  out.push_back(u'"');
}

void append_item(TextBuffer& out, const Variant& item, std::u16string_view d, std::u16string_view trigger) {
  if (item.is_null()) {
    out.append(d);  // Null joins as nothing, unquoted
    return;
  }
  if (const String* s = item.if_string()) return append_text(out, s->view(), d, trigger);
  const String text = item.to_string();
  append_text(out, text.view(), d, trigger);
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

  // Room for short items up front; more comes by reallocation.
  TextBuffer buffer(std::min<std::size_t>(static_cast<std::size_t>(std::max(last - first + 1, 0)) * (d.size() + 8),
                                          std::size_t{1} << 22));
  // By position, each item read afresh: a formatter or an item's default member may change the
  // collection as it is walked. The whole form follows the count as it is now; the range form
  // raises the collection's error once the range no longer fits.
  auto end = [&] { return ranged ? last : items->Count(); };
  for (std::int32_t i = ranged ? first : 1; i <= end();) {
    if (!formatter) {
      // A run of strings runs no caller code, so their places can be taken a batch at a time.
      std::array<const Variant*, 64> batch;
      const std::size_t want = std::min<std::size_t>(batch.size(), static_cast<std::size_t>(end() - i) + 1);
      const std::size_t got = items->items_from(i, std::span(batch.data(), want));
      std::size_t k = 0;
      for (; k < got; ++k) {
        const String* text = batch[k]->if_string();
        if (!text) break;
        append_text(buffer, text->view(), d, trigger);
      }
      i += static_cast<std::int32_t>(k);
      if (k == want) continue;
    }
    const Variant item = items->at(i);  // raises once a range no longer fits
    append_item(buffer, formatter ? formatter->Format(item) : item, d, trigger);
    ++i;
  }
  return String(trim_runs(buffer.view(), d));
}

Ref<CollectionHelper> new_collection_helper() { return make<CollectionHelper>(); }

}  // namespace quorvel
