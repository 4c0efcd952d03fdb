// Writing a class or interface description: one entry per member, naming the C++ member function;
// parameter and result kinds are deduced from its signature, so the description cannot disagree
// with the code. Included by the .cpp files that describe classes, not by callers.
#pragma once

#include <array>
#include <span>
#include <initializer_list>
#include <tuple>
#include <type_traits>
#include <utility>

#include "quorvel/platform/class_info.h"
#include "quorvel/platform/error.h"
#include "quorvel/platform/interface_cast.h"
#include "quorvel/platform/interface_list.h"
#include "quorvel/platform/record_type.h"

namespace quorvel {

/// A parameter as a description names it: `"Value"`, `opt("m")`, `opt("GrowLength", 1000)`.
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
/// A variable argument list (see `with_varargs`).
template <class T> struct IsVarArgs : std::false_type {};
template <> struct IsVarArgs<std::span<const Variant>> : std::true_type {};
template <class E> struct IsArrayOf<ArrayOf<E>> : std::true_type { using element = E; };
template <class T> struct IsRecordArray : std::false_type {};
template <class R> struct IsRecordArray<RecordArray<R>> : std::true_type {};

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
  else if constexpr (std::is_same_v<D, Array> || IsVarArgs<D>::value) return {static_cast<std::uint16_t>(Variant::code(VarKind::Variant) | kArrayFlag)};
  else if constexpr (IsArrayOf<D>::value) return {static_cast<std::uint16_t>(Variant::code(ElementKind<typename IsArrayOf<D>::element>::kind) | kArrayFlag)};
  else if constexpr (IsRef<D>::value) return {Variant::code(VarKind::Object), type_name_of<typename IsRef<D>::target>()};
  else if constexpr (DescribedRecord<D>) return {Variant::code(VarKind::Record), D::type_name};
  else if constexpr (IsRecordArray<D>::value) return {static_cast<std::uint16_t>(Variant::code(VarKind::Record) | kArrayFlag), D::record_type::type_name};
  else static_assert(sizeof(D) == 0, "not an automation type");
}

/// An array of records of type `R`: one already of that type, or an array of Variants that all
/// hold such records (as a late-bound caller builds it). Raises 13 for anything else.
template <class R>
RecordArray<R> record_array_argument(const Variant& v) {
  const Array* a = v.if_array();
  if (a && a->record_info() == &R::record_info()) return RecordArray<R>(*a);
  if (!a || a->element_kind() != VarKind::Variant) raise_runtime_error(RuntimeError::TypeMismatch);
  if (!a->allocated()) return RecordArray<R>();
  RecordArray<R> out(Array(R::record_info(), a->lower_bound(), a->count()));
  auto slots = out.template elements<Record>();
  const auto items = a->elements<Variant>();
  for (std::size_t i = 0; i < items.size(); ++i) {
    const Record* r = items[i].if_record();
    if (!r || r->info() != &R::record_info()) raise_runtime_error(RuntimeError::TypeMismatch);
    slots[i] = *r;
  }
  return out;
}

/// An argument converted to the C++ parameter type `D` by the value rules.
template <class D>
D convert_argument(const Variant& v) {
  if constexpr (std::is_same_v<D, bool>) return v.to_boolean();
  else if constexpr (std::is_same_v<D, VariantBool>) return VariantBool(v.to_boolean());
  else if constexpr (std::is_same_v<D, std::int16_t>) return v.to_integer();
  else if constexpr (std::is_same_v<D, std::int32_t>) return v.to_long();
  else if constexpr (std::is_same_v<D, float>) return v.to_single();
  else if constexpr (std::is_same_v<D, double>) return v.to_double();
  else if constexpr (std::is_same_v<D, std::uint8_t>) return v.to_byte();
  else if constexpr (std::is_same_v<D, String>) return v.to_string();
  else if constexpr (std::is_same_v<D, Variant>) return v.copy_ind();
  else if constexpr (IsRef<D>::value) return interface_cast<typename IsRef<D>::target>(v);
  else if constexpr (std::is_same_v<D, Array>) return array_argument(v, nullptr);
  else if constexpr (IsArrayOf<D>::value) {
    constexpr VarKind k = ElementKind<typename IsArrayOf<D>::element>::kind;
    return D(array_argument(v, &k));
  } else if constexpr (DescribedRecord<D>) return from_record<D>(v);
  else if constexpr (IsRecordArray<D>::value) return record_array_argument<typename D::record_type>(v);
  else static_assert(sizeof(D) == 0, "not an automation type");
}

template <class R>
Variant to_result(R&& value) {
  using D = std::remove_cvref_t<R>;
  if constexpr (IsArrayOf<D>::value || IsRecordArray<D>::value) return Variant(static_cast<Array>(std::forward<R>(value)));
  else if constexpr (DescribedRecord<D>) return Variant(to_record(value));
  else return Variant(std::forward<R>(value));
}

