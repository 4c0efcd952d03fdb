// The description of the one-shot initialiser, made from its member list.
#include "quorvel/frame/array_initializer.h"

#include "quorvel/platform/describe.h"

namespace quorvel {

QUORVEL_DESCRIBE_INTERFACE(IArrayInitializer, QUORVEL_IARRAYINITIALIZER_MEMBERS)

}  // namespace quorvel
