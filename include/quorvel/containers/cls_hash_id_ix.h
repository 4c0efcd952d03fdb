// The id-to-index hash: a multi-map of (id, index) pairs in a fixed number of buckets, each
// bucket two flat parallel arrays of Longs.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "quorvel/frame/debug_members.h"
#include "quorvel/frame/unary_long_test.h"
#include "quorvel/platform/array.h"
#include "quorvel/platform/class_info.h"
#include "quorvel/platform/collection.h"
#include "quorvel/platform/memory.h"

namespace quorvel {

/// Maps Long ids to one or more Long indexes (creatable as "Quorvel.clsHashIdIx"). The bucket
/// count (1000 at creation, else a prime chosen by `lTableSize`) and the slot increment are set
/// only before the first `InsertIdIx`; buckets never rehash, their slot arrays grow. Within a
/// bucket pairs lie in insertion order, and a removal moves the last pair into the hole; every
/// lookup walks that order. Lookups cost O(pairs in the id's bucket).
///
/// After `TearDown` the object reads as empty and `InsertIdIx` raises 0x80040003 (no message),
/// unless `lTableSize` (still open) builds a new table.
class clsHashIdIx final : public ObjectImpl<>, public DebugMembers {
 public:
  static constexpr const char* type_name = "clsHashIdIx";
  static constexpr Guid clsid{"{8E841826-506B-495C-9EB4-762B067848B5}"};
  static constexpr Guid iid{"{AD49E82D-7BBC-4A11-8CE7-7F50A16CB2D1}"};  // its own interface
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }

  /// The bucket counts `lTableSize` picks from: entry k for requests of 2^(k+5) to 2^(k+6) - 1.
  static constexpr std::array<std::int32_t, 26> kBucketPrimes{
      53,      97,      193,      389,      769,      1543,     3079,      6151,      12289,
      24593,   49157,   98317,    196613,   393241,   786433,   1572869,   3145739,   6291469,
      12582917, 25165843, 50331653, 100663319, 201326611, 402653189, 805306457, 1610612741};

  /// Raises 7 when the default table cannot be had.
  clsHashIdIx();
  ~clsHashIdIx() override;

  /// Releases every bucket's storage; see the class comment for what follows.
  void TearDown() noexcept;
  /// Slots by which a bucket grows under the fixed policy. 1001 "Let lSlotSizeIncrement/1"
  /// (source "clsHashIdIx", direct) after the first insert; below 1 raises 0x80040001.
  void put_lSlotSizeIncrement(std::int32_t Value);
  /// Replaces the table by kBucketPrimes[max(floor(log2 Value), 5) - 5] empty buckets. 1001
  /// "Let lTableSize/1" (direct) after the first insert; below 1 raises 0x80040001; 7.
  void put_lTableSize(std::int32_t Value);
  /// True when exactly this pair is stored.
  bool bFindIdIx(std::int32_t lId, std::int32_t lIx);
  /// Stores the pair unless present; closes the sizing phase either way. Raises 7 (nothing
  /// stored, the phase closed all the same).
  void InsertIdIx(std::int32_t lId, std::int32_t lIx) {
    // Inline for the common case, a free slot in a cell that does not hold this id yet. A run of
    // inserts is bound by the misses of the cache it keeps in flight, and that number falls
    // with every instruction an insert takes: so this path tests only what it must, and leaves
    // the rest to the long way: the sizing phase, buckets 0 and 1 with their own marks (past
    // them a free slot holds 0 and a block's cell 1), a pair that may be present, a full cell.
    if (Cell* table = inserting_) {
      const std::uint32_t b = bucket_index(lId);
      Cell& cell = table[b];
      const std::int32_t first = cell.id[0];
      const std::uint32_t s = first != 0;  // the first slot that can be free
      if (b > 1 && first != lId && cell.id[s] == 0) {
        cell.id[s] = lId;
        cell.ix[s] = lIx;
        return;
      }
    }
    insert_beyond_cell(lId, lIx);
  }
  /// A new Collection of the id's indexes in slot order, or Nothing when there are none. Raises 7.
  Ref<Collection> colLookupIx4Id(std::int32_t lId);
  /// Removes every pair of this id.
  void RemoveAllIx4Id(std::int32_t lId);
  /// Removes the first slot holding exactly this pair, if any.
  void RemoveIx4Id(std::int32_t lId, std::int32_t lIx);
  /// The id's indexes in `lIxs`(1..`lIxCount`): an empty bucket leaves `lIxs` untouched; else
  /// the array is re-created 1-based at the first match and, with `bRedimToProperSize`, cut to
  /// 1 to max(`lIxCount`, 1). Raises 7 with `lIxs` untouched.
  void LookupIx4Id(std::int32_t lId, ArrayOf<std::int32_t>& lIxs, std::int32_t& lIxCount, bool bRedimToProperSize = true);
  /// The index of the id's first slot, else `DefaultIx`.
  std::int32_t FindFirstIxDefault(std::int32_t lId, std::int32_t DefaultIx);
  bool get_SpareSlots() const noexcept { return spare_slots_; }
  /// Selects the growth policy for later allocations: True gives 2 slots and then c + c/ln c
  /// (rounded half to even) - 1; False the fixed increment.
  void put_SpareSlots(bool Value) noexcept { spare_slots_ = Value; }
  /// Like `LookupIx4Id` into a reused 1-based buffer: re-created 1 to the bucket's count only
  /// when smaller, never shrunk. A large enough buffer not based at 1 raises 0x80040001
  /// "Lbound<>1"; an unallocated one 9; `lIxs` is then untouched and `lIxCount` 0.
  void LookupIx4IdExLB1(std::int32_t lId, ArrayOf<std::int32_t>& lIxs, std::int32_t& lIxCount);
  /// True with the index of the id's first slot in `retIx`; else False, `retIx` untouched.
  bool TryFindFirstIx(std::int32_t lId, std::int32_t& retIx) {
    // Inline for the common case, a bucket whose pairs lie in its cell: one read of the table.
    // Which slot to look at is computed rather than branched on: a branch would guess wrong for
    // every other bucket of two pairs and stall a run of lookups on each miss of the cache. The
    // long way returns what it finds rather than writing through `retIx`, so that a caller's
    // variable can stay in a register.
    if (!table_) return false;
    const std::uint32_t b = bucket_index(lId);
    const Cell& cell = table_[b];
    const std::uint32_t s = cell.id[0] != lId;
    if (cell.id[s] == lId) {
      retIx = cell.ix[s];
      return true;
    }
    if (cell.id[0] != block_mark(b)) return false;
    const std::optional<std::int32_t> found = find_in_block(lId, cell);
    if (found) retIx = *found;
    return found.has_value();
  }
  /// Like `TryFindFirstIx`, for the first slot whose index passes `Condition.Test`, called once
  /// per candidate in slot order. Its errors end the call; Nothing raises 91 when the id is there.
  bool TryFindFirstIxIf(Ref<IUnaryLongTest> Condition, std::int32_t lId, std::int32_t& retIx);

