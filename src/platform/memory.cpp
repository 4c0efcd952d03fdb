// Allocation through malloc and friends with one failure path: error 7.
#include "quorvel/platform/memory.h"

#include <cstdlib>

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

}  // namespace quorvel
