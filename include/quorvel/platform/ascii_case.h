// Names compared the way the platform compares class, member and event names.
#pragma once

#include <string_view>

namespace quorvel {

namespace detail {
template <class Char>
constexpr bool same_ignoring_ascii_case(std::basic_string_view<Char> a, std::basic_string_view<Char> b) noexcept {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    Char x = a[i];
    Char y = b[i];
    if (x >= Char('A') && x <= Char('Z')) x = static_cast<Char>(x + 32);
    if (y >= Char('A') && y <= Char('Z')) y = static_cast<Char>(y + 32);
    if (x != y) return false;
  }
  return true;
}
}  // namespace detail

/// True when `a` and `b` are the same text but for the case of ASCII letters; any other code
/// units must match exactly.
constexpr bool same_ignoring_ascii_case(std::string_view a, std::string_view b) noexcept {
  return detail::same_ignoring_ascii_case(a, b);
}
constexpr bool same_ignoring_ascii_case(std::u16string_view a, std::u16string_view b) noexcept {
  return detail::same_ignoring_ascii_case(a, b);
}

}  // namespace quorvel
