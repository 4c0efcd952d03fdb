// The array list of Bytes, with a member of its own that appends a run of a byte buffer.
#pragma once

#include <cstdint>

#include "quorvel/arraylists/array_list_core.h"

namespace quorvel {

/// A growable zero-based array of Bytes (creatable as "Quorvel.ArrayList_Byte").
/// Shared members: `ArrayListCore`; views: `IArrayList`, `IArrayReader`, `IArrayList2`.
class ArrayList_Byte final : public ArrayListCore<ArrayList_Byte, std::uint8_t> {
 public:
  static constexpr const char* type_name = "ArrayList_Byte";
  static constexpr Guid clsid{"{CA216C26-9EE4-42D6-A62F-C52D3C13C8A2}"};
  static constexpr Guid iid{"{FBC7E3D7-7D88-4EBF-925C-13707947465B}"};  // its own interface
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }

  /// Appends `CopyCount` bytes of `Buffer` from its index `StartIx` (omitted: from its lower
  /// bound to its end) with one block copy, growing the storage at most once, by whole grow
  /// lengths. Raises, before any change:
  /// - 9 "AddRange": an empty or unallocated `Buffer` with `StartIx` or `CopyCount` given (with
  ///   neither, nothing happens);
  /// - 0x80040001 "Invalid StartIx!": `StartIx` below the lower bound of `Buffer`;
  /// - 0x80040001 "CopyCount exceeds the buffer length": `CopyCount` above the buffer's length;
  /// - 9 "CopyCount exceeds the buffer length": the run would end past the buffer's upper bound;
  /// - 9 (no message): a negative run (a negative `CopyCount`, or an omitted one with `StartIx`
  ///   past the buffer's end + 1), which would read outside the buffer;
  /// - 9 (the runtime's subscript error): a run of 0 bytes on a list without storage;
  /// - 0x80040002 "Memory Corruption! (...)": the storage and buffer consistency checks.
  /// `StartIx` and `CopyCount` are read, never written back.
  void AddRange(ArrayOf<std::uint8_t>& Buffer, Variant& StartIx = omitted<Variant>(), Variant& CopyCount = omitted<Variant>());
};

}  // namespace quorvel
