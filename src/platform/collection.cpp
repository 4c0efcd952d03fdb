// The keyed collection: a vector of node pointers in position order with a movable head, and an
// open-addressing table of folded-key hashes to nodes. Nodes never move, so the table can point at
// them; a node keeps its key folded, so a look-up folds only the key it is asked for, and an ASCII
// key not even that: it is folded block by block while it is hashed and compared.
#include "quorvel/platform/collection.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "quorvel/platform/describe.h"
#include "quorvel/platform/error.h"

namespace quorvel {

// A node and its folded key are one allocation, the key's units right after the node: adding
// allocates once, and a look-up reads the key from the node it already holds.
struct Collection::Node {
  Variant item;
  std::size_t key_hash = 0;
  std::size_t key_size = 0;
  bool keyed = false;

  std::u16string_view folded_key() const noexcept { return {key_units(), key_size}; }
  char16_t* key_units() noexcept { return reinterpret_cast<char16_t*>(this + 1); }
  const char16_t* key_units() const noexcept { return reinterpret_cast<const char16_t*>(this + 1); }

  struct Release {
    void operator()(Node* node) const noexcept {
      node->~Node();
      ::operator delete(node);
    }
  };
  /// A node with room for `key_size` units of key.
  static std::unique_ptr<Node, Release> allocate(std::size_t key_size) {
    std::unique_ptr<Node, Release> node(new (::operator new(sizeof(Node) + key_size * sizeof(char16_t))) Node());
    node->key_size = key_size;
    return node;
  }
};

namespace {

constexpr std::uint64_t kLanes = 0x0001000100010001u;  // one in each of four 16-bit units
constexpr std::uint64_t kBeyondAscii = kLanes * 0xFF80u;

/// Four units from `at` as one block.
std::uint64_t block_at(const char16_t* units, std::size_t at) noexcept {
  std::uint64_t block = 0;
  std::memcpy(&block, units + at, sizeof block);
  return block;
}

/// Calls `visit` with blocks of four units that together cover `text`: whole blocks from the
/// front, then the last four units (overlapping the block before); a text shorter than four as
/// one block of its first, middle and last unit. Equal texts give equal blocks.
template <class Visit>
void for_each_block(std::u16string_view text, Visit&& visit) noexcept {
  const char16_t* units = text.data();
  const std::size_t size = text.size();
  if (size >= 4) {
    for (std::size_t at = 0; at + 4 < size; at += 4) visit(block_at(units, at));
    visit(block_at(units, size - 4));
  } else if (size > 0) {
    visit(units[0] | std::uint64_t{units[size / 2]} << 16 | std::uint64_t{units[size - 1]} << 32);
  }
}

/// A block of four ASCII units with A to Z made lower case. Each unit is below 0x80, so adding
/// to it never carries into the next: bit 7 of a sum tells whether the unit reached the bound.
std::uint64_t fold_ascii_block(std::uint64_t block) noexcept {
  const std::uint64_t from_a = block + kLanes * (0x80 - u'A');
  const std::uint64_t past_z = block + kLanes * (0x80 - u'Z' - 1);
  return block | ((from_a & ~past_z & (kLanes * 0x80)) >> 2);
}

bool is_ascii(std::u16string_view text) noexcept {
  std::uint64_t seen = 0;
  for_each_block(text, [&](std::uint64_t block) { seen |= block; });
  return (seen & kBeyondAscii) == 0;
}

/// The hash of a folded key, given either folded or as pure ASCII (folded here, block by block:
/// folding folded ASCII changes nothing, so both forms hash alike).
std::size_t key_hash(std::u16string_view text) noexcept {
  std::uint64_t hash = text.size();
  for_each_block(text, [&](std::uint64_t block) {
    if ((block & kBeyondAscii) == 0) block = fold_ascii_block(block);
    hash = (hash ^ block) * 0x9E3779B97F4A7C15u;
  });
  // The table indexes by the low bits, which depend on the low bits of the input alone until
  // the high ones are folded in.
  hash ^= hash >> 29;
  hash *= 0xFF51AFD7ED558CCDu;
  hash ^= hash >> 32;
  return static_cast<std::size_t>(hash);
}

/// True when the ASCII `asked` folds to `folded`.
bool ascii_folds_to(std::u16string_view asked, std::u16string_view folded) noexcept {
  const std::size_t size = asked.size();
  if (size != folded.size()) return false;
  if (size < 4) {
    for (std::size_t i = 0; i < size; ++i) {
      const char16_t unit = asked[i];
      if ((unit >= u'A' && unit <= u'Z' ? unit + 32 : unit) != folded[i]) return false;
    }
    return true;
  }
  std::uint64_t differ = 0;
  for (std::size_t at = 0; at + 4 < size; at += 4) {
    differ |= fold_ascii_block(block_at(asked.data(), at)) ^ block_at(folded.data(), at);
  }
  differ |= fold_ascii_block(block_at(asked.data(), size - 4)) ^ block_at(folded.data(), size - 4);
  return differ == 0;
}

/// Copies the ASCII `text` folded to `out`, four units at a time where it can.
void fold_ascii_into(std::u16string_view text, char16_t* out) noexcept {
  const std::size_t size = text.size();
  if (size < 4) {
    for (const char16_t unit : text) *out++ = unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit + 32) : unit;
    return;
  }
  const auto store = [&](std::size_t at) {
    const std::uint64_t block = fold_ascii_block(block_at(text.data(), at));
    std::memcpy(out + at, &block, sizeof block);
  };
  for (std::size_t at = 0; at + 4 < size; at += 4) store(at);
  store(size - 4);
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

/// Runs `call`, turning a failed allocation into the platform's out-of-memory error. Every step
/// that allocates comes before the first change, so the collection is as it was.
template <class Call>
decltype(auto) out_of_memory_raises(Call&& call) {
  try {
    return call();
  } catch (const std::bad_alloc&) {
    raise_runtime_error(RuntimeError::OutOfMemory);
  }
}

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
       method<&Collection::Add>("Add", 1, "Item", opt("Key"), opt("Before"), opt("After")),
       method<&Collection::Count>("Count", 2),
       method<&Collection::Remove>("Remove", 3, {"Index"})},
      "Items in insertion order, reachable by 1-based position or by a key compared without regard to case");
  return info;
}


