// The keyed collection: items in insertion order, reachable by 1-based position or by an optional
// String key. Created by a library or by its caller, the two are the same class and interchangeable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "quorvel/platform/class_info.h"
#include "quorvel/platform/object.h"
#include "quorvel/platform/variant.h"

namespace quorvel {

/// A keyed collection of Variants (values or object references) in insertion order.
///
/// Positions run from 1 to `Count()`. Keys are Strings compared without regard to case by simple
/// Unicode case folding, code point by code point (so "STRASSE" and "strasse" match, "Straße" and
/// "strasse" do not); an item without a key is reachable by position only. Object items are
/// stored as references, never copied; any other item is stored as a dereferenced copy.
///
/// A late-bound caller walks the items with `Item(1)` to `Item(Count())`; C++ iterates.
///
/// Errors (runtime errors, source "Quorvel"): a position outside 1 to `Count()` raises 9, a key
/// that is not present raises 5, adding under a key already present raises 457, and a call that
/// runs out of memory raises 7. A call that raises changes nothing.
///
/// Cost: `Add` at the end and look-up by position or key are O(1) (amortised; keys hashed, and
/// only keys with letters beyond ASCII are folded into a copy to be looked up).
/// Removing or inserting at a position p moves the shorter side of the sequence, O(min(p, n - p)),
/// and so does finding the position of a key for `Remove` or `Before`/`After`: emptying a
/// collection from the front or from the back is O(n) in all.
class Collection final : public ObjectImpl<> {
 public:
  static constexpr const char* type_name = "Collection";
  static constexpr Guid clsid{"{7C303F6C-4468-43A8-9F21-123CD5F4FF79}"};
  static constexpr Guid iid{"{4CA800FB-0A1B-467B-8F9C-ECE8E9689D8B}"};  // its own interface
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }

  Collection();
  ~Collection() override;

  /// Adds `Item`. Without `Before` and `After` it goes after the last item; `Before` (or `After`)
  /// names an existing item by position or key, and the new item takes the place just before (or
  /// after) it. A `Key` given is converted to String.
  /// Raises 457 for a key already present, 5 when both `Before` and `After` are given or a
  /// `Before`/`After` key is absent, 9 for a `Before`/`After` position outside 1 to `Count()`,
  /// and the conversion errors of `Key` and of a numeric index (6, 13, 94).
  void Add(const Variant& Item, const Variant& Key = Variant::missing(), const Variant& Before = Variant::missing(),
           const Variant& After = Variant::missing());

  /// The item at `Index`: a String is a key, anything else is converted to a position.
  /// Raises 9 (position outside), 5 (key absent), or the conversion error of the index.
  Variant Item(const Variant& Index) const;

  /// Removes the item at `Index` (as for `Item`); the items after it move up one position.
  /// Raises as `Item` does.
  void Remove(const Variant& Index);

  /// The number of items.
  std::int32_t Count() const noexcept { return static_cast<std::int32_t>(slots_.size() - head_); }

  /// The item at a 1-based position, without a Variant index; raises 9 outside 1 to `Count()`.
  const Variant& at(std::int32_t position) const;
  /// The items from the 1-based `position` on, as many as exist and `out` holds, written into
  /// `out`; the number written (0 outside 1 to `Count()`). The pointers stay valid until the
  /// collection next changes. Cost: O(out.size()), one call for a run of items.
  std::size_t items_from(std::int32_t position, std::span<const Variant*> out) const noexcept;
  /// True when an item has `key` (compared as the keys are).
  bool contains(std::u16string_view key) const;

  class const_iterator;
  /// Iteration over the items in position order. Adding or removing items invalidates iterators;
  /// to change the collection while walking it, walk by position.
  const_iterator begin() const noexcept;
  const_iterator end() const noexcept;

 private:
  struct Node;
  // One entry of the key table; a free entry has no node. The hash is kept so that probing reads
  // a node only when the hashes agree.
  struct KeySlot {
    std::size_t hash = 0;
    Node* node = nullptr;
  };

  const Node& node_of(const Variant& index) const;    // the item an index names, validated
  std::size_t index_of(const Variant& index) const;   // offset into slots_, validated
  std::size_t index_of_node(const Node* node) const noexcept;
  std::size_t place_for(const Variant& before, const Variant& after) const;
  void erase_at(std::size_t slot) noexcept;

  const Node* find_key(std::u16string_view key) const;
  // The entry holding `key` (folded, or ASCII to be folded), else the free entry it would take.
  std::size_t probe(std::u16string_view key, std::size_t hash, bool ascii_to_fold) const noexcept;
  void reserve_key();  // room for one more key, allocated before anything changes
  void erase_key(const Node* node) noexcept;

  // Slots [head_, size) hold the items in order; removing the first items only advances head_,
  // and the dead prefix is dropped once it is half of the vector.
  std::vector<Node*> slots_;
  std::size_t head_ = 0;
  // Open addressing with linear probing over folded-key hashes; a power of two in size (or
  // empty), at most half full.
  std::vector<KeySlot> keys_;
  std::size_t key_count_ = 0;
};

class Collection::const_iterator {
 public:
  using value_type = Variant;
  using difference_type = std::ptrdiff_t;
  using reference = const Variant&;
  using pointer = const Variant*;
  using iterator_category = std::forward_iterator_tag;

  const_iterator() noexcept = default;
  reference operator*() const noexcept;
  pointer operator->() const noexcept { return &**this; }
  const_iterator& operator++() noexcept {
    ++p_;
    return *this;
  }
  const_iterator operator++(int) noexcept {
    const_iterator old = *this;
    ++p_;
    return old;
  }
  friend bool operator==(const const_iterator& a, const const_iterator& b) noexcept { return a.p_ == b.p_; }

 private:
  friend class Collection;
  explicit const_iterator(Node* const* p) noexcept : p_(p) {}
  Node* const* p_ = nullptr;
};

/// `key` folded as `Collection` compares keys: simple Unicode case folding per code point; lone
/// surrogates are kept as they are.
std::u16string fold_key(std::u16string_view key);

}  // namespace quorvel
