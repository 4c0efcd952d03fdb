// Writing a class or interface description: one entry per member, naming the C++ member function;
// parameter and result kinds are deduced from its signature, so the description cannot disagree
// with the code. Included by the .cpp files that describe classes, not by callers.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <tuple>
#include <type_traits>
#include <utility>

#include "quorvel/platform/class_info.h"
#include "quorvel/platform/error.h"
#include "quorvel/platform/interface_cast.h"

namespace quorvel {

/// A parameter as a description names it: `{"Value"}`, `opt("m")`, `opt("GrowLength", 1000)`.
struct Param {
  const char* name;
  bool optional = false;
  bool has_default = false;
  Variant default_value;
  Param(const char* n) : name(n) {}  // NOLINT: a bare name is a required parameter
};
inline Param opt(const char* name) {
  Param p(name);
  p.optional = true;
  return p;
}
inline Param opt(const char* name, Variant default_value) {
  Param p(name);
  p.optional = p.has_default = true;
  p.default_value = std::move(default_value);
  return p;
}

namespace detail {

template <class F>
struct Signature;
template <class C, class R, class... A>
struct Signature<R (C::*)(A...)> {
  using Class = C;
  using Result = R;
  using Args = std::tuple<A...>;
};
template <class C, class R, class... A>
struct Signature<R (C::*)(A...) const> : Signature<R (C::*)(A...)> {};
template <class C, class R, class... A>
struct Signature<R (C::*)(A...) noexcept> : Signature<R (C::*)(A...)> {};
template <class C, class R, class... A>
struct Signature<R (C::*)(A...) const noexcept> : Signature<R (C::*)(A...)> {};

template <class T> struct IsRef : std::false_type {};
template <class T> struct IsRef<Ref<T>> : std::true_type { using target = T; };
template <class T> struct IsArrayOf : std::false_type {};
template <class E> struct IsArrayOf<ArrayOf<E>> : std::true_type { using element = E; };

template <class T>
constexpr const char* type_name_of() {
  if constexpr (std::is_same_v<T, Unknown> || std::is_same_v<T, Object>) {
    return "";
  } else {
    return T::type_name;
  }
}

/// The automation type of a C++ parameter or result type.
template <class T>
constexpr TypeDesc type_of() {
  using D = std::remove_cvref_t<T>;
  if constexpr (std::is_void_v<D>) return {Variant::code(VarKind::Empty)};
  else if constexpr (std::is_same_v<D, bool> || std::is_same_v<D, VariantBool>) return {Variant::code(VarKind::Boolean)};
  else if constexpr (std::is_same_v<D, std::int16_t>) return {Variant::code(VarKind::Integer)};
  else if constexpr (std::is_same_v<D, std::int32_t>) return {Variant::code(VarKind::Long)};
  else if constexpr (std::is_same_v<D, float>) return {Variant::code(VarKind::Single)};
  else if constexpr (std::is_same_v<D, double>) return {Variant::code(VarKind::Double)};
  else if constexpr (std::is_same_v<D, std::uint8_t>) return {Variant::code(VarKind::Byte)};
  else if constexpr (std::is_same_v<D, String>) return {Variant::code(VarKind::String)};
  else if constexpr (std::is_same_v<D, Variant>) return {Variant::code(VarKind::Variant)};
  else if constexpr (std::is_same_v<D, Array>) return {static_cast<std::uint16_t>(Variant::code(VarKind::Variant) | kArrayFlag)};
  else if constexpr (IsArrayOf<D>::value) return {static_cast<std::uint16_t>(Variant::code(ElementKind<typename IsArrayOf<D>::element>::kind) | kArrayFlag)};
  else if constexpr (IsRef<D>::value) return {Variant::code(VarKind::Object), type_name_of<typename IsRef<D>::target>()};
  else static_assert(sizeof(D) == 0, "not an automation type");
}

/// An argument converted to the C++ parameter type `A`, with its write-back for by-reference
/// parameters. Constructed in call order, so conversion errors come in argument order.
template <class A>
class ArgSlot {
  using D = std::remove_cvref_t<A>;
  static constexpr bool kByRef = std::is_lvalue_reference_v<A> && !std::is_const_v<std::remove_reference_t<A>>;

