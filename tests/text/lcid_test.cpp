#include "quorvel/text/lcid.h"

#include <gtest/gtest.h>

#include "quorvel/text/lcids.h"
#include "support/test_objects.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

using LcidTest = test_support::LiveCountCheck;

TEST_F(LcidTest, OutOfRangeIdsHaveNoName) {
  for (const std::int32_t id : {-1, -1033, 0x7FFFFFFF, 0x10000 | 0x409 | 0x7F000000, 0xFFFF}) {
    SCOPED_TRACE(id);
    EXPECT_EQ(english_language_name(id).to_utf8(), "");
  }
  EXPECT_EQ(make<LCID>()->get_Value(), 2057);
  EXPECT_EQ(make<LCID>()->get_EnglishLanguageName().to_utf8(), "English");
}

TEST_F(LcidTest, ToLcidKeepsObjectsAndConvertsScalars) {
  const Ref<LCID> own = new_lcid(1033);
  EXPECT_EQ(to_lcid(Variant(own)).get(), own.get());
  EXPECT_EQ(to_lcid(Variant(true))->get_Value(), -1);
  EXPECT_EQ(to_lcid(u" 1038 ")->get_Value(), 1038);
  EXPECT_FALSE(to_lcid(Variant::nothing()));
  EXPECT_RAISES(to_lcid(Variant(test_support::token(1))), 13);
  EXPECT_RAISES(to_lcid(u"x"), 13);
  EXPECT_RAISES(to_lcid(3e10), 6);
  EXPECT_RAISES(to_lcid(Variant::null()), 94);
}

TEST_F(LcidTest, SetKeyedByTheArgumentsText) {
  auto set = make<LCIDs>();
  EXPECT_EQ(set->GetKey(1033).to_utf8(), "1033#");
  EXPECT_EQ(set->GetKey(u" 7 ").to_utf8(), "7#");
  Variant missing = u"9999#", key = u"1033#", far = 1033, first = 1;
  EXPECT_FALSE(set->Exists(first)) << "empty";
  EXPECT_EQ(set->ToLongArray().allocated(), false);

  set->Add(1033);
  EXPECT_RAISES(set->Add(1033), 457);
  EXPECT_RAISES(set->Add(u"x"), 13);
  EXPECT_RAISES(set->Add(Variant::nothing()), 91);
  const Ref<LCID> own = new_lcid(1038);
  set->Add(Variant(own));
  EXPECT_EQ(set->get_Count(), 2);
  EXPECT_TRUE(set->Exists(key));
  EXPECT_FALSE(set->Exists(far)) << "a number is a position";
  EXPECT_TRUE(set->Exists(first));
  EXPECT_FALSE(set->Item(missing));
  Variant own_key = u"1038#";
  EXPECT_EQ(set->Item(own_key).get(), own.get());

  const ArrayOf<std::int32_t> ids = set->ToLongArray();
  ASSERT_EQ(ids.count(), 2);
  EXPECT_EQ(ids.lower_bound(), 0);
  EXPECT_EQ(ids.at(0), 1033);
  EXPECT_EQ(ids.at(1), 1038);
  EXPECT_EQ(set->NewEnum()->Count(), 2);

  set->Remove(key);
  EXPECT_RAISES(set->Remove(key), 5);
  set->Clear();
  EXPECT_EQ(set->get_Count(), 0);
  set->Add(1038);
  EXPECT_EQ(set->get_Count(), 1);
}

}  // namespace
}  // namespace quorvel
