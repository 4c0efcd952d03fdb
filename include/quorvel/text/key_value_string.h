// The key and value pair that string dictionaries are made from.
#pragma once

#include "quorvel/platform/guid.h"
#include "quorvel/platform/record.h"
#include "quorvel/platform/string.h"

namespace quorvel {

/// One dictionary entry as a record of the type library: `Key`, then `Value`.
struct KeyValueString {
  static constexpr const char* type_name = "KeyValueString";
  static constexpr Guid guid{"{3F8B1C6D-94E2-4A07-B5C3-2D7E0F9A1B48}"};
  static const RecordInfo& record_info();

  String Key;
  String Value;
};

}  // namespace quorvel
