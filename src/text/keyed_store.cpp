// The insertion-ordered keyed store: entries in a vector, an open-addressing index over them.
#include "quorvel/text/keyed_store.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "quorvel/platform/error.h"

namespace quorvel {
namespace {

constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15u;

constexpr char16_t fold(char16_t unit) noexcept {
  return static_cast<char16_t>(static_cast<unsigned>(unit - u'A') < 26u ? unit | 0x20 : unit);
}

std::uint64_t mix(std::uint64_t h, std::uint64_t block) noexcept {
  h = (h ^ block) * kMultiplier;
  return h ^ (h >> 29);
}

template <bool kFold>
std::uint32_t hash_units(std::u16string_view key) noexcept {
  std::uint64_t h = key.size() * kMultiplier;
  std::size_t i = 0;
  for (; i + 4 <= key.size(); i += 4) {
    char16_t block[4];
    for (std::size_t k = 0; k < 4; ++k) block[k] = kFold ? fold(key[i + k]) : key[i + k];
    std::uint64_t bits = 0;
    std::memcpy(&bits, block, sizeof bits);
    h = mix(h, bits);
  }
  std::uint64_t tail = 0;
  for (std::size_t shift = 0; i < key.size(); ++i, shift += 16) {
    tail |= static_cast<std::uint64_t>(kFold ? fold(key[i]) : key[i]) << shift;
  }
  h = mix(h, tail);
  h *= kMultiplier;
  return static_cast<std::uint32_t>(h >> 32);
}

}  // namespace

std::uint32_t KeyedStore::hash(std::u16string_view key) const noexcept {
  return ignores_case() ? hash_units<true>(key) : hash_units<false>(key);
}

bool KeyedStore::same_key(std::u16string_view a, std::u16string_view b) const noexcept {
  if (a.size() != b.size()) return false;
  if (!ignores_case()) return a == b;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (fold(a[i]) != fold(b[i])) return false;
  }
  return true;
}

std::size_t KeyedStore::probe(std::u16string_view key, std::uint32_t h) const noexcept {
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t at = h & mask;; at = (at + 1) & mask) {
    const std::uint64_t slot = slots_[at];
    if (slot == 0) return at;
    if (static_cast<std::uint32_t>(slot >> 32) == h &&
        same_key(entries_[static_cast<std::uint32_t>(slot) - 1].key.view(), key)) {
      return at;
    }
  }
}

const KeyedStore::Entry* KeyedStore::find(std::u16string_view key) const noexcept {
  if (entries_.empty()) return nullptr;
  const std::uint64_t slot = slots_[probe(key, hash(key))];
  return slot == 0 ? nullptr : &entries_[static_cast<std::uint32_t>(slot) - 1];
}

void KeyedStore::rebuild(std::size_t slot_count) {
  std::vector<std::uint64_t, RaisingAllocator<std::uint64_t>> fresh(slot_count, 0);
  const std::size_t mask = slot_count - 1;
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    const std::uint32_t h = hash(entries_[i].key.view());
    std::size_t at = h & mask;
    while (fresh[at] != 0) at = (at + 1) & mask;
    fresh[at] = static_cast<std::uint64_t>(h) << 32 | (i + 1);
  }
  slots_.swap(fresh);
}

void KeyedStore::reserve(std::size_t count) {
  if (count > UINT32_MAX / 2) raise_out_of_memory();
  if (count > entries_.capacity()) entries_.reserve(count);
  const std::size_t wanted = std::bit_ceil(std::max<std::size_t>(8, count * 2));
  if (wanted > slots_.size()) rebuild(wanted);
}

void KeyedStore::add(String key, String value) {
  const std::uint32_t h = hash(key.view());
  if (!entries_.empty() && slots_[probe(key.view(), h)] != 0) raise_runtime_error(RuntimeError::DuplicateKey);
  // Room first: once both vectors are large enough, nothing below can fail.
  if (entries_.size() == entries_.capacity()) {
    entries_.reserve(std::max<std::size_t>(8, entries_.size() * 2));
  }
  if ((entries_.size() + 1) * 2 > slots_.size()) rebuild(std::bit_ceil(std::max<std::size_t>(8, (entries_.size() + 1) * 2)));
  const std::size_t at = probe(key.view(), h);
  entries_.push_back({std::move(key), std::move(value)});
  slots_[at] = static_cast<std::uint64_t>(h) << 32 | entries_.size();
}

}  // namespace quorvel
