// The Variant list with a default value: its description and the default member.
#include "quorvel/arraylists/array_list_value.h"

#include "array_list_core_impl.h"

namespace quorvel {

QUORVEL_INSTANTIATE_ARRAY_LIST(ArrayList_Value, Variant);

const ClassInfo& ArrayList_Value::describe() {
  static const ClassInfo info = describe_array_list<ArrayList_Value>({with_help(get<&ArrayList_Value::get_Default>("Default", 0), "Returns the first value")},
      "Variant array list with a default property.");
  return info;
}

Variant ArrayList_Value::get_Default() { return get_Item(get_LowerBound()); }


}  // namespace quorvel
