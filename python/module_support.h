// What the files of the Python module share: the value conversions, the by-reference holder, and
// the way errors cross between the library and Python in both directions.
#pragma once

#include <pybind11/pybind11.h>

#include <string>

#include "quorvel/platform/error.h"
#include "quorvel/platform/object.h"
#include "quorvel/platform/variant.h"

namespace quorvel::python {

namespace py = pybind11;

/// A by-reference argument (`quorvel.Ref`): the callee's write-back lands in `value`.
struct RefHolder {
  py::object value;
};

/// A Python value as a Variant: int (Long, or Double beyond 32 bits), float, str, bool, None as
/// Null, the markers, lists and tuples as Variant arrays, library objects, and instances of
/// Python classes as library objects (`wrap_python_object`). Raises 6 beyond 64 bits, 28 for
/// lists nested too deep (cycles), Python's TypeError for anything else.
Variant from_python(py::handle h, int depth = 0);
/// A Variant as a Python value; a library object that stands for a Python object gives that object.
py::object to_python(const Variant& v);
/// `to_python` of what a by-reference Variant points at, or of a plain one.
py::object argument_to_python(const Variant& v);

/// Sets the Python error for a library error: a `quorvel.Error` with its number, source and
/// description (and, when it came from a Python callback, that exception as its cause).
void raise_in_python(const Error& e);
/// The library error for the Python exception set now (clearing it): a `quorvel.Error` keeps its
/// fields, anything else becomes `kPythonFailure` with the type and message as description.
[[noreturn]] void raise_python_failure();
/// The number of an exception other than `quorvel.Error` raised inside a Python callback.
inline constexpr std::int32_t kPythonFailure = 440;

/// A library object whose members by name reach `h`'s attributes (those not starting with `_`,
/// at most 64, as they are now): calls and reads (`Method`, `Get`) call an attribute that is
/// callable or read it, `Let` assigns it. Null when `h` is no instance of a Python class.
Ref<Unknown> wrap_python_object(py::handle h);
/// The Python object a library object stands for, or null.
PyObject* python_target(Unknown& object) noexcept;

/// The members (and events) of `object` from its description, as `help()` shows them.
std::string member_help(Unknown& object);

/// `quorvel.connect` and its `Connection`.
void define_events(py::module_& m);

}  // namespace quorvel::python
