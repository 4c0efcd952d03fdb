// An interface written once, as a list of its members, and everything made from that list: the
// C++ declaration, the description that late binding and the type library read, the class whose
// members do nothing, and the view that forwards each member to a class's own member of that name.
//
// A list is a macro taking a row macro X; one row per member, in slot order:
//
//   #define QUORVEL_IFORMATTER_MEMBERS(X) X(method, Variant, Format, 1, (const Variant& Value), (Value), ("Value"))
//
// kind (method, get, let or set), C++ result, automation name, dispatch id, C++ parameters,
// the same parameters as call arguments, and the description's parameter entries (names, or
// `opt(...)`). A get of `Item` is the C++ member `get_Item`, a let `put_Item`, a set
// `putref_Item`. The C++ compiler checks that the three parameter columns agree in number.
#pragma once

#include <type_traits>
#include <utility>

#include "quorvel/platform/object.h"
#include "quorvel/platform/variant.h"

#define QUORVEL_UNPAREN(...) __VA_ARGS__
#define QUORVEL_LEADING_COMMA(...) __VA_OPT__(, ) __VA_ARGS__

#define QUORVEL_CPP_NAME(kind, Name) QUORVEL_CPP_NAME_##kind(Name)
#define QUORVEL_CPP_NAME_method(Name) Name
#define QUORVEL_CPP_NAME_get(Name) get_##Name
#define QUORVEL_CPP_NAME_let(Name) put_##Name
#define QUORVEL_CPP_NAME_set(Name) putref_##Name

/// Inside an interface's class body: its members as pure virtual functions.
#define QUORVEL_DECLARE_MEMBERS(LIST) LIST(QUORVEL_PURE_MEMBER_)
#define QUORVEL_PURE_MEMBER_(kind, R, Name, id, params, args, desc) virtual R QUORVEL_CPP_NAME(kind, Name) params = 0;

/// Inside a description (`describe.h`): the member entries of `LIST` for the C++ class named
/// `QuorvelSelf` in that scope, each followed by a comma, ready for a braced list.
#define QUORVEL_MEMBER_ENTRIES(LIST) LIST(QUORVEL_MEMBER_ENTRY_)
#define QUORVEL_MEMBER_ENTRY_(kind, R, Name, id, params, args, desc) \
  ::quorvel::kind<&QuorvelSelf::QUORVEL_CPP_NAME(kind, Name), QuorvelSelf>(#Name, id QUORVEL_LEADING_COMMA desc),

/// Inside a class body: overrides of `LIST` that do nothing and give the default of their result
/// kind (0, Empty, the empty string, Nothing, False).
#define QUORVEL_INERT_MEMBERS(LIST) LIST(QUORVEL_INERT_MEMBER_)
#define QUORVEL_INERT_MEMBER_(kind, R, Name, id, params, args, desc) \
  R QUORVEL_CPP_NAME(kind, Name) params override {                  \
    ::quorvel::detail::ignore args;                                  \
    return R();                                                      \
  }

/// Inside the body of a view template deriving from `ForwardingView<I, Target>`: overrides of
/// `LIST` that forward each member to `Target`'s member of the same C++ name, converting Variant
/// arguments to the target's parameter kinds and its result back to the interface's. A target
/// that needs other behaviour behind the interface declares `view_<kind>_<Name>` (`view_let_Item`)
/// with the interface's own parameters, and the view calls that instead.
#define QUORVEL_FORWARDING_MEMBERS(LIST) LIST(QUORVEL_FORWARDING_MEMBER_)
#define QUORVEL_FORWARDING_MEMBER_(kind, R, Name, id, params, args, desc)                              \
  R QUORVEL_CPP_NAME(kind, Name) params override {                                                    \
    auto& t = this->target();                                                                         \
    if constexpr (requires { t.view_##kind##_##Name args; }) {                                        \
      return t.view_##kind##_##Name args;                                                             \
    } else {                                                                                          \
      return ::quorvel::detail::forward_call<R>(                                                      \
          [&](auto&&... a) -> decltype(auto) {                                                        \
            return t.QUORVEL_CPP_NAME(kind, Name)(std::forward<decltype(a)>(a)...);                   \
          } QUORVEL_LEADING_COMMA args);                                                              \
    }                                                                                                 \
  }

namespace quorvel {

namespace detail {

template <class... A>
constexpr void ignore(const A&...) noexcept {}

/// A Variant argument on its way to a parameter of another kind: converted by the value rules
/// (defined with the descriptions, where the conversions are).
class VariantArg {
 public:
  explicit VariantArg(const Variant& v) noexcept : v_(v) {}
  operator const Variant&() const noexcept { return v_; }  // NOLINT: a Variant parameter reads it in place
  template <class T>
    requires(!std::is_same_v<std::remove_cvref_t<T>, Variant>)
  operator T() const;  // NOLINT: converts to whatever the target's parameter is

 private:
  const Variant& v_;
};

template <class A>
decltype(auto) view_argument(A&& a) noexcept {
  if constexpr (std::is_same_v<std::remove_cvref_t<A>, Variant> && std::is_const_v<std::remove_reference_t<A>>) {
    return VariantArg(a);
  } else {
    return std::forward<A>(a);
  }
}

/// The target's result as the interface's result type `R`.
template <class R, class T>
R view_result(T&& value);

template <class R, class F, class... A>
R forward_call(F&& f, A&&... args) {
  if constexpr (std::is_void_v<R>) {
    f(view_argument(std::forward<A>(args))...);
  } else {
    return view_result<R>(f(view_argument(std::forward<A>(args))...));
  }
}

}  // namespace detail

/// The base of a forwarding view of interface `I` onto the class `Target` that holds it as a
/// member (`QUORVEL_FORWARDING_MEMBERS` fills in the members).
template <class I, class Target>
class ForwardingView : public InterfaceView<I> {
 public:
  explicit ForwardingView(Target& target) noexcept : InterfaceView<I>(target) {}

 protected:
  Target& target() noexcept { return static_cast<Target&>(this->outer_); }
};

/// The class published under an interface's name, whose members do nothing. `Name` spells the
/// class (`IArrayListClass`), `I` the interface, `LIST` its member list.
#define QUORVEL_INERT_CLASS(Name, I, LIST, class_id)                               \
  class Name final : public ::quorvel::ObjectImpl<I> {                             \
   public:                                                                         \
    static constexpr const char* type_name = I::type_name;                         \
    static constexpr ::quorvel::Guid clsid{class_id};                              \
    static const ::quorvel::ClassInfo& describe();                                 \
    const ::quorvel::ClassInfo& class_info() const noexcept override { return describe(); } \
    QUORVEL_INERT_MEMBERS(LIST)                                                    \
  }

}  // namespace quorvel
