#include "quorvel/text/dictionary_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvel {
namespace {

std::vector<std::u16string> tokens_of(std::u16string_view text) {
  DictionaryTokens tokens(text);
  std::vector<std::u16string> out;
  std::u16string_view token;
  while (tokens.next(token)) out.emplace_back(token);
  return out;
}

TEST(DictionaryTokens, SplitAsTheTextFormReadsThem) {
  using V = std::vector<std::u16string>;
  struct Row {
    const char* name;
    const char16_t* text;
    V tokens;
  } rows[] = {
      {"empty", u"", {}},
      {"blanks only", u"    ", {}},
      {"one word", u"qvsd", {u"qvsd"}},
      {"trimmed, runs of blanks are one", u"  qvsd    1  ", {u"qvsd", u"1"}},
      {"quotes keep blanks", u"a \"b c\" d", {u"a", u"b c", u"d"}},
      {"empty quotes give an empty token", u"a \"\" b", {u"a", u"", u"b"}},
      {"a quote discards the token begun", u"ab\"cd\" e", {u"cd", u"e"}},
      {"after a closing quote a new token starts at once", u"\"a\"b c", {u"a", u"b", u"c"}},
      {"unclosed quote dropped", u"a \"b c", {u"a"}},
      {"quotes only", u"\"\"\"\"", {u"", u""}},
      {"a lone quote", u"\"", {}},
      {"tabs are no separators", u"a\tb c", {u"a\tb", u"c"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(tokens_of(row.text), row.tokens);
  }
  // NUL is an ordinary character.
  EXPECT_EQ(tokens_of(std::u16string_view(u"a\0b c", 5)), (V{std::u16string(u"a\0b", 3), u"c"}));
}

TEST(DictionaryText, WritesTagModeAndHexadecimalEntries) {
  struct Row {
    const char* name;
    std::int32_t mode;
    std::vector<std::pair<std::u16string, std::u16string>> entries;
    const char16_t* text;
  } rows[] = {
      {"empty binary", 0, {}, u"qvsd  0"},
      {"empty text mode", 1, {}, u"qvsd  1"},
      {"negative mode: its sign instead of the blank", -5, {}, u"qvsd -5"},
      {"one entry", 0, {{u"a", u"b"}}, u"qvsd  0 6100:6200"},
      {"empty values", 0, {{u"x", u""}, {u"y", u""}}, u"qvsd  0 7800: 7900:"},
      {"empty key and value", 0, {{u"", u""}}, u"qvsd  0 :"},
      {"separators inside", 1, {{u" :\"", u"\u00E9"}}, u"qvsd  1 20003A002200:E900"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    KeyedStore store(row.mode);
    for (const auto& [k, v] : row.entries) store.add(k, v);
    EXPECT_EQ(write_dictionary_text(store).view(), std::u16string_view(row.text));
  }
}

}  // namespace
}  // namespace quorvel
