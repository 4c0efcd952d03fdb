#include "quorvel/text/dictionary_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvel {
namespace {

TEST(DictionaryTokens, SplitAsTheTextFormReadsThem) {
  using V = std::vector<std::u16string>;
  struct Row {
    const char* name;
    std::u16string_view text;
    V tokens;
  } rows[] = {
      {"blanks only", u"    ", {}},
      {"trimmed, runs of blanks are one", u"  qvsd    1  ", {u"qvsd", u"1"}},
      {"quotes keep blanks", u"a \"b c\" d", {u"a", u"b c", u"d"}},
      {"empty quotes give an empty token", u"a \"\" b", {u"a", u"", u"b"}},
      {"a quote discards the token begun", u"ab\"cd\" e", {u"cd", u"e"}},
      {"after a closing quote a token starts at once", u"\"a\"b c", {u"a", u"b", u"c"}},
      {"unclosed quote dropped", u"a \"b c", {u"a"}},
      {"a lone quote", u"\"", {}},
      {"tabs and NULs are ordinary", std::u16string_view(u"a\tb\0 c", 6), {std::u16string(u"a\tb\0", 4), u"c"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    DictionaryTokens tokens(row.text);
    V got;
    for (std::u16string_view token; tokens.next(token);) got.emplace_back(token);
    EXPECT_EQ(got, row.tokens);
  }
}

}  // namespace
}  // namespace quorvel