 public:
  explicit ArgSlot(Variant& arg) : value_(convert(arg)) {}
  D& get() noexcept { return value_; }
  void write_back(Variant& arg) {
    if constexpr (kByRef) {
      if (arg.is_by_ref()) arg.assign(Variant(value_));
    }
  }

 private:
  static D convert(const Variant& v) {
    if constexpr (std::is_same_v<D, bool>) return v.to_boolean();
    else if constexpr (std::is_same_v<D, VariantBool>) return VariantBool(v.to_boolean());
    else if constexpr (std::is_same_v<D, std::int16_t>) return v.to_integer();
    else if constexpr (std::is_same_v<D, std::int32_t>) return v.to_long();
    else if constexpr (std::is_same_v<D, float>) return v.to_single();
    else if constexpr (std::is_same_v<D, double>) return v.to_double();
    else if constexpr (std::is_same_v<D, std::uint8_t>) return v.to_byte();
    else if constexpr (std::is_same_v<D, String>) return v.to_string();
    else if constexpr (IsRef<D>::value) return interface_cast<typename IsRef<D>::target>(v);
    else if constexpr (std::is_same_v<D, Array>) return array_argument(v, nullptr);
    else if constexpr (IsArrayOf<D>::value) {
      constexpr VarKind k = ElementKind<typename IsArrayOf<D>::element>::kind;
      return D(array_argument(v, &k));
    } else static_assert(sizeof(D) == 0, "not an automation type");
  }
  D value_;
};

/// Variant parameters: by value and const reference read the argument in place (a by-reference
/// argument is dereferenced once); a `Variant&` parameter writes straight into the caller's Variant.
template <class A>
  requires std::is_same_v<std::remove_cvref_t<A>, Variant>
class ArgSlot<A> {
  static constexpr bool kByRef = std::is_lvalue_reference_v<A> && !std::is_const_v<std::remove_reference_t<A>>;

 public:
  explicit ArgSlot(Variant& arg) {
    Variant& target = arg.resolved();
    if (target.is_by_ref()) {
      copy_ = target.copy_ind();
      p_ = &copy_;
    } else {
      p_ = &target;
    }
  }
  Variant& get() noexcept { return *p_; }
  void write_back(Variant& arg) {
    if constexpr (kByRef) {
      if (p_ == &copy_) arg.assign(copy_);
    }
  }

