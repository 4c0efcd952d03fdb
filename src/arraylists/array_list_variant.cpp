// The Variant list: its description and its two searches.
#include "quorvel/arraylists/array_list_variant.h"

#include <array>

#include "array_list_core_impl.h"
#include "quorvel/platform/late_binding.h"
#include "quorvel/platform/variant_compare.h"

namespace quorvel {

QUORVEL_INSTANTIATE_ARRAY_LIST(ArrayList_Variant, Variant);

const ClassInfo& ArrayList_Variant::describe() {
  static const ClassInfo info = describe_array_list<ArrayList_Variant>({method<&ArrayList_Variant::FindEx>("FindEx", 18, "Value", "Field", "retIndex"),
       method<&ArrayList_Variant::FindFirst>("FindFirst", 19, "Value", opt("StartIndex"), opt("Comparer"), opt("retIx"))});
  return info;
}

namespace {

// The element indexed by `field`: an array's element, or an object's default member with one argument.
Variant indexed(const Variant& element, const Variant& field) {
  if (const Array* array = element.if_array()) return array->get(field.to_long());
  if (element.is_object()) {
    Unknown* object = element.if_object();
    if (!object) raise_runtime_error(RuntimeError::ObjectNotSet);
    Ref<Unknown> keep(object);
    std::array<Variant, 1> args{field};
    return invoke(*object, 0, MemberKind::Method | MemberKind::Get, args);
  }
  raise_runtime_error(RuntimeError::TypeMismatch);
}

// The property of `element`'s object named by the text of `field`. The other possible reading,
// one fixed member called "Field" whatever the argument says, would make the argument a mere
// branch switch; naming the member lets a caller search by any property.
Variant member(const Variant& element, const Variant& field) {
  const String name = field.to_string();
  return invoke(element, name.view(), MemberKind::Method | MemberKind::Get, {});
}

}  // namespace

Variant ArrayList_Variant::FindEx(const Variant& Value, const Variant& Field, std::int32_t& retIndex) {
  const bool by_member = (Field.var_type() & 8) == 8;  // a bit test, arrays included
  // A 32-bit index reaches every item; a 16-bit one would stop lists of 32768 items or more.
  for (std::int32_t i = 0; i < store_.count(); ++i) {
    const Variant element = store_.items()[static_cast<std::size_t>(i)];  // the reads run caller code
    const Variant field = by_member ? member(element, Field) : indexed(element, Field);
    if (var_compare(field, Value, true) == VarOrder::Equal) {
      retIndex = i;
      return Variant(true);
    }
  }
  return Variant();
}

bool ArrayList_Variant::FindFirst(const Variant& Value, Variant& StartIndex, Ref<IComparer> Comparer,
                                  std::int32_t& retIx) {
  const std::int32_t start = StartIndex.is_missing() ? get_LowerBound() : StartIndex.to_long();
  if (start < get_LowerBound()) raise(Failure::OutOfRange, sender());
  for (std::int32_t i = start; i < store_.count(); ++i) {
    const Variant element = store_.items()[static_cast<std::size_t>(i)];
    const bool match =
        Comparer ? Comparer->Compare(element, Value) == 0 : var_compare(element, Value, true) == VarOrder::Equal;
    if (match) {
      retIx = i;
      return true;
    }
  }
  return false;
}


}  // namespace quorvel
