// The Python module `quorvel`: library objects whose members are reached as attributes, values
// mapped between Python and Variants, library errors raised as quorvel.Error.
#include <pybind11/pybind11.h>

#include <cstring>
#include <string>
#include <vector>

#include "quorvel/platform/error.h"
#include "quorvel/platform/late_binding.h"
#include "quorvel/platform/named_arguments.h"
#include "quorvel/platform/registry.h"

namespace py = pybind11;
using namespace quorvel;

namespace {

// Stands for a Variant kind Python has no value for: Empty, and the omitted-argument marker.
struct Marker {
  const char* name;
};

// A by-reference argument: the callee's write-back lands in `value`.
struct RefHolder {
  py::object value;
};

struct PyObj {
  Ref<Unknown> ref;
};

struct BoundMember {
  Ref<Unknown> ref;
  DispId id;
  MemberKind kinds;
  std::string name;
};

PyObject* error_type = nullptr;  // quorvel.Error; lives as long as the interpreter
Marker empty_marker{"Empty"}, missing_marker{"Missing"};

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

py::object to_python(const Variant& v);

Variant from_python(py::handle h, int depth = 0) {
  if (h.is_none()) return Variant::null();
  if (py::isinstance<PyObj>(h)) return Variant(h.cast<PyObj&>().ref);
  if (PyBool_Check(h.ptr())) return Variant(h.ptr() == Py_True);
  if (PyLong_Check(h.ptr())) {
    int overflow = 0;
    const long long n = PyLong_AsLongLongAndOverflow(h.ptr(), &overflow);
    if (overflow) raise_runtime_error(RuntimeError::Overflow);
    if (n >= INT32_MIN && n <= INT32_MAX) return Variant(static_cast<std::int32_t>(n));
    return Variant(static_cast<double>(n));
  }
  if (PyFloat_Check(h.ptr())) return Variant(PyFloat_AS_DOUBLE(h.ptr()));
  if (PyUnicode_Check(h.ptr())) return Variant(encode(h));
  if (py::isinstance<Marker>(h)) return &h.cast<Marker&>() == &missing_marker ? Variant::missing() : Variant();
  if (PyList_Check(h.ptr()) || PyTuple_Check(h.ptr())) {
    if (depth == kDeepest) raise_error(28, library_name(), String(u"Out of stack space: a list nested too deep or within itself"));
    const py::sequence items = py::reinterpret_borrow<py::sequence>(h);
    const auto count = static_cast<std::int32_t>(items.size());
    Array array(VarKind::Variant, 0, count);
    for (std::int32_t i = 0; i < count; ++i) array.put(i, from_python(items[static_cast<std::size_t>(i)], depth + 1));
    return Variant(std::move(array));
  }
  throw py::type_error("quorvel cannot pass a " + std::string(py::str(h.get_type().attr("__name__"))));
}

py::object to_python(const Variant& v) {
  if (const Array* a = v.if_array()) {
    py::list out;
    if (!a->allocated()) return py::object(std::move(out));
    for (std::int32_t i = 0; i < a->count(); ++i) out.append(to_python(a->get(a->lower_bound() + i)));
    return py::object(std::move(out));
  }
  switch (v.kind()) {
    case VarKind::Empty: return py::cast(&empty_marker, py::return_value_policy::reference);
    case VarKind::Null: return py::none();
    case VarKind::Integer: case VarKind::Long: case VarKind::Byte: return py::int_(v.to_long());
    case VarKind::Single: case VarKind::Double: return py::float_(v.to_double());
    case VarKind::Boolean: return py::bool_(v.to_boolean());
    case VarKind::String: return decode(*v.if_string());
    case VarKind::Error:
      if (v.is_missing()) return py::cast(&missing_marker, py::return_value_policy::reference);
      return py::int_(*v.if_error());
    case VarKind::Object: {
      Ref<Unknown> r = v.to_object();
      if (!r) return py::none();
      return py::cast(PyObj{std::move(r)});
    }
    default: throw py::type_error("a value of a kind Python has no form for");
  }
}

// Positional arguments, with quorvel.Ref holders passed by reference; keyword arguments named.
py::object call(Unknown& target, DispId id, MemberKind kinds, py::args args, py::kwargs kwargs,
                const Variant* assigned = nullptr) {
  const std::size_t count = args.size() + kwargs.size() + (assigned ? 1 : 0);
  std::vector<Variant> values, written;
  values.reserve(count);
  written.reserve(count);  // by-reference targets must not move
  std::vector<RefHolder*> holders;
  auto add = [&](py::handle a) {
    if (py::isinstance<RefHolder>(a)) {
      RefHolder& holder = a.cast<RefHolder&>();
      written.push_back(from_python(holder.value));
      holders.push_back(&holder);
      values.push_back(Variant::by_ref(written.back()));
    } else {
      values.push_back(from_python(a));
    }
  };
  for (py::handle a : args) add(a);
  if (assigned) values.push_back(*assigned);
  std::vector<String> names;
  std::vector<std::u16string_view> views;
  for (auto [key, value] : kwargs) {
    names.push_back(encode(key));
    add(value);
  }
  for (const String& n : names) views.push_back(n.view());
  Ref<Unknown> keep(&target);
  const Variant result = invoke_named(target, id, kinds, values, views);
  for (std::size_t i = 0; i < holders.size(); ++i) holders[i]->value = to_python(written[i]);
  return to_python(result);
}

const InterfaceInfo& info_of(const PyObj& o) { return interface_info_of(*o.ref); }

DispId id_of(const PyObj& o, const std::string& name) {
  const DispId id = info_of(o).find_id(String::from_utf8(name).view());
  if (id < 0) throw py::attribute_error(std::string(info_of(o).name()) + " has no member " + name);
  return id;
}

py::object get_attribute(const PyObj& o, const std::string& name) {
  if (name.starts_with("__")) throw py::attribute_error(name);
  const DispId id = id_of(o, name);
  const InterfaceInfo& info = info_of(o);
  const MemberInfo* method = info.find(id, MemberKind::Method);
  const MemberInfo* getter = info.find(id, MemberKind::Get);
  // A property without arguments reads at once; anything that takes arguments is called.
  if (!method && getter && getter->required_count() == 0) {
    return call(*o.ref, id, MemberKind::Get, py::args(), py::kwargs());
  }
  return py::cast(BoundMember{o.ref, id, MemberKind::Method | MemberKind::Get, name});
}

void set_attribute(const PyObj& o, const std::string& name, py::handle value) {
  const DispId id = id_of(o, name);
  Variant v = from_python(value);
  // An object (or None, read as Nothing) goes to a set where the property has one.
  const bool set = (v.is_object() || value.is_none()) && info_of(o).find(id, MemberKind::Set);
  if (set && value.is_none()) v = Variant::nothing();
  call(*o.ref, id, set ? MemberKind::Set : MemberKind::Let, py::args(), py::kwargs(), &v);
}

py::args as_args(py::handle key) {
  if (PyTuple_Check(key.ptr())) return py::reinterpret_borrow<py::args>(key);
  return py::make_tuple(key);
}

// 1-based containers index from 1; the lists from 0.
std::int32_t first_index(const PyObj& o) {
  const std::string name = o.ref->identity().described_class().name;
  return name.starts_with("cls") || name == "Collection" ? 1 : 0;
}

}  // namespace

