// The do-nothing classes behind the published comparer contracts.
#include "quorvel/ordering/comparer_interface_classes.h"

#include "quorvel/platform/describe.h"
#include "quorvel/platform/registry.h"

namespace quorvel {

const ClassInfo& IComparerClass::describe() {
  static const ClassInfo info = describe_interface_class<IComparerClass, IComparer>(ClassFlags::Creatable);
  return info;
}

std::int16_t IComparerClass::Compare(const Variant&, const Variant&) { return 0; }

const ClassInfo& IFindComparerClass::describe() {
  static const ClassInfo info = describe_interface_class<IFindComparerClass, IFindComparer>(ClassFlags::Creatable);
  return info;
}

std::int16_t IFindComparerClass::Compare(const Variant&, const Variant&) { return 0; }

const ClassInfo& IrefStringComparerClass::describe() {
  static const ClassInfo info =
      describe_interface_class<IrefStringComparerClass, IrefStringComparer>(ClassFlags::None);
  return info;
}

std::int16_t IrefStringComparerClass::Compare(String&, String&) { return 0; }

QUORVEL_REGISTER_CLASS(IComparerClass);
QUORVEL_REGISTER_CLASS(IFindComparerClass);
QUORVEL_REGISTER_CLASS(IrefStringComparerClass);

}  // namespace quorvel
