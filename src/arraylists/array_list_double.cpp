// The Double list: its description; everything else is the shared core.
#include "quorvel/arraylists/array_list_double.h"

#include "array_list_core_impl.h"

namespace quorvel {

QUORVEL_INSTANTIATE_ARRAY_LIST(ArrayList_Double, double);

const ClassInfo& ArrayList_Double::describe() {
  static const ClassInfo info = describe_array_list<ArrayList_Double>();
  return info;
}


}  // namespace quorvel
