#include "quorvel/arraylists/array_list_string.h"

#include <gtest/gtest.h>

#include <vector>

#include "arraylists/list_test_support.h"

namespace quorvel::list_tests {
namespace {

using StringList = LiveCountCheck;

Ref<ArrayList_String> strings(const std::vector<std::u16string>& values) {
  auto list = make<ArrayList_String>();
  for (const auto& v : values) list->AddItem(String(v));
  return list;
}

std::vector<std::u16string> items(ArrayList_String& list) {
  std::vector<std::u16string> out;
  for (std::int32_t i = 0; i < list.get_Count(); ++i) out.emplace_back(list.get_Item(i).view());
  return out;
}

TEST_F(StringList, FindIgnoresCase) {
  auto list = strings({u"Abc", u"x"});
  std::int32_t index = -1;
  EXPECT_TRUE(list->Find(String(u"aBC"), index));
  EXPECT_EQ(index, 0);
  index = 7;
  EXPECT_FALSE(list->Find(String(u"ab"), index));
  EXPECT_EQ(index, 7);
  EXPECT_TRUE(list.query<IArrayReader>()->Find(Variant(u"X"), index));
  EXPECT_EQ(index, 1);
  auto empty_and_null = strings({u"a", u""});
  EXPECT_TRUE(empty_and_null->Find(String(), index));  // the null string is the empty string
  EXPECT_EQ(index, 1);
}

TEST_F(StringList, TextFormQuotesByContent) {
  struct Row {
    const char* name;
    std::vector<std::u16string> elements;
    std::u16string expected;
  };
  const Row rows[] = {
      {"blank inside", {u"a b"}, u"\"a b\""},
      {"empty", {u"", u"x"}, u"\"\" x"},
      {"quotes without a blank stay", {u"say\"hi\""}, u"say\"hi\""},
      {"quotes and a blank", {u"\"a b\""}, u"\"a b\""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Ref<IFormatter> none;
    EXPECT_EQ(strings(row.elements)->ToString(none).view(), std::u16string_view(row.expected));
  }
}

TEST_F(StringList, SortsInBinaryOrderWithoutAComparer) {
  auto list = strings({u"b", u"B", u"a"});
  list->Sort(Variant::missing(), Variant::missing(), nullptr);
  EXPECT_EQ(items(*list), (std::vector<std::u16string>{u"B", u"a", u"b"}));
}

TEST_F(StringList, SetArrayConvertsOrLeavesTheListAsItWas) {
  auto list = strings({u"keep"});
  list->SetArray(Variant(Array(array_of<Variant>(0, {Variant(1), Variant(true), Variant(2.5)}))));
  EXPECT_EQ(items(*list), (std::vector<std::u16string>{u"keep", u"1", u"True", u"2.5"}));

  // An object without a default value cannot become text: whichever element it is, nothing stays.
  for (std::size_t bad = 0; bad < 4; ++bad) {
    SCOPED_TRACE(bad);
    std::vector<Variant> values{Variant(u"a"), Variant(u"b"), Variant(u"c"), Variant(u"d")};
    values[bad] = Variant(make<Plain>());
    auto target = strings({u"keep"});
    target->SetArray(Variant(Array(array_of(0, values))));
    EXPECT_EQ(items(*target), (std::vector<std::u16string>{u"keep"}));
  }
  // A string array of another lower bound is the list's own kind: refused whole.
  EXPECT_RAISES(list->SetArray(Variant(Array(array_of<String>(1, {String(u"z")})))), kInvalidArgument, "");
  EXPECT_EQ(list->get_Count(), 4);
}

TEST_F(StringList, CopyDuplicatesItemByItem) {
  auto list = strings({u"a", u"b", u"c"});
  auto copy = list->Copy(Variant(0), Variant(1));
  list->put_Item(0, String(u"changed"));
  EXPECT_EQ(items(*copy), (std::vector<std::u16string>{u"a", u"b"}));
}

TEST_F(StringList, TheViewConvertsToText) {
  auto list = make<ArrayList_String>();
  Ref<IArrayList> view = list.query<IArrayList>();
  view->AddItem(Variant(std::int32_t{-12}));
  view->AddItem(Variant(make<Token>(Variant(u"from default"))));
  EXPECT_EQ(items(*list), (std::vector<std::u16string>{u"-12", u"from default"}));
  EXPECT_EQ(raised(error_of([&] { view->AddItem(Variant::null()); })).first, 94);
  EXPECT_RAISES(view->putref_Item(0, Variant(u"x")), kInvalidState,
                "Value type container does not support Set statement!");
  EXPECT_EQ(view->get_Item(0).type_code(), 8);
}

}  // namespace
}  // namespace quorvel::list_tests
