#include "quorvel/text/string_container.h"

#include <gtest/gtest.h>

#include <string>

#include "quorvel/platform/late_binding.h"
#include "quorvel/text/const_string_container.h"
#include "support/test_objects.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

constexpr std::int32_t kInvalidArgument = static_cast<std::int32_t>(0x80040001u);

Ref<StringContainer> holding(const char16_t* text) { return StringContainer::holding(String(text)); }

Ref<IStringContainer> fixed(const char16_t* text) {
  Ref<ConstStringContainer> made = make<ConstStringContainer>();
  made->initialize(String(text));
  return made;
}

// A caller's container whose Compare answers what it is told and records what it was asked.
class ScriptedContainer final : public ObjectImpl<IStringContainer> {
 public:
  static constexpr const char* type_name = "TestScriptedContainer";
  static constexpr Guid iid{"{0B6E7F21-8C3A-4D59-A1E4-3F9D2C7B5A80}"};
  static const ClassInfo& describe() {
    static const ClassInfo info = describe_class<ScriptedContainer, IStringContainer>(ClassFlags::None, {});
    return info;
  }
  const ClassInfo& class_info() const noexcept override { return describe(); }
  bool Equals(Ref<IStringContainer>, std::int32_t) override { return false; }
  bool EqualsEx(const Variant&, std::int32_t) override { return false; }
  std::int32_t Compare(String& Value, std::int32_t CompareMode, bool& relativeToValue) override {
    asked = Value;
    mode = CompareMode;
    relative = relativeToValue;
    Value = u"scribbled";  // by reference: must not reach the asking container
    if (raises) raise_runtime_error(RuntimeError::Overflow);
    return answer;
  }
  String get_Value() override { return {}; }
  std::int32_t get_Length() override { return 0; }
  Ref<StringContainer> ToHexSeq() override { return nullptr; }
  Ref<StringContainer> ToHexSeqA() override { return nullptr; }

  std::int32_t answer = 0;
  bool raises = false;
  String asked;
  std::int32_t mode = -1;
  bool relative = false;
};

TEST(StringContainer, NewHoldsTheEmptyString) {
  auto c = make<StringContainer>();
  EXPECT_EQ(c->get_Length(), 0);
  String empty;
  EXPECT_EQ(c->Compare(empty, 0), 0);
  EXPECT_TRUE(c->EqualsEx(Variant(u""), 1));
}

TEST(StringContainer, CompareByModeAndDirection) {
  struct Row {
    const char* name;
    const char16_t* argument;
    std::int32_t mode;
    bool relative;
    std::int32_t expected;
  } rows[] = {
      {"binary: lower case after capitals", u"B", 0, false, 1},
      {"binary, relative to the value", u"B", 0, true, -1},
      {"text", u"B", 1, false, -1},
      {"text ignores case", u"A", 1, false, 0},
      {"database mode orders as text", u"B", 2, false, -1},
  };
  for (const Ref<IStringContainer>& c : {Ref<IStringContainer>(holding(u"a")), fixed(u"a")}) {
    for (const Row& row : rows) {
      SCOPED_TRACE(row.name);
      String argument(row.argument);
      bool relative = row.relative;
      EXPECT_EQ(c->Compare(argument, row.mode, relative), row.expected);
      EXPECT_EQ(argument.view(), std::u16string_view(row.argument));
    }
    String x(u"x");
    bool relative = false;
    EXPECT_RAISES(c->Compare(x, 3, relative), kInvalidArgument, "");
  }
}

TEST(StringContainer, EqualsAsksTheOtherContainer) {
  EXPECT_FALSE(holding(u"abc")->Equals(fixed(u"ABC"), 0));
  EXPECT_TRUE(holding(u"abc")->Equals(fixed(u"ABC"), 1));
  EXPECT_TRUE(fixed(u"abc")->Equals(holding(u"ABC"), 1));

  auto other = make<ScriptedContainer>();
  auto own = holding(u"mine");
  other->answer = 0;
  EXPECT_TRUE(own->Equals(other, 2));
  EXPECT_EQ(other->asked.view(), u"mine");
  EXPECT_EQ(other->mode, 2);
  EXPECT_TRUE(other->relative);
  EXPECT_EQ(own->get_Value().view(), u"mine");
  other->answer = -1;
  EXPECT_FALSE(own->Equals(other, 0));
  other->raises = true;
  EXPECT_RAISES(own->Equals(other, 0), 6);
}

