// The keyed collection: a vector of node pointers in position order with a movable head, and a hash
// of folded keys to nodes. Nodes never move, so the hash can point at them and at their keys.
#include "quorvel/platform/collection.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <memory>
#include <new>

#include "quorvel/platform/describe.h"
#include "quorvel/platform/error.h"
#include "quorvel/platform/memory.h"
#include "quorvel/platform/registry.h"

namespace quorvel {

struct Collection::Node {
  Variant item;
  std::u16string folded_key;
  std::size_t key_hash = 0;
  bool keyed = false;
};

namespace {

bool needs_folding(std::u16string_view key) noexcept {
  for (char16_t c : key) {
    if (c >= 0x80 || (c >= u'A' && c <= u'Z')) return true;
  }
  return false;
}

void append_code_point(std::u16string& out, char32_t c) {
  if (c < 0x10000) {
    out.push_back(static_cast<char16_t>(c));
  } else {
    c -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
  }
}

[[noreturn]] void raise_absent_key() { raise_runtime_error(RuntimeError::InvalidProcedureCall); }

// Folds only when it must: keys that are plain lower-case ASCII are looked up as they are.
class FoldedView {
 public:
  explicit FoldedView(std::u16string_view key) {
    if (needs_folding(key)) {
      storage_ = fold_key(key);
      view_ = storage_;
    } else {
      view_ = key;
    }
  }
  std::u16string_view view() const noexcept { return view_; }

 private:
  std::u16string storage_;
  std::u16string_view view_;
};

}  // namespace

std::u16string fold_key(std::u16string_view key) {
  std::u16string out;
  out.reserve(key.size());
  for (std::size_t i = 0; i < key.size(); ++i) {
    const char16_t unit = key[i];
    if (unit < 0x80) {
      out.push_back(unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit + 32) : unit);
      continue;
    }
    char32_t c = unit;
    if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < key.size() && key[i + 1] >= 0xDC00 && key[i + 1] < 0xE000) {
      c = 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (key[i + 1] - 0xDC00);
      ++i;
    } else if (unit >= 0xD800 && unit < 0xE000) {
      out.push_back(unit);  // a lone surrogate has no case
      continue;
    }
    append_code_point(out, static_cast<char32_t>(u_foldCase(static_cast<UChar32>(c), U_FOLD_CASE_DEFAULT)));
  }
  return out;
}

const ClassInfo& Collection::describe() {
  static const ClassInfo info = describe_class<Collection>(
      ClassFlags::None,
      {method<&Collection::Item>("Item", 0, {"Index"}),
       method<&Collection::Add>("Add", 1, {"Item", opt("Key"), opt("Before"), opt("After")}),
       method<&Collection::Count>("Count", 2),
       method<&Collection::Remove>("Remove", 3, {"Index"})},
      "Items in insertion order, reachable by 1-based position or by a key compared without regard to case");
  return info;
}

QUORVEL_REGISTER_CLASS(Collection);

Collection::Collection() = default;

Collection::~Collection() {
  for (std::size_t i = head_; i < slots_.size(); ++i) delete slots_[i];
}

const Variant& Collection::const_iterator::operator*() const noexcept { return (*p_)->item; }

Collection::const_iterator Collection::begin() const noexcept { return const_iterator(slots_.data() + head_); }
Collection::const_iterator Collection::end() const noexcept { return const_iterator(slots_.data() + slots_.size()); }

const Variant& Collection::at(std::int32_t position) const {
  if (position < 1 || position > Count()) raise_runtime_error(RuntimeError::SubscriptOutOfRange);
  return slots_[head_ + static_cast<std::size_t>(position - 1)]->item;
}

bool Collection::contains(std::u16string_view key) const try {
  return keys_.find(FoldedKey::of(FoldedView(key).view())) != keys_.end();
} catch (const std::bad_alloc&) {
  raise_out_of_memory();
}

std::size_t Collection::index_of_node(const Node* node) const noexcept {
  // Walk in from both ends, so that finding an item costs as much as moving the shorter side.
  std::size_t lo = head_;
  std::size_t hi = slots_.size() - 1;
  while (slots_[lo] != node && slots_[hi] != node) {
    ++lo;
    --hi;
  }
  return slots_[lo] == node ? lo : hi;
}

