// Memory for large tables read at random (the buckets of a hash).
#pragma once

#include <cstddef>

namespace quorvel {

/// `bytes` (> 0) of zeroed memory for a large table read at random, aligned to 64 bytes. Large
/// tables are mapped directly, so their pages are zero without being written and arrive on
/// first touch, as huge pages where the system offers them (fewer address-translation misses
/// on every lookup). Give back with `free_table_memory` and the same size. Raises 7.
void* allocate_table_memory(std::size_t bytes);
void free_table_memory(void* block, std::size_t bytes) noexcept;

}  // namespace quorvel