PYBIND11_MODULE(quorvel, m) {
  m.doc() = "Quorvel automation objects, called late-bound from Python.";
  error_type = PyErr_NewExceptionWithDoc("quorvel.Error", "A library error: number, source and description.",
                                         PyExc_Exception, nullptr);
  m.attr("Error") = py::handle(error_type);
  py::register_exception_translator([](std::exception_ptr p) {
    try {
      if (p) std::rethrow_exception(p);
    } catch (const Error& e) {
      py::object exc = py::reinterpret_borrow<py::object>(error_type)(e.what());
      exc.attr("number") = e.number();
      exc.attr("source") = decode(e.source());
      exc.attr("description") = decode(e.description());
      PyErr_SetObject(error_type, exc.ptr());
    }
  });

  py::class_<Marker>(m, "Marker").def("__repr__", [](const Marker& k) { return std::string("quorvel.") + k.name; });
  m.attr("Empty") = py::cast(&empty_marker, py::return_value_policy::reference);
  m.attr("Missing") = py::cast(&missing_marker, py::return_value_policy::reference);

  py::class_<RefHolder>(m, "Ref", "A by-reference argument: read the callee's write-back from .value.")
      .def(py::init([](py::object v) { return RefHolder{std::move(v)}; }), py::arg("value") = py::none())
      .def_readwrite("value", &RefHolder::value);

  py::class_<BoundMember>(m, "Member")
      .def("__call__", [](const BoundMember& b, py::args args, py::kwargs kwargs) {
        return call(*b.ref, b.id, b.kinds, std::move(args), std::move(kwargs));
      })
      .def("__repr__", [](const BoundMember& b) { return "<quorvel member " + b.name + ">"; });

  py::class_<PyObj>(m, "Object", "A library object; its members are attributes (see dir()).")
      .def("__getattr__", &get_attribute)
      .def("__setattr__", &set_attribute)
      .def("__call__", [](const PyObj& o, py::args args, py::kwargs kwargs) {
        return call(*o.ref, 0, MemberKind::Method | MemberKind::Get, std::move(args), std::move(kwargs));
      })
      .def("__getitem__", [](const PyObj& o, py::handle key) {
        return call(*o.ref, 0, MemberKind::Method | MemberKind::Get, as_args(key), py::kwargs());
      })
      .def("__setitem__", [](const PyObj& o, py::handle key, py::handle value) {
        const Variant v = from_python(value);
        return call(*o.ref, 0, MemberKind::Let, as_args(key), py::kwargs(), &v);
      })
      .def("__iter__", [](const PyObj& o) {
        py::list items;
        const std::int32_t count = call(*o.ref, id_of(o, "Count"), MemberKind::Get, py::args(), py::kwargs()).cast<std::int32_t>();
        const DispId item = id_of(o, "Item");
        for (std::int32_t i = 0; i < count; ++i) {
          items.append(call(*o.ref, item, MemberKind::Method | MemberKind::Get, py::make_tuple(first_index(o) + i), py::kwargs()));
        }
        return py::iter(items);
      })
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

  m.def("create", [](const std::string& id) {
    Guid clsid;
    if (Guid::parse(id, clsid)) return PyObj{Variant(create_object(clsid)).to_object()};
    return PyObj{Variant(create_object(String::from_utf8(id).view())).to_object()};
  }, "A new object by program id (\"Quorvel.ArrayList_Long\") or braced class id.");
  m.def("app", [] { return PyObj{Variant(global_object(u"QuorvelApp")).to_object()}; }, "The global QuorvelApp.");
  m.def("debug", [] { return PyObj{Variant(global_object(u"clsDebug")).to_object()}; }, "The global clsDebug.");
}
