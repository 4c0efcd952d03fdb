// The conversions.
#include "quorvel/entry/type_cast.h"

#include "quorvel/platform/describe.h"
#include "quorvel/platform/error.h"

namespace quorvel {

const ClassInfo& TypeCast::describe() {
  static const ClassInfo info = describe_class<TypeCast>(
      ClassFlags::None,
      {method<&TypeCast::ToArrayList>("ToArrayList", 1, "Value"),
       with_help(method<&TypeCast::ToLCID>("ToLCID", 2, "Value"), "Creates a LCID object from an object or scalar")},
      "Conversions of values to lists and locale ids");
  return info;
}

Ref<IArrayList> TypeCast::ToArrayList(Variant& Value) {
  if (!Value.is_object()) raise_runtime_error(RuntimeError::TypeMismatch);
  Unknown* object = Value.if_object();
  if (!object) return nullptr;
  // Only the interface itself: a caller's object is never wrapped, so the result is that object.
  Unknown* list = object->find_interface(IArrayList::iid);
  if (!list) raise_runtime_error(RuntimeError::TypeMismatch);
  return Ref<IArrayList>(static_cast<IArrayList*>(list));
}

Ref<LCID> TypeCast::ToLCID(const Variant& Value) { return to_lcid(Value); }

Ref<TypeCast> new_type_cast() { return make<TypeCast>(); }

}  // namespace quorvel
