// The Single list: its description; everything else is the shared core.
#include "quorvel/arraylists/array_list_single.h"

#include "array_list_core_impl.h"

namespace quorvel {

QUORVEL_INSTANTIATE_ARRAY_LIST(ArrayList_Single, float);

const ClassInfo& ArrayList_Single::describe() {
  static const ClassInfo info = describe_array_list<ArrayList_Single>();
  return info;
}


}  // namespace quorvel
