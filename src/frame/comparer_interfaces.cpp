// Descriptions of the comparer contracts.
#include "quorvel/frame/comparer_interfaces.h"

#include "quorvel/platform/describe.h"
#include "quorvel/platform/registry.h"

namespace quorvel {

const InterfaceInfo& IComparer::interface_info() {
  static const InterfaceInfo info(type_name, iid, {method<&IComparer::Compare>("Compare", 1, {"A", "B"})});
  return info;
}

const InterfaceInfo& IFindComparer::interface_info() {
  static const InterfaceInfo info(type_name, iid,
                                  {method<&IFindComparer::Compare>("Compare", 1, {"ArrayElement", "Find"})});
  return info;
}

const InterfaceInfo& IrefStringComparer::interface_info() {
  static const InterfaceInfo info(type_name, iid, {method<&IrefStringComparer::Compare>("Compare", 1, {"A", "B"})});
  return info;
}

QUORVEL_REGISTER_INTERFACE(IComparer);
QUORVEL_REGISTER_INTERFACE(IFindComparer);
QUORVEL_REGISTER_INTERFACE(IrefStringComparer);

}  // namespace quorvel
