#include "quorvel/platform/collection.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "quorvel/platform/error.h"
#include "quorvel/platform/late_binding.h"
#include "quorvel/platform/registry.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

using test_support::error_of;

std::vector<std::int32_t> longs_of(const Collection& c) {
  std::vector<std::int32_t> out;
  for (const Variant& v : c) out.push_back(v.to_long());
  return out;
}

Ref<Collection> filled(std::initializer_list<std::pair<std::int32_t, const char16_t*>> items) {
  Ref<Collection> c = make<Collection>();
  for (const auto& [value, key] : items) c->Add(Variant(value), key ? Variant(key) : Variant::missing());
  return c;
}

TEST(Collection, KeysMatchWithoutRegardToCaseBySimpleFolding) {
  struct Row {
    const char* name;
    std::u16string stored;
    std::u16string asked;
    bool found;
  };
  const Row rows[] = {
      {"ascii", u"Key", u"kEY", true},
      {"latin-1", u"\u00C4rger", u"\u00E4RGER", true},
      {"final sigma folds to sigma", u"\u03A3", u"\u03C2", true},
      {"cyrillic", u"\u0416\u0443\u043A", u"\u0436\u0423\u041A", true},
      {"supplementary (Deseret)", u"\U00010400", u"\U00010428", true},
      {"sharp s is not ss (no full folding)", u"Stra\u00DFe", u"STRASSE", false},
      {"lone surrogate kept", u"a\xD800", u"A\xD800", true},
      {"empty key", u"", u"", true},
      {"letter beyond ASCII after a block of four", u"abcdEFG\u00C9", u"ABCDefg\u00E9", true},
      {"a trailing NUL is part of the key", std::u16string(u"ab\0", 3), u"ab", false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Ref<Collection> c = make<Collection>();
    c->Add(Variant(7), Variant(String(row.stored)));
    EXPECT_EQ(c->contains(row.asked), row.found);
    EXPECT_EQ(error_of([&] { c->Item(Variant(String(row.asked))); }), row.found ? 0 : 5);
  }
}

TEST(Collection, FailuresRaiseAndChangeNothing) {
  struct Row {
    const char* name;
    std::int32_t number;
    std::function<void(Collection&)> call;
  };
  const Row rows[] = {
      {"position 0", 9, [](Collection& c) { c.Item(Variant(0)); }},
      {"position past the end", 9, [](Collection& c) { c.Item(Variant(4)); }},
      {"position of Empty", 9, [](Collection& c) { c.Item(Variant()); }},
      {"absent key", 5, [](Collection& c) { c.Item(Variant(u"zz")); }},
      {"Null index", 94, [](Collection& c) { c.Item(Variant::null()); }},
      {"remove position past the end", 9, [](Collection& c) { c.Remove(Variant(4)); }},
      {"remove absent key", 5, [](Collection& c) { c.Remove(Variant(u"zz")); }},
      {"duplicate key, other case", 457, [](Collection& c) { c.Add(Variant(9), Variant(u"A")); }},
      {"both Before and After", 5,
       [](Collection& c) { c.Add(Variant(9), Variant::missing(), Variant(1), Variant(1)); }},
      {"Before past the end", 9, [](Collection& c) { c.Add(Variant(9), Variant::missing(), Variant(4)); }},
      {"After an absent key", 5,
       [](Collection& c) { c.Add(Variant(9), Variant(u"new"), Variant::missing(), Variant(u"zz")); }},
      {"key that is not text", 94, [](Collection& c) { c.Add(Variant(9), Variant::null()); }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Ref<Collection> c = filled({{1, u"a"}, {2, nullptr}, {3, u"c"}});
    EXPECT_EQ(error_of([&] { row.call(*c); }), row.number);
    EXPECT_EQ(longs_of(*c), (std::vector<std::int32_t>{1, 2, 3}));
    EXPECT_FALSE(c->contains(u"new"));
    EXPECT_EQ(c->Item(Variant(u"c")).to_long(), 3);
  }
}

TEST(Collection, BeforeAndAfterPlaceTheNewItem) {
  struct Row {
    const char* name;
    Variant before;
    Variant after;
    std::vector<std::int32_t> expected;
  };
  const Row rows[] = {
      {"before the first, by a Double position", Variant(1.0), Variant::missing(), {9, 1, 2, 3}},
      {"before a key", Variant(u"C"), Variant::missing(), {1, 2, 9, 3}},
      {"after the last", Variant::missing(), Variant(3), {1, 2, 3, 9}},
      {"after a key", Variant::missing(), Variant(u"a"), {1, 9, 2, 3}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Ref<Collection> c = filled({{1, u"a"}, {2, nullptr}, {3, u"c"}});
    c->Add(Variant(9), Variant(u"nine"), row.before, row.after);
    EXPECT_EQ(longs_of(*c), row.expected);
    EXPECT_EQ(c->Item(Variant(4.0)).to_long(), row.expected.back());
    EXPECT_EQ(c->Item(Variant(u"NINE")).to_long(), 9);
    EXPECT_EQ(c->Item(Variant(u"c")).to_long(), 3);
  }
}

// Objects and the other kinds round-trip in the scenarios; here what is copied on the way in.
TEST(Collection, CopiesValuesOnTheWayIn) {
  Ref<Collection> c = make<Collection>();
  String text(u"before");
  c->Add(Variant::by_ref(text));
  text = String(u"after");
  EXPECT_EQ(*c->Item(Variant(1)).if_string(), String(u"before"));
  EXPECT_FALSE(c->Item(Variant(1)).is_by_ref());
  ArrayOf<std::int32_t> numbers(5, 2);
  c->Add(Variant(static_cast<Array>(numbers)));
  numbers.at(5) = 42;
  EXPECT_EQ(c->Item(Variant(2)).if_array()->get(5).to_long(), 0);
}

// Add, Item and Remove are reached late-bound by the scenarios; Item is the default member.
TEST(Collection, IsLateBoundWithItemAsDefaultMember) {
  Ref<Collection> c = make<Collection>();
  c->Add(Variant(u"x"), Variant(u"first"));
  std::vector<Variant> index{Variant(1)};
  EXPECT_EQ(*invoke(*c, 0, MemberKind::Method | MemberKind::Get, index).if_string(), String(u"x"));
  ASSERT_NE(find_class(u"Collection"), nullptr);
  EXPECT_EQ(error_of([] { create_object(u"Quorvel.Collection"); }), 429) << "handed out, never created";
}

}  // namespace
}  // namespace quorvel
