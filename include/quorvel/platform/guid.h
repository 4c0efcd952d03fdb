// Fixed 128-bit identifiers of classes and interfaces, written in the usual braced text form.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <string>

namespace quorvel {

/// A class id or interface id. Constructed at compile time from "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}".
struct Guid {
  std::array<std::uint8_t, 16> bytes{};

  constexpr Guid() = default;
  template <std::size_t N>
  consteval Guid(const char (&text)[N]) {  // NOLINT: implicit so tables read as text
    static_assert(N == 39, "a Guid is written as {8-4-4-4-12}");
    std::size_t out = 0;
    for (std::size_t i = 1; i + 1 < N - 1 && out < 16;) {
      if (text[i] == '-') {
        ++i;
        continue;
      }
      bytes[out++] = static_cast<std::uint8_t>(hex(text[i]) * 16 + hex(text[i + 1]));
      i += 2;
    }
    if (text[0] != '{' || text[N - 2] != '}' || out != 16) throw "malformed Guid";
  }

  /// Parses the braced text form at run time; false when `text` is not one.
  static bool parse(std::string_view text, Guid& out) noexcept;
  /// The braced upper-case text form.
  std::string to_string() const;

  /// Two 64-bit comparisons: interface lookups compare ids on every late-bound call.
  friend constexpr bool operator==(const Guid& a, const Guid& b) noexcept {
    if (std::is_constant_evaluated()) return a.bytes == b.bytes;
    std::uint64_t x[2], y[2];
    std::memcpy(x, a.bytes.data(), 16);
    std::memcpy(y, b.bytes.data(), 16);
    return ((x[0] ^ y[0]) | (x[1] ^ y[1])) == 0;
  }

 private:
  static consteval int hex(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    throw "malformed Guid";
  }
};

}  // namespace quorvel
