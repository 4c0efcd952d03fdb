// Reaching a given interface or class of the object a Variant holds, with the platform's errors.
#pragma once

#include <type_traits>

#include "quorvel/platform/class_info.h"
#include "quorvel/platform/error.h"
#include "quorvel/platform/variant.h"

namespace quorvel {

/// The class `C` behind any interface of an object, or null when the object is of another class.
template <class C>
C* class_cast(Unknown* p) noexcept {
  if (!p) return nullptr;
  Object& o = p->identity();
  if (&o.class_info() != &C::describe()) return nullptr;
  return static_cast<C*>(&o);
}

/// The object held by `v` as `T` (an interface, a class of ours, or `Unknown` for any object).
/// Nothing gives a null reference; a value that is not an object, or an object without that
/// interface, raises 13 (type mismatch).
template <class T>
Ref<T> interface_cast(const Variant& v) {
  if (!v.is_object()) raise_runtime_error(RuntimeError::TypeMismatch);
  Unknown* p = v.if_object();
  if (!p) return {};
  if constexpr (std::is_same_v<T, Unknown>) {
    return Ref<Unknown>(p);
  } else if constexpr (std::is_base_of_v<Object, T>) {
    if (T* c = class_cast<T>(p)) return Ref<T>(c);
    raise_runtime_error(RuntimeError::TypeMismatch);
  } else {
    if (Unknown* found = p->find_interface(T::iid)) return Ref<T>(static_cast<T*>(found));
    if constexpr (requires { T::late_bound(Ref<Unknown>()); }) {
      // An object known only by its member names serves the interface through an adapter.
      if (Ref<T> adapted = T::late_bound(Ref<Unknown>(p))) return adapted;
    }
    raise_runtime_error(RuntimeError::TypeMismatch);
  }
}

/// A copy of the array `v` holds, of element kind `*kind` when given; otherwise raises 13.
Array array_argument(const Variant& v, const VarKind* kind);

}  // namespace quorvel
