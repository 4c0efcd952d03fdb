#include "quorvel/text/lcid.h"

#include <gtest/gtest.h>

#include <string>

#include "quorvel/text/lcids.h"
#include "support/test_objects.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

using LcidTest = test_support::LiveCountCheck;

// Each id is asked twice in a row (the second answer from the last one kept) and again in a
// second pass (from the names kept per thread).
TEST_F(LcidTest, EnglishNamesMatchEveryRecordedVectorAndReservedIdsHaveNone) {
  const auto data = test_support::load_test_data("lcidnames.json");
  for (int pass = 0; pass < 2; ++pass) {
    for (const auto& row : data.at("vectors")) {
      SCOPED_TRACE(row.at("lcid_hex").get<std::string>());
      const std::string expected = row.at("known").get<bool>() ? row.at("english_language").get<std::string>() : "";
      const Ref<LCID> lcid = new_lcid(row.at("lcid").get<std::int32_t>());
      EXPECT_EQ(lcid->get_EnglishLanguageName().to_utf8(), expected);
      EXPECT_EQ(english_language_name(lcid->get_Value()).to_utf8(), expected);
    }
  }
  for (const std::int32_t id : {-1, -1033, 0x7FFFFFFF, 0x10000 | 0x409 | 0x7F000000, 0xFFFF}) {
    EXPECT_EQ(english_language_name(id).to_utf8(), "") << id;
  }
  EXPECT_EQ(make<LCID>()->get_Value(), 2057);
  EXPECT_EQ(make<LCID>()->get_EnglishLanguageName().to_utf8(), "English");
}

// Scalars go through the value model's Long conversion (its own tests cover its errors).
TEST_F(LcidTest, ToLcidKeepsObjectsAndConvertsScalars) {
  const Ref<LCID> own = new_lcid(1033);
  EXPECT_EQ(to_lcid(Variant(own)).get(), own.get());
  EXPECT_EQ(to_lcid(u" 1038 ")->get_Value(), 1038);
  EXPECT_FALSE(to_lcid(Variant::nothing()));
  EXPECT_RAISES(to_lcid(Variant(test_support::token(1))), 13);
  EXPECT_RAISES(make<LCIDs>()->Add(Variant::nothing()), 91) << "a set takes no Nothing";
}

}  // namespace
}  // namespace quorvel
