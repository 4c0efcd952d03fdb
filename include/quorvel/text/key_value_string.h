// The key and value pair that string dictionaries are made from.
#pragma once

#include "quorvel/platform/string.h"

namespace quorvel {

/// One dictionary entry as a record: `Key`, then `Value`.
struct KeyValueString {
  String Key;
  String Value;
};

}  // namespace quorvel
