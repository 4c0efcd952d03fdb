#include "quorvel/platform/collation.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <thread>

#include "quorvel/platform/locale.h"
#include "quorvel/platform/thread_context.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

/// "U+0061 U+0000 U+0062" -> the exact code units (the JSON text form cannot carry every unit).
std::u16string from_units(const std::string& spelled) {
  std::u16string units;
  for (std::size_t at = spelled.find("U+"); at != std::string::npos; at = spelled.find("U+", at + 2)) {
    units.push_back(static_cast<char16_t>(std::stoul(spelled.substr(at + 2, 4), nullptr, 16)));
  }
  return units;
}

class CollationTest : public ::testing::Test {
 protected:
  void SetUp() override { this_thread_context().reset(); }
  void TearDown() override { this_thread_context().reset(); }
};

TEST_F(CollationTest, MatchesEveryRecordedPairButTheKnownTextDifferences) {
  // Rows where ICU's text order is kept on purpose, each with why.
  const std::set<std::string> known_differences = {
      // ICU ranks emoji among the symbols, before letters; the platform leaves supplementary
      // characters unweighted and after the letters.
      "emoji (surrogate pair) vs letter [U+D83D U+DE00 | U+0061]",
      // ICU gives U+FFFF the highest weight by design (a bound for prefix searches); the
      // platform gives the noncharacter none.
      "noncharacter [U+FFFF | U+0061]",
  };
  std::set<std::string> differing;
  int rows = 0;
  for (const auto data = test_support::load_test_data("comparestring.json"); const auto& row : data.at("vectors")) {
    const std::string a_units = row.at("a_units"), b_units = row.at("b_units");
    const std::string why = row.at("why").get<std::string>() + " [" + a_units + " | " + b_units + "]";
    SCOPED_TRACE(why);
    const std::u16string a = from_units(a_units), b = from_units(b_units);
    const int binary = row.at("binary");
    EXPECT_EQ(compare_binary(a, b), binary);
    EXPECT_EQ(compare_binary(b, a), -binary);
    const int forward = compare_text(a, b);
    EXPECT_EQ(compare_text(b, a), -forward) << "not antisymmetric";
    EXPECT_EQ(compare_text_collator(a, b), forward) << "ASCII table disagrees with ICU";
    EXPECT_EQ(equal_text(a, b), forward == 0);
    if (forward != row.at("text").get<int>()) differing.insert(why);
    ++rows;
  }
  EXPECT_EQ(rows, 56);
  EXPECT_EQ(differing, known_differences);
  // A null string is an empty view with no data at all.
  EXPECT_EQ(compare_binary(std::u16string_view{}, u""), 0);
  EXPECT_EQ(compare_text(std::u16string_view{}, u""), 0);
}

TEST_F(CollationTest, TextOrderFollowsTheThreadsUserLocale) {
  EXPECT_EQ(compare_text(u"i", u"I"), 0);
  set_user_locale(0x41F);  // Turkish: dotted and dotless i are different letters
  EXPECT_NE(compare_text(u"i", u"I"), 0);
  EXPECT_EQ(compare_text(u"i", u"\u0130"), 0);

  int other_thread = 2;
  std::thread([&] { other_thread = compare_text(u"i", u"I"); }).join();
  EXPECT_EQ(other_thread, 0) << "another thread keeps its own locale";

  set_user_locale(0x409);
  EXPECT_EQ(compare_text(u"i", u"I"), 0) << "switching back reuses the first collator";
}

// The letters that expand (recorded: ae ligature against ae and ad, sharp s against st and sr)
// and locale tailorings.
TEST_F(CollationTest, ExpansionsAndLocaleTailoringsApply) {
  struct Row {
    const char* name;
    Lcid lcid;
    std::u16string_view a;
    std::u16string_view b;
    int text;
  };
  const Row rows[] = {
      {"sharp s is ss", 0x409, u"stra\u00DFe", u"STRASSE", 0},
      {"capital sharp s is ss", 0x409, u"\u1E9E", u"ss", 0},
      {"oe ligature is oe", 0x409, u"\u0153uvre", u"OEUVRE", 0},
      {"sharp s in German too", 0x407, u"Ma\u00DFe", u"masse", 0},
      {"Danish aa after z", 0x406, u"aa", u"z", 1},
      {"Danish ae ligature is a letter of its own", 0x406, u"\u00E6", u"ae", 1},
      {"Czech ch after h", 0x405, u"ch", u"hz", 1},
      {"traditional Spanish ll after lz", 0x40A, u"llama", u"luz", 1},
      {"modern Spanish ll within l", 0xC0A, u"llama", u"luz", -1},
      {"Swedish o-umlaut after z", 0x41D, u"\u00F6", u"z", 1},
      {"German o-umlaut within o", 0x407, u"\u00F6", u"z", -1},
      {"unknown id collates as root", 9999, u"a", u"B", -1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    set_user_locale(row.lcid);
    EXPECT_EQ(compare_text(row.a, row.b), row.text);
    EXPECT_EQ(compare_text(row.b, row.a), -row.text);
  }
}

}  // namespace
}  // namespace quorvel