const Collection::Node& Collection::node_of(const Variant& index) const {
  if (index.is_object()) return node_of(index.default_value());
  if (const String* key = index.if_string()) {
    auto it = keys_.find(FoldedKey::of(FoldedView(*key).view()));
    if (it == keys_.end()) raise_absent_key();
    return *it->second;
  }
  const std::int32_t position = index.to_long();
  if (position < 1 || position > Count()) raise_runtime_error(RuntimeError::SubscriptOutOfRange);
  return *slots_[head_ + static_cast<std::size_t>(position - 1)];
}

std::size_t Collection::index_of(const Variant& index) const {
  if (index.is_object()) return index_of(index.default_value());
  if (index.is_string()) return index_of_node(&node_of(index));
  const std::int32_t position = index.to_long();
  if (position < 1 || position > Count()) raise_runtime_error(RuntimeError::SubscriptOutOfRange);
  return head_ + static_cast<std::size_t>(position - 1);
}

std::size_t Collection::place_for(const Variant& before, const Variant& after) const {
  const bool has_before = !before.is_missing();
  const bool has_after = !after.is_missing();
  if (has_before && has_after) raise_runtime_error(RuntimeError::InvalidProcedureCall);
  if (has_before) return index_of(before) - head_;
  if (has_after) return index_of(after) - head_ + 1;
  return static_cast<std::size_t>(Count());
}

// The public members turn the standard containers' std::bad_alloc into error 7; every one of
// them allocates before it changes anything, so the collection is then unchanged.
void Collection::Add(const Variant& Item, const Variant& Key, const Variant& Before, const Variant& After) try {
  // Everything that can raise comes first: key, place, the copy, and room in both tables.
  // The key goes into the hash last, so that a duplicate is found by the insertion itself.
  auto node = std::make_unique<Node>();
  if (!Key.is_missing()) {
    node->folded_key = fold_key(Key.to_string());
    node->key_hash = FoldedKey::of(node->folded_key).hash;
    node->keyed = true;
  }
  const std::size_t place = place_for(Before, After);
  node->item = Item.copy_ind();
  if (Count() == INT32_MAX) raise_runtime_error(RuntimeError::OutOfMemory);
  if (slots_.size() == slots_.capacity()) slots_.reserve(std::max<std::size_t>(8, slots_.capacity() * 2));
  if (node->keyed && !keys_.emplace(FoldedKey{node->key_hash, node->folded_key}, node.get()).second) {
    raise_runtime_error(RuntimeError::DuplicateKey);
  }

  // From here on nothing raises.
  const std::size_t count = static_cast<std::size_t>(Count());
  if (place == count) {
    slots_.push_back(node.release());
  } else if (head_ > 0 && place < count / 2) {
    --head_;
    std::move(slots_.begin() + static_cast<std::ptrdiff_t>(head_ + 1),
              slots_.begin() + static_cast<std::ptrdiff_t>(head_ + 1 + place),
              slots_.begin() + static_cast<std::ptrdiff_t>(head_));
    slots_[head_ + place] = node.release();
  } else {
    slots_.insert(slots_.begin() + static_cast<std::ptrdiff_t>(head_ + place), node.release());
  }
} catch (const std::bad_alloc&) {
  raise_out_of_memory();
}

Variant Collection::Item(const Variant& Index) const try {
  return node_of(Index).item;
} catch (const std::bad_alloc&) {
  raise_out_of_memory();
}

void Collection::Remove(const Variant& Index) try {
  erase_at(index_of(Index));
} catch (const std::bad_alloc&) {
  raise_out_of_memory();
}

void Collection::erase_at(std::size_t slot) noexcept {
  Node* node = slots_[slot];
  const std::size_t offset = slot - head_;
  if (offset < static_cast<std::size_t>(Count()) / 2) {
    std::move_backward(slots_.begin() + static_cast<std::ptrdiff_t>(head_),
                       slots_.begin() + static_cast<std::ptrdiff_t>(slot),
                       slots_.begin() + static_cast<std::ptrdiff_t>(slot + 1));
    slots_[head_++] = nullptr;
  } else {
    slots_.erase(slots_.begin() + static_cast<std::ptrdiff_t>(slot));
  }
  if (head_ == slots_.size()) {
    slots_.clear();
    head_ = 0;
  } else if (head_ >= 16 && head_ * 2 > slots_.size()) {
    slots_.erase(slots_.begin(), slots_.begin() + static_cast<std::ptrdiff_t>(head_));
    head_ = 0;
  }
  if (node->keyed) keys_.erase(FoldedKey{node->key_hash, node->folded_key});
  // Last, with the tables consistent: releasing the item may run an object's finaliser.
  delete node;
}

}  // namespace quorvel
