#include "quorvel/platform/locale.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "quorvel/platform/string.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

std::u16string utf16(const nlohmann::json& text) {
  return std::u16string(String::from_utf8(text.get<std::string>()).view());
}

class LocaleTest : public ::testing::Test {
 protected:
  void SetUp() override { this_thread_context().reset(); }
  void TearDown() override { this_thread_context().reset(); }
};

TEST_F(LocaleTest, MatchesRecordedLocaleDataButTheKnownDifferences) {
  // Rows where ICU's data is kept, each with why.
  const std::set<std::string> known_differences = {
      // ICU has no number symbols for Tsonga and falls back to the root's.
      "1073 separators",
  };
  std::set<std::string> differing;
  int known_rows = 0;
  for (const auto data = test_support::load_test_data("lcidnames.json"); const auto& row : data.at("vectors")) {
    const auto lcid = row.at("lcid").get<Lcid>();
    const std::string name = std::to_string(lcid);
    SCOPED_TRACE(name + " " + row.at("lcid_hex").get<std::string>());
    const auto info = locale_info(lcid);
    const NumberSeparators separators = number_separators(lcid);
    if (!row.at("known").get<bool>()) {
      EXPECT_FALSE(info.has_value()) << "the platform does not know this id";
      EXPECT_EQ(separators.decimal, u'.') << "an unknown id has the default separators";
      EXPECT_EQ(separators.thousands, u',');
      continue;
    }
    ++known_rows;
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->english_language, utf16(row.at("english_language")));
    EXPECT_EQ(info->tag, utf16(row.at("tag")));
    EXPECT_EQ(info->english_country, utf16(row.at("english_country")));
    const std::u16string recorded = utf16(row.at("decimal")) + utf16(row.at("thousands"));
    if (std::u16string{separators.decimal, separators.thousands} != recorded) {
      differing.insert(name + " separators");
    }
  }
  EXPECT_EQ(known_rows, 41);
  EXPECT_EQ(differing, known_differences);
}

// The user locale is per thread (the collation and thread tests) and US English at first.
TEST_F(LocaleTest, DefaultIdsStandForTheUserAndSystemLocales) {
  EXPECT_EQ(locale_info(0)->tag, u"en-US");
  set_user_locale(0x407);
  ASSERT_TRUE(locale_info(0).has_value());
  EXPECT_EQ(locale_info(0)->tag, u"de-DE");
  EXPECT_EQ(locale_info(0x400)->tag, u"de-DE");
  EXPECT_EQ(locale_info(0x800)->tag, u"en-US") << "the system default is fixed, never read";
  EXPECT_EQ(number_separators(0x400).decimal, u',');
  set_user_locale(0);
  EXPECT_EQ(locale_info(0)->tag, u"en-US") << "a default id as user locale falls back to 0x409";
}

// Ids the recorded data does not reach: a sort id keeps its suffix unless ICU cannot place it.
TEST_F(LocaleTest, SpecialIds) {
  EXPECT_EQ(locale_info(0x10407).value().tag, u"de-DE_phoneb");
  EXPECT_EQ(locale_info(0x1040E).value().tag, u"hu-HU");
  EXPECT_EQ(locale_info(0x7F).value().english_country, u"Invariant Country");
  EXPECT_EQ(locale_info(0x7F).value().tag, u"");
  EXPECT_FALSE(locale_info(0xFFFFFFFFu).has_value());
  EXPECT_EQ(icu_locale_id(0x40A), "es_ES@collation=traditional");
  EXPECT_EQ(icu_locale_id(0x270F), "");
}

// The currency symbol is not in the recorded data. Each id is asked twice, the second time from
// the per-thread cache after other ids were asked.
TEST_F(LocaleTest, NumberSeparatorsWithCurrency) {
  const struct {
    const char* name;
    Lcid lcid;
    char16_t decimal;
    char16_t thousands;
    std::u16string_view currency;
  } rows[] = {
      {"German", 0x407, u',', u'.', u"\u20AC"},
      {"Swiss German: ASCII apostrophe", 0x807, u'.', u'\'', u"CHF"},
      {"Arabic in Latin digits", 0x401, u'.', u',', u"\u0631.\u0633.\u200F"},
      {"unknown id: the defaults", 0x270F, u'.', u',', u"$"},
  };
  for (int pass = 0; pass < 2; ++pass) {
    for (const auto& row : rows) {
      SCOPED_TRACE(row.name);
      const NumberSeparators separators = number_separators(row.lcid);
      EXPECT_EQ(separators.decimal, row.decimal);
      EXPECT_EQ(separators.thousands, row.thousands);
      EXPECT_EQ(std::u16string_view(separators.currency), row.currency);
    }
  }
}

}  // namespace
}  // namespace quorvel
