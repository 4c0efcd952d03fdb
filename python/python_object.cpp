// Python objects as library objects: a comparer, formatter, test or event listener written in
// Python is a library object whose late-bound members are the Python object's attributes.
#include <array>
#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "module_support.h"
#include "quorvel/platform/class_info.h"
#include "quorvel/platform/events.h"
#include "quorvel/platform/late_binding.h"

namespace quorvel::python {

namespace {

constexpr std::size_t kMostMembers = 64;

// The library may call or release a wrapper from any thread: each touch of Python holds the GIL.
class GilHold {
 public:
  GilHold() noexcept : state_(PyGILState_Ensure()) {}
  GilHold(const GilHold&) = delete;
  GilHold& operator=(const GilHold&) = delete;
  ~GilHold() { PyGILState_Release(state_); }

 private:
  PyGILState_STATE state_;
};

// Member `slot` is the attribute names_[slot] of the target, or the callable direct_[slot] when
// one was given (an event connected to a function).
class PythonObject final : public ObjectImpl<> {
 public:
  PythonObject(py::handle target, std::vector<std::string> names, std::vector<py::object> direct);
  ~PythonObject() override;
  const ClassInfo& class_info() const noexcept override { return info_; }

  PyObject* target() const noexcept { return target_; }
  void call(std::size_t slot, bool assign, std::span<Variant> args, Variant& result);

