// The data records that binary files exchange: a block of bytes, an array of strings, and an
// array of such string arrays.
#pragma once

#include <cstdint>

#include "quorvel/platform/record_type.h"

namespace quorvel {

/// A block of bytes.
struct ByteDataArray {
  static constexpr const char* type_name = "ByteDataArray";
  static constexpr Guid guid{"{1429E04C-5DA3-4504-9F15-6B59113DE56D}"};
  static const RecordInfo& record_info();
  ArrayOf<std::uint8_t> Data;
};

/// An array of strings (the fields of one line, say).
struct StringDataArray {
  static constexpr const char* type_name = "StringDataArray";
  static constexpr Guid guid{"{1893BB4D-F727-4400-8BAE-26E2AD8E153F}"};
  static const RecordInfo& record_info();
  ArrayOf<String> Fields;
};

/// An array of string arrays.
struct StringDataArrays {
  static constexpr const char* type_name = "StringDataArrays";
  static constexpr Guid guid{"{B6962A96-5DBD-49F4-9EF7-A6C1483B05B6}"};
  static const RecordInfo& record_info();
  RecordArray<StringDataArray> Arrays;
};

}  // namespace quorvel
