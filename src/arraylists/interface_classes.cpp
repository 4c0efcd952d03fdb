// Descriptions of the list interfaces' own classes: their members are the interfaces' own.
#include "quorvel/arraylists/interface_classes.h"

#include "quorvel/platform/describe.h"
#include "quorvel/platform/registry.h"

namespace quorvel {

const ClassInfo& IArrayListClass::describe() {
  static const ClassInfo info = describe_interface_class<IArrayListClass, IArrayList>(ClassFlags::Creatable);
  return info;
}

const ClassInfo& IFormatterClass::describe() {
  static const ClassInfo info = describe_interface_class<IFormatterClass, IFormatter>(ClassFlags::Creatable);
  return info;
}

const ClassInfo& IArrayReaderClass::describe() {
  static const ClassInfo info = describe_interface_class<IArrayReaderClass, IArrayReader>(ClassFlags::None);
  return info;
}

const ClassInfo& IArrayList2Class::describe() {
  static const ClassInfo info = describe_interface_class<IArrayList2Class, IArrayList2>(ClassFlags::None);
  return info;
}

QUORVEL_REGISTER_CLASS(IArrayListClass);
QUORVEL_REGISTER_CLASS(IFormatterClass);
QUORVEL_REGISTER_CLASS(IArrayReaderClass);
QUORVEL_REGISTER_CLASS(IArrayList2Class);

}  // namespace quorvel
