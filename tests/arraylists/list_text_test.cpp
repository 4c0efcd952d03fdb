#include "quorvel/arraylists/list_text.h"

#include <gtest/gtest.h>

#include <vector>

namespace quorvel {
namespace {

TEST(ListText, QuotesExactlyTheEmptyAndTheBlankHoldingElements) {
  const struct {
    const char* name;
    std::vector<std::u16string> elements;
    std::u16string expected;
  } rows[] = {
      {"nothing", {}, u""},
      {"an element with a blank", {u"a b"}, u"\"a b\""},
      {"an empty element", {u""}, u"\"\""},
      {"quotes without a blank stay", {u"x\"y\""}, u"x\"y\""},
      {"quotes inside with a blank", {u"say \"hi\""}, u"\"say hi\""},
      {"leading blank of an element is quoted", {u" a", u"b"}, u"\" a\" b"},
      {"only a blank", {u" "}, u"\" \""},
      {"a tab is no separator", {u"a\tb"}, u"a\tb"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    ListText text;
    for (const auto& e : row.elements) text.append(e);
    EXPECT_EQ(text.finish().view(), std::u16string_view(row.expected));
  }
}

}  // namespace
}  // namespace quorvel
