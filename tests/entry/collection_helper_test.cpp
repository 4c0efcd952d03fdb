#include "quorvel/entry/collection_helper.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_objects.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

using test_support::formatter;

class CollectionHelperTest : public test_support::LiveCountCheck {
 protected:
  Ref<Collection> of(std::vector<Variant> values) {
    auto c = make<Collection>();
    for (const Variant& v : values) c->Add(v);
    return c;
  }
  Ref<CollectionHelper> helper = new_collection_helper();
};

TEST_F(CollectionHelperTest, GuardedOperationsReportFailureAndLeaveFoundAlone) {
  auto c = make<Collection>();
  Variant item = 1, key = u"k", missing_key = u"nope";
  EXPECT_TRUE(helper->TryAdd(c, item, key));
  EXPECT_FALSE(helper->TryAdd(c, item, key));
  EXPECT_FALSE(helper->TryRemove(c, missing_key));
  EXPECT_FALSE(helper->TryRemove(nullptr, key));
  EXPECT_FALSE(helper->TryAdd(nullptr, item, key));
  EXPECT_EQ(c->Count(), 1);

  Variant found = u"before", position = 2;
  EXPECT_FALSE(helper->HasItem(c, position, found));
  EXPECT_FALSE(helper->HasItem(nullptr, key, found));
  EXPECT_TRUE(identical(found, Variant(u"before")));
  EXPECT_TRUE(helper->HasItem(c, key, found));
  EXPECT_TRUE(identical(found, Variant(1)));

  Ref<Unknown> object = test_support::token(5);
  const Ref<Unknown> kept = object;
  EXPECT_FALSE(helper->HasItemObj(c, key, object)) << "a number is no object";
  EXPECT_TRUE(object.same(kept));
  c->Add(Variant(kept), u"o");
  Ref<Unknown> got;
  Variant object_key = u"o";
  EXPECT_TRUE(helper->HasItemObj(c, object_key, got));
  EXPECT_TRUE(got.same(kept));
  EXPECT_TRUE(helper->HasItem(c, object_key, found));
  EXPECT_EQ(found.if_object(), kept.get()) << "an object item arrives as the reference";
  EXPECT_TRUE(helper->TryRemove(c, object_key));
  EXPECT_EQ(c->Count(), 1);
}

TEST_F(CollectionHelperTest, CollectionByKeepsArrayOrderAndTakesAnUnallocatedArrayAsEmpty) {
  ArrayOf<Variant> values(5, 3);
  values.at(5) = u"a", values.at(6) = 1;
  auto c = helper->CollectionBy(values);
  ASSERT_EQ(c->Count(), 3);
  EXPECT_TRUE(identical(c->at(1), Variant(u"a")));
  EXPECT_TRUE(identical(c->at(2), Variant(1)));
  EXPECT_TRUE(c->at(3).is_empty());
  ArrayOf<Variant> none;
  EXPECT_EQ(helper->CollectionBy(none)->Count(), 0);
}

TEST_F(CollectionHelperTest, TextForms) {
  struct Row {
    const char* name;
    std::vector<Variant> items;
    Variant m, n, delimiter;
    std::u16string expected;
  };
  const Variant none = Variant::missing();
  const std::vector<Row> rows = {
      {"default quotes empty and blank", {u"a", u"b c", u""}, none, none, none, u"a \"b c\" \"\""},
      {"from m", {u"a", u"b c", u""}, 2, none, none, u"\"b c\" \"\""},
      {"to n", {u"a", u"b c", u""}, none, 1, none, u"a"},
      {"m beyond n", {u"a"}, 2, 1, u",", u""},
      {"comma both forms, whole", {u"x", u"y"}, none, none, u",", u"x,y"},
      {"comma both forms, range", {u"x", u"y"}, 1, none, u",", u"x,y"},
      {"range quotes the delimiter", {u"p,q"}, 1, none, u",", u"\"p,q\""},
      {"whole form quotes only blanks", {u"p,q", u"r s"}, none, none, u",", u"p,q,\"r s\""},
      {"double quotes dropped inside quotes", {u"say \"hi\""}, none, none, none, u"\"say hi\""},
      {"empty collection", {}, none, none, u",", u""},
      {"only delimiters", {u","}, none, none, u",", u""},
      {"all leading and trailing one-unit runs", {u",,a", u"b,,"}, none, none, u",", u"a,b"},
      {"one longer delimiter at the start", {u"abx", u"y"}, none, none, u"ab", u"abxaby"},
      {"one longer delimiter at each end", {u"x", u"ab"}, none, none, u"ab", u"xab"},
      {"an overlapping delimiter takes whole runs", {u"x", u"----"}, none, none, u"--", u"x"},
      {"a self-overlapping delimiter", {u"x", u"a"}, none, none, u"aa", u"x"},
      {"numbers, Empty and Null", {1, 2.5, Variant(), Variant::null()}, none, none, u";", u"1;2.5;\"\""},
      {"a blank in any word of an item", {u"abcd", u"abcde f", u"abcdefg ", u"abc defg"}, none, none, u",",
       u"abcd,\"abcde f\",\"abcdefg \",\"abc defg\""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Variant m = row.m, n = row.n, d = row.delimiter;
    Ref<IFormatter> no_formatter;
    EXPECT_EQ(helper->ToString(of(row.items), m, n, no_formatter, d).view(), row.expected);
  }
  // Items are read in runs: a number well past the first run, and a range ending inside one.
  std::vector<Variant> many(150, Variant(u"x"));
  many[99] = 7;
  std::u16string expected = u"x";
  for (std::size_t i = 1; i < many.size(); ++i) expected += i == 99 ? u" 7" : u" x";
  Variant m = Variant::missing(), n = Variant::missing(), d = Variant::missing(), to = 100;
  Ref<IFormatter> no_formatter;
  EXPECT_EQ(helper->ToString(of(many), m, n, no_formatter, d).view(), expected);
  EXPECT_EQ(helper->ToString(of(many), m, to, no_formatter, d).view(), expected.substr(0, 199));
}

TEST_F(CollectionHelperTest, FormatterIsCalledOncePerItemInOrder) {
  std::u16string seen;
  Ref<IFormatter> upper = formatter([&](const Variant& v) {
    std::u16string text(v.to_string().view());
    seen += text;
    for (char16_t& unit : text) unit = static_cast<char16_t>(unit - 32);
    return Variant(String(text));
  });
  Variant m = Variant::missing(), n = Variant::missing(), d = Variant::missing();
  EXPECT_EQ(helper->ToString(of({u"a", u"b"}), m, n, upper, d).view(), u"A B");
  EXPECT_EQ(seen, u"ab");
}

TEST_F(CollectionHelperTest, BadArguments) {
  Variant m = 0, n = Variant::missing(), d = Variant::missing(), empty = u"";
  Ref<IFormatter> none;
  EXPECT_RAISES(helper->ToString(of({u"a"}), m, n, none, d), 9);
  m = 1, n = 2;
  EXPECT_RAISES(helper->ToString(of({u"a"}), m, n, none, d), 9);
  EXPECT_RAISES(helper->ToString(of({u"a"}), m, n, none, empty), 5);
  EXPECT_RAISES(helper->ToString(nullptr, m, n, none, d), 91);
}

}  // namespace
}  // namespace quorvel
