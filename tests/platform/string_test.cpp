#include "quorvel/platform/string.h"

#include <gtest/gtest.h>

namespace quorvel {
namespace {

TEST(String, NullAndEmptyAreTheSameValue) {
  String null_string;
  String empty(u"");
  EXPECT_TRUE(null_string.empty());
  EXPECT_TRUE(empty.empty());
  EXPECT_EQ(null_string, empty);
  EXPECT_EQ(null_string.c_str()[0], u'\0');
}

// Shared copies and moves are exercised by every list of strings, under the sanitizers.
TEST(String, Utf8RoundTripAndReplacement) {
  struct Row {
    const char* name;
    std::string utf8;
    std::u16string utf16;
  } rows[] = {
      {"two-byte", "\xC3\xA9", u"\u00e9"},
      {"astral", "\xF0\x9F\x98\x80", u"\U0001F600"},
      {"truncated", "\xE2\x82", u"\uFFFD"},
      {"stray continuation", "\x80", u"\uFFFD"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(String::from_utf8(row.utf8).view(), row.utf16);
  }
  EXPECT_EQ(String(u"\U0001F600x").to_utf8(), "\xF0\x9F\x98\x80x");
  const char16_t lone[] = {0xDC00};
  EXPECT_EQ(String(std::u16string_view(lone, 1)).to_utf8(), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace quorvel