 private:
  Variant* p_ = nullptr;
  Variant copy_;
};

template <class R>
Variant to_result(R&& value) {
  using D = std::remove_cvref_t<R>;
  if constexpr (IsArrayOf<D>::value) return Variant(static_cast<Array>(std::forward<R>(value)));
  else return Variant(std::forward<R>(value));
}

template <class C>
C& self_cast(Unknown& self) noexcept {
  if constexpr (std::is_base_of_v<Object, C>) return static_cast<C&>(static_cast<Object&>(self));
  else return static_cast<C&>(self);
}

// g++ 12 gives this instantiation vague (weak) linkage even for members of classes in unnamed
// namespaces, so two such classes of one name in two files would share an invoker: give
// file-local described classes distinct names.
template <auto Fn>
void invoke_member(Unknown& self, std::span<Variant> args, Variant& result) {
  using S = Signature<decltype(Fn)>;
  using Args = typename S::Args;
  auto& obj = self_cast<typename S::Class>(self);
  [&]<std::size_t... I>(std::index_sequence<I...>) {
    std::tuple<ArgSlot<std::tuple_element_t<I, Args>>...> slots{ArgSlot<std::tuple_element_t<I, Args>>(args[I])...};
    if constexpr (std::is_void_v<typename S::Result>) {
      (obj.*Fn)(std::get<I>(slots).get()...);
    } else {
      result = to_result((obj.*Fn)(std::get<I>(slots).get()...));
    }
    (std::get<I>(slots).write_back(args[I]), ...);
  }(std::make_index_sequence<std::tuple_size_v<Args>>{});
}

template <class A>
void add_param(MemberInfo& m, const Param& given) {
  ParamInfo p;
  p.name = given.name;
  p.type = type_of<A>();
  p.by_ref = std::is_lvalue_reference_v<A> && !std::is_const_v<std::remove_reference_t<A>>;
  p.optional = given.optional;
  p.has_default = given.has_default;
  p.default_value = given.default_value;
  m.params.push_back(std::move(p));
}

template <class Args, std::size_t... I>
void add_params(MemberInfo& m, const Param* given, std::index_sequence<I...>) {
  (add_param<std::tuple_element_t<I, Args>>(m, given[I]), ...);
}

template <auto Fn>
MemberInfo make_member(const char* name, DispId id, MemberKind kind, std::initializer_list<Param> params,
                       const char* help) {
  using S = Signature<decltype(Fn)>;
  using Args = typename S::Args;
  constexpr std::size_t n = std::tuple_size_v<Args>;
  if (params.size() != n) {
    std::fprintf(stderr, "quorvel: description of %s names %zu parameters, the function takes %zu\n", name,
                 params.size(), n);
    std::abort();
  }
  MemberInfo m;
  m.name = name;
  m.id = id;
  m.kind = kind;
  m.help = help;
  m.result = type_of<typename S::Result>();
  m.invoke = &invoke_member<Fn>;
  m.params.reserve(n);
  add_params<Args>(m, params.begin(), std::make_index_sequence<n>{});
  return m;
}

}  // namespace detail

/// A method entry.
template <auto Fn>
MemberInfo method(const char* name, DispId id, std::initializer_list<Param> params = {}, const char* help = "") {
  return detail::make_member<Fn>(name, id, MemberKind::Method, params, help);
}
/// A property get entry (index parameters, if any, in `params`).
template <auto Fn>
MemberInfo get(const char* name, DispId id, std::initializer_list<Param> params = {}, const char* help = "") {
  return detail::make_member<Fn>(name, id, MemberKind::Get, params, help);
}
/// A property let entry; the assigned value is the last parameter.
template <auto Fn>
MemberInfo let(const char* name, DispId id, std::initializer_list<Param> params, const char* help = "") {
  return detail::make_member<Fn>(name, id, MemberKind::Let, params, help);
}
/// A property set entry (object assignment); the assigned reference is the last parameter.
template <auto Fn>
MemberInfo set(const char* name, DispId id, std::initializer_list<Param> params, const char* help = "") {
  return detail::make_member<Fn>(name, id, MemberKind::Set, params, help);
}

/// The description of class `C` (which names `type_name` and `iid`, its class id): its own
/// members, then the interfaces `I...` it implements.
template <class C, class... I>
ClassInfo describe_class(ClassFlags flags, std::vector<MemberInfo> members, const char* help = "",
                         const InterfaceInfo* events = nullptr) {
  ClassInfo info;
  info.name = C::type_name;
  info.clsid = C::iid;
  info.flags = flags;
  info.help = help;
  info.own_storage = std::make_shared<const InterfaceInfo>(std::string("_") + C::type_name, C::iid, std::move(members), help);
  info.own = info.own_storage.get();
  info.implements = {&I::interface_info()...};
  info.events = events;
  if constexpr (std::is_default_constructible_v<C>) {
    if (info.creatable() || info.global()) info.create = [] { return Ref<Object>(make<C>()); };
  }
  return info;
}

/// The description of a published interface's own class `C` (a class named like the interface,
/// whose members are the interface's, doing nothing): its own interface is `I` itself.
template <class C, class I>
ClassInfo describe_interface_class(ClassFlags flags, const char* help = "") {
  ClassInfo info;
  info.name = C::type_name;
  info.clsid = C::iid;
  info.flags = flags;
  info.help = help;
  info.own = &I::interface_info();
  info.implements = {&I::interface_info()};
  if (info.creatable() || info.global()) info.create = [] { return Ref<Object>(make<C>()); };
  return info;
}

}  // namespace quorvel
