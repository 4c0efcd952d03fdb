// The binary file contract: blocks of bytes and arrays of strings written and read as records.
// The library calls none of it; it is published for components built on the library to share.
#pragma once

#include "quorvel/locks/data_arrays.h"
#include "quorvel/platform/class_info.h"
#include "quorvel/platform/interface_list.h"

namespace quorvel {

#define QUORVEL_IBINARYFILE_MEMBERS(X)                                                                      \
  X(method, void, WriteBytes, 1, (ByteDataArray & Value), (Value), ("Value"))                             \
  X(method, ByteDataArray, ReadBytes, 2, (ByteDataArray & Value), (Value), ("Value"))                     \
  X(method, void, WriteStrings, 3, (StringDataArray & Value), (Value), ("Value"))                         \
  X(method, void, WriteStringArrays, 4, (StringDataArrays & Value), (Value), ("Value"))                   \
  X(method, StringDataArray, ReadStrings, 5, (), (), ())                                                  \
  X(method, StringDataArrays, ReadStringArrays, 6, (), (), ())

/// A file of bytes and strings; every record goes by reference.
class IBinaryFile : public Unknown {
 public:
  static constexpr const char* type_name = "IBinaryFile";
  static constexpr Guid iid{"{0D8AB7DA-37F0-4A8F-A845-E881F99C8F7F}"};
  static const InterfaceInfo& interface_info();
  QUORVEL_DECLARE_MEMBERS(QUORVEL_IBINARYFILE_MEMBERS)
};

/// `IBinaryFile` published as a class (not creatable): writes nothing, reads empty records.
QUORVEL_INERT_CLASS(IBinaryFileClass, IBinaryFile, QUORVEL_IBINARYFILE_MEMBERS, "{D9BC9D44-F60C-4D18-BF02-0822BF92F8C2}");

}  // namespace quorvel
