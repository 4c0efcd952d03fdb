// The keyed store behind the string dictionaries: an insertion-ordered map from string keys to
// string values whose compare mode decides whether keys differing in letter case are one key.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "quorvel/platform/memory.h"
#include "quorvel/platform/string.h"

namespace quorvel {

/// Entries in the order they were added; no entry is ever removed.
///
/// Compare modes: 0, and any negative mode, compare keys by exact code units. 1, and any mode
/// above it, ignore the case of the letters A to Z and nothing else: accented, full-width and
/// other letters stay apart from their capitals, and "STRASSE" is not "straße". That is how the
/// platform's keyed store answers in its text mode (é and É are two keys there). The mode is
/// remembered as given, so a dictionary writes back exactly the mode it was read with.
///
/// Cost: `find`, `exists` and `add` hash the key once and look at about one slot; `add` is
/// amortised constant time. Memory: the entries plus 8 bytes per slot, at most half the slots used.
class KeyedStore {
 public:
  struct Entry {
    String key;
    String value;
  };

  /// An empty store; the mode is fixed from here on, as the platform's store fixes it once an
  /// entry is added.
  explicit KeyedStore(std::int32_t compare_mode = 0) noexcept : mode_(compare_mode) {}

  std::int32_t compare_mode() const noexcept { return mode_; }
  bool ignores_case() const noexcept { return mode_ >= 1; }

  std::int32_t count() const noexcept { return static_cast<std::int32_t>(entries_.size()); }
  bool exists(std::u16string_view key) const noexcept { return find(key) != nullptr; }
  /// The entry of `key` in the compare mode, or null.
  const Entry* find(std::u16string_view key) const noexcept;
  /// Adds an entry at the end. Raises 457 (key already present in the compare mode) and 7
  /// (no memory); either way the store is unchanged.
  void add(String key, String value);
  /// Room for `count` entries in all, so that adding that many allocates nothing more. Raises 7.
  void reserve(std::size_t count);
  /// The entries in insertion order.
  std::span<const Entry> entries() const noexcept { return {entries_.data(), entries_.size()}; }

 private:
  std::uint32_t hash(std::u16string_view key) const noexcept;
  bool same_key(std::u16string_view a, std::u16string_view b) const noexcept;
  /// The slot where `key` sits, or the empty slot where it would go.
  std::size_t probe(std::u16string_view key, std::uint32_t h) const noexcept;
  void rebuild(std::size_t slot_count);

  std::int32_t mode_;
  std::vector<Entry, RaisingAllocator<Entry>> entries_;
  // Each slot: the key's hash in the high half, entry index + 1 in the low half; 0 is empty.
  std::vector<std::uint64_t, RaisingAllocator<std::uint64_t>> slots_;
};

}  // namespace quorvel
