// The Double list: its description; everything else is the shared core.
#include "quorvel/arraylists/array_list_double.h"

#include "array_list_core_impl.h"
#include "quorvel/platform/registry.h"

namespace quorvel {

QUORVEL_INSTANTIATE_ARRAY_LIST(ArrayList_Double, double);

const ClassInfo& ArrayList_Double::describe() {
  static const ClassInfo info = [] {
    DispId next_id = 0;
    return describe_class<ArrayList_Double, IArrayList, IArrayReader, IArrayList2>(
        ClassFlags::Creatable, array_list_members<ArrayList_Double>(next_id));
  }();
  return info;
}

QUORVEL_REGISTER_CLASS(ArrayList_Double);

}  // namespace quorvel
