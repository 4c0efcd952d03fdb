#include "quorvel/entry/quorvel_app.h"

#include <gtest/gtest.h>

#include <vector>

#include "quorvel/platform/late_binding.h"
#include "quorvel/platform/registry.h"
#include "quorvel/platform/thread_context.h"
#include "support/test_objects.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

class QuorvelAppTest : public test_support::LiveCountCheck {
 protected:
  // Each test meets the library as a new thread does, and its thread's instance goes with it.
  void SetUp() override {
    this_thread_context().reset();
    LiveCountCheck::SetUp();
    app = Variant(global_object(u"QuorvelApp"));
  }
  void TearDown() override {
    app = Variant();
    this_thread_context().reset();
    ErrorReporter::this_thread();  // counted by SetUp, so made again
    LiveCountCheck::TearDown();
  }
  Variant call(const char16_t* name, std::vector<Variant> args) {
    return invoke(app, std::u16string_view(name), MemberKind::Method, args);
  }
  Variant read(const char16_t* name) { return invoke(app, std::u16string_view(name), MemberKind::Get, {}); }
  // The elements of an array result as their string forms, with the lower bound first.
  static std::vector<String> texts(const Variant& result) {
    const Array& array = *result.if_array();
    std::vector<String> out{Variant(array.lower_bound()).to_string()};
    for (std::int32_t i = 0; i < array.count(); ++i) out.push_back(array.get(i).to_string());
    return out;
  }
  Variant app;
};

TEST_F(QuorvelAppTest, ArrayConverterFailuresReturnNoArray) {
  struct Row {
    const char16_t* member;
    Variant bad;
    std::int32_t error;
  };
  const Row rows[] = {{u"ArrayOfBytes", 256, 6},
                      {u"ArrayOfIntegers", u"x", 13},
                      {u"ArrayOfLongs", Variant::null(), 94}};
  for (const Row& row : rows) {
    SCOPED_TRACE(String(row.member).to_utf8());
    EXPECT_EQ(test_support::error_of([&] { call(row.member, {1, row.bad}); }), row.error);
  }
}

TEST_F(QuorvelAppTest, AssignmentHelpersWriteTheirFirstArgument) {
  std::int32_t x = 0;
  EXPECT_EQ(call(u"LLet", {Variant::by_ref(x), 5}).to_long(), 5);
  EXPECT_EQ(x, 5);
  std::int16_t i = 0;
  EXPECT_EQ(call(u"ILet", {Variant::by_ref(i), u"7"}).to_long(), 7);
  EXPECT_EQ(i, 7);

  String s;
  String source(u"text");
  EXPECT_EQ(call(u"StrLet", {Variant::by_ref(s), source}).to_string(), source);
  EXPECT_EQ(s, source);

  const Ref<Unknown> object = test_support::token(3);
  Variant v, o = Variant::nothing();
  EXPECT_EQ(call(u"VLet", {Variant::by_ref(v), Variant(object)}).if_object(), object.get());
  EXPECT_EQ(v.if_object(), object.get());
  EXPECT_EQ(call(u"objSet", {Variant::by_ref(o), Variant(object)}).if_object(), object.get());
  EXPECT_EQ(o.if_object(), object.get());
  EXPECT_TRUE(call(u"objSet", {Variant::by_ref(o), Variant::nothing()}).is_object());
  EXPECT_EQ(o.if_object(), nullptr);

  Variant text(u"abc");
  call(u"VLet", {Variant::by_ref(v), Variant::by_ref(text)});
  text = Variant(u"changed");
  EXPECT_EQ(v.to_string(), String(u"abc")) << "a string is copied, not referred to";
}

}  // namespace
}  // namespace quorvel
