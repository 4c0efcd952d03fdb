// The library's own heap allocations: array storage, string buffers, objects and the scratch
// containers of the lists. Going through one place makes running out of memory raise error 7
// everywhere, and lets a test make any single allocation fail.
#pragma once

#include <cstddef>
#include <new>

namespace quorvel {

/// `bytes` (> 0) of uninitialised memory, to be given back with `free_memory`. Raises 7.
void* allocate_memory(std::size_t bytes);
/// `count` x `width` bytes, all zero. Raises 7 (also when the product overflows).
void* allocate_zeroed_memory(std::size_t count, std::size_t width);
/// `block` resized to `bytes` (> 0), its contents kept; on failure `block` is untouched. Raises 7.
void* reallocate_memory(void* block, std::size_t bytes);
void free_memory(void* block) noexcept;

/// Raises runtime error 7 "Out of memory" without allocating a string for it.
[[noreturn]] void raise_out_of_memory();

/// Consulted before every allocation above when set: returning true makes that allocation fail
/// as if the system had no memory left. For tests that walk the failure paths; null by default.
using AllocationFaultHook = bool (*)() noexcept;
void set_allocation_fault_hook(AllocationFaultHook hook) noexcept;

/// A standard allocator over `allocate_memory`: containers inside the library raise 7 rather
/// than letting std::bad_alloc out.
template <class T>
struct RaisingAllocator {
  using value_type = T;
  RaisingAllocator() noexcept = default;
  template <class U>
  RaisingAllocator(const RaisingAllocator<U>&) noexcept {}  // NOLINT: rebinding is implicit
  T* allocate(std::size_t n) {
    if (n > static_cast<std::size_t>(-1) / sizeof(T)) raise_out_of_memory();
    return static_cast<T*>(allocate_memory(n * sizeof(T)));
  }
  void deallocate(T* p, std::size_t) noexcept { free_memory(p); }
  template <class U>
  friend bool operator==(const RaisingAllocator&, const RaisingAllocator<U>&) noexcept {
    return true;
  }
};

}  // namespace quorvel
