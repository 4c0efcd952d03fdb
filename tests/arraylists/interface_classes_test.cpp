#include "quorvel/arraylists/interface_classes.h"

#include <gtest/gtest.h>

#include <vector>

#include "arraylists/list_test_support.h"
#include "quorvel/arraylists/array_list_long.h"
#include "quorvel/platform/late_binding.h"
#include "quorvel/platform/registry.h"

namespace quorvel::list_tests {
namespace {

TEST(ListInterfaceClasses, TheCreatableOnesDoNothingAndGiveDefaults) {
  Ref<Object> list = create_object(u"Quorvel.IArrayList");
  ASSERT_TRUE(list);
  Ref<IArrayList> view = Ref<Object>(list).query<IArrayList>();
  ASSERT_TRUE(view);
  view->AddItem(Variant(1));
  EXPECT_EQ(view->get_Count(), 0);
  EXPECT_TRUE(view->get_Item(5).is_empty());
  std::int32_t index = 7;
  EXPECT_FALSE(view->Find(Variant(1), index));
  EXPECT_EQ(index, 7);
  EXPECT_FALSE(view->CreateNew());
  std::vector<Variant> args{Variant(3)};
  EXPECT_TRUE(invoke(*list, u"Item", MemberKind::Get, args).is_empty());  // late-bound through its interface
  std::vector<Variant> none;
  EXPECT_EQ(invoke(*list, u"GrowLength", MemberKind::Get, none).to_long(), 0);

  Ref<Object> formatter = create_object(u"Quorvel.IFormatter");
  ASSERT_TRUE(formatter);
  EXPECT_TRUE(formatter.query<IFormatter>()->Format(Variant(1)).is_empty());
}

TEST(ListInterfaceClasses, ReaderAndTextClassesExistButCannotBeCreated) {
  EXPECT_NE(find_class(u"IArrayReader"), nullptr);
  EXPECT_NE(find_class(u"IArrayList2"), nullptr);
  EXPECT_EQ(raised(error_of([] { create_object(u"Quorvel.IArrayReader"); })).first, 429);
  EXPECT_EQ(raised(error_of([] { create_object(u"Quorvel.IArrayList2"); })).first, 429);
}

TEST(ListInterfaceClasses, AnEmptyFormatterBlanksEveryElement) {
  auto list = make<ArrayList_Long>();
  for (std::int32_t v : {1, 2, 3}) list->AddItem(v);
  Ref<IFormatter> blank = make<IFormatterClass>();
  EXPECT_EQ(list->ToString(blank), String(u"\"\" \"\" \"\""));
}

}  // namespace
}  // namespace quorvel::list_tests
