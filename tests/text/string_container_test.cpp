#include "quorvel/text/string_container.h"

#include <gtest/gtest.h>

#include <string>

#include "quorvel/platform/describe.h"
#include "quorvel/platform/error_reporter.h"
#include "quorvel/platform/late_binding.h"
#include "quorvel/platform/thread_context.h"
#include "quorvel/text/compare_strings.h"
#include "quorvel/text/const_string_container.h"
#include "quorvel/text/hex_text.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

constexpr std::int32_t kInvalidArgument = static_cast<std::int32_t>(0x80040001u);

// The comparers are per thread and go with the thread's context, so that nothing outlives it.
TEST(CompareStrings, OrderByModeWithComparersMadeOncePerThread) {
  struct Row {
    const char* name;
    const char16_t *a, *b;
    std::int32_t mode, expected;
  } rows[] = {
      {"binary: lower case after capitals", u"a", u"B", 0, 1},
      {"text", u"a", u"B", 1, -1},
      {"text ignores case", u"abc", u"ABC", 1, 0},
      {"database mode orders as text", u"abc", u"ABD", 2, -1},
      {"prefix first", u"ab", u"abc", 0, -1},
      {"negative mode", u"a", u"a", -1, kInvalidArgument},
      {"mode 3", u"a", u"a", 3, kInvalidArgument},
  };
  this_thread_context().reset();
  const std::int64_t empty = Object::live_count();
  ErrorReporter::this_thread();  // the context's too, made on the first raise: not a comparer
  const std::int64_t before = Object::live_count();
  for (int round = 0; round < 2; ++round) {
    for (const Row& row : rows) {
      SCOPED_TRACE(row.name);
      String a(row.a), b(row.b);
      std::int32_t order = 0;
      const auto got = test_support::raised([&] { order = CompareStrings(a, b, row.mode); });
      EXPECT_EQ(got.number ? got.number : order, row.expected);
      EXPECT_EQ(got.description, "");
    }
    EXPECT_EQ(Object::live_count(), before + 2);
  }
  this_thread_context().reset();
  EXPECT_EQ(Object::live_count(), empty);
}

// Encoding rows give all three texts; decoding rows (no ANSI text) only read `hex`, and a part
// the decoder refuses leaves its output as it was.
TEST(HexText, CodeUnitsBothWaysAndAnsiCodes) {
  using S = HexDecodeStatus;
  struct Row {
    const char* name;
    std::u16string_view text, hex;
    const char16_t* ansi;
    S status = S::Ok;
  } rows[] = {
      {"ASCII and NUL", std::u16string_view(u"AB\0", 3), u"410042000000", u"414200"},
      {"euro and quotes", u"\u20AC\u201C", u"AC201C20", u"8093"},
      {"unassigned bytes reached by their controls", u"\u0081\u009D", u"81009D00", u"819D"},
      {"control of an assigned byte", u"\u0080", u"8000", u"3F"},
      {"outside the code page", u"\u0101", u"0101", u"3F"},
      {"surrogate pair: a substitute per unit", u"\U0001F600", u"3DD800DE", u"3F3F"},
      {"two digits only", u"kept", u"41", nullptr, S::LengthNotMultipleOfFour},
      {"letter beyond F", u"kept", u"4G00", nullptr, S::BadPair},
      {"C-style prefix", u"kept", u"0x41", nullptr, S::BadPair},
      {"full-width digit", u"kept", u"\uFF11000", nullptr, S::BadPair},
      {"a blank after a digit reads as that digit", u"\u0004", u"4 00", nullptr},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    if (row.ansi) {
      EXPECT_EQ(code_unit_hex(row.text).view(), row.hex);
      EXPECT_EQ(ansi_code_hex(row.text).view(), std::u16string_view(row.ansi));
    }
    String back(u"kept");
    EXPECT_EQ(decode_code_unit_hex(row.hex, back), row.status);
    EXPECT_EQ(back.view(), row.text);
  }
}

// A caller's container: its Compare answers as told and records what it was asked.
class ScriptedContainer final : public ObjectImpl<IStringContainer> {
 public:
  static constexpr const char* type_name = "TestScriptedContainer";
  static constexpr Guid iid{"{0B6E7F21-8C3A-4D59-A1E4-3F9D2C7B5A80}"};
  QUORVEL_CLASS_INFO(describe_class<ScriptedContainer, IStringContainer>(ClassFlags::None, {}))
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
  auto own = StringContainer::holding(u"abc");
  auto other = make<ScriptedContainer>();
  EXPECT_RAISES(own->Equals(other, 3), kInvalidArgument, "");
  EXPECT_EQ(other->mode, -1) << "a bad mode is refused before calling through";
  EXPECT_TRUE(own->Equals(other, 2));
  EXPECT_EQ(other->asked.view(), u"abc");
  EXPECT_EQ(other->mode, 2);
  EXPECT_TRUE(other->relative);
  EXPECT_EQ(own->get_Value().view(), u"abc");
  other->answer = -1;
  EXPECT_FALSE(own->Equals(other, 0));
  other->answer = 6;
  EXPECT_RAISES(own->Equals(other, 0), 6);
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
