// The plain stack.
#include "quorvel/containers/stack_variant.h"

#include "quorvel/frame/variant_procedures.h"
#include "quorvel/platform/describe.h"

namespace quorvel {

const ClassInfo& Stack_Variant::describe() {
  static const ClassInfo info = describe_class<Stack_Variant>(
      ClassFlags::Creatable,
      {method<&Stack_Variant::Push>("Push", 1, "Value"), method<&Stack_Variant::Pop>("Pop", 2),
       method<&Stack_Variant::Peek>("Peek", 3), get<&Stack_Variant::get_IsEmpty>("IsEmpty", 4)},
      "An unbounded stack of Variants");
  return info;
}

Stack_Variant::Stack_Variant() : items_(make<ArrayList_Variant>()) { items_->put_GrowLength(10); }

void Stack_Variant::Push(const Variant& Value) { items_->AddItem(Value); }

Variant Stack_Variant::Pop() {
  Variant top = Peek();
  items_->RemoveItem(items_->get_UpperBound(), true);
  return top;
}

Variant Stack_Variant::Peek() {
  Variant top;
  AssignVariant(top, items_->get_Item(items_->get_UpperBound()));
  return top;
}

bool Stack_Variant::get_IsEmpty() { return items_->get_Count() == 0; }

}  // namespace quorvel
