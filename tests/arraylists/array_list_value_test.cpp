#include "quorvel/arraylists/array_list_value.h"

#include <gtest/gtest.h>

#include <vector>

#include "arraylists/list_test_support.h"
#include "quorvel/platform/late_binding.h"
#include "quorvel/platform/registry.h"

namespace quorvel::list_tests {
namespace {

using ValueList = LiveCountCheck;

TEST_F(ValueList, ABareReferenceReadsTheFirstItem) {
  auto list = make<ArrayList_Value>();
  list->AddItem(Variant(u"x"));
  list->AddItem(Variant(u"y"));
  const Variant held(list);
  EXPECT_EQ(held.default_value().to_string(), String(u"x"));
  EXPECT_EQ(held.var_type(), 8);  // the kind of the default value
  EXPECT_EQ(*list->get_Default().if_string(), String(u"x"));
  Ref<Unknown> object = token(Variant(1));
  list->putref_Item(0, Variant(object));
  EXPECT_TRUE(list->get_Default().to_object().same(object));  // by reference, not its value

  auto empty = make<ArrayList_Value>();
  EXPECT_RAISES(empty->get_Default(), kInvalidArgument, "");
  EXPECT_RAISES(Variant(empty).default_value(), kInvalidArgument, "");
}

TEST_F(ValueList, DescribesDefaultAsItsDefaultMember) {
  const ClassInfo& info = ArrayList_Value::describe();
  EXPECT_EQ(std::string(info.help), "Variant array list with a default property.");
  const MemberInfo* def = info.own->find(0, MemberKind::Get);
  ASSERT_NE(def, nullptr);
  EXPECT_EQ(std::string(def->name), "Default");
  EXPECT_EQ(std::string(def->help), "Returns the first value");
  const DispId item = info.own->find_id(u"Item");
  EXPECT_GT(item, 0);
  EXPECT_EQ(info.own->find_id(u"Find"), item + 1);  // ids follow the slot order
  auto list = make<ArrayList_Value>();
  list->AddItem(Variant(3));
  std::vector<Variant> index{Variant(0)};
  EXPECT_EQ(invoke(*as_unknown(list.get()), u"Item", MemberKind::Get, index).to_long(), 3);
  EXPECT_EQ(invoke(*as_unknown(list.get()), 0, MemberKind::Get, {}).to_long(), 3);
}

TEST_F(ValueList, ImplementsTheListViewsButNotTheReader) {
  auto list = make<ArrayList_Value>();
  list->AddItem(Variant(u"a b"));
  list->AddItem(Variant(2));
  EXPECT_TRUE(list.query<IArrayList>());
  EXPECT_TRUE(list.query<IArrayList2>());
  EXPECT_FALSE(list.query<IArrayReader>());
  Ref<IFormatter> none;
  // The text form of the other lists, rather than the failed reader query.
  EXPECT_EQ(list->ToString(none), String(u"\"a b\" 2"));
  EXPECT_EQ(list.query<IArrayList2>()->ToString(none), String(u"\"a b\" 2"));
  list.query<IArrayList>()->Sort(0, 0, ascending());  // the whole list, unlike the Variant list
  EXPECT_EQ(list->get_Item(0).to_long(), 2);
}

TEST_F(ValueList, SetArrayAppendsLikeTheVariantList) {
  auto list = make<ArrayList_Value>();
  list->SetArray(Variant(Array(array_of<Variant>(0, {Variant(1), Variant(u"two")}))));
  EXPECT_EQ(list->get_Count(), 2);
  EXPECT_RAISES(list->SetArray(Variant(Array(array_of<Variant>(1, {Variant(1)})))), kInvalidArgument, "");
  EXPECT_RAISES(list->SetArray(Variant(1)), kInvalidArgument, "");
}

}  // namespace
}  // namespace quorvel::list_tests
