#include "quorvel/platform/collation.h"

#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "quorvel/platform/locale.h"
#include "quorvel/platform/thread_context.h"

namespace quorvel {
namespace {

struct RecordedPair {
  std::string why;
  std::u16string a;
  std::u16string b;
  int text = 0;
  int binary = 0;
};

/// "U+0061 U+0000 U+0062" -> the exact code units (the JSON text form cannot carry every unit).
std::u16string from_units(const std::string& spelled) {
  std::u16string units;
  for (std::size_t at = spelled.find("U+"); at != std::string::npos;
       at = spelled.find("U+", at + 2)) {
    units.push_back(static_cast<char16_t>(std::stoul(spelled.substr(at + 2, 4), nullptr, 16)));
  }
  return units;
}

std::vector<RecordedPair> recorded_pairs() {
  std::ifstream file(QUORVEL_TEST_DATA "/comparestring.json");
  const auto json = nlohmann::json::parse(file);
  std::vector<RecordedPair> pairs;
  for (const auto& row : json.at("vectors")) {
    pairs.push_back({row.at("why").get<std::string>() + " [" +
                         row.at("a_units").get<std::string>() + " | " +
                         row.at("b_units").get<std::string>() + "]",
                     from_units(row.at("a_units")), from_units(row.at("b_units")),
                     row.at("text").get<int>(), row.at("binary").get<int>()});
  }
  return pairs;
}

class CollationTest : public ::testing::Test {
 protected:
  void SetUp() override { this_thread_context().reset(); }
  void TearDown() override { this_thread_context().reset(); }
};

TEST_F(CollationTest, BinaryOrderMatchesEveryRecordedPair) {
  const auto pairs = recorded_pairs();
  ASSERT_GT(pairs.size(), 50u);
  for (const auto& pair : pairs) {
    SCOPED_TRACE(pair.why);
    EXPECT_EQ(compare_binary(pair.a, pair.b), pair.binary);
    EXPECT_EQ(compare_binary(pair.b, pair.a), -pair.binary);
  }
}

TEST_F(CollationTest, TextOrderMatchesRecordedPairsButTheKnownDifferences) {
  // Rows where ICU's order is kept on purpose, each with why.
  const std::set<std::string> known_differences = {
      // ICU ranks emoji among the symbols, before letters; the platform leaves supplementary
      // characters unweighted and after the letters.
      "emoji (surrogate pair) vs letter [U+D83D U+DE00 | U+0061]",
      // ICU gives U+FFFF the highest weight by design (a bound for prefix searches); the
      // platform gives the noncharacter none.
      "noncharacter [U+FFFF | U+0061]",
  };
  std::set<std::string> differing;
  for (const auto& pair : recorded_pairs()) {
    SCOPED_TRACE(pair.why);
    const int forward = compare_text(pair.a, pair.b);
    EXPECT_EQ(compare_text(pair.b, pair.a), -forward) << "not antisymmetric";
    EXPECT_EQ(compare_text_collator(pair.a, pair.b), forward) << "ASCII table disagrees with ICU";
    EXPECT_EQ(equal_text(pair.a, pair.b), forward == 0);
    if (forward != pair.text) differing.insert(pair.why);
  }
  EXPECT_EQ(differing, known_differences);
}

TEST_F(CollationTest, OrdersOfTheComparers) {
  struct Row {
    const char* name;
    std::u16string_view a;
    std::u16string_view b;
    int binary;
    int text;
  };
  const Row rows[] = {
      {"lower after upper in binary only", u"a", u"B", 1, -1},
      {"case ignored in text", u"abc", u"ABC", 1, 0},
      {"prefix first", u"ab", u"abc", -1, -1},
      {"null equals empty", std::u16string_view{}, u"", 0, 0},
      {"null before space", std::u16string_view{}, u" ", -1, -1},
      {"digits by their text", u"10", u"9", -1, -1},
      {"width ignored", u"\uFF41bc", u"ABC", 1, 0},
      {"kana type ignored", u"\u3042", u"\u30A2", -1, 0},
      {"hyphen after the letters", u"co-op", u"coop", -1, 1},
      {"apostrophe after the letters", u"it's", u"its", -1, 1},
      {"accent after case", u"r\u00E9sum\u00E9", u"RESUME", 1, 1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(compare_binary(row.a, row.b), row.binary);
    EXPECT_EQ(compare_text(row.a, row.b), row.text);
  }
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

TEST_F(CollationTest, LocaleTailoringsApply) {
  struct Row {
    const char* name;
    Lcid lcid;
    std::u16string_view a;
    std::u16string_view b;
    int text;
  };
  const Row rows[] = {
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

/// Random ASCII text and near-misses of it, so that both levels and all skip rules are reached.
class AsciiPairs {
 public:
  explicit AsciiPairs(unsigned seed) : random_(seed) {}

  std::u16string text() {
    std::u16string out;
    const auto length = pick(0, 8);
    for (int i = 0; i < length; ++i) out.push_back(unit());
    return out;
  }

  std::u16string near(std::u16string source) {
    switch (pick(0, 5)) {
      case 0:  // flip case somewhere
        for (char16_t& c : source) {
          if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
        }
        break;
      case 1:
        source.insert(static_cast<std::size_t>(pick(0, static_cast<int>(source.size()))), 1,
                      pick(0, 1) ? u'-' : u'\'');
        break;
      case 2:
        if (!source.empty())
          source.erase(static_cast<std::size_t>(pick(0, static_cast<int>(source.size()) - 1)), 1);
        break;
      case 3:
        source.insert(static_cast<std::size_t>(pick(0, static_cast<int>(source.size()))), 1,
                      static_cast<char16_t>(pick(0, 31)));
        break;
      case 4:
        if (!source.empty()) source.back() = unit();
        break;
      default:
        source.push_back(unit());
        break;
    }
    return source;
  }

 private:
  int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  char16_t unit() {
    static constexpr std::u16string_view common = u"aAbBcChHiIlLoOsSzZ09 -'_.,";
    return pick(0, 3)
               ? common[static_cast<std::size_t>(pick(0, static_cast<int>(common.size()) - 1))]
               : static_cast<char16_t>(pick(0, 127));
  }
  std::mt19937 random_;
};

TEST_F(CollationTest, AsciiTableAgreesWithIcuInManyLocales) {
  // English, German, Danish (aa), Czech (ch), Turkish (i), Russian (script reordering), French,
  // Canadian French (accents from the end), Japanese, Thai, traditional Spanish, Hungarian.
  const Lcid locales[] = {0x409, 0x407, 0x406, 0x405, 0x41F, 0x419,
                          0x40C, 0xC0C, 0x411, 0x41E, 0x40A, 0x40E};
  for (const Lcid lcid : locales) {
    SCOPED_TRACE(lcid);
    set_user_locale(lcid);
    AsciiPairs pairs(lcid);
    int mismatches = 0;
    for (int i = 0; i < 4000 && mismatches < 5; ++i) {
      const std::u16string a = pairs.text();
      const std::u16string b = (i % 2) ? pairs.near(a) : pairs.text();
      const int expected = compare_text_collator(a, b);
      if (compare_text(a, b) != expected) {
        ++mismatches;
        ADD_FAILURE() << "pair " << i << " length " << a.size() << "/" << b.size();
      }
    }
  }
}

}  // namespace
}  // namespace quorvel
