// The binary file contract's description and its published class.
#include "quorvel/locks/binary_file.h"

#include "quorvel/platform/describe.h"

namespace quorvel {

QUORVEL_DESCRIBE_INTERFACE(IBinaryFile, QUORVEL_IBINARYFILE_MEMBERS)
QUORVEL_DESCRIBE_INERT_CLASS(IBinaryFileClass, IBinaryFile, ClassFlags::None)

}  // namespace quorvel
