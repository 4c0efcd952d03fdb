// Descriptions of the list views and the formatter contract, members in slot order.
#include "quorvel/frame/array_list_interfaces.h"

#include "quorvel/platform/describe.h"
#include "quorvel/platform/registry.h"

namespace quorvel {

const InterfaceInfo& IFormatter::interface_info() {
  static const InterfaceInfo info(type_name, iid, {method<&IFormatter::Format>("Format", 1, {"Value"})});
  return info;
}

const InterfaceInfo& IArrayList::interface_info() {
  using I = IArrayList;
  static const InterfaceInfo info(
      type_name, iid,
      {method<&I::SetArray>("SetArray", 1, {"Value"}),
       method<&I::GetArray>("GetArray", 2),
       method<&I::Copy>("Copy", 3, {opt("m"), opt("n")}),
       let<&I::put_ShrinkFactor>("ShrinkFactor", 4, {"Value"}),
       get<&I::get_ShrinkFactor>("ShrinkFactor", 4),
       get<&I::get_LowerBound>("LowerBound", 5),
       get<&I::get_UpperBound>("UpperBound", 6),
       let<&I::put_GrowLength>("GrowLength", 7, {"Value"}),
       get<&I::get_GrowLength>("GrowLength", 7),
       method<&I::Shrink>("Shrink", 8, {"DestroyCache"}),
       method<&I::EraseArray>("EraseArray", 9),
       method<&I::SetCount>("SetCount", 10, {"Count", "PreserveValues"}),
       get<&I::get_Count>("Count", 11),
       method<&I::AddItem>("AddItem", 12, {"Value"}),
       method<&I::RemoveItem>("RemoveItem", 13, {"Index", "KeepSequence"}),
       let<&I::put_Item>("Item", 0, {"Index", "Value"}),
       get<&I::get_Item>("Item", 0, {"Index"}),
       method<&I::Find>("Find", 14, {"Value", "retIndex"}),
       get<&I::get_VarType>("VarType", 15),
       method<&I::CreateNew>("CreateNew", 16),
       method<&I::Sort>("Sort", 17, {opt("m"), opt("n"), opt("Comparer")}),
       set<&I::putref_Item>("Item", 0, {"Index", "Value"})});
  return info;
}

const InterfaceInfo& IArrayReader::interface_info() {
  using I = IArrayReader;
  static const InterfaceInfo info(type_name, iid,
                                  {method<&I::GetArray>("GetArray", 1),
                                   method<&I::Copy>("Copy", 2, {opt("m"), opt("n")}),
                                   get<&I::get_LowerBound>("LowerBound", 3),
                                   get<&I::get_UpperBound>("UpperBound", 4),
                                   get<&I::get_Count>("Count", 5),
                                   get<&I::get_Item>("Item", 0, {"Index"}),
                                   method<&I::Find>("Find", 6, {"Value", "retIndex"}),
                                   get<&I::get_VarType>("VarType", 7)});
  return info;
}

const InterfaceInfo& IArrayList2::interface_info() {
  static const InterfaceInfo info(type_name, iid,
                                  {method<&IArrayList2::ToString>("ToString", 1, {opt("StringFormatter")})});
  return info;
}

QUORVEL_REGISTER_INTERFACE(IFormatter);
QUORVEL_REGISTER_INTERFACE(IArrayList);
QUORVEL_REGISTER_INTERFACE(IArrayReader);
QUORVEL_REGISTER_INTERFACE(IArrayList2);

}  // namespace quorvel
