// The Integer list: its description; everything else is the shared core.
#include "quorvel/arraylists/array_list_integer.h"

#include "array_list_core_impl.h"
#include "quorvel/platform/registry.h"

namespace quorvel {

QUORVEL_INSTANTIATE_ARRAY_LIST(ArrayList_Integer, std::int16_t);

const ClassInfo& ArrayList_Integer::describe() {
  static const ClassInfo info = [] {
    DispId next_id = 0;
    return describe_class<ArrayList_Integer, IArrayList, IArrayReader, IArrayList2>(
        ClassFlags::Creatable, array_list_members<ArrayList_Integer>(next_id));
  }();
  return info;
}

QUORVEL_REGISTER_CLASS(ArrayList_Integer);

}  // namespace quorvel