 private:
  std::vector<std::string> names_;
  std::vector<PyObject*> direct_;  // strong references (or null), given back under the GIL
  PyObject* target_ = nullptr;     // a strong reference too
  std::string type_name_;
  std::shared_ptr<const InterfaceInfo> own_;
  ClassInfo info_;
};

// The descriptions' invokers are plain functions: one per member slot tells the slot apart.
template <std::size_t Slot, bool Assign>
void slot_invoker(Unknown& self, std::span<Variant> args, Variant& result) {
  static_cast<PythonObject&>(self.identity()).call(Slot, Assign, args, result);
}

template <bool Assign, std::size_t... Slot>
constexpr std::array<Invoker, sizeof...(Slot)> make_invokers(std::index_sequence<Slot...>) {
  return {&slot_invoker<Slot, Assign>...};
}
constexpr auto call_invokers = make_invokers<false>(std::make_index_sequence<kMostMembers>());
constexpr auto let_invokers = make_invokers<true>(std::make_index_sequence<kMostMembers>());

std::vector<MemberInfo> describe_slots(const std::vector<std::string>& names) {
  const TypeDesc variant{Variant::code(VarKind::Variant)};
  const TypeDesc values{static_cast<std::uint16_t>(Variant::code(VarKind::Variant) | kArrayFlag)};
  std::vector<MemberInfo> members;
  for (std::size_t i = 0; i < names.size(); ++i) {
    for (const MemberKind kind : {MemberKind::Method, MemberKind::Get, MemberKind::Let}) {
      MemberInfo m;
      m.name = names[i].c_str();
      m.id = static_cast<DispId>(i + 1);
      m.kind = kind;
      m.result = variant;
      ParamInfo p;
      p.type = variant;
      if (kind == MemberKind::Let) {
        p.name = "Value";
        m.params.push_back(p);
        m.invoke = let_invokers[i];
      } else {
        p.name = "Values";
        p.type = values;
        p.optional = true;
        m.params.push_back(p);
        m.invoke = call_invokers[i];
        m.vararg = true;
      }
      members.push_back(std::move(m));
    }
  }
  return members;
}

PythonObject::PythonObject(py::handle target, std::vector<std::string> names, std::vector<py::object> direct)
    : names_(std::move(names)), direct_(names_.size(), nullptr) {
  type_name_ = py::str(target.get_type().attr("__name__")).cast<std::string>();
  own_ = std::make_shared<const InterfaceInfo>(type_name_, Guid{}, describe_slots(names_));
  info_.name = type_name_.c_str();
  info_.help = "A Python object";
  info_.own = own_.get();
  info_.own_storage = own_;
  // The references last, once nothing can fail: a constructor that raises runs no destructor.
  for (std::size_t i = 0; i < direct.size() && i < direct_.size(); ++i) direct_[i] = direct[i].release().ptr();
  target_ = target.inc_ref().ptr();
}

PythonObject::~PythonObject() {
  if (!Py_IsInitialized()) return;  // released after the interpreter ended: its objects are gone
  const GilHold gil;
  Py_XDECREF(target_);
  for (PyObject* d : direct_) Py_XDECREF(d);
}

void PythonObject::call(std::size_t slot, bool assign, std::span<Variant> args, Variant& result) {
  const GilHold gil;
  try {
    const char* name = names_[slot].c_str();
    if (assign) {
      py::setattr(target_, name, argument_to_python(args[0]));
      return;
    }
    const py::object member = direct_[slot] ? py::reinterpret_borrow<py::object>(direct_[slot])
                                            : py::getattr(target_, name);
    if (!PyCallable_Check(member.ptr())) {
      if (!args.empty()) raise_runtime_error(RuntimeError::WrongArgumentCount);
      result = from_python(member);
      return;
    }
    // By-reference arguments go in as quorvel.Ref holders; what the callee put there goes back.
    py::tuple values(args.size());
    std::vector<std::pair<std::size_t, py::object>> holders;
    for (std::size_t i = 0; i < args.size(); ++i) {
      py::object value = argument_to_python(args[i]);
      if (args[i].is_by_ref()) {
        py::object holder = py::cast(RefHolder{value});
        holders.emplace_back(i, value);
        value = holder;
      }
      values[i] = std::move(value);
    }
    const auto write_back = [&] {
      for (const auto& [i, before] : holders) {
        const py::object after = py::object(values[i]).cast<RefHolder&>().value;
        if (!after.is(before)) args[i].assign(from_python(after));
      }
    };
    const py::object back = py::reinterpret_steal<py::object>(PyObject_Call(member.ptr(), values.ptr(), nullptr));
    if (!back) {
      // What the callee assigned before it raised reaches the caller all the same; its own
      // exception is the one reported.
      PyObject *type = nullptr, *value = nullptr, *trace = nullptr;
      PyErr_Fetch(&type, &value, &trace);
      try {
        write_back();
      } catch (...) {
        PyErr_Clear();
      }
      PyErr_Restore(type, value, trace);
      raise_python_failure();
    }
    write_back();
    result = from_python(back);
  } catch (py::error_already_set& e) {
    e.restore();
    raise_python_failure();
  } catch (const py::builtin_exception& e) {
    e.set_error();
    raise_python_failure();
  }
}

std::vector<std::string> public_names(py::handle target) {
  PyObject* listed = PyObject_Dir(target.ptr());
  if (!listed) throw py::error_already_set();
  std::vector<std::string> names;
  for (const py::handle name : py::reinterpret_steal<py::list>(listed)) {
    std::string text = py::str(name);
    if (!text.starts_with('_') && names.size() < kMostMembers) names.push_back(std::move(text));
  }
  return names;
}

struct Connection {
  Ref<Unknown> source;
  EventCookie cookie = 0;
  // False when it was detached already.
  bool disconnect() {
    const bool was = cookie != 0 && detach_listener(source.get(), cookie);
    cookie = 0;
    return was;
  }
};

Connection connect(py::handle source, py::handle event_or_listener, py::handle handler) {
  Connection c;
  c.source = from_python(source).to_object();
  if (!c.source) raise_runtime_error(RuntimeError::ObjectNotSet);
  Ref<Unknown> listener;
  if (PyUnicode_Check(event_or_listener.ptr())) {
    const std::string event = py::str(event_or_listener);
    const InterfaceInfo* events = c.source->identity().described_class().events;
    if (!events || events->find_id(String::from_utf8(event).view()) < 0) {
      raise_error(static_cast<std::int32_t>(RuntimeError::NoSuchMember), String(u"quorvel"),
                  String::from_utf8(std::string(c.source->identity().described_class().name) + " raises no event " + event));
    }
    if (!PyCallable_Check(handler.ptr())) throw py::type_error("connect needs a callable for an event");
    listener = make<PythonObject>(handler, std::vector<std::string>{event},
                                  std::vector<py::object>{py::reinterpret_borrow<py::object>(handler)});
  } else {
    listener = from_python(event_or_listener).to_object();
  }
  c.cookie = attach_listener(c.source.get(), std::move(listener));
  return c;
}

}  // namespace

Ref<Unknown> wrap_python_object(py::handle h) {
  if (!PyType_HasFeature(Py_TYPE(h.ptr()), Py_TPFLAGS_HEAPTYPE)) return {};
  return make<PythonObject>(h, public_names(h), std::vector<py::object>{});
}

PyObject* python_target(Unknown& object) noexcept {
  const auto* p = dynamic_cast<const PythonObject*>(&object.identity());
  return p ? p->target() : nullptr;
}

void define_events(py::module_& m) {
  py::class_<Connection>(m, "Connection", "An attached event listener; disconnect() detaches it.")
      .def("disconnect", &Connection::disconnect, "Detaches the listener; False when it was detached already.")
      .def_property_readonly("connected", [](const Connection& c) { return c.cookie != 0; })
      .def("__enter__", [](py::object self) { return self; })
      .def("__exit__", [](Connection& c, py::args) { c.disconnect(); });
  m.def("connect", &connect, py::arg("source"), py::arg("event"), py::arg("handler") = py::none(),
        "connect(source, \"OnNotify\", fn) calls fn with the event's arguments each time `source` raises\n"
        "OnNotify; connect(source, listener) calls the listener's methods named as the events.\n"
        "By-reference event arguments arrive as quorvel.Ref holders. Returns a Connection.");
}

}  // namespace quorvel::python