struct NoObject {};

/// A parameter the member can write to, so that a by-reference argument gets the value back.
template <class A>
inline constexpr bool IsByRefParam = std::is_lvalue_reference_v<A> && !std::is_const_v<std::remove_reference_t<A>>;

/// An argument converted to the C++ parameter type `A`, with its write-back for by-reference
/// parameters. Constructed in call order, so conversion errors come in argument order.
/// Only a by-reference argument (`Variant::by_ref`) is written back, whether the member returns or
/// raises; a plain one never is.
template <class A>
class ArgSlot {
  using D = std::remove_cvref_t<A>;
  static constexpr bool kByRef = IsByRefParam<A>;
  static constexpr bool kKeepsGiven = kByRef && IsRef<D>::value;

 public:
  explicit ArgSlot(Variant& arg) : value_(convert_argument<D>(arg)) {
    if constexpr (kKeepsGiven) given_ = value_.get();
  }
  D& get() noexcept { return value_; }
  void write_back(Variant& arg) {
    if constexpr (kByRef) {
      if (!arg.is_by_ref()) return;
      // A reference the member left alone stays the caller's own object: the conversion may
      // have wrapped it in an adapter, which must not escape into the caller's variable.
      if constexpr (kKeepsGiven) {
        if (value_.get() == given_) return;
      }
      arg.assign(to_result(value_));
    }
  }

 private:
  D value_;
  [[no_unique_address]] std::conditional_t<kKeepsGiven, const void*, NoObject> given_{};
};

/// Variant parameters: by value and const reference read the argument in place (a by-reference
/// argument is dereferenced once). A `Variant&` parameter works on the variable a by-reference
/// argument points at, and on a scratch copy of a plain argument, which is never written back.
template <class A>
  requires std::is_same_v<std::remove_cvref_t<A>, Variant>
class ArgSlot<A> {
  static constexpr bool kByRef = IsByRefParam<A>;

 public:
  explicit ArgSlot(Variant& arg) : target_(&arg.resolved()) {
    if (target_->is_by_ref() || (kByRef && !arg.is_by_ref())) {
      copy_ = target_->copy_ind();
      copied_ = true;
    }
  }
  // Chosen on each use rather than kept as a pointer, so that the slot may be moved.
  Variant& get() noexcept { return copied_ ? copy_ : *target_; }
  void write_back(Variant& arg) {
    if constexpr (kByRef) {
      if (copied_ && arg.is_by_ref()) arg.assign(copy_);
    }
  }

 private:
  Variant* target_;
  Variant copy_;
  bool copied_ = false;
};

/// A variable argument list: the trailing arguments themselves, read in place, never written back.
template <class A>
  requires IsVarArgs<std::remove_cvref_t<A>>::value
class ArgSlot<A> {
 public:
  explicit ArgSlot(std::span<Variant> rest) noexcept : rest_(rest.data(), rest.size()) {}
  std::span<const Variant> get() const noexcept { return rest_; }
  void write_back(std::span<Variant>) const noexcept {}

 private:
  std::span<const Variant> rest_;
};

/// What the slot of parameter `i` is made from: its argument, or for a variable argument list
/// every argument from `i` on.
template <class A>
decltype(auto) slot_argument(std::span<Variant> args, std::size_t i) noexcept {
  if constexpr (IsVarArgs<std::remove_cvref_t<A>>::value) {
    return args.subspan(i);
  } else {
    return args[i];
  }
}

// `Self` is the described class; a member function may belong to one of its bases (shared
// members such as the debug members), so the object is reached as `Self` first.
template <class Self, class C>
C& self_cast(Unknown& self) noexcept {
  using Described = std::conditional_t<std::is_void_v<Self>, C, Self>;
  if constexpr (std::is_base_of_v<Object, Described>) {
    return static_cast<C&>(static_cast<Described&>(static_cast<Object&>(self)));
  } else {
    return static_cast<C&>(static_cast<Described&>(self));
  }
}

