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
  Variant item(const Variant& list, std::int32_t index) {
    Variant i = index;
    return invoke(list, u"Item", MemberKind::Method | MemberKind::Get, std::span<Variant>(&i, 1));
  }
  Variant read(const Variant& object, const char16_t* name) { return invoke(object, name, MemberKind::Get, {}); }
  Ref<Constructors> factory = new_constructors();
};

TEST_F(ConstructorsTest, ConversionFailuresReturnNoList) {
  struct Row {
    const char16_t* factory;
    Variant bad;
    std::int32_t error;
  };
  const Row rows[] = {{u"new_ArrayList_Byte", 300, 6},          {u"new_ArrayList_Integer", u"x", 13},
                      {u"new_ArrayList_Long", Variant::null(), 94}, {u"new_ArrayList_Object", 1, 13}};
  for (const Row& row : rows) {
    SCOPED_TRACE(String(row.factory).to_utf8());
    EXPECT_EQ(test_support::error_of([&] { call(row.factory, {1, row.bad}); }), row.error);
  }
}

TEST_F(ConstructorsTest, LockedFactoriesCopyAFirstListOrTakeTheValues) {
  const Variant source = call(u"new_ArrayList_Long", {1, 2});
  for (const std::vector<Variant>& args : {std::vector<Variant>{source}, std::vector<Variant>{source, 9}}) {
    const Variant locked = call(u"new_LockedArrayList_Long", args);
    EXPECT_EQ(read(locked, u"Count").to_long(), 2);
    EXPECT_EQ(item(locked, 1).to_long(), 2);
  }
  const Variant reader_copy = call(u"new_LockedArrayList_String", {call(u"new_LockedArrayList_Long", {5})});
  EXPECT_TRUE(identical(item(reader_copy, 0), Variant(u"5"))) << "a locked list is read as a reader";
  const Variant values = call(u"new_LockedArrayList_Long", {1, 2, 3});
  EXPECT_EQ(read(values, u"Count").to_long(), 3);
  Variant again(Array(VarKind::Long, 0, 1));
  EXPECT_RAISES(interface_cast<LockedArrayList_Long>(values)->FromArray(again),
                static_cast<std::int32_t>(0x80040003));
  EXPECT_EQ(read(call(u"new_LockedArrayList_Long", {}), u"Count").to_long(), 0);
}

TEST_F(ConstructorsTest, BoxAndLocaleIdFactories) {
  const Ref<Unknown> object = test_support::token(7);
  EXPECT_EQ(read(call(u"new_Box_Variant", {Variant(object)}), u"Value").if_object(), object.get());
  EXPECT_EQ(read(call(u"NewLCID", {u"1033"}), u"Value").to_long(), 1033);
  EXPECT_RAISES(call(u"NewLCID", {u"x"}), 13);
}

TEST_F(ConstructorsTest, FailingDictionaryFactoriesMakeNothing) {
  const KeyValueString twice[] = {{String(u"k"), String(u"1")}, {String(u"K"), String(u"2")}};
  struct Row {
    const char* name;
    const char16_t* factory;
    std::vector<Variant> args;
    std::int32_t error;
  };
  const Row rows[] = {
      {"repeated key", u"new_ConstDictionary", {Variant(RecordArray<KeyValueString>::from(twice)), 1}, 457},
      {"no array of keys", u"new_ConstDictionaryEx", {Variant(5)}, 13},
      {"not records", u"new_ConstDictionary", {Variant(u"x")}, 13},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(test_support::error_of([&] { call(row.factory, row.args); }), row.error);
  }
  EXPECT_NE(test_support::error_of([&] { call(u"ParseConstDictionary", {Variant(u"not a dictionary")}); }), 0);
}

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
