// The Integer list: its description; everything else is the shared core.
#include "quorvel/arraylists/array_list_integer.h"

#include "array_list_core_impl.h"

namespace quorvel {

QUORVEL_INSTANTIATE_ARRAY_LIST(ArrayList_Integer, std::int16_t);

const ClassInfo& ArrayList_Integer::describe() {
  static const ClassInfo info = describe_array_list<ArrayList_Integer>();
  return info;
}


}  // namespace quorvel
