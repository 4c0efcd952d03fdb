// The one-shot filling of a read-only list: `IArrayInitializer`. The locked lists implement it;
// after one successful call every further one raises 0x80040003 "Object already initialized!".
#pragma once

#include "quorvel/frame/array_list_interfaces.h"

namespace quorvel {

#define QUORVEL_IARRAYINITIALIZER_MEMBERS(X)                                                        \
  X(method, void, FromArray, 1, (Variant& Values), (Values), ("Values"))                            \
  X(method, void, FromArrayList, 2, (Ref<IArrayList> ArrayList), (ArrayList), ("ArrayList"))        \
  X(method, void, FromArrayReader, 3, (Ref<IArrayReader> ArrayReader), (ArrayReader), ("ArrayReader"))

/// Fills an object once: from an array, from any list, or from any reader.
class IArrayInitializer : public Unknown {
 public:
  static constexpr const char* type_name = "IArrayInitializer";
  static constexpr Guid iid{"{F1798136-6EBE-4485-A6C0-D700F2F72466}"};
  static const InterfaceInfo& interface_info();

  QUORVEL_DECLARE_MEMBERS(QUORVEL_IARRAYINITIALIZER_MEMBERS)
};

}  // namespace quorvel
