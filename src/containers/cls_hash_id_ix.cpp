// The id-to-index hash.
#include "quorvel/containers/cls_hash_id_ix.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

#include "quorvel/frame/error_catalogue.h"
#include "quorvel/platform/describe.h"
#include "quorvel/platform/error.h"
#include "quorvel/platform/table_memory.h"

namespace quorvel {

const ClassInfo& clsHashIdIx::describe() {
  using H = clsHashIdIx;
  static const ClassInfo info = describe_class<H>(
      ClassFlags::Creatable,
      {debug_id_entry<H>(1), tear_down_entry<H>(2), let<&H::put_lSlotSizeIncrement>("lSlotSizeIncrement", 3, "Value"),
       let<&H::put_lTableSize>("lTableSize", 4, "Value"), method<&H::bFindIdIx>("bFindIdIx", 5, "lId", "lIx"),
       method<&H::InsertIdIx>("InsertIdIx", 6, "lId", "lIx"), method<&H::colLookupIx4Id>("colLookupIx4Id", 7, "lId"),
       method<&H::RemoveAllIx4Id>("RemoveAllIx4Id", 8, "lId"), method<&H::RemoveIx4Id>("RemoveIx4Id", 9, "lId", "lIx"),
       method<&H::LookupIx4Id>("LookupIx4Id", 10, "lId", "lIxs", "lIxCount", opt("bRedimToProperSize", Variant(true))),
       method<&H::FindFirstIxDefault>("FindFirstIxDefault", 11, "lId", "DefaultIx"),
       get<&H::get_SpareSlots>("SpareSlots", 12), let<&H::put_SpareSlots>("SpareSlots", 12, "Value"),
       method<&H::LookupIx4IdExLB1>("LookupIx4IdExLB1", 13, "lId", "lIxs", "lIxCount"),
       method<&H::TryFindFirstIx>("TryFindFirstIx", 14, "lId", "retIx"),
       method<&H::TryFindFirstIxIf>("TryFindFirstIxIf", 15, "Condition", "lId", "retIx")},
      "A multi-map of Long ids to Long indexes");
  return info;
}

clsHashIdIx::clsHashIdIx() { reset_table(1000); }

clsHashIdIx::~clsHashIdIx() { release_storage(); }

std::size_t clsHashIdIx::table_bytes(std::int32_t buckets) {
  return static_cast<std::size_t>(buckets) * sizeof(Cell);
}

void clsHashIdIx::reset_table(std::int32_t buckets) {
  // Zeroed pages come lazily, so even the largest table costs only what its ids touch.
  auto* fresh = static_cast<Cell*>(allocate_table_memory(table_bytes(buckets)));
  release_storage();
  table_ = fresh;
  table_[0].id[0] = table_[0].id[1] = free_mark(0);
  bucket_count_ = buckets;
  bucket_magic_ = ~std::uint64_t{0} / static_cast<std::uint32_t>(buckets) + 1;
}

std::int32_t* clsHashIdIx::block_in(const Cell& cell) noexcept {
  std::int32_t* block = nullptr;
  std::memcpy(&block, cell.ix, sizeof block);
  return block;
}

void clsHashIdIx::release_storage() noexcept {
  if (table_) {
    for (std::int32_t b = 0; unpooled_ > 0 && b < bucket_count_; ++b) {
      const auto i = static_cast<std::uint32_t>(b);
      if (state_of(i) != kBlock) continue;
      std::int32_t* block = block_in(table_[i]);
      if (block[0] > kPooled) free_memory(block), --unpooled_;
    }
    free_table_memory(table_, table_bytes(bucket_count_));
    table_ = inserting_ = nullptr;
  }
  unpooled_ = 0;
  for (void* chunk : chunks_) free_memory(chunk);
  chunks_.clear();
  bump_ = nullptr;
  bump_left_ = 0;
  free_.fill(nullptr);
}

void clsHashIdIx::TearDown() noexcept { release_storage(); }

clsHashIdIx::Slots clsHashIdIx::slots_of(std::int32_t id) const noexcept {
  if (!table_) return {};
  const std::uint32_t b = bucket_index(id);
  Cell& cell = table_[b];
  const std::uint32_t state = state_of(b);
  if (state != kBlock) return {static_cast<std::int32_t>(state), cell.id, cell.ix, nullptr};
  std::int32_t* block = block_in(cell);
  return {block[1], block + kHeader, block + kHeader + block[0], block};
}

std::int32_t* clsHashIdIx::take_block(std::int32_t capacity) {
  const auto ints = static_cast<std::size_t>(kHeader) + static_cast<std::size_t>(capacity) * 2;
  std::int32_t* block = nullptr;
  if (capacity > kPooled) {
    block = static_cast<std::int32_t*>(allocate_memory(ints * sizeof(std::int32_t)));
    ++unpooled_;
  } else if (std::int32_t* recycled = free_[static_cast<std::size_t>(capacity)]) {
    std::memcpy(&free_[static_cast<std::size_t>(capacity)], recycled, sizeof(std::int32_t*));
    block = recycled;
  } else {
    if (bump_left_ < ints) {
      constexpr std::size_t kChunkInts = 1 << 16;
      chunks_.reserve(chunks_.size() + 1);  // so that keeping the chunk cannot fail after taking it
      bump_ = static_cast<std::int32_t*>(allocate_memory(kChunkInts * sizeof(std::int32_t)));
      chunks_.push_back(bump_);
      bump_left_ = kChunkInts;
    }
    block = bump_;
    bump_ += ints;  // an even number of ints: every block can hold the free-list link
    bump_left_ -= ints;
  }
  block[0] = capacity;
  block[1] = 0;
  return block;
}

void clsHashIdIx::give_back(std::int32_t* block) noexcept {
  const std::int32_t capacity = block[0];
  if (capacity > kPooled) {
    --unpooled_;
    return free_memory(block);
  }
  // A freed block keeps the link to the next free block of its size in its first bytes.
  std::memcpy(block, &free_[static_cast<std::size_t>(capacity)], sizeof(std::int32_t*));
  free_[static_cast<std::size_t>(capacity)] = block;
}

std::int32_t clsHashIdIx::next_capacity(std::int32_t capacity) const {
  std::int64_t next = 0;
  if (capacity == 0) {
    next = spare_slots_ ? 2 : increment_;
  } else if (!spare_slots_) {
    next = std::int64_t{capacity} + increment_;
  } else if (capacity < 2) {
    next = 2;  // ln 1 = 0: step onto the start of the spare sequence
  } else {
    const double c = capacity;
    next = static_cast<std::int64_t>(std::nearbyint(c + c / std::log(c))) - 1;
  }
  if (next > (std::numeric_limits<std::int32_t>::max() - kHeader) / 2) raise_out_of_memory();
  return static_cast<std::int32_t>(next);
}

void clsHashIdIx::put_lSlotSizeIncrement(std::int32_t Value) {
  if (!sizing_open_) raise_direct(error_number::kListDirect, u"clsHashIdIx", u"Let lSlotSizeIncrement/1");
  if (Value < 1) raise(Failure::InvalidArgument, sender());
  increment_ = Value;
}

void clsHashIdIx::put_lTableSize(std::int32_t Value) {
  if (!sizing_open_) raise_direct(error_number::kListDirect, u"clsHashIdIx", u"Let lTableSize/1");
  if (Value < 1) raise(Failure::InvalidArgument, sender());
  const int k = std::max(static_cast<int>(std::bit_width(static_cast<std::uint32_t>(Value))) - 1, 5);
  reset_table(kBucketPrimes[static_cast<std::size_t>(k - 5)]);
}

bool clsHashIdIx::bFindIdIx(std::int32_t lId, std::int32_t lIx) {
  const Slots slots = slots_of(lId);
  for (std::int32_t s = 0; s < slots.count; ++s) {
    if (slots.id[s] == lId && slots.ix[s] == lIx) return true;
  }
  return false;
}

void clsHashIdIx::insert_beyond_cell(std::int32_t lId, std::int32_t lIx) {
  sizing_open_ = false;
  if (!table_) raise(Failure::InvalidState, sender());
  inserting_ = table_;
  if (bFindIdIx(lId, lIx)) return;
  const std::uint32_t b = bucket_index(lId);
  Cell& cell = table_[b];
  const std::uint32_t state = state_of(b);
  if (state < kInline) {
    cell.id[state] = lId;
    cell.ix[state] = lIx;
    return;
  }
  if (state == kInline) {
    // The bucket's first block; the growth policy counts the cell's pairs as its first slots.
    std::int32_t capacity = 0;
    while (capacity <= kInline) capacity = next_capacity(capacity);
    std::int32_t* block = take_block(capacity);
    for (std::int32_t s = 0; s < kInline; ++s) {
      block[kHeader + s] = cell.id[s];
      block[kHeader + capacity + s] = cell.ix[s];
    }
    block[kHeader + kInline] = lId;
    block[kHeader + capacity + kInline] = lIx;
    block[1] = kInline + 1;
    cell.id[0] = cell.id[1] = block_mark(b);
    std::memcpy(cell.ix, &block, sizeof block);
    return;
  }
  std::int32_t* block = block_in(cell);
  const std::int32_t count = block[1];
  if (count == block[0]) {
    const std::int32_t capacity = next_capacity(block[0]);
    std::int32_t* grown = take_block(capacity);
    const auto moved = static_cast<std::size_t>(count) * sizeof(std::int32_t);
    std::memcpy(grown + kHeader, block + kHeader, moved);
    std::memcpy(grown + kHeader + capacity, block + kHeader + count, moved);
    grown[1] = count;
    give_back(block);
    block = grown;
    std::memcpy(cell.ix, &block, sizeof block);
  }
  block[kHeader + count] = lId;
  block[kHeader + block[0] + count] = lIx;
  block[1] = count + 1;
}

Ref<Collection> clsHashIdIx::colLookupIx4Id(std::int32_t lId) {
  const Slots slots = slots_of(lId);
  if (slots.count == 0) return {};
  Ref<Collection> found = make<Collection>();
  bool any = false;
  for (std::int32_t s = 0; s < slots.count; ++s) {
    if (slots.id[s] != lId) continue;
    found->Add(Variant(slots.ix[s]));
    any = true;
  }
  return any ? found : Ref<Collection>();
}

void clsHashIdIx::remove_slot(std::int32_t id, const Slots& slots, std::int32_t s) noexcept {
  const std::int32_t last = slots.count - 1;
  slots.id[s] = slots.id[last];
  slots.ix[s] = slots.ix[last];
  if (slots.block) {
    slots.block[1] = last;
  } else {
    slots.id[last] = free_mark(bucket_index(id));
  }
}

void clsHashIdIx::RemoveAllIx4Id(std::int32_t lId) {
  for (std::int32_t s = 0;;) {
    const Slots slots = slots_of(lId);
    if (s >= slots.count) return;
    if (slots.id[s] == lId) {
      remove_slot(lId, slots, s);
    } else {
      ++s;
    }
  }
}

void clsHashIdIx::RemoveIx4Id(std::int32_t lId, std::int32_t lIx) {
  const Slots slots = slots_of(lId);
  for (std::int32_t s = 0; s < slots.count; ++s) {
    if (slots.id[s] == lId && slots.ix[s] == lIx) return remove_slot(lId, slots, s);
  }
}

void clsHashIdIx::LookupIx4Id(std::int32_t lId, ArrayOf<std::int32_t>& lIxs, std::int32_t& lIxCount, bool bRedimToProperSize) {
  lIxCount = 0;
  const Slots slots = slots_of(lId);
  if (slots.count == 0) return;
  ArrayOf<std::int32_t> result(1, slots.count);
  std::int32_t found = 0;
  for (std::int32_t s = 0; s < slots.count; ++s) {
    if (slots.id[s] == lId) result.items()[static_cast<std::size_t>(found++)] = slots.ix[s];
  }
  if (found == 0 && !bRedimToProperSize) return;  // no match: the buffer was never re-created
  if (bRedimToProperSize) result.resize(std::max(found, 1));
  lIxs = std::move(result);
  lIxCount = found;
}

std::int32_t clsHashIdIx::FindFirstIxDefault(std::int32_t lId, std::int32_t DefaultIx) {
  std::int32_t ix = DefaultIx;
  TryFindFirstIx(lId, ix);
  return ix;
}

void clsHashIdIx::LookupIx4IdExLB1(std::int32_t lId, ArrayOf<std::int32_t>& lIxs, std::int32_t& lIxCount) {
  lIxCount = 0;
  const Slots slots = slots_of(lId);
  std::int32_t found = 0;
  for (std::int32_t s = 0; s < slots.count; ++s) found += slots.id[s] == lId ? 1 : 0;
  if (found == 0) return;
  const std::int64_t length = std::int64_t{lIxs.upper_bound()} - lIxs.lower_bound() + 1;  // 9 when unallocated
  if (length < slots.count) {
    lIxs = ArrayOf<std::int32_t>(1, slots.count);
  } else if (lIxs.lower_bound() != 1) {
    raise(Failure::LboundNotOne, sender());
  }
  for (std::int32_t s = 0; s < slots.count; ++s) {
    if (slots.id[s] == lId) lIxs.items()[static_cast<std::size_t>(lIxCount++)] = slots.ix[s];
  }
}

std::optional<std::int32_t> clsHashIdIx::find_in_block(std::int32_t lId, const Cell& cell) noexcept {
  const std::int32_t* block = block_in(cell);
  const std::int32_t* ids = block + kHeader;
  for (std::int32_t s = 0; s < block[1]; ++s) {
    if (ids[s] == lId) return ids[block[0] + s];
  }
  return std::nullopt;
}

bool clsHashIdIx::TryFindFirstIxIf(Ref<IUnaryLongTest> Condition, std::int32_t lId, std::int32_t& retIx) {
  // The condition may change this object: each step looks the bucket up afresh and stops where
  // the pairs end.
  for (std::int32_t s = 0;; ++s) {
    const Slots slots = slots_of(lId);
    while (s < slots.count && slots.id[s] != lId) ++s;
    if (s >= slots.count) return false;
    const std::int32_t ix = slots.ix[s];
    if (!Condition) raise_runtime_error(RuntimeError::ObjectNotSet);
    if (Condition->Test(ix)) {
      retIx = ix;
      return true;
    }
  }
}

}  // namespace quorvel
