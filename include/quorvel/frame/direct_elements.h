// Library-internal: a list's elements in place, as one typed block. Algorithms over the library's
// own lists read them this way instead of one Variant per `Item` call, where no caller code can
// run while they read. Only the library's array lists implement it; it is not published.
#pragma once

#include <cstdint>

#include "quorvel/platform/object.h"
#include "quorvel/platform/var_kind.h"

namespace quorvel {

/// `count` elements at `data`, of the C++ element type of `kind` (`VariantBool`, `std::uint8_t`,
/// `std::int16_t`, `std::int32_t`, `float`, `double`, `String`, `Ref<Unknown>` or `Variant`),
/// index 0 first. Valid until the list next changes.
struct ElementBlock {
  VarKind kind = VarKind::Empty;
  const void* data = nullptr;
  std::int32_t count = 0;
};

/// The elements of a library list in place.
class IDirectElements : public Unknown {
 public:
  static constexpr Guid iid{"{B12A94E6-D8EF-4B2C-A7F8-9D8FE47B4C76}"};

  virtual ElementBlock element_block() noexcept = 0;
  /// Appends `count` elements of the list's own C++ type from `data` (which must not lie in this
  /// list), growing the storage as that many `AddItem` calls would. Raises 7 without memory and
  /// 10 while the list is being sorted; elements appended before the failure stay.
  virtual void append_block(const void* data, std::int32_t count) = 0;

 protected:
  ~IDirectElements() = default;
};

}  // namespace quorvel
