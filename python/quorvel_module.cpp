// The Python module `quorvel`: library objects whose members are reached as attributes, values
// mapped between Python and Variants, library errors raised as quorvel.Error.
#include <pybind11/eval.h>
#include <pybind11/pybind11.h>

#include <array>
#include <cstring>
#include <span>
#include <string_view>
#include <string>
#include <vector>

#include "module_support.h"
#include "quorvel/component.h"
#include "quorvel/platform/error.h"
#include "quorvel/platform/late_binding.h"
#include "quorvel/platform/named_arguments.h"
#include "quorvel/platform/registry.h"

namespace quorvel::python {

namespace {

// Stands for a Variant kind Python has no value for: Empty, and the omitted-argument marker.
struct Marker {
  const char* name;
};

// A member name seen before on this object: a property read at once, or its bound callable.
struct KnownMember {
  py::object name;  // the attribute string, compared by identity (names in code are interned)
  DispId id = -1;
  py::object bound;  // null for a property read at once
};

struct PyObj {
  explicit PyObj(Ref<Unknown> r) noexcept : ref(std::move(r)) {}
  Ref<Unknown> ref;
  std::vector<KnownMember> known;
};

struct BoundMember {
  Ref<Unknown> ref;
  DispId id;
  MemberKind kinds;
  std::string name;
};

PyObject* error_type = nullptr;  // quorvel.Error; lives as long as the interpreter
// The module's own types, looked up once: pybind11's isinstance searches a table on every test.
PyTypeObject* object_type = nullptr;
PyTypeObject* ref_type = nullptr;
PyTypeObject* marker_type = nullptr;

bool is(py::handle h, PyTypeObject* type) noexcept { return type && PyObject_TypeCheck(h.ptr(), type); }
Marker empty_marker{"Empty"}, missing_marker{"Missing"};
// Their Python objects, made once: a cast looks the type up by name every time, and every call
// of a member without a result returns Empty.
PyObject* empty_object = nullptr;
PyObject* missing_object = nullptr;

// The C++ value inside an instance of one of the module's own types (checked by the caller).
template <class T>
T& payload(PyObject* self) {
  return *reinterpret_cast<py::detail::instance*>(self)->get_value_and_holder().value_ptr<T>();
}

constexpr int kDeepest = 64;  // nesting of lists deeper than this is taken for a cycle

py::object decode(const String& s) {
  const auto view = s.view();
  PyObject* text = PyUnicode_DecodeUTF16(reinterpret_cast<const char*>(view.data()),
                                         static_cast<Py_ssize_t>(view.size() * 2), "surrogatepass", nullptr);
  if (!text) throw py::error_already_set();
  return py::reinterpret_steal<py::object>(text);
}

String encode(py::handle text) {
  PyObject* bytes = PyUnicode_AsEncodedString(text.ptr(), "utf-16-le", "surrogatepass");
  if (!bytes) throw py::error_already_set();
  py::object keep = py::reinterpret_steal<py::object>(bytes);
  const char* data = PyBytes_AS_STRING(bytes);
  const std::size_t units = static_cast<std::size_t>(PyBytes_GET_SIZE(bytes)) / 2;
  std::u16string copy(units, u'\0');
  std::memcpy(copy.data(), data, units * 2);
  return String(copy);
}

}  // namespace

Variant from_python(py::handle h, int depth) {
  if (PyLong_CheckExact(h.ptr())) {
    int overflow = 0;
    const long long n = PyLong_AsLongLongAndOverflow(h.ptr(), &overflow);
    if (overflow) raise_runtime_error(RuntimeError::Overflow);
    if (n >= INT32_MIN && n <= INT32_MAX) return Variant(static_cast<std::int32_t>(n));
    return Variant(static_cast<double>(n));
  }
  if (h.is_none()) return Variant::null();
  if (PyBool_Check(h.ptr())) return Variant(h.ptr() == Py_True);
  if (PyFloat_Check(h.ptr())) return Variant(PyFloat_AS_DOUBLE(h.ptr()));
  if (PyUnicode_Check(h.ptr())) return Variant(encode(h));
  if (is(h, object_type)) return Variant(h.cast<PyObj&>().ref);
  if (is(h, marker_type)) return h.ptr() == missing_object ? Variant::missing() : Variant();
  if (PyLong_Check(h.ptr())) return from_python(py::int_(py::reinterpret_borrow<py::object>(h)), depth);
  if (PyList_Check(h.ptr()) || PyTuple_Check(h.ptr())) {
    if (depth == kDeepest) raise_error(28, library_name(), String(u"Out of stack space: a list nested too deep or within itself"));
    const py::sequence items = py::reinterpret_borrow<py::sequence>(h);
    const auto count = static_cast<std::int32_t>(items.size());
    Array array(VarKind::Variant, 0, count);
    for (std::int32_t i = 0; i < count; ++i) array.put(i, from_python(items[static_cast<std::size_t>(i)], depth + 1));
    return Variant(std::move(array));
  }
  if (Ref<Unknown> wrapped = wrap_python_object(h)) return Variant(std::move(wrapped));
  throw py::type_error("quorvel cannot pass a " + std::string(py::str(h.get_type().attr("__name__"))));
}

py::object to_python(const Variant& v) {
  const Array* a = v.is_array() || v.is_by_ref() ? v.if_array() : nullptr;  // scalars skip the call
  if (a) {
    py::list out;
    if (!a->allocated()) return py::object(std::move(out));
    for (std::int32_t i = 0; i < a->count(); ++i) out.append(to_python(a->get(a->lower_bound() + i)));
    return py::object(std::move(out));
  }
  switch (v.kind()) {
    case VarKind::Empty: return py::reinterpret_borrow<py::object>(empty_object);
    case VarKind::Null: return py::none();
    case VarKind::Integer: case VarKind::Long: case VarKind::Byte: return py::int_(v.to_long());
    case VarKind::Single: case VarKind::Double: return py::float_(v.to_double());
    case VarKind::Boolean: return py::bool_(v.to_boolean());
    case VarKind::String: return decode(*v.if_string());
    case VarKind::Error:
      if (v.is_missing()) return py::reinterpret_borrow<py::object>(missing_object);
      return py::int_(*v.if_error());
    case VarKind::Object: {
      Ref<Unknown> r = v.to_object();
      if (!r) return py::none();
      if (PyObject* own = python_target(*r)) return py::reinterpret_borrow<py::object>(own);
      return py::cast(PyObj(std::move(r)));
    }
    default: throw py::type_error("a value of a kind Python has no form for");
  }
}

py::object argument_to_python(const Variant& v) { return v.is_by_ref() ? to_python(v.copy_ind()) : to_python(v); }

namespace {

// Positional arguments (a tuple, or null), with quorvel.Ref holders passed by reference; keyword
// arguments (a dict, or null) named. Up to eight arguments live on the stack.
py::object call(Unknown& target, DispId id, MemberKind kinds, PyObject* args, PyObject* kwargs,
                const Variant* assigned = nullptr) {
  const std::size_t positional = args ? static_cast<std::size_t>(PyTuple_GET_SIZE(args)) : 0;
  const std::size_t named = kwargs ? static_cast<std::size_t>(PyDict_GET_SIZE(kwargs)) : 0;
  const std::size_t count = positional + named + (assigned ? 1 : 0);
  std::array<Variant, 4> local_values;
  std::vector<Variant> heap_values, written;  // `written` only for quorvel.Ref holders
  std::span<Variant> values(local_values.data(), count);
  if (count > local_values.size()) {
    heap_values.resize(count);
    values = heap_values;
  }
  std::vector<std::pair<RefHolder*, std::size_t>> holders;
  std::size_t next = 0;
  auto add = [&](PyObject* a) {
    if (!PyLong_CheckExact(a) && is(a, ref_type)) {
      RefHolder& holder = payload<RefHolder>(a);
      written.reserve(count);  // never moves once by-reference Variants point into it
      written.push_back(from_python(holder.value));
      values[next++] = Variant::by_ref(written.back());
      holders.emplace_back(&holder, written.size() - 1);
    } else {
      values[next++] = from_python(a);
    }
  };
  for (std::size_t i = 0; i < positional; ++i) add(PyTuple_GET_ITEM(args, static_cast<Py_ssize_t>(i)));
  if (assigned) values[next++] = *assigned;
  std::vector<String> names;
  std::vector<std::u16string_view> views;
  if (named) {
    PyObject *key = nullptr, *value = nullptr;
    Py_ssize_t pos = 0;
    while (PyDict_Next(kwargs, &pos, &key, &value)) {
      names.push_back(encode(key));
      add(value);
    }
    for (const String& n : names) views.push_back(n.view());
  }
  // No reference of its own: the Python object called (the bound member or the object) holds the
  // target until the call returns, whatever the member does.
  const auto write_back = [&] {
    for (const auto& [holder, slot] : holders) holder->value = to_python(written[slot]);
  };
  Variant result;
  try {
    result = invoke_named(target, id, kinds, values, views);
  } catch (...) {
    // A member that raises may have written its by-reference arguments first (an event's
    // listeners do): the holders show what the variables hold, as they would in the library.
    try {
      write_back();
    } catch (...) {
      PyErr_Clear();
    }
    throw;
  }
  write_back();
  return to_python(result);
}

py::object call(Unknown& target, DispId id, MemberKind kinds, const py::tuple& args, const Variant* assigned = nullptr) {
  return call(target, id, kinds, args.ptr(), nullptr, assigned);
}

const InterfaceInfo& info_of(const PyObj& o) { return interface_info_of(*o.ref); }

DispId id_of(const PyObj& o, const std::string& name) {
  const DispId id = info_of(o).find_id(String::from_utf8(name).view());
  if (id < 0) throw py::attribute_error(std::string(info_of(o).name()) + " has no member " + name);
  return id;
}

py::object get_attribute(PyObj& o, PyObject* name, std::string_view text) {
  for (const KnownMember& k : o.known) {
    if (k.name.ptr() == name) return k.bound ? k.bound : call(*o.ref, k.id, MemberKind::Get, nullptr, nullptr);
  }
  const std::string spelled(text);
  const DispId id = id_of(o, spelled);
  const InterfaceInfo& info = info_of(o);
  const MemberInfo* method = info.find(id, MemberKind::Method);
  const MemberInfo* getter = info.find(id, MemberKind::Get);
  KnownMember k{py::reinterpret_borrow<py::object>(name), id, py::object()};
  // A property without arguments reads at once; anything that takes arguments is called.
  if (method || !getter || getter->required_count() > 0) {
    k.bound = py::cast(BoundMember{o.ref, id, MemberKind::Method | MemberKind::Get, spelled});
  }
  if (o.known.size() < 32) o.known.push_back(k);
  return k.bound ? k.bound : call(*o.ref, id, MemberKind::Get, nullptr, nullptr);
}

void set_attribute(const PyObj& o, const std::string& name, py::handle value) {
  const DispId id = id_of(o, name);
  Variant v = from_python(value);
  // An object (or None, read as Nothing) goes to a set where the property has one.
  const bool set = (v.is_object() || value.is_none()) && info_of(o).find(id, MemberKind::Set);
  if (set && value.is_none()) v = Variant::nothing();
  call(*o.ref, id, set ? MemberKind::Set : MemberKind::Let, nullptr, nullptr, &v);
}

py::tuple as_args(py::handle key) {
  if (PyTuple_Check(key.ptr())) return py::reinterpret_borrow<py::tuple>(key);
  return py::make_tuple(key);
}

// 1-based containers index from 1; the lists from 0.
std::int32_t first_index(const PyObj& o) {
  const std::string name = o.ref->identity().described_class().name;
  return name.starts_with("cls") || name == "Collection" ? 1 : 0;
}

// The exception a Python callback raised, kept (a strong reference) until the library error made
// of it comes back out of the library call, to be its cause. A library that swallows the error
// leaves it here until the next one replaces it.
thread_local PyObject* callback_exception = nullptr;
thread_local std::int32_t callback_number = 0;

}  // namespace

void raise_in_python(const Error& e) {
  py::object exc = py::reinterpret_borrow<py::object>(error_type)(e.number(), decode(e.source()), decode(e.description()));
  if (callback_exception) {
    py::object cause = py::reinterpret_steal<py::object>(std::exchange(callback_exception, nullptr));
    if (callback_number == e.number()) PyException_SetCause(exc.ptr(), cause.release().ptr());
  }
  PyErr_SetObject(error_type, exc.ptr());
}

void raise_python_failure() {
  PyObject *type = nullptr, *value = nullptr, *trace = nullptr;
  PyErr_Fetch(&type, &value, &trace);
  PyErr_NormalizeException(&type, &value, &trace);
  if (trace && value) PyException_SetTraceback(value, trace);
  const py::object kind = py::reinterpret_steal<py::object>(type), exc = py::reinterpret_steal<py::object>(value);
  Py_XDECREF(trace);
  std::int32_t number = kPythonFailure;
  String source(u"Python"), description;
  try {
    if (exc && PyObject_IsInstance(exc.ptr(), error_type) == 1) {
      number = exc.attr("number").cast<std::int32_t>();
      source = encode(py::str(exc.attr("source")));
      description = encode(py::str(exc.attr("description")));
    } else if (exc) {
      PyObject* text = PyUnicode_FromFormat("%S: %S", kind.attr("__name__").ptr(), exc.ptr());
      if (!text) throw py::error_already_set();
      description = encode(py::reinterpret_steal<py::object>(text));
    }
  } catch (...) {  // fields that do not convert (a number beyond 32 bits): the exception's type still says
    number = kPythonFailure;
    source = String(u"Python");
    description = String(u"An exception whose fields do not convert");
    PyErr_Clear();
  }
  Py_XDECREF(std::exchange(callback_exception, exc.inc_ref().ptr()));
  callback_number = number;
  raise_error(number, std::move(source), std::move(description));
}

namespace {

// For the slots written in C below: what a pybind11 function would have raised.
void set_python_error() noexcept {
  try {
    throw;
  } catch (py::error_already_set& e) {
    e.restore();
  } catch (const py::builtin_exception& e) {
    e.set_error();
  } catch (const Error& e) {
    try {
      raise_in_python(e);
    } catch (py::error_already_set& inner) {
      inner.restore();
    } catch (...) {
      PyErr_SetString(PyExc_RuntimeError, e.what());
    }
  } catch (const std::bad_alloc&) {
    PyErr_NoMemory();
  } catch (const std::exception& e) {
    PyErr_SetString(PyExc_RuntimeError, e.what());
  } catch (...) {
    PyErr_SetString(PyExc_RuntimeError, "unknown failure");
  }
}

// Attribute reads and member calls are the hot path: as C slots they skip the generic lookup
// (which would raise and discard an AttributeError first) and pybind11's argument parsing.
PyObject* object_getattro(PyObject* self, PyObject* name) {
  // Names written in code are interned: a member seen before is found by identity, before any
  // text is looked at.
  for (const KnownMember& k : payload<PyObj>(self).known) {
    if (k.bound && k.name.ptr() == name) return k.bound.inc_ref().ptr();
  }
  Py_ssize_t size = 0;
  const char* text = PyUnicode_AsUTF8AndSize(name, &size);
  if (!text) return nullptr;
  if (size >= 2 && text[0] == '_' && text[1] == '_') return PyObject_GenericGetAttr(self, name);
  try {
    return get_attribute(payload<PyObj>(self), name, std::string_view(text, static_cast<std::size_t>(size))).release().ptr();
  } catch (...) {
    set_python_error();
    return nullptr;
  }
}

PyObject* member_call(PyObject* self, PyObject* args, PyObject* kwargs) {
  try {
    const BoundMember& b = payload<BoundMember>(self);
    return call(*b.ref, b.id, b.kinds, args, kwargs).release().ptr();
  } catch (...) {
    set_python_error();
    return nullptr;
  }
}

// A failed call of the C interface as the library error it recorded.
void check(qv_status status) {
  if (status == QV_OK) return;
  std::int32_t number = status;
  char *source = nullptr, *description = nullptr;
  qv_last_error(&number, &source, &description);
  String s = String::from_utf8(source ? source : ""), d = String::from_utf8(description ? description : "");
  qv_free(source);
  qv_free(description);
  raise_error(number, std::move(s), std::move(d));
}

std::string records_directory(py::handle directory) {
  return py::str(py::module_::import("os").attr("fspath")(directory));
}

PyObj create(const std::string& id, py::handle registry) {
  if (registry.is_none()) {
    Guid clsid;
    if (Guid::parse(id, clsid)) return PyObj(Variant(create_object(clsid)).to_object());
    return PyObj(Variant(create_object(String::from_utf8(id).view())).to_object());
  }
  const std::string directory = registry.ptr() == Py_True ? std::string() : records_directory(registry);
  qv_object made = nullptr;
  check(qv_create_registered(directory.empty() ? nullptr : directory.c_str(), id.c_str(), &made));
  // A handle of the C interface is the library's object pointer, holding one reference.
  return PyObj(Ref<Unknown>::adopt(reinterpret_cast<Unknown*>(made)));
}

}  // namespace

}  // namespace quorvel::python

