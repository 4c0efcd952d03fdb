#include "quorvel/text/string_container.h"

#include <gtest/gtest.h>

#include "quorvel/platform/describe.h"
#include "quorvel/platform/late_binding.h"
#include "quorvel/text/const_string_container.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

constexpr std::int32_t kInvalidArgument = static_cast<std::int32_t>(0x80040001u);

Ref<IStringContainer> fixed(const char16_t* text) {
  Ref<ConstStringContainer> made = make<ConstStringContainer>();
  made->initialize(String(text));
  return made;
}

// A caller's container: its Compare answers as told and records what it was asked.
class ScriptedContainer final : public ObjectImpl<IStringContainer> {
 public:
  static constexpr const char* type_name = "TestScriptedContainer";
  static constexpr Guid iid{"{0B6E7F21-8C3A-4D59-A1E4-3F9D2C7B5A80}"};
  TEST_CLASS_INFO(describe_class<ScriptedContainer, IStringContainer>(ClassFlags::None, {}))
  bool Equals(Ref<IStringContainer>, std::int32_t) override { return false; }
  bool EqualsEx(const Variant&, std::int32_t) override { return false; }
  String get_Value() override { return {}; }
  std::int32_t get_Length() override { return 0; }
  Ref<StringContainer> ToHexSeq() override { return nullptr; }
  Ref<StringContainer> ToHexSeqA() override { return nullptr; }
  std::int32_t Compare(String& Value, std::int32_t CompareMode, bool& relativeToValue) override {
    asked = Value;
    mode = CompareMode;
    relative = relativeToValue;
    Value = u"scribbled";  // by reference: must not reach the asking container
    if (answer == 6) raise_runtime_error(RuntimeError::Overflow);
    return answer;
  }
  std::int32_t answer = 0, mode = -1;
  bool relative = false;
  String asked;
};

TEST(StringContainer, EqualsAsksTheOtherContainer) {
  auto own = make<StringContainer>();
  own->put_Value(u"abc");
  EXPECT_FALSE(own->Equals(fixed(u"ABC"), 0));
  EXPECT_TRUE(fixed(u"ABC")->Equals(own, 1));

  auto other = make<ScriptedContainer>();
  EXPECT_TRUE(own->Equals(other, 2));
  EXPECT_EQ(other->asked.view(), u"abc");
  EXPECT_EQ(other->mode, 2);
  EXPECT_TRUE(other->relative);
  EXPECT_EQ(own->get_Value().view(), u"abc");
  other->answer = -1;
  EXPECT_FALSE(own->Equals(other, 0));
  other->answer = 6;
  EXPECT_RAISES(own->Equals(other, 0), 6);
  other->mode = -1;
  EXPECT_RAISES(own->Equals(nullptr, 0), 91);
  EXPECT_RAISES(fixed(u"a")->Equals(nullptr, 0), 91);
  EXPECT_RAISES(own->Equals(other, 3), kInvalidArgument, "");
  EXPECT_EQ(other->mode, -1) << "a bad mode is refused before calling through";
}

TEST(ConstStringContainer, InitialisedOnceAndValueIsTheDefaultMember) {
  Ref<ConstStringContainer> c = make<ConstStringContainer>();
  c->initialize(u"first");
  EXPECT_RAISES(c->initialize(u"second"), static_cast<std::int32_t>(0x80040003u), "Object already initialized!");
  EXPECT_EQ(invoke(*as_unknown(c.get()), DispId{0}, MemberKind::Get, {}).to_string().view(), u"first");
  String b(u"B");
  EXPECT_EQ(c->Compare(b, 0, omitted<bool>()), 1);
  EXPECT_EQ(c->ToHexSeq()->get_Value().view(), u"66006900720073007400");
  EXPECT_FALSE(has_default_member(*as_unknown(make<StringContainer>().get())));
}

}  // namespace
}  // namespace quorvel
