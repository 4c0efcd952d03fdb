// Allocation through malloc and friends with one failure path: error 7.
#include "quorvel/platform/memory.h"
#include "quorvel/platform/table_memory.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "quorvel/platform/error.h"
#include "quorvel/platform/registry.h"

namespace quorvel {

namespace {

AllocationFaultHook g_fault_hook = nullptr;

// Built at load time, while memory is still there: raising must not need the allocation that
// failed (and a failing string allocation must not recurse into building these).
const String g_source = library_name();
const String g_out_of_memory(runtime_error_description(RuntimeError::OutOfMemory));

bool injected_failure() noexcept { return g_fault_hook && g_fault_hook(); }

// Below this a table comes from the ordinary heap; above it, from its own mapping.
constexpr std::size_t kMappedTable = std::size_t{1} << 20;
constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr std::size_t kPageRound = 4095;  // mappings are whole small pages

}  // namespace

void set_allocation_fault_hook(AllocationFaultHook hook) noexcept { g_fault_hook = hook; }

void raise_out_of_memory() {
  raise_error(static_cast<std::int32_t>(RuntimeError::OutOfMemory), g_source, g_out_of_memory);
}

void* allocate_memory(std::size_t bytes) {
  void* block = injected_failure() ? nullptr : std::malloc(bytes);
  if (!block) raise_out_of_memory();
  return block;
}

void* allocate_zeroed_memory(std::size_t count, std::size_t width) {
  void* block = injected_failure() ? nullptr : std::calloc(count, width);
  if (!block) raise_out_of_memory();
  return block;
}

void* reallocate_memory(void* block, std::size_t bytes) {
  void* moved = injected_failure() ? nullptr : std::realloc(block, bytes);
  if (!moved) raise_out_of_memory();
  return moved;
}

void free_memory(void* block) noexcept { std::free(block); }

void* allocate_table_memory(std::size_t bytes) {
  if (bytes < kMappedTable) {
    void* block = injected_failure() ? nullptr : std::aligned_alloc(64, (bytes + 63) / 64 * 64);
    if (!block) raise_out_of_memory();
    std::memset(block, 0, bytes);
    return block;
  }
  if (injected_failure()) raise_out_of_memory();
  // Map a huge page more than asked and trim both ends, so that the table starts on a huge-page
  // boundary and every whole huge page of it can be backed by one.
  const std::size_t length = (bytes + kPageRound) & ~kPageRound;
  void* mapped = mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) raise_out_of_memory();
  const auto start = reinterpret_cast<std::uintptr_t>(mapped);
  const std::uintptr_t aligned = (start + kHugePage - 1) & ~(kHugePage - 1);
  if (aligned > start) munmap(mapped, aligned - start);
  const std::uintptr_t tail = aligned + length;
  if (start + length + kHugePage > tail) munmap(reinterpret_cast<void*>(tail), start + length + kHugePage - tail);
  // Advice is a hint: when the system declines it, the table works on ordinary pages.
  madvise(reinterpret_cast<void*>(aligned), length, MADV_HUGEPAGE);
  return reinterpret_cast<void*>(aligned);
}

void free_table_memory(void* block, std::size_t bytes) noexcept {
  if (!block) return;
  if (bytes < kMappedTable) return std::free(block);
  munmap(block, (bytes + kPageRound) & ~kPageRound);
}

}  // namespace quorvel
