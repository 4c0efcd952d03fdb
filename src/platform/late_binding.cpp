// Late binding: find the member in the description of the interface a pointer answers to,
// complete the argument list with missing values and defaults, and call the generated invoker.
#include "quorvel/platform/late_binding.h"

#include <array>
#include <vector>

#include "quorvel/platform/error.h"

namespace quorvel {

const InterfaceInfo& interface_info_of(Unknown& target) {
  const InterfaceInfo* info = target.identity().interface_of(&target);  // NOLINT: one lookup
  if (!info) raise_runtime_error(RuntimeError::NoSuchMember);
  return *info;
}

DispId get_dispid(Unknown& target, std::u16string_view name) {
  const DispId id = interface_info_of(target).find_id(name);
  if (id < 0) raise_runtime_error(RuntimeError::NoSuchMember);
  return id;
}

namespace {

// The value an omitted parameter takes: its declared default, Nothing for an object, the
// missing marker for a Variant, and the kind's zero otherwise (Empty converts to it).
Variant omitted_value(const ParamInfo& p) {
  if (p.has_default) return p.default_value;
  if (p.type.code == Variant::code(VarKind::Object)) return Variant::nothing();
  if (p.type.code == Variant::code(VarKind::Variant)) return Variant::missing();
  return Variant();
}

bool given(std::span<Variant> args, std::size_t i) noexcept { return i < args.size() && !args[i].is_missing(); }

}  // namespace

namespace {

Variant call_with_omitted(Unknown& self, const MemberInfo& m, std::span<Variant> args);

// Calls member `m` of the interface `info` that `view` (a pointer into `object`) answers to.
inline Variant call_member(Object& object, Unknown& view, const InterfaceInfo& info, const MemberInfo& m,
                    std::span<Variant> args) {
  // A view of an implemented interface is the callee itself; so is the object's own view, except
  // for an interface class, whose own members are those of an interface it implements.
  Unknown* self = &view;
  if (&view == static_cast<Unknown*>(&object) && object.described_class().own_is_interface) {
    self = object.find_interface(info.iid());
    if (!self) raise_runtime_error(RuntimeError::NoSuchMember);
  }
  const std::size_t n = m.params.size();
  bool complete = args.size() == n;
  for (std::size_t i = 0; i < n && complete; ++i) complete = !args[i].is_missing();
  if (!complete) return call_with_omitted(*self, m, args);
  Variant result;
  m.invoke(*self, args, result);
  return result;
}

// The rarer call with arguments left out: the given ones as they came (a by-reference one still
// writes back, a plain one is a copy and never does), the gaps filled with their omitted values.
[[gnu::noinline]] Variant call_with_omitted(Unknown& self, const MemberInfo& m, std::span<Variant> args) {
  const std::size_t n = m.params.size();
  if (args.size() > n) raise_runtime_error(RuntimeError::WrongArgumentCount);
  Variant result;
  std::array<Variant, 8> local;
  std::vector<Variant> heap;
  std::span<Variant> full;
  if (n <= local.size()) {
    full = std::span<Variant>(local.data(), n);
  } else {
    heap.resize(n);
    full = heap;
  }
  for (std::size_t i = 0; i < n; ++i) {
    const ParamInfo& p = m.params[i];
    if (given(args, i)) {
      full[i] = args[i];
    } else if (p.optional) {
      full[i] = omitted_value(p);
    } else {
      raise_runtime_error(RuntimeError::ArgumentNotOptional);
    }
  }
  m.invoke(self, full, result);
  return result;
}

const InterfaceInfo& described_interface(Object& object, Unknown& view) {
  const InterfaceInfo* info =
      &view == static_cast<Unknown*>(&object) ? object.described_class().own : object.interface_of(&view);
  if (!info) raise_runtime_error(RuntimeError::NoSuchMember);
  return *info;
}

const MemberInfo& described_member(const InterfaceInfo& info, DispId id, MemberKind kinds) {
  const MemberInfo* m = info.find(id, kinds);
  if (!m) raise_runtime_error(RuntimeError::NoSuchMember);
  return *m;
}

}  // namespace

Variant invoke(Unknown& view, DispId id, MemberKind kinds, std::span<Variant> args) {
  Object& object = view.identity();
  const InterfaceInfo& info = described_interface(object, view);
  return call_member(object, view, info, described_member(info, id, kinds), args);
}

Variant invoke(Unknown& view, std::u16string_view name, MemberKind kinds, std::span<Variant> args) {
  Object& object = view.identity();
  const InterfaceInfo& info = described_interface(object, view);
  const DispId id = info.find_id(name);
  if (id < 0) raise_runtime_error(RuntimeError::NoSuchMember);
  return call_member(object, view, info, described_member(info, id, kinds), args);
}

Variant invoke(const Variant& object, std::u16string_view name, MemberKind kinds, std::span<Variant> args) {
  if (!object.is_object()) raise_runtime_error(RuntimeError::ObjectRequired);
  Unknown* p = object.if_object();
  if (!p) raise_runtime_error(RuntimeError::ObjectNotSet);
  Ref<Unknown> keep(p);  // the call may drop the caller's last other reference
  return invoke(*p, name, kinds, args);
}

bool has_default_member(Unknown& target) noexcept {
  // A default member that needs arguments (a collection's Item) gives no value by itself.
  const InterfaceInfo* info = target.identity().interface_of(&target);
  const MemberInfo* m = info ? info->find(0, MemberKind::Method | MemberKind::Get) : nullptr;
  return m && m->required_count() == 0;
}

// Reading an object's default value belongs to Variant, but needs late binding.
Variant Variant::default_value() const {
  Variant v = copy_ind();
  for (int depth = 0; v.is_object(); ++depth) {
    Unknown* p = v.if_object();
    if (!p) raise_runtime_error(RuntimeError::ObjectNotSet);
    if (depth == 16 || !has_default_member(*p)) raise_runtime_error(RuntimeError::NoSuchMember);
    Ref<Unknown> keep(p);
    v = invoke(*p, 0, MemberKind::Method | MemberKind::Get, {});
  }
  return v;
}

std::uint16_t Variant::var_type() const {
  const std::uint16_t t = type_code();
  if (t != code(VarKind::Object)) return t;
  Unknown* p = if_object();
  if (!p || !has_default_member(*p)) return t;
  return default_value().type_code();
}

Array array_argument(const Variant& v, const VarKind* kind) {
  const Array* a = v.if_array();
  if (!a || (kind && a->element_kind() != *kind)) raise_runtime_error(RuntimeError::TypeMismatch);
  return *a;
}

}  // namespace quorvel
