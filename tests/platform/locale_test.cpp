#include "quorvel/platform/locale.h"

#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <thread>

namespace quorvel {
namespace {

std::u16string utf16(const std::string& utf8) {
  // The recorded names are ASCII but for the separators, which are single code points below 0x800.
  std::u16string out;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto byte = static_cast<unsigned char>(utf8[i]);
    if (byte < 0x80) {
      out.push_back(byte);
    } else {
      out.push_back(static_cast<char16_t>(((byte & 0x1F) << 6) |
                                          (static_cast<unsigned char>(utf8[++i]) & 0x3F)));
    }
  }
  return out;
}

class LocaleTest : public ::testing::Test {
 protected:
  void SetUp() override { this_thread_context().reset(); }
  void TearDown() override { this_thread_context().reset(); }
};

TEST_F(LocaleTest, UserLocaleIsPerThreadAndDefaultsToUsEnglish) {
  EXPECT_EQ(user_locale(), 0x409u);
  set_user_locale(0x407);
  EXPECT_EQ(user_locale(), 0x407u);
  Lcid other = 0;
  std::thread([&] { other = user_locale(); }).join();
  EXPECT_EQ(other, 0x409u);
  this_thread_context().reset();
  EXPECT_EQ(user_locale(), 0x409u);
}

TEST_F(LocaleTest, MatchesRecordedLocaleDataButTheKnownDifferences) {
  // Rows where ICU's data is kept, each with why.
  const std::set<std::string> known_differences = {
      // ICU has no number symbols for Tsonga and falls back to the root's.
      "1073 separators",
  };
  std::ifstream file(QUORVEL_TEST_DATA "/lcidnames.json");
  const auto json = nlohmann::json::parse(file);
  std::set<std::string> differing;
  int known_rows = 0;
  for (const auto& row : json.at("vectors")) {
    const auto lcid = row.at("lcid").get<Lcid>();
    const std::string name = std::to_string(lcid);
    SCOPED_TRACE(name + " " + row.at("lcid_hex").get<std::string>());
    const auto info = locale_info(lcid);
    if (!row.at("known").get<bool>()) {
      EXPECT_FALSE(info.has_value()) << "the platform does not know this id";
      const NumberSeparators separators = number_separators(lcid);
      EXPECT_EQ(separators.decimal, u'.') << "an unknown id has the default separators";
      EXPECT_EQ(separators.thousands, u',');
      continue;
    }
    ++known_rows;
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->english_language, utf16(row.at("english_language")));
    EXPECT_EQ(info->tag, utf16(row.at("tag")));
    EXPECT_EQ(info->english_country, utf16(row.at("english_country")));
    const NumberSeparators separators = number_separators(lcid);
    if (std::u16string(1, separators.decimal) != utf16(row.at("decimal")) ||
        std::u16string(1, separators.thousands) != utf16(row.at("thousands"))) {
      differing.insert(name + " separators");
    }
  }
  EXPECT_GT(known_rows, 35);
  EXPECT_EQ(differing, known_differences);
}

TEST_F(LocaleTest, DefaultIdsStandForTheUserAndSystemLocales) {
  set_user_locale(0x407);
  ASSERT_TRUE(locale_info(0).has_value());
  EXPECT_EQ(locale_info(0)->tag, u"de-DE");
  EXPECT_EQ(locale_info(0x400)->tag, u"de-DE");
  EXPECT_EQ(locale_info(0x800)->tag, u"en-US") << "the system default is fixed, never read";
  EXPECT_EQ(number_separators(0x400).decimal, u',');
  set_user_locale(0);
  EXPECT_EQ(locale_info(0)->tag, u"en-US") << "a default id as user locale falls back to 0x409";
}

TEST_F(LocaleTest, NamesOfSpecialIds) {
  struct Row {
    const char* name;
    Lcid lcid;
    std::u16string_view language;
    std::u16string_view tag;
    std::u16string_view country;
  };
  const Row rows[] = {
      {"US English", 0x409, u"English", u"en-US", u"United States"},
      {"UK English", 0x809, u"English", u"en-GB", u"United Kingdom"},
      {"neutral id takes the default country", 0x007, u"German", u"de-DE", u"Germany"},
      {"sort id keeps its suffix", 0x10407, u"German", u"de-DE_phoneb", u"Germany"},
      {"sort id ICU cannot place falls back to its language id", 0x1040E, u"Hungarian", u"hu-HU",
       u"Hungary"},
      {"implicit script named in the language", 0x804, u"Chinese (Simplified)", u"zh-CN", u"China"},
      {"Serbian in Latin script", 0x241A, u"Serbian (Latin)", u"sr-Latn-RS", u"Serbia"},
      {"invariant locale", 0x7F, u"Invariant Language", u"", u"Invariant Country"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const auto info = locale_info(row.lcid);
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->english_language, row.language);
    EXPECT_EQ(info->tag, row.tag);
    EXPECT_EQ(info->english_country, row.country);
  }
  EXPECT_FALSE(locale_info(0x270F).has_value());
  EXPECT_FALSE(locale_info(0xFFFFFFFFu).has_value());
  EXPECT_EQ(icu_locale_id(0x40A), "es_ES@collation=traditional");
  EXPECT_EQ(icu_locale_id(0x270F), "");
}

TEST_F(LocaleTest, NumberSeparatorsOfSomeLocales) {
  struct Row {
    const char* name;
    Lcid lcid;
    char16_t decimal;
    char16_t thousands;
    std::u16string_view currency;
  };
  const Row rows[] = {
      {"US English", 0x409, u'.', u',', u"$"},
      {"German", 0x407, u',', u'.', u"\u20AC"},
      {"French: no-break space, not the narrow one", 0x40C, u',', u'\u00A0', u"\u20AC"},
      {"Swiss German: ASCII apostrophe", 0x807, u'.', u'\'', u"CHF"},
      {"Arabic in Latin digits", 0x401, u'.', u',', u"\u0631.\u0633.\u200F"},
      {"unknown id: the defaults", 0x270F, u'.', u',', u"$"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const NumberSeparators separators = number_separators(row.lcid);
    EXPECT_EQ(separators.decimal, row.decimal);
    EXPECT_EQ(separators.thousands, row.thousands);
    EXPECT_EQ(std::u16string_view(separators.currency), row.currency);
  }
}

TEST_F(LocaleTest, SeparatorsAnswerTheSameFromTheCache) {
  const NumberSeparators german = number_separators(0x407);
  const NumberSeparators english = number_separators(0x409);
  EXPECT_EQ(number_separators(0x407).decimal, german.decimal);
  EXPECT_EQ(number_separators(0x409).decimal, english.decimal);
  this_thread_context().reset();
  EXPECT_EQ(number_separators(0x407).decimal, u',') << "rebuilt after a context reset";
}

}  // namespace
}  // namespace quorvel
