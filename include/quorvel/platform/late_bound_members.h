// An interface served by an object known only by its member names: each member of the interface's
// list calls the member of the same name on the object, late-bound. Included by the .cpp files
// that define such adapters.
#pragma once

#include <array>
#include <tuple>
#include <string_view>
#include <type_traits>
#include <utility>

#include "quorvel/platform/describe.h"
#include "quorvel/platform/late_binding.h"

/// Inside the body of a class deriving from an interface and providing `Unknown& late_target()`:
/// overrides of `LIST` that call the target's member of the same name and kind, by name.
/// By-reference parameters travel by reference, so the target's assignments reach the caller.
#define QUORVEL_LATE_BOUND_MEMBERS(LIST) LIST(QUORVEL_LATE_BOUND_MEMBER_)
#define QUORVEL_LATE_BOUND_MEMBER_(kind, R, Name, id, params, args, desc)                    \
  R QUORVEL_CPP_NAME(kind, Name) params override {                                          \
    return ::quorvel::detail::late_call<R, void params>(this->late_target(), u"" #Name,     \
                                           ::quorvel::detail::late_kind_##kind QUORVEL_LEADING_COMMA args); \
  }

namespace quorvel::detail {

// A method is also answered by a property get of that name, as a late-bound call would be.
inline constexpr MemberKind late_kind_method = MemberKind::Method | MemberKind::Get;
inline constexpr MemberKind late_kind_get = MemberKind::Get;
inline constexpr MemberKind late_kind_let = MemberKind::Let;
inline constexpr MemberKind late_kind_set = MemberKind::Set;

// A parameter declared by reference travels by reference; any other by value.
template <class P, class A>
Variant late_argument(A& a) {
  if constexpr (std::is_lvalue_reference_v<P> && !std::is_const_v<std::remove_reference_t<P>>) {
    static_assert(requires { Variant::by_ref(a); }, "no by-reference form for this parameter type");
    return Variant::by_ref(a);
  } else {
    return to_result(a);
  }
}

template <class F>
struct DeclaredParams;
template <class... P>
struct DeclaredParams<void(P...)> {
  using type = std::tuple<P...>;
};

/// Calls `name` on `target` with `args` (declared as the parameters of the function type `F`)
/// and converts what it gives to `R` by the value rules.
template <class R, class F, class... A>
R late_call(Unknown& target, std::u16string_view name, MemberKind kind, A&... args) {
  using Params = typename DeclaredParams<F>::type;
  auto slots = [&]<std::size_t... I>(std::index_sequence<I...>) {
    return std::array<Variant, sizeof...(A)>{late_argument<std::tuple_element_t<I, Params>>(args)...};
  }(std::index_sequence_for<A...>{});
  Variant result = invoke(target, name, kind, slots);
  if constexpr (std::is_void_v<R>) {
    (void)result;
  } else if constexpr (std::is_same_v<R, Variant>) {
    return result;
  } else {
    return convert_argument<R>(result);
  }
}

}  // namespace quorvel::detail
