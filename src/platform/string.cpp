// Counted UTF-16 strings: allocation, sharing and UTF-8 transcoding.
#include "quorvel/platform/string.h"

#include <cstring>
#include <limits>
#include <new>

#include "quorvel/platform/memory.h"

namespace quorvel {

String String::uninitialized(std::size_t length, char16_t*& units) {
  String s;
  units = nullptr;
  if (length == 0) return s;
  // A string's byte length must fit a signed 32-bit count, as the platform's strings do.
  if (length > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max() / 2 - 16)) raise_out_of_memory();
  const std::size_t bytes = offsetof(Rep, units) + (length + 1) * sizeof(char16_t);
  void* memory = allocate_memory(bytes);
  s.rep_ = static_cast<Rep*>(memory);
  new (&s.rep_->refs) std::atomic<std::int32_t>(1);
  s.rep_->length = static_cast<std::int32_t>(length);
  s.rep_->units[length] = u'\0';
  units = s.rep_->units;
  return s;
}

String::String(std::u16string_view text) {
  char16_t* units = nullptr;
  String made = uninitialized(text.size(), units);
  if (units != nullptr) std::memcpy(units, text.data(), text.size() * sizeof(char16_t));
  swap(made);
}

String::String(const String& other) noexcept : rep_(other.rep_) {
  if (rep_) rep_->refs.fetch_add(1, std::memory_order_relaxed);
}

String& String::operator=(const String& other) noexcept {
  String copy(other);
  swap(copy);
  return *this;
}

String& String::operator=(String&& other) noexcept {
  String moved(std::move(other));
  swap(moved);
  return *this;
}

String::~String() {
  if (rep_ && rep_->refs.fetch_sub(1, std::memory_order_acq_rel) == 1) free_memory(rep_);
}

String String::from_utf8(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    char32_t cp = 0xFFFD;
    std::size_t need = 0;
    if (lead < 0x80) {
      cp = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      cp = lead & 0x1F, need = 1;
    } else if ((lead & 0xF0) == 0xE0) {
      cp = lead & 0x0F, need = 2;
    } else if ((lead & 0xF8) == 0xF0) {
      cp = lead & 0x07, need = 3;
    }
    ++i;
    if (lead >= 0x80 && need == 0) cp = 0xFFFD;
    for (std::size_t k = 0; k < need; ++k, ++i) {
      if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
        cp = 0xFFFD;
        need = 0;
        break;
      }
      cp = (cp << 6) | (static_cast<unsigned char>(text[i]) & 0x3F);
    }
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
  }
  return String(out);
}

std::string String::to_utf8() const {
  std::string out;
  const std::u16string_view units = view();
  out.reserve(units.size());
  for (std::size_t i = 0; i < units.size(); ++i) {
    char32_t cp = units[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (units[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

}  // namespace quorvel
