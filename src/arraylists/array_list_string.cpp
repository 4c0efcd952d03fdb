// The String list: its description; everything else is the shared core.
#include "quorvel/arraylists/array_list_string.h"

#include "array_list_core_impl.h"

namespace quorvel {

QUORVEL_INSTANTIATE_ARRAY_LIST(ArrayList_String, String);

const ClassInfo& ArrayList_String::describe() {
  static const ClassInfo info = describe_array_list<ArrayList_String>();
  return info;
}


}  // namespace quorvel
