// Descriptions of the list views and the formatter contract, made from their member lists.
#include "quorvel/frame/array_list_interfaces.h"

#include "quorvel/platform/describe.h"

namespace quorvel {

QUORVEL_DESCRIBE_INTERFACE(IFormatter, QUORVEL_IFORMATTER_MEMBERS)
QUORVEL_DESCRIBE_INTERFACE(IArrayList, QUORVEL_IARRAYLIST_MEMBERS)
QUORVEL_DESCRIBE_INTERFACE(IArrayReader, QUORVEL_IARRAYREADER_MEMBERS)
QUORVEL_DESCRIBE_INTERFACE(IArrayList2, QUORVEL_IARRAYLIST2_MEMBERS)

}  // namespace quorvel
