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

void clsHashIdIx::reset_table(std::int32_t buckets) {
  // Zeroed pages come lazily, so even the largest table costs only what its ids touch.
  auto* fresh = static_cast<Bucket*>(allocate_table_memory(static_cast<std::size_t>(buckets) * sizeof(Bucket)));
  release_storage();
  table_ = fresh;
  bucket_count_ = buckets;
  bucket_magic_ = ~std::uint64_t{0} / static_cast<std::uint32_t>(buckets) + 1;
}

void clsHashIdIx::release_storage() noexcept {
  if (table_) {
    for (std::int32_t b = 0; unpooled_ > 0 && b < bucket_count_; ++b) {
      if (table_[b].rest && table_[b].spill() > kPooled) free_memory(table_[b].rest), --unpooled_;
    }
    free_table_memory(table_, static_cast<std::size_t>(bucket_count_) * sizeof(Bucket));
    table_ = nullptr;
  }
  unpooled_ = 0;
  for (void* chunk : chunks_) free_memory(chunk);
  chunks_.clear();
  bump_ = nullptr;
  bump_left_ = 0;
  free_.fill(nullptr);
}

void clsHashIdIx::TearDown() noexcept { release_storage(); }

std::int32_t* clsHashIdIx::take_block(std::int32_t slots) {
  const auto ints = static_cast<std::size_t>(slots) * 2;
  if (slots > kPooled) {
    auto* block = static_cast<std::int32_t*>(allocate_memory(ints * sizeof(std::int32_t)));
    ++unpooled_;
    return block;
  }
  if (std::int32_t* recycled = free_[static_cast<std::size_t>(slots)]) {
    std::memcpy(&free_[static_cast<std::size_t>(slots)], recycled, sizeof(std::int32_t*));
    return recycled;
  }
  if (bump_left_ < ints) {
    constexpr std::size_t kChunkInts = 1 << 16;
    chunks_.reserve(chunks_.size() + 1);  // so that keeping the chunk cannot fail after taking it
    bump_ = static_cast<std::int32_t*>(allocate_memory(kChunkInts * sizeof(std::int32_t)));
    chunks_.push_back(bump_);
    bump_left_ = kChunkInts;
  }
  std::int32_t* block = bump_;
  bump_ += ints;
  bump_left_ -= ints;
  return block;
}

void clsHashIdIx::give_back(std::int32_t* block, std::int32_t slots) noexcept {
  if (slots > kPooled) {
    --unpooled_;
    return free_memory(block);
  }
  // A freed block keeps the link to the next free block of its size in its first bytes.
  std::memcpy(block, &free_[static_cast<std::size_t>(slots)], sizeof(std::int32_t*));
  free_[static_cast<std::size_t>(slots)] = block;
}

std::int32_t clsHashIdIx::next_capacity(const Bucket& b) const {
  std::int64_t next = 0;
  if (b.capacity == 0) {
    next = spare_slots_ ? 2 : increment_;
  } else if (!spare_slots_) {
    next = std::int64_t{b.capacity} + increment_;
  } else if (b.capacity < 2) {
    next = 2;  // ln 1 = 0: step onto the start of the spare sequence
  } else {
    const double c = b.capacity;
    next = static_cast<std::int64_t>(std::nearbyint(c + c / std::log(c))) - 1;
  }
  if (next > std::numeric_limits<std::int32_t>::max() / 2) raise_out_of_memory();
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
  Bucket* b = bucket_of(lId);
  if (!b) return false;
  for (std::int32_t s = 0; s < b->count; ++s) {
    if (b->id(s) == lId && b->ix(s) == lIx) return true;
  }
  return false;
}

void clsHashIdIx::InsertIdIx(std::int32_t lId, std::int32_t lIx) {
  sizing_open_ = false;
  Bucket* b = bucket_of(lId);
  if (!b) raise(Failure::InvalidState, sender());
  // The common case, a bucket with a free slot of its own, decided without a branch on what the
  // bucket holds: a run of inserts then keeps several cache misses in flight.
  if (b->count < kInline) {
    const std::int32_t c = b->count;
    const bool present = (c > 0) & (b->id_in[0] == lId) & (b->ix_in[0] == lIx);
    const std::int32_t capacity = b->capacity == 0 ? (spare_slots_ ? 2 : increment_) : b->capacity;
    if (present) return;
    if (c < capacity) {
      b->capacity = capacity;
      b->id_in[c] = lId;
      b->ix_in[c] = lIx;
      b->count = c + 1;
      return;
    }
  }
  if (bFindIdIx(lId, lIx)) return;
  if (b->count == b->capacity) {
    const std::int32_t capacity = next_capacity(*b);
    if (b->rest) {
      const std::int32_t spill = capacity - kInline;
      std::int32_t* block = take_block(spill);
      const auto moved = static_cast<std::size_t>(b->count - kInline) * sizeof(std::int32_t);
      std::memcpy(block, b->rest, moved);
      std::memcpy(block + spill, b->rest + b->spill(), moved);
      give_back(b->rest, b->spill());
      b->rest = block;
    }
    b->capacity = capacity;
  }
  if (b->count >= kInline && !b->rest) b->rest = take_block(b->spill());
  b->id(b->count) = lId;
  b->ix(b->count) = lIx;
  ++b->count;
}

