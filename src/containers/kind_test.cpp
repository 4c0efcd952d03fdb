// The kind test, shared by the list and the stack.
#include "kind_test.h"

#include "quorvel/platform/error.h"
#include "quorvel/platform/late_binding.h"
#include "quorvel/platform/memory.h"

namespace quorvel::containers {

Variant kept_by_kind_slow(const Variant& value) {
  if (value.is_object()) {
    Unknown* object = value.if_object();
    if (object && has_default_member(*object)) return value.default_value();
  }
  return value.copy_ind();
}

void raise_element_count(std::int64_t count) {
  if (count > std::numeric_limits<std::int32_t>::max()) raise_runtime_error(RuntimeError::Overflow);
  raise_out_of_memory();
}

}  // namespace quorvel::containers
