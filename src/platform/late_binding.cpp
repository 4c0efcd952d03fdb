// Late binding: find the member in the description of the interface a pointer answers to,
// complete the argument list with missing values and defaults, and call the generated invoker.
#include "quorvel/platform/late_binding.h"


#include <array>
#include <string>
#include <vector>

#include "quorvel/platform/error.h"
#include "quorvel/platform/registry.h"
#include "argument_scratch.h"

namespace quorvel {

namespace {

// 438 and 450 say which call went wrong: the class, the member (as the caller spelled it), the
// interface when it is not the class's own, and for 450 how many arguments the member takes.
[[noreturn, gnu::cold, gnu::noinline]] void raise_member_error(RuntimeError error, Object& object,
                                                               const InterfaceInfo* info, std::u16string_view member,
                                                               const MemberInfo* m = nullptr, std::size_t given = 0) {
  auto ascii = [](std::u16string& out, std::string_view text) { out.append(text.begin(), text.end()); };
  std::u16string text = runtime_error_description(error);
  text += u": ";
  ascii(text, object.described_class().name);
  text += u'.';
  text += member.substr(0, 128);
  if (info && info != object.described_class().own) {
    text += u" through ";
    ascii(text, info->name());
  }
  if (m) {
    const std::size_t most = m->params.size(), least = m->required_count();
    text += u" takes ";
    ascii(text, std::to_string(least));
    if (most != least) {
      text += u" to ";
      ascii(text, std::to_string(most));
    }
    ascii(text, most == 1 ? " argument, got " : " arguments, got ");
    ascii(text, std::to_string(given));
  }
  raise_error(static_cast<std::int32_t>(error), library_name(), String(text));
}

std::u16string_view member_name(const InterfaceInfo& info, DispId id, std::u16string& buffer) {
  const MemberInfo* any = info.find(id, MemberKind::Method | MemberKind::Get | MemberKind::Let | MemberKind::Set);
  if (any) {
    buffer.assign(any->name, any->name + std::char_traits<char>::length(any->name));
  } else {
    const std::string number = "dispatch id " + std::to_string(id);
    buffer.assign(number.begin(), number.end());
  }
  return buffer;
}

}  // namespace

const InterfaceInfo& interface_info_of(Unknown& target) {
  const InterfaceInfo* info = target.identity().interface_of(&target);  // NOLINT: one lookup
  if (!info) raise_runtime_error(RuntimeError::NoSuchMember);
  return *info;
}

DispId get_dispid(Unknown& target, std::u16string_view name) {
  const InterfaceInfo& info = interface_info_of(target);
  const DispId id = info.find_id(name);
  if (id < 0) raise_member_error(RuntimeError::NoSuchMember, target.identity(), &info, name);
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
Variant call_with_varargs(Unknown& self, const MemberInfo& m, std::span<Variant> args);

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
  if (m.vararg) return call_with_varargs(*self, m, args);
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
  if (args.size() > n) {
    const std::u16string name(m.name, m.name + std::char_traits<char>::length(m.name));
    raise_member_error(RuntimeError::WrongArgumentCount, self.identity(), nullptr, name, &m, args.size());
  }
  Variant result;
  detail::ArgumentScratch scratch;
  const std::span<Variant> full = scratch.take(n);
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

// A variable argument list takes the trailing arguments in place (see `with_varargs`); only
// fixed parameters left out need a completed copy of the argument list.
[[gnu::noinline]] Variant call_with_varargs(Unknown& self, const MemberInfo& m, std::span<Variant> args) {
  const std::size_t fixed = m.params.size() - 1;
  bool complete = args.size() >= fixed;
  for (std::size_t i = 0; i < fixed && complete; ++i) complete = !args[i].is_missing();
  Variant result;
  if (complete) {
    m.invoke(self, args, result);
    return result;
  }
  std::vector<Variant> full(args.begin(), args.end());
  if (full.size() < fixed) full.resize(fixed, Variant::missing());
  for (std::size_t i = 0; i < fixed; ++i) {
    if (!full[i].is_missing()) continue;
    if (!m.params[i].optional) raise_runtime_error(RuntimeError::ArgumentNotOptional);
    full[i] = omitted_value(m.params[i]);
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

const MemberInfo& described_member(Object& object, const InterfaceInfo& info, DispId id, MemberKind kinds) {
  const MemberInfo* m = info.find(id, kinds);
  if (!m) {
    std::u16string name;
    raise_member_error(RuntimeError::NoSuchMember, object, &info, member_name(info, id, name));
  }
  return *m;
}

}  // namespace

Variant invoke(Unknown& view, DispId id, MemberKind kinds, std::span<Variant> args) {
  Object& object = view.identity();
  const InterfaceInfo& info = described_interface(object, view);
  return call_member(object, view, info, described_member(object, info, id, kinds), args);
}

Variant invoke(Unknown& view, std::u16string_view name, MemberKind kinds, std::span<Variant> args) {
  Object& object = view.identity();
  const InterfaceInfo& info = described_interface(object, view);
  const DispId id = info.find_id(name);
  if (id < 0) raise_member_error(RuntimeError::NoSuchMember, object, &info, name);
  return call_member(object, view, info, described_member(object, info, id, kinds), args);
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
