// Writing and reading the dictionary text.
#include "quorvel/text/dictionary_text.h"

#include <limits>

#include "quorvel/frame/error_catalogue.h"
#include "quorvel/platform/error.h"
#include "quorvel/platform/number_text.h"
#include "quorvel/platform/variant.h"
#include "quorvel/text/hex_text.h"

namespace quorvel {
namespace {

constexpr std::u16string_view kTag = u"qvsd";
constexpr char16_t kBlank = u' ';
constexpr char16_t kQuote = u'"';
constexpr char16_t kJoin = u':';

std::u16string_view trimmed(std::u16string_view text) noexcept {
  const std::size_t first = text.find_first_not_of(kBlank);
  if (first == std::u16string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlank) - first + 1);
}

String decoded_part(std::u16string_view part, Unknown* sender) {
  String out;
  switch (decode_code_unit_hex(part, out)) {
    case HexDecodeStatus::Ok:
      return out;
    case HexDecodeStatus::LengthNotMultipleOfFour:
      raise(Failure::MalformedData, sender);
    case HexDecodeStatus::BadPair:
      raise_runtime_error(RuntimeError::TypeMismatch);
  }
  raise(Failure::MalformedData, sender);  // not reached: every status is handled above
}

}  // namespace

DictionaryTokens::DictionaryTokens(std::u16string_view text) noexcept : text_(trimmed(text)) {}

bool DictionaryTokens::next(std::u16string_view& token) noexcept {
  // State between calls is only the position: every token has ended (or been collected) there.
  std::size_t start = at_;
  bool in_quotes = false;
  bool ended = true;  // at a boundary, blanks are skipped
  for (; at_ < text_.size(); ++at_) {
    const char16_t unit = text_[at_];
    if (unit == kQuote) {
      if (!in_quotes) {
        in_quotes = true;
        ended = false;
        start = at_ + 1;
        continue;
      }
      token = text_.substr(start, at_ - start);
      ++at_;
      return true;
    }
    if (unit == kBlank && !in_quotes) {
      if (ended) {
        start = at_ + 1;
        continue;
      }
      token = text_.substr(start, at_ - start);
      ++at_;
      return true;
    }
    ended = false;
  }
  if (ended || in_quotes) return false;
  token = text_.substr(start, at_ - start);
  return true;
}

String write_dictionary_text(const KeyedStore& store) {
  const std::int32_t mode = store.compare_mode();
  char16_t mode_digits[12];
  const std::size_t mode_length = format_long(mode, mode_digits);
  // In 64 bits: the longest strings cannot overflow it, and the total is checked before writing.
  std::uint64_t length = kTag.size() + 1 + (mode >= 0 ? 1 : 0) + mode_length;
  for (const KeyedStore::Entry& entry : store.entries()) {
    length += 2 + code_unit_hex_length(entry.key.size()) + code_unit_hex_length(entry.value.size());
  }
  if (length > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) raise_out_of_memory();
  char16_t* out = nullptr;
  String text = String::uninitialized(static_cast<std::size_t>(length), out);
  const auto put = [&out](std::u16string_view piece) {
    piece.copy(out, piece.size());
    out += piece.size();
  };
  put(kTag);
  put(u" ");
  if (mode >= 0) put(u" ");
  put({mode_digits, mode_length});
  for (const KeyedStore::Entry& entry : store.entries()) {
    *out++ = kBlank;
    write_code_unit_hex(entry.key.view(), out);
    out += code_unit_hex_length(entry.key.size());
    *out++ = kJoin;
    write_code_unit_hex(entry.value.view(), out);
    out += code_unit_hex_length(entry.value.size());
  }
  return text;
}

KeyedStore parse_dictionary_text(std::u16string_view data, Unknown* sender) {
  if (data.empty()) raise(Failure::MalformedData, sender);
  DictionaryTokens tokens(data);
  std::u16string_view tag;
  std::u16string_view mode_token;
  if (!tokens.next(tag) || !tokens.next(mode_token)) raise(Failure::MalformedData, sender);
  if (!tag.starts_with(kTag)) raise(Failure::InvalidDataType, sender);
  KeyedStore store(Variant(String(mode_token)).to_long());

  std::u16string_view entry;
  while (tokens.next(entry)) {
    const std::size_t join = entry.find(kJoin);
    if (join == std::u16string_view::npos) raise(Failure::MalformedData, sender);
    std::u16string_view value_part = entry.substr(join + 1);
    value_part = value_part.substr(0, value_part.find(kJoin));
    String key = decoded_part(entry.substr(0, join), sender);
    String value = decoded_part(value_part, sender);
    store.add(std::move(key), std::move(value));
  }
  return store;
}

}  // namespace quorvel