TEST(StringContainer, EqualsRefusesNothingAndBadModesBeforeCallingThrough) {
  auto other = make<ScriptedContainer>();
  EXPECT_RAISES(holding(u"a")->Equals(nullptr, 0), 91);
  EXPECT_RAISES(fixed(u"a")->Equals(nullptr, 0), 91);
  EXPECT_RAISES(holding(u"a")->Equals(other, 3), kInvalidArgument, "");
  EXPECT_RAISES(holding(u"a")->Equals(other, -1), kInvalidArgument, "");
  EXPECT_EQ(other->mode, -1) << "not called";
}

TEST(StringContainer, EqualsExComparesTheTextForm) {
  EXPECT_TRUE(holding(u"12")->EqualsEx(Variant(12), 0));
  EXPECT_TRUE(holding(u"True")->EqualsEx(Variant(true), 0));
  EXPECT_TRUE(fixed(u"abc")->EqualsEx(Variant(u"ABC"), 1));
  EXPECT_TRUE(holding(u"7")->EqualsEx(Variant(test_support::token(Variant(7))), 0)) << "an object's default value";
  EXPECT_RAISES(holding(u"a")->EqualsEx(Variant::null(), 0), 94);
  EXPECT_RAISES(holding(u"a")->EqualsEx(Variant(u"a"), 5), kInvalidArgument, "");
}

TEST(StringContainer, HexadecimalFormsAreNewContainers) {
  auto source = holding(u"AB");
  Ref<StringContainer> hex = source->ToHexSeq();
  EXPECT_EQ(hex->get_Value().view(), u"41004200");
  EXPECT_FALSE(hex.same(source->ToHexSeq()));
  hex->put_Value(u"changed");
  EXPECT_EQ(source->get_Value().view(), u"AB");
  EXPECT_EQ(source->ToHexSeqA()->get_Value().view(), u"4142");
  EXPECT_EQ(fixed(u"\u20AC")->ToHexSeq()->get_Value().view(), u"AC20");
  EXPECT_EQ(fixed(u"\u00E9")->ToHexSeqA()->get_Value().view(), u"E9");
  EXPECT_EQ(holding(u"")->ToHexSeq()->get_Length(), 0);
  EXPECT_EQ(StringContainer::holding(String(std::u16string(20000, u'x')))->ToHexSeq()->get_Length(), 80000);
}

TEST(ConstStringContainer, InitialisedOnceAndValueIsTheDefaultMember) {
  Ref<ConstStringContainer> c = make<ConstStringContainer>();
  c->initialize(u"first");
  EXPECT_RAISES(c->initialize(u"second"), static_cast<std::int32_t>(0x80040003u), "Object already initialized!");
  EXPECT_EQ(c->get_Value().view(), u"first");
  EXPECT_EQ(invoke(*as_unknown(c.get()), DispId{0}, MemberKind::Get, {}).to_string().view(), u"first");
  EXPECT_TRUE(has_default_member(*as_unknown(c.get())));
  EXPECT_FALSE(has_default_member(*as_unknown(holding(u"x").get()))) << "StringContainer's own Value is not the default";
}

TEST(StringContainer, LateBoundOptionalArguments) {
  auto c = holding(u"a");
  Unknown& own = *as_unknown(c.get());
  Ref<IStringContainer> view = c;
  Variant args[] = {Variant(u"B")};
  EXPECT_EQ(invoke(*view, u"Compare", MemberKind::Method, args).to_long(), 1) << "mode 0 by default";
  Variant text_args[] = {Variant(u"B"), Variant(1), Variant(true)};
  EXPECT_EQ(invoke(*view, u"Compare", MemberKind::Method, text_args).to_long(), 1);
  Variant equal_args[] = {Variant(u"A"), Variant(1)};
  EXPECT_TRUE(invoke(own, u"EqualsEx", MemberKind::Method, equal_args).to_boolean());
  Variant let_args[] = {Variant(12)};
  invoke(own, u"Value", MemberKind::Let, let_args);
  EXPECT_EQ(c->get_Value().view(), u"12");
}

}  // namespace
}  // namespace quorvel
