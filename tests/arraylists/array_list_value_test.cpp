#include "quorvel/arraylists/array_list_value.h"

#include <gtest/gtest.h>

#include "arraylists/list_test_support.h"

namespace quorvel::list_tests {
namespace {

using ValueList = LiveCountCheck;

TEST_F(ValueList, ABareReferenceReadsTheFirstItem) {
  auto list = list_of<ArrayList_Value>({Variant(u"x"), Variant(u"y")});
  const Variant held(list);
  EXPECT_EQ(held.default_value().to_string(), String(u"x"));
  EXPECT_EQ(held.var_type(), 8);  // the kind of the default value
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
}

}  // namespace
}  // namespace quorvel::list_tests
