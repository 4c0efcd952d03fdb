// The one-line text form of a string dictionary: the tag "qvsd", the compare mode, and each entry
// as the code-unit hexadecimal texts of its key and value joined by ":". Hexadecimal keeps every
// character (blanks, quotes, colons, NULs, lone surrogates) out of the way of the separators.
#pragma once

#include <cstdint>
#include <string_view>

#include "quorvel/platform/object.h"
#include "quorvel/platform/string.h"
#include "quorvel/text/keyed_store.h"

namespace quorvel {

/// Splits a dictionary text into tokens: blanks (U+0020 only) trimmed from both ends, tokens
/// separated by runs of blanks; a double quotation mark discards the token begun so far and
/// collects everything up to the next one as a token (blanks included, empty allowed); a token
/// left inside an unclosed quotation is dropped. Every token is a contiguous piece of the text.
class DictionaryTokens {
 public:
  explicit DictionaryTokens(std::u16string_view text) noexcept;
  /// The next token, or false when there are no more. Cost: linear in the text over all calls.
  bool next(std::u16string_view& token) noexcept;

 private:
  std::u16string_view text_;
  std::size_t at_ = 0;
};

/// The text form of `store`: "qvsd", a blank, the mode in decimal preceded by a blank when not
/// negative, then per entry in order a blank, the key's code-unit hexadecimal text, ":" and the
/// value's ("qvsd  0 6100:6200"). Raises 7, also when the text would pass the longest string.
/// Cost: one pass, one allocation.
String write_dictionary_text(const KeyedStore& store);

/// The store a dictionary text describes (the inverse of `write_dictionary_text`). Raises, with
/// `sender` as sender, through the error reporter:
/// - 0x80040001 "Malformed data": an empty text, fewer than two tokens, an entry token without
///   ":", or a hexadecimal part whose length is not a multiple of four;
/// - 0x80040001 "Invalid data type": a first token that does not begin with "qvsd";
/// and, passing on the value model's and the store's own errors: 13 or 6 for a mode token that is
/// no Long, 13 for a pair of characters that is no hexadecimal byte, 457 for a repeated key.
/// Parts after the second of an entry are ignored. Cost: linear in the text.
KeyedStore parse_dictionary_text(std::u16string_view data, Unknown* sender);

}  // namespace quorvel
