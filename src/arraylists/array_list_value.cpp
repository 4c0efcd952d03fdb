// The Variant list with a default value: its description and the default member.
#include "quorvel/arraylists/array_list_value.h"

#include "array_list_core_impl.h"
#include "quorvel/platform/registry.h"

namespace quorvel {

QUORVEL_INSTANTIATE_ARRAY_LIST(ArrayList_Value, Variant);

const ClassInfo& ArrayList_Value::describe() {
  static const ClassInfo info = [] {
    DispId id = 0;
    std::vector<MemberInfo> members = array_list_members<ArrayList_Value>(id);
    members.push_back(get<&ArrayList_Value::get_Default>("Default", 0, {}, "Returns the first value"));
    return describe_class<ArrayList_Value, IArrayList, IArrayList2>(ClassFlags::Creatable, std::move(members),
                                                                    "Variant array list with a default property.");
  }();
  return info;
}

Variant ArrayList_Value::get_Default() { return get_Item(get_LowerBound()); }

QUORVEL_REGISTER_CLASS(ArrayList_Value);

}  // namespace quorvel
