// The text form shared by every array list: elements separated by single blanks, an element
// quoted exactly when its text is empty or holds a blank.
#pragma once

#include <string>
#include <string_view>

#include "quorvel/platform/memory.h"
#include "quorvel/platform/string.h"

namespace quorvel {

/// Builds the text form one element text at a time.
///
/// An empty text is written as two double quotes; a text holding a blank is enclosed in double
/// quotes after its own double quotes are dropped (so it cannot end its quoting early); any other
/// text is written as it is, double quotes included. The result carries no leading or trailing
/// blanks. Cost: linear in the total text. Raises 7 when the text outgrows the memory.
class ListText {
 public:
  void append(std::u16string_view element);
  /// The text so far, without leading and trailing blanks (U+0020 only).
  String finish() const;

 private:
  std::basic_string<char16_t, std::char_traits<char16_t>, RaisingAllocator<char16_t>> text_;
};

}  // namespace quorvel