Ref<Collection> clsHashIdIx::colLookupIx4Id(std::int32_t lId) {
  Bucket* b = bucket_of(lId);
  if (!b || b->count == 0) return {};
  Ref<Collection> found = make<Collection>();
  bool any = false;
  for (std::int32_t s = 0; s < b->count; ++s) {
    if (b->id(s) != lId) continue;
    found->Add(Variant(b->ix(s)));
    any = true;
  }
  return any ? found : Ref<Collection>();
}

void clsHashIdIx::remove_slot(Bucket& b, std::int32_t s) noexcept {
  const std::int32_t last = b.count - 1;
  if (s != last) {
    b.id(s) = b.id(last);
    b.ix(s) = b.ix(last);
  }
  b.count = last;
}

void clsHashIdIx::RemoveAllIx4Id(std::int32_t lId) {
  Bucket* b = bucket_of(lId);
  if (!b) return;
  for (std::int32_t s = 0; s < b->count;) {
    if (b->id(s) == lId) {
      remove_slot(*b, s);
    } else {
      ++s;
    }
  }
}

void clsHashIdIx::RemoveIx4Id(std::int32_t lId, std::int32_t lIx) {
  Bucket* b = bucket_of(lId);
  if (!b) return;
  for (std::int32_t s = 0; s < b->count; ++s) {
    if (b->id(s) == lId && b->ix(s) == lIx) return remove_slot(*b, s);
  }
}

void clsHashIdIx::LookupIx4Id(std::int32_t lId, ArrayOf<std::int32_t>& lIxs, std::int32_t& lIxCount, bool bRedimToProperSize) {
  lIxCount = 0;
  Bucket* b = bucket_of(lId);
  if (!b || b->count == 0) return;
  ArrayOf<std::int32_t> result(1, b->count);
  std::int32_t found = 0;
  for (std::int32_t s = 0; s < b->count; ++s) {
    if (b->id(s) == lId) result.items()[static_cast<std::size_t>(found++)] = b->ix(s);
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
  Bucket* b = bucket_of(lId);
  if (!b) return;
  std::int32_t found = 0;
  for (std::int32_t s = 0; s < b->count; ++s) found += b->id(s) == lId ? 1 : 0;
  if (found == 0) return;
  const std::int64_t length = std::int64_t{lIxs.upper_bound()} - lIxs.lower_bound() + 1;  // 9 when unallocated
  if (length < b->count) {
    lIxs = ArrayOf<std::int32_t>(1, b->count);
  } else if (lIxs.lower_bound() != 1) {
    raise(Failure::LboundNotOne, sender());
  }
  for (std::int32_t s = 0; s < b->count; ++s) {
    if (b->id(s) == lId) lIxs.items()[static_cast<std::size_t>(lIxCount++)] = b->ix(s);
  }
}

bool clsHashIdIx::find_first_rest(std::int32_t lId, std::int32_t& retIx) {
  Bucket* b = bucket_of(lId);
  if (!b) return false;
  for (std::int32_t s = 0; s < b->count; ++s) {
    if (b->id(s) == lId) {
      retIx = b->ix(s);
      return true;
    }
  }
  return false;
}

bool clsHashIdIx::TryFindFirstIxIf(Ref<IUnaryLongTest> Condition, std::int32_t lId, std::int32_t& retIx) {
  // The condition may change this object: each step looks the bucket up afresh and stops where
  // the pairs end.
  for (std::int32_t s = 0;; ++s) {
    Bucket* b = bucket_of(lId);
    if (!b) return false;
    while (s < b->count && b->id(s) != lId) ++s;
    if (s >= b->count) return false;
    const std::int32_t ix = b->ix(s);
    if (!Condition) raise_runtime_error(RuntimeError::ObjectNotSet);
    if (Condition->Test(ix)) {
      retIx = ix;
      return true;
    }
  }
}

}  // namespace quorvel
