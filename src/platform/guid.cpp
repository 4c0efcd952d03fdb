// Run-time text forms of Guids (the compile-time form lives in the header).
#include "quorvel/platform/guid.h"

namespace quorvel {

bool Guid::parse(std::string_view text, Guid& out) noexcept {
  if (text.size() != 38 || text.front() != '{' || text.back() != '}') return false;
  auto nibble = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  Guid g;
  std::size_t n = 0;
  for (std::size_t i = 1; i < 37;) {
    if (i == 9 || i == 14 || i == 19 || i == 24) {
      if (text[i] != '-') return false;
      ++i;
      continue;
    }
    const int hi = nibble(text[i]), lo = nibble(text[i + 1]);
    if (hi < 0 || lo < 0) return false;
    g.bytes[n++] = static_cast<std::uint8_t>(hi * 16 + lo);
    i += 2;
  }
  out = g;
  return n == 16;
}

std::string Guid::to_string() const {
  static const char digits[] = "0123456789ABCDEF";
  std::string s = "{";
  for (std::size_t i = 0; i < 16; ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) s.push_back('-');
    s.push_back(digits[bytes[i] >> 4]);
    s.push_back(digits[bytes[i] & 15]);
  }
  s.push_back('}');
  return s;
}

}  // namespace quorvel