using namespace quorvel;
using namespace quorvel::python;

PYBIND11_MODULE(quorvel, m) {
  m.doc() = "Quorvel automation objects, called late-bound from Python.";
  // Written in Python so that a callback can raise one with its own fields.
  py::dict scope;
  py::exec(R"py(
class Error(Exception):
    """A library error: number, source and description. Raised in a Python callback, it reaches
    the library with these fields."""
    __module__ = "quorvel"

    def __init__(self, number, source="", description=""):
        super().__init__(number, source, description)
        self.number, self.source, self.description = number, source, description

    def __str__(self):
        return f"{self.description} ({self.number})"
)py", scope);
  error_type = py::object(scope["Error"]).release().ptr();
  m.attr("Error") = py::handle(error_type);
  py::register_exception_translator([](std::exception_ptr p) {
    try {
      if (p) std::rethrow_exception(p);
    } catch (const Error& e) {
      raise_in_python(e);
    }
  });

  py::class_<Marker>(m, "Marker").def("__repr__", [](const Marker& k) { return std::string("quorvel.") + k.name; });
  empty_object = py::cast(&empty_marker, py::return_value_policy::reference).release().ptr();
  missing_object = py::cast(&missing_marker, py::return_value_policy::reference).release().ptr();
  m.attr("Empty") = py::handle(empty_object);
  m.attr("Missing") = py::handle(missing_object);

  py::class_<RefHolder>(m, "Ref", "A by-reference argument: read the callee's write-back from .value.")
      .def(py::init([](py::object v) { return RefHolder{std::move(v)}; }), py::arg("value") = py::none())
      .def_readwrite("value", &RefHolder::value);
  ref_type = reinterpret_cast<PyTypeObject*>(m.attr("Ref").ptr());
  marker_type = reinterpret_cast<PyTypeObject*>(m.attr("Marker").ptr());

  py::class_<BoundMember> member(m, "Member");
  member.def("__repr__", [](const BoundMember& b) { return "<quorvel member " + b.name + ">"; });
  reinterpret_cast<PyTypeObject*>(member.ptr())->tp_call = &member_call;
  PyType_Modified(reinterpret_cast<PyTypeObject*>(member.ptr()));

  py::class_<PyObj> object(m, "Object", "A library object; its members are attributes (see dir()).");
  object_type = reinterpret_cast<PyTypeObject*>(object.ptr());
  object_type->tp_getattro = &object_getattro;
  PyType_Modified(reinterpret_cast<PyTypeObject*>(object.ptr()));
  object
      .def("__setattr__", &set_attribute)
      .def("__call__", [](const PyObj& o, py::args args, py::kwargs kwargs) {
        return call(*o.ref, 0, MemberKind::Method | MemberKind::Get, args.ptr(), kwargs.ptr());
      })
      .def("__getitem__", [](const PyObj& o, py::handle key) {
        return call(*o.ref, 0, MemberKind::Method | MemberKind::Get, as_args(key));
      })
      .def("__setitem__", [](const PyObj& o, py::handle key, py::handle value) {
        const Variant v = from_python(value);
        return call(*o.ref, 0, MemberKind::Let, as_args(key), &v);
      })
      .def("__iter__", [](const PyObj& o) {
        py::list items;
        const std::int32_t count = call(*o.ref, id_of(o, "Count"), MemberKind::Get, nullptr, nullptr).cast<std::int32_t>();
        const DispId item = id_of(o, "Item");
        for (std::int32_t i = 0; i < count; ++i) {
          items.append(call(*o.ref, item, MemberKind::Method | MemberKind::Get, py::make_tuple(first_index(o) + i)));
        }
        return py::iter(items);
      })
      // A property in place of the class's text, so that help(obj) shows the object's own members.
      .def_property_readonly("__doc__", [](const PyObj& o) { return member_help(*o.ref); })
      .def("__dir__", [](const PyObj& o) {
        py::list names;
        std::string last;
        for (const MemberInfo& member : info_of(o).members()) {
          if (member.name != last) names.append(member.name);
          last = member.name;
        }
        return names;
      })
      .def("__eq__", [](const PyObj& a, py::handle b) {
        return py::isinstance<PyObj>(b) && &a.ref->identity() == &b.cast<PyObj&>().ref->identity();
      })
      .def("__hash__", [](const PyObj& o) { return reinterpret_cast<std::uintptr_t>(&o.ref->identity()); })
      .def("__repr__", [](const PyObj& o) {
        return std::string("<quorvel.Object ") + o.ref->identity().described_class().name + ">";
      });

  m.def("create", &create, py::arg("id"), py::arg("registry") = py::none(),
        "A new object by program id (\"Quorvel.ArrayList_Long\") or braced class id. With `registry` (a\n"
        "directory of registration records, or True for the user's own) the class is found through the\n"
        "records and made by the class factory of the library file they name.");
  m.def("register", [](py::handle directory) { check(qv_register_server(records_directory(directory).c_str())); },
        py::arg("directory"), "Writes this library's registration record into `directory`.");
  m.def("unregister", [](py::handle directory) { check(qv_unregister_server(records_directory(directory).c_str())); },
        py::arg("directory"), "Removes this library's registration record from `directory`.");
  m.def("classes", [] {
        py::dict out;  // name -> how a host reaches it
        for (const ClassInfo* c : type_library().classes) {
          out[py::str(c->name)] = c->global() ? "global" : c->creatable() ? "creatable" : "made by the library";
        }
        return out;
      },
      "Every class of the type library by name: \"creatable\" (quorvel.create), \"global\" (one per\n"
      "thread, as app() and debug()) or \"made by the library\" (handed out by factories).");
  define_events(m);
  m.def("app", [] { return PyObj(Variant(global_object(u"QuorvelApp")).to_object()); }, "The global QuorvelApp.");
  m.def("debug", [] { return PyObj(Variant(global_object(u"clsDebug")).to_object()); }, "The global clsDebug.");
}
