// Descriptions of the list interfaces' own classes: their members are the interfaces' own.
#include "quorvel/arraylists/interface_classes.h"

#include "quorvel/platform/describe.h"

namespace quorvel {

QUORVEL_DESCRIBE_INERT_CLASS(IArrayListClass, IArrayList, ClassFlags::Creatable)
QUORVEL_DESCRIBE_INERT_CLASS(IFormatterClass, IFormatter, ClassFlags::Creatable)
QUORVEL_DESCRIBE_INERT_CLASS(IArrayReaderClass, IArrayReader, ClassFlags::None)
QUORVEL_DESCRIBE_INERT_CLASS(IArrayList2Class, IArrayList2, ClassFlags::None)
QUORVEL_DESCRIBE_INERT_CLASS(IArrayInitializerClass, IArrayInitializer, ClassFlags::None)

}  // namespace quorvel