 private:
  // Each bucket is one 16-byte cell, so that a table sized for a million ids stays small enough
  // for the caches and costs few fresh pages. The cell holds the bucket's pairs while it has at
  // most two, else a pointer to its block (in place of the indexes). What it holds is told by ids
  // that can never lie in the bucket: `free_mark` in a slot's id marks it free (zero everywhere
  // but in bucket 0, so that fresh zeroed pages are empty buckets), `block_mark` in both marks
  // a block. A block is its capacity, its count, the ids of slots 0 to capacity - 1, then their
  // indexes.
  static constexpr std::int32_t kInline = 2;
  static constexpr std::uint32_t kBlock = 3;
  struct Cell {
    std::int32_t id[kInline];
    std::int32_t ix[kInline];
  };
  static_assert(sizeof(Cell) == 16 && sizeof(std::int32_t*) <= sizeof(Cell::ix));
  // Ids 0, 1 and 2 lie in buckets 0, 1 and 2 (there are at least 53).
  static std::int32_t free_mark(std::uint32_t b) noexcept { return b == 0 ? 2 : 0; }
  static std::int32_t block_mark(std::uint32_t b) noexcept { return b == 1 ? 2 : 1; }
  // A bucket's slots wherever they lie; `block` is null for the pairs in the cell.
  struct Slots {
    std::int32_t count = 0;
    std::int32_t* id = nullptr;
    std::int32_t* ix = nullptr;
    std::int32_t* block = nullptr;
  };
  static constexpr std::int32_t kHeader = 2;   // capacity and count before the runs
  static constexpr std::int32_t kPooled = 64;  // blocks up to this many slots come from the pool

  // |id rem N| (a truncating remainder takes the id's sign) is |id| mod N, taken by a multiply
  // that is exact for 32-bit operands rather than by a division.
  std::uint32_t bucket_index(std::int32_t id) const noexcept {
    const std::uint32_t magnitude = id < 0 ? 0u - static_cast<std::uint32_t>(id) : static_cast<std::uint32_t>(id);
    __extension__ using Wide = unsigned __int128;
    const std::uint64_t low = bucket_magic_ * magnitude;
    return static_cast<std::uint32_t>((static_cast<Wide>(low) * static_cast<std::uint32_t>(bucket_count_)) >> 64);
  }
  // The number of pairs in the cell, or kBlock.
  std::uint32_t state_of(std::uint32_t b) const noexcept {
    const Cell& cell = table_[b];
    if (cell.id[0] == block_mark(b)) return kBlock;
    return static_cast<std::uint32_t>(cell.id[0] != free_mark(b)) + static_cast<std::uint32_t>(cell.id[1] != free_mark(b));
  }
  static std::int32_t* block_in(const Cell& cell) noexcept;
  Slots slots_of(std::int32_t id) const noexcept;
  // Pure: a run of lookups can then keep the table's address and size in registers.
  [[gnu::pure]] static std::optional<std::int32_t> find_in_block(std::int32_t lId, const Cell& cell) noexcept;
  void insert_beyond_cell(std::int32_t lId, std::int32_t lIx);
  static std::size_t table_bytes(std::int32_t buckets);
  void reset_table(std::int32_t buckets);
  std::int32_t next_capacity(std::int32_t capacity) const;
  std::int32_t* take_block(std::int32_t capacity);
  void give_back(std::int32_t* block) noexcept;
  void release_storage() noexcept;
  void remove_slot(std::int32_t id, const Slots& slots, std::int32_t s) noexcept;
  Unknown* sender() noexcept { return as_unknown(static_cast<Object*>(this)); }

  Cell* table_ = nullptr;      // null once torn down
  Cell* inserting_ = nullptr;  // table_ once the first insert has closed the sizing phase
  std::int32_t bucket_count_ = 0;
  std::uint64_t bucket_magic_ = 0;  // for the remainder by multiplication
  std::int32_t increment_ = 10;
  bool sizing_open_ = true;
  bool spare_slots_ = false;
  // Small blocks are cut from chunks and recycled by capacity: a table of a million buckets
  // must not cost a million separate allocations.
  std::vector<void*, RaisingAllocator<void*>> chunks_;
  std::int32_t* bump_ = nullptr;
  std::size_t bump_left_ = 0;
  std::array<std::int32_t*, kPooled + 1> free_{};
  std::int32_t unpooled_ = 0;  // blocks above kPooled slots: only they need a walk of the table
};

}  // namespace quorvel