// g++ 12 gives this instantiation vague (weak) linkage even for members of classes in unnamed
// namespaces, so two such classes of one name in two files would share an invoker: give
// file-local described classes distinct names.
template <auto Fn, class Self>
void invoke_member(Unknown& self, std::span<Variant> args, Variant& result) {
  using S = Signature<decltype(Fn)>;
  using Args = typename S::Args;
  auto& obj = self_cast<Self, typename S::Class>(self);
  [&]<std::size_t... I>(std::index_sequence<I...>) {
    std::tuple<ArgSlot<std::tuple_element_t<I, Args>>...> slots{
        ArgSlot<std::tuple_element_t<I, Args>>(slot_argument<std::tuple_element_t<I, Args>>(args, I))...};
    auto call = [&] {
      if constexpr (std::is_void_v<typename S::Result>) {
        (obj.*Fn)(std::get<I>(slots).get()...);
      } else {
        result = to_result((obj.*Fn)(std::get<I>(slots).get()...));
      }
    };
    auto write_back = [&] { (std::get<I>(slots).write_back(slot_argument<std::tuple_element_t<I, Args>>(args, I)), ...); };
    constexpr bool kWritesBack = (IsByRefParam<std::tuple_element_t<I, Args>> || ...);
    if constexpr (kWritesBack) {
      // What the member wrote before raising reaches the caller, as it would through a pointer
      // to the caller's variable; a write-back that fails then gives way to the member's error.
      try {
        call();
      } catch (...) {
        try {
          write_back();
        } catch (...) {
        }
        throw;
      }
    } else {
      call();
    }
    write_back();
  }(std::make_index_sequence<std::tuple_size_v<Args>>{});
}

template <class A>
ParamInfo param_info(const Param& given) {
  ParamInfo p;
  p.name = given.name;
  p.type = type_of<A>();
  p.by_ref = IsByRefParam<A>;
  p.optional = given.optional;
  p.has_default = given.has_default;
  p.default_value = given.default_value;
  return p;
}

template <auto Fn, class Self>
MemberInfo make_member(const char* name, DispId id, MemberKind kind, std::span<const Param> params) {
  using S = Signature<decltype(Fn)>;
  using Args = typename S::Args;
  MemberInfo m;
  m.name = name;
  m.id = id;
  m.kind = kind;
  m.result = type_of<typename S::Result>();
  m.invoke = &invoke_member<Fn, Self>;
  [&]<std::size_t... I>(std::index_sequence<I...>) {
    m.params = {param_info<std::tuple_element_t<I, Args>>(params[I])...};
  }(std::make_index_sequence<std::tuple_size_v<Args>>{});
  return m;
}

template <class M>
struct FieldType;
template <class R, class F>
struct FieldType<F R::*> {
  using type = F;
};

template <auto Fn>
constexpr std::size_t arity = std::tuple_size_v<typename Signature<decltype(Fn)>::Args>;

}  // namespace detail

// The member entries. Parameters are given either one by one (`method<&C::Find>("Find", 14,
// "Value", "retIndex")`) or as a braced list (`{"Value", "retIndex"}`); either way their number
// must match the C++ function's, or the description does not compile. `Self` names the
// described class when the member function is inherited from a shared base.
#define QUORVEL_MEMBER_BUILDER_(builder, KIND)                                                          \
  template <auto Fn, class Self = void, class... P>                                                   \
    requires(std::is_convertible_v<P, Param> && ...)                                                  \
  MemberInfo builder(const char* name, DispId id, P&&... params) {                                   \
    static_assert(sizeof...(P) == detail::arity<Fn>, "the description names another number of parameters"); \
    const std::array<Param, sizeof...(P)> given{Param(std::forward<P>(params))...};                  \
    return detail::make_member<Fn, Self>(name, id, KIND, given);                                      \
  }                                                                                                   \
  template <auto Fn, class Self = void, std::size_t N>                                                \
  MemberInfo builder(const char* name, DispId id, const Param(&params)[N]) {                         \
    static_assert(N == detail::arity<Fn>, "the description names another number of parameters");     \
    return detail::make_member<Fn, Self>(name, id, KIND, std::span<const Param>(params, N));          \
  }

/// A method entry.
QUORVEL_MEMBER_BUILDER_(method, MemberKind::Method)
/// A property get entry (index parameters, if any, as parameters).
QUORVEL_MEMBER_BUILDER_(get, MemberKind::Get)
/// A property let entry; the assigned value is the last parameter.
QUORVEL_MEMBER_BUILDER_(let, MemberKind::Let)
/// A property set entry (object assignment); the assigned reference is the last parameter.
QUORVEL_MEMBER_BUILDER_(set, MemberKind::Set)
#undef QUORVEL_MEMBER_BUILDER_

/// `entry` with a help string for the type library.
inline MemberInfo with_help(MemberInfo entry, const char* help) {
  entry.help = help;
  return entry;
}

/// `entry` taking a variable argument list: its last parameter, declared in C++ as
/// `std::span<const Variant> Values`, receives every late-bound argument from its position on, in
/// call order, read in place (index 0 is the first of them; none gives an empty span). The type
/// library shows it as a Variant array marked vararg. C++ callers pass any contiguous Variants.
inline MemberInfo with_varargs(MemberInfo entry) {
  if (entry.params.empty() || entry.params.back().type.code != (Variant::code(VarKind::Variant) | kArrayFlag)) {
    raise_runtime_error(RuntimeError::TypeMismatch);  // a description error, met on first use
  }
  entry.vararg = true;
  return entry;
}