Collection::Collection() = default;

Collection::~Collection() {
  for (std::size_t i = head_; i < slots_.size(); ++i) Node::Release()(slots_[i]);
}

const Variant& Collection::const_iterator::operator*() const noexcept { return (*p_)->item; }

Collection::const_iterator Collection::begin() const noexcept { return const_iterator(slots_.data() + head_); }
Collection::const_iterator Collection::end() const noexcept { return const_iterator(slots_.data() + slots_.size()); }

const Variant& Collection::at(std::int32_t position) const {
  if (position < 1 || position > Count()) raise_runtime_error(RuntimeError::SubscriptOutOfRange);
  return slots_[head_ + static_cast<std::size_t>(position - 1)]->item;
}

std::size_t Collection::items_from(std::int32_t position, std::span<const Variant*> out) const noexcept {
  if (position < 1 || position > Count()) return 0;
  const std::size_t from = head_ + static_cast<std::size_t>(position - 1);
  const std::size_t n = std::min(out.size(), slots_.size() - from);
  for (std::size_t i = 0; i < n; ++i) out[i] = &slots_[from + i]->item;
  return n;
}

bool Collection::contains(std::u16string_view key) const {
  return out_of_memory_raises([&] { return find_key(key) != nullptr; });
}

const Collection::Node* Collection::find_key(std::u16string_view key) const {
  if (key_count_ == 0) return nullptr;
  if (is_ascii(key)) return keys_[probe(key, key_hash(key), true)].node;
  const std::u16string folded = fold_key(key);
  return keys_[probe(folded, key_hash(folded), false)].node;
}

