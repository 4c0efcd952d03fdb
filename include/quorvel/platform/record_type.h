// C++ structs as records: a struct that names its record type becomes a value that crosses the
// late-bound surface (as a Variant of kind Record) and that arrays of records hold.
//
//   struct KeyValueString {
//     static constexpr const char* type_name = "KeyValueString";
//     static constexpr Guid guid{"{...}"};
//     static const RecordInfo& record_info();  // QUORVEL_DESCRIBE_RECORD in the .cpp
//     String Key;
//     String Value;
//   };
#pragma once

#include <span>
#include <vector>

#include "quorvel/platform/error.h"
#include "quorvel/platform/record.h"
#include "quorvel/platform/variant.h"

namespace quorvel {

/// A struct described as a record of the type library.
template <class R>
concept DescribedRecord = requires {
  { R::type_name } -> std::convertible_to<const char*>;
  { R::record_info() } -> std::same_as<const RecordInfo&>;
};

/// The record value of `r`. Raises 7 when out of memory.
template <DescribedRecord R>
Record to_record(const R& r) {
  const RecordInfo& info = R::record_info();
  Record rec(info);
  for (std::size_t i = 0; i < info.fields.size(); ++i) info.fields[i].read(&r, rec.field(i));
  return rec;
}

/// The struct held by a record value (read through a by-reference Variant). Raises 13 when `v`
/// is not a record of type `R`.
template <DescribedRecord R>
R from_record(const Variant& v) {
  const Record* rec = v.if_record();
  if (!rec || rec->info() != &R::record_info()) raise_runtime_error(RuntimeError::TypeMismatch);
  R out{};
  const auto fields = rec->fields();
  for (std::size_t i = 0; i < fields.size(); ++i) rec->info()->fields[i].write(&out, fields[i]);
  return out;
}

/// An array of records of type `R` (kind Record | 0x2000): the declared form of record array
/// parameters, results and fields.
template <DescribedRecord R>
class RecordArray : public Array {
 public:
  using record_type = R;
  /// Unallocated.
  RecordArray() : Array(R::record_info()) {}
  /// Wraps `array`; the caller has checked that it holds records of type `R`.
  explicit RecordArray(Array array) noexcept : Array(std::move(array)) {}

  /// An array of `items` with bounds `lower` to `lower + size - 1`. Raises 6 or 7.
  static RecordArray from(std::span<const R> items, std::int32_t lower = 0) {
    RecordArray a(Array(R::record_info(), lower, static_cast<std::int32_t>(items.size())));
    auto slots = a.template elements<Record>();
    for (std::size_t i = 0; i < items.size(); ++i) slots[i] = to_record(items[i]);
    return a;
  }
  /// The record at `index` (array index space); raises 9 outside the bounds.
  R at(std::int32_t index) const { return from_record<R>(get(index)); }
  /// Every record in index order (none when unallocated).
  std::vector<R> to_vector() const {
    std::vector<R> out;
    out.reserve(static_cast<std::size_t>(count()));
    for (std::int32_t i = 0; i < count(); ++i) out.push_back(from_record<R>(get(static_cast<std::int32_t>(lower_bound() + i))));
    return out;
  }
};

}  // namespace quorvel
