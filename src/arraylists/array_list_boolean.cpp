// The Boolean list: its description; everything else is the shared core.
#include "quorvel/arraylists/array_list_boolean.h"

#include "array_list_core_impl.h"

namespace quorvel {

QUORVEL_INSTANTIATE_ARRAY_LIST(ArrayList_Boolean, VariantBool);

const ClassInfo& ArrayList_Boolean::describe() {
  static const ClassInfo info = describe_array_list<ArrayList_Boolean>();
  return info;
}


}  // namespace quorvel