std::size_t Collection::probe(std::u16string_view key, std::size_t hash, bool ascii_to_fold) const noexcept {
  const std::size_t mask = keys_.size() - 1;
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    const KeySlot& slot = keys_[i];
    if (slot.node == nullptr) return i;
    if (slot.hash != hash) continue;
    const std::u16string_view stored = slot.node->folded_key();
    if (ascii_to_fold ? ascii_folds_to(key, stored) : key == stored) return i;
  }
}

void Collection::reserve_key() {
  if ((key_count_ + 1) * 2 <= keys_.size()) return;
  std::vector<KeySlot> larger(std::max<std::size_t>(8, keys_.size() * 2));
  const std::size_t mask = larger.size() - 1;
  for (const KeySlot& slot : keys_) {
    if (slot.node == nullptr) continue;
    std::size_t i = slot.hash & mask;
    while (larger[i].node != nullptr) i = (i + 1) & mask;
    larger[i] = slot;
  }
  keys_.swap(larger);
}

void Collection::erase_key(const Node* node) noexcept {
  const std::size_t mask = keys_.size() - 1;
  std::size_t hole = node->key_hash & mask;
  while (keys_[hole].node != node) hole = (hole + 1) & mask;
  // Close the gap: a later entry of the same run moves into the hole unless its home lies
  // between the hole and itself, where a look-up would then no longer reach it.
  for (std::size_t i = (hole + 1) & mask; keys_[i].node != nullptr; i = (i + 1) & mask) {
    const std::size_t home = keys_[i].hash & mask;
    if (((i - home) & mask) >= ((i - hole) & mask)) {
      keys_[hole] = keys_[i];
      hole = i;
    }
  }
  keys_[hole] = KeySlot{};
  --key_count_;
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
    const Node* node = find_key(*key);
    if (node == nullptr) raise_absent_key();
    return *node;
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

void Collection::Add(const Variant& Item, const Variant& Key, const Variant& Before, const Variant& After) {
  out_of_memory_raises([&] {
    // Everything that can raise or allocate comes first: the key, the place, the copy, the
    // duplicate test, the node and room in both tables.
    std::unique_ptr<Node, Node::Release> node;
    if (Key.is_missing()) {
      node = Node::allocate(0);
    } else {
      const String* text = Key.if_string();
      const String converted = text != nullptr ? String() : Key.to_string();
      const std::u16string_view key = text != nullptr ? text->view() : converted.view();
      // Hashed from the text it is folded from, not from the node's copy just written.
      if (is_ascii(key)) {
        node = Node::allocate(key.size());
        fold_ascii_into(key, node->key_units());
        node->key_hash = key_hash(key);
      } else {
        const std::u16string folded = fold_key(key);
        node = Node::allocate(folded.size());
        std::copy(folded.begin(), folded.end(), node->key_units());
        node->key_hash = key_hash(folded);
      }
      node->keyed = true;
    }
    const std::size_t place = place_for(Before, After);
    node->item = Item.copy_ind();
    if (Count() == INT32_MAX) raise_runtime_error(RuntimeError::OutOfMemory);
    // The table grows (unseen) before it is searched, so that the search finds the free entry
    // the key will take.
    std::size_t key_slot = 0;
    if (node->keyed) {
      reserve_key();
      key_slot = probe(node->folded_key(), node->key_hash, false);
      if (keys_[key_slot].node != nullptr) raise_runtime_error(RuntimeError::DuplicateKey);
    }
    if (slots_.size() == slots_.capacity()) slots_.reserve(std::max<std::size_t>(8, slots_.capacity() * 2));

    // From here on nothing raises.
    if (node->keyed) {
      keys_[key_slot] = KeySlot{node->key_hash, node.get()};
      ++key_count_;
    }
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
  });
}

Variant Collection::Item(const Variant& Index) const {
  return out_of_memory_raises([&] { return node_of(Index).item; });
}

void Collection::Remove(const Variant& Index) {
  out_of_memory_raises([&] { erase_at(index_of(Index)); });
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
  if (node->keyed) erase_key(node);
  // Last, with the tables consistent: releasing the item may run an object's finaliser.
  Node::Release()(node);
}

}  // namespace quorvel
