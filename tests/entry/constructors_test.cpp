#include "quorvel/entry/constructors.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "quorvel/entry/quorvel_app.h"
#include "quorvel/entry/type_cast.h"
#include "quorvel/platform/late_binding.h"
#include "support/fault_injection.h"
#include "support/test_objects.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

class ConstructorsTest : public test_support::LiveCountCheck {
 protected:
  // A late-bound call of a factory with the arguments one by one.
  Variant call(const char16_t* name, std::vector<Variant> args) {
    return invoke(*factory, std::u16string_view(name), MemberKind::Method, args);
  }
  Ref<Constructors> factory = new_constructors();
};

TEST(ConstructorsFaults, OutOfMemoryDropsTheHalfBuiltObject) {
  const KeyValueString pairs[] = {{String(u"a"), String(u"1")}, {String(u"b"), String(u"2")}};
  RecordArray<KeyValueString> records = RecordArray<KeyValueString>::from(pairs);
  const std::vector<Variant> values{1, u"two", 3.5};
  using Run = std::function<void(Ref<QuorvelApp>&)>;
  const std::pair<const char*, Run> runs[] = {
      {"dictionary from pairs",
       [&](Ref<QuorvelApp>& app) { app->get_Construct()->new_ConstDictionary(records, 0); }},
      {"dictionary from text",
       [](Ref<QuorvelApp>& app) { app->get_Construct()->ParseConstDictionary(String(u"qvsd  0 6100:3100")); }},
      {"string container",
       [](Ref<QuorvelApp>& app) {
         String text(u"fixed");
         app->get_Construct()->new_ConstStringContainer(text);
       }},
      {"strings from an argument list", [&](Ref<QuorvelApp>& app) { app->ArrayOfStrings(values); }},
      {"the conversion object", [](Ref<QuorvelApp>& app) { app->get_Cast(); }},
  };
  for (const auto& [name, run] : runs) {
    SCOPED_TRACE(name);
    EXPECT_GT(fault::expect_fault_tolerant([] { return make<QuorvelApp>(); }, run,
                                           [](Ref<QuorvelApp>&) { return std::string(); }),
              0);
  }
}

TEST_F(ConstructorsTest, TypeCast) {
  auto cast = new_type_cast();
  Variant list = call(u"new_ArrayList_String", {u"a"});
  EXPECT_EQ(&cast->ToArrayList(list)->identity(), &list.if_object()->identity());
  Variant nothing = Variant::nothing(), array = Variant(Array(VarKind::Long, 0, 1));
  Variant not_a_list = Variant(test_support::token(1));
  EXPECT_FALSE(cast->ToArrayList(nothing));
  EXPECT_RAISES(cast->ToArrayList(array), 13);
  EXPECT_RAISES(cast->ToArrayList(not_a_list), 13);
  EXPECT_EQ(cast->ToLCID(true)->get_Value(), -1);
}

}  // namespace
}  // namespace quorvel
