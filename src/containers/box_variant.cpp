// The value box.
#include "quorvel/containers/box_variant.h"

#include "quorvel/frame/variant_procedures.h"
#include "quorvel/platform/describe.h"

namespace quorvel {

const ClassInfo& Box_Variant::describe() {
  static const ClassInfo info = describe_class<Box_Variant>(
      ClassFlags::Creatable,
      {get<&Box_Variant::get_Value>("Value", 0), let<&Box_Variant::put_Value>("Value", 0, "Value"),
       set<&Box_Variant::putref_Value>("Value", 0, "Value")},
      "A single Variant held by reference");
  return info;
}

Variant Box_Variant::get_Value() {
  Variant result;
  AssignVariant(result, value_);
  return result;
}

void Box_Variant::put_Value(const Variant& Value) {
  Variant copy = Value.default_value();
  value_.swap(copy);  // the old value is released last, when the box is already consistent
}

void Box_Variant::putref_Value(const Variant& Value) {
  Variant reference(Value.to_object());
  value_.swap(reference);
}

Ref<Box_Variant> Box_Variant::initialize(const Variant& Value) {
  Variant held;
  AssignVariant(held, Value);
  value_.swap(held);
  return Ref<Box_Variant>(this);
}

}  // namespace quorvel