/// Inside the body of a caller's own class (a comparer, a formatter, a listener): `describe()`,
/// giving the description that `__VA_ARGS__` (a `describe_class` expression) builds on first use,
/// and `class_info()` answering with it.
#define QUORVEL_CLASS_INFO(...)                                                \
  static const ::quorvel::ClassInfo& describe() {                              \
    static const ::quorvel::ClassInfo info = __VA_ARGS__;                      \
    return info;                                                               \
  }                                                                            \
  const ::quorvel::ClassInfo& class_info() const noexcept override { return describe(); }

/// The description of an interface written as a member list (see interface_list.h).
#define QUORVEL_DESCRIBE_INTERFACE(I, LIST)                                                  \
  const ::quorvel::InterfaceInfo& I::interface_info() {                                      \
    using QuorvelSelf = I;                                                                   \
    static const ::quorvel::InterfaceInfo info(type_name, iid, {QUORVEL_MEMBER_ENTRIES(LIST)}); \
    return info;                                                                             \
  }

namespace detail {

// The forwarding views' conversions, declared with the views (interface_list.h).
template <class T>
  requires(!std::is_same_v<std::remove_cvref_t<T>, Variant>)
VariantArg::operator T() const {
  return convert_argument<std::remove_cvref_t<T>>(v_);
}

template <class R, class T>
R view_result(T&& value) {
  using D = std::remove_cvref_t<T>;
  if constexpr (std::is_same_v<R, D>) {
    return std::forward<T>(value);
  } else if constexpr (IsRef<R>::value && IsRef<D>::value) {
    return value.template query<typename IsRef<R>::target>();
  } else {
    return R(to_result(std::forward<T>(value)));
  }
}

template <class C>
constexpr Guid class_id_of() {
  if constexpr (requires { C::clsid; }) return C::clsid;
  else return Guid();  // a caller's own class: not reachable by class id
}

}  // namespace detail

/// The description of class `C`: its name (`type_name`), class id (`clsid`), the id of its own
/// interface (`iid`), its own members, then the interfaces `I...` it implements.
template <class C, class... I>
ClassInfo describe_class(ClassFlags flags, std::vector<MemberInfo> members, const char* help = "",
                         const InterfaceInfo* events = nullptr) {
  ClassInfo info;
  info.name = C::type_name;
  info.clsid = detail::class_id_of<C>();
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
  info.clsid = C::clsid;
  info.flags = flags;
  info.help = help;
  info.own = &I::interface_info();
  info.own_is_interface = true;
  info.implements = {&I::interface_info()};
  if constexpr (std::is_default_constructible_v<C>) {
    if (info.creatable() || info.global()) info.create = [] { return Ref<Object>(make<C>()); };
  }
  return info;
}

/// The description of an inert interface class made by `QUORVEL_INERT_CLASS`.
#define QUORVEL_DESCRIBE_INERT_CLASS(Name, I, flags)                                       \
  const ::quorvel::ClassInfo& Name::describe() {                                           \
    static const ::quorvel::ClassInfo info = ::quorvel::describe_interface_class<Name, I>(flags); \
    return info;                                                                           \
  }

namespace detail {
template <class M>
struct FieldOwner;
template <class R, class F>
struct FieldOwner<F R::*> {
  using type = R;
};
}  // namespace detail

/// A field of a record: `record_field<&KeyValueString::Key>("Key")`; its type, and how a record
/// value reads and writes it, come from the member.
template <auto Member>
FieldInfo record_field(const char* name) {
  using R = typename detail::FieldOwner<decltype(Member)>::type;
  using F = typename detail::FieldType<decltype(Member)>::type;
  FieldInfo f;
  f.name = name;
  f.type = detail::type_of<F>();
  f.read = [](const void* rec, Variant& out) { out = detail::to_result(static_cast<const R*>(rec)->*Member); };
  f.write = [](void* rec, const Variant& in) { static_cast<R*>(rec)->*Member = detail::convert_argument<F>(in); };
  if constexpr (DescribedRecord<F>) f.record = &F::record_info;
  else if constexpr (detail::IsRecordArray<F>::value) f.record = &F::record_type::record_info;
  return f;
}

/// The definition of `R::record_info()`: the record `R` with the fields listed, in order.
#define QUORVEL_DESCRIBE_RECORD(R, ...)                                               \
  const ::quorvel::RecordInfo& R::record_info() {                                     \
    static const ::quorvel::RecordInfo info{R::type_name, R::guid, {__VA_ARGS__}};    \
    return info;                                                                      \
  }

}  // namespace quorvel
