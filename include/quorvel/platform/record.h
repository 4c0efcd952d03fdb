// Records (user-defined types): named groups of typed fields that travel as one value, in a
// Variant of kind Record (36) or as the elements of an array of records.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "quorvel/platform/guid.h"
#include "quorvel/platform/var_kind.h"

namespace quorvel {

class Variant;
struct RecordInfo;

/// One field of a record: its name and type, and how to move it between a Variant and the
/// C++ struct that declares the record (`read` copies the field out, `write` converts into it).
struct FieldInfo {
  const char* name = "";
  TypeDesc type;
  void (*read)(const void* record, Variant& out) = nullptr;
  void (*write)(void* record, const Variant& in) = nullptr;
  /// For a field that is a record or an array of records: that record's type.
  const RecordInfo& (*record)() = nullptr;
};

/// A record of the type library: name, identifier and fields in declaration order.
struct RecordInfo {
  const char* name = "";
  Guid guid;
  std::vector<FieldInfo> fields;
};

/// A record value: its type and one Variant per field, each of the field's kind.
///
/// A value type: copying copies every field (strings shared, objects counted, arrays copied).
/// The default-constructed record is the empty slot of an array of records, which reads as a
/// record of the array's type with every field at its default; everywhere else a record has a
/// type. Copying raises 7 when out of memory.
class Record {
 public:
  Record() noexcept = default;
  /// A record of type `info` with every field at its default (0, "", Nothing, unallocated).
  explicit Record(const RecordInfo& info);
  Record(const Record& other);
  Record(Record&& other) noexcept : body_(other.body_) { other.body_ = nullptr; }
  Record& operator=(const Record& other);
  Record& operator=(Record&& other) noexcept;
  ~Record();

  /// The record's type; null only for the empty slot of an array.
  const RecordInfo* info() const noexcept;
  /// The fields in declaration order (empty for the empty slot).
  std::span<const Variant> fields() const noexcept;
  /// Field `i`; the caller keeps it of the field's kind (see `set_field`).
  Variant& field(std::size_t i) noexcept;
  /// Stores `value` converted to field `i`'s kind: 6, 13 or 94 as any conversion, nothing changed.
  void set_field(std::size_t i, const Variant& value);

 private:
  struct Body;
  Body* body_ = nullptr;
};

/// True when both records have the same type and identical fields.
bool identical(const Record& a, const Record& b) noexcept;

}  // namespace quorvel
