// The Boolean list: its description; everything else is the shared core.
#include "quorvel/arraylists/array_list_boolean.h"

#include "array_list_core_impl.h"
#include "quorvel/platform/registry.h"

namespace quorvel {

QUORVEL_INSTANTIATE_ARRAY_LIST(ArrayList_Boolean, VariantBool);

const ClassInfo& ArrayList_Boolean::describe() {
  static const ClassInfo info = [] {
    DispId next_id = 0;
    return describe_class<ArrayList_Boolean, IArrayList, IArrayReader, IArrayList2>(
        ClassFlags::Creatable, array_list_members<ArrayList_Boolean>(next_id));
  }();
  return info;
}

QUORVEL_REGISTER_CLASS(ArrayList_Boolean);

}  // namespace quorvel
