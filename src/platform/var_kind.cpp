// Names of the value kinds, as the type library and messages spell them.
#include "quorvel/platform/var_kind.h"

namespace quorvel {

const char* kind_name(VarKind kind) noexcept {
  switch (kind) {
    case VarKind::Empty: return "Empty";
    case VarKind::Null: return "Null";
    case VarKind::Integer: return "Integer";
    case VarKind::Long: return "Long";
    case VarKind::Single: return "Single";
    case VarKind::Double: return "Double";
    case VarKind::String: return "String";
    case VarKind::Object: return "Object";
    case VarKind::Error: return "Error";
    case VarKind::Boolean: return "Boolean";
    case VarKind::Variant: return "Variant";
    case VarKind::Byte: return "Byte";
    case VarKind::Record: return "Record";
  }
  return "?";
}

}  // namespace quorvel
