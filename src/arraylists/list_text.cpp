// The array list text form.
#include "quorvel/arraylists/list_text.h"

namespace quorvel {

namespace {
constexpr char16_t kSeparator = u' ';
constexpr char16_t kQuote = u'"';
}  // namespace

void ListText::append(std::u16string_view element) {
  text_.push_back(kSeparator);
  if (element.empty()) {
    text_.push_back(kQuote);
    text_.push_back(kQuote);
  } else if (element.find(kSeparator) != std::u16string_view::npos) {
    text_.push_back(kQuote);
    for (char16_t c : element) {
      if (c != kQuote) text_.push_back(c);
    }
    text_.push_back(kQuote);
  } else {
    text_.append(element);
  }
}

String ListText::finish() const {
  std::u16string_view text(text_);
  const std::size_t first = text.find_first_not_of(kSeparator);
  if (first == std::u16string_view::npos) return String();
  const std::size_t last = text.find_last_not_of(kSeparator);
  return String(text.substr(first, last - first + 1));
}

}  // namespace quorvel
