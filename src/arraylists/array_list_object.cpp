// The object list: its description; everything else is the shared core.
#include "quorvel/arraylists/array_list_object.h"

#include "array_list_core_impl.h"

namespace quorvel {

QUORVEL_INSTANTIATE_ARRAY_LIST(ArrayList_Object, Ref<Unknown>);

const ClassInfo& ArrayList_Object::describe() {
  static const ClassInfo info = describe_array_list<ArrayList_Object>();
  return info;
}


}  // namespace quorvel
