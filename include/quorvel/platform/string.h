// Counted UTF-16 strings: one pointer wide, immutable, shared on copy. The null string and the
// empty string are the same value.
#pragma once

#include <atomic>
#include <compare>
#include <cstdint>
#include <cstddef>
#include <string>
#include <string_view>

namespace quorvel {

/// A counted, immutable UTF-16 string holding any code units (lone surrogates and NULs included).
///
/// One pointer wide: the null pointer is the empty string, so a default `String` costs nothing and
/// an array of strings can be moved as bytes (`realloc`). Copies share the buffer (an atomic count).
class String {
 public:
  String() noexcept = default;
  /// Copies the code units once. Raises 7 without memory (or beyond 2^30 - 16 code units).
  String(std::u16string_view text);  // NOLINT: implicit, as a string literal should read
  String(const char16_t* text) : String(std::u16string_view(text)) {}  // NOLINT
  String(const std::u16string& text) : String(std::u16string_view(text)) {}  // NOLINT
  String(const String& other) noexcept;
  String(String&& other) noexcept : rep_(other.rep_) { other.rep_ = nullptr; }
  String& operator=(const String& other) noexcept;
  String& operator=(String&& other) noexcept;
  ~String();

  /// A string of `length` code units left for the caller to write through `units` before the
  /// string is copied or shared (a text built in place, without a second copy). Raises 7 as the
  /// copying constructor does; a length of 0 gives the empty string and a null `units`.
  static String uninitialized(std::size_t length, char16_t*& units);
  /// Decodes UTF-8 (invalid sequences become U+FFFD).
  static String from_utf8(std::string_view text);
  /// Encodes as UTF-8 (lone surrogates become U+FFFD).
  std::string to_utf8() const;

  std::u16string_view view() const noexcept {
    return rep_ ? std::u16string_view(rep_->units, static_cast<std::size_t>(rep_->length)) : std::u16string_view();
  }
  operator std::u16string_view() const noexcept { return view(); }  // NOLINT
  std::size_t size() const noexcept { return rep_ ? static_cast<std::size_t>(rep_->length) : 0; }
  bool empty() const noexcept { return rep_ == nullptr; }
  /// Zero-terminated code units; never null.
  const char16_t* c_str() const noexcept { return rep_ ? rep_->units : u""; }

  /// Binary equality and order of the code units (the empty and the null string are equal).
  friend bool operator==(const String& a, const String& b) noexcept { return a.rep_ == b.rep_ || a.view() == b.view(); }
  friend bool operator==(const String& a, std::u16string_view b) noexcept { return a.view() == b; }
  friend std::strong_ordering operator<=>(const String& a, const String& b) noexcept { return a.view() <=> b.view(); }

  void swap(String& other) noexcept { std::swap(rep_, other.rep_); }

 private:
  struct Rep;
  Rep* rep_ = nullptr;

  struct Rep {
    std::atomic<std::int32_t> refs;
    std::int32_t length;
    char16_t units[1];  // length + 1 units are allocated; the last is a zero
  };
};

static_assert(sizeof(String) == sizeof(void*));

}  // namespace quorvel
