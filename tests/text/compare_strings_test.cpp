#include "quorvel/text/compare_strings.h"

#include <gtest/gtest.h>

#include "quorvel/platform/object.h"
#include "quorvel/platform/thread_context.h"
#include "quorvel/text/hex_text.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

TEST(CompareStrings, OrderByMode) {
  struct Row {
    const char* name;
    const char16_t* a;
    const char16_t* b;
    std::int32_t binary, text;
  } rows[] = {
      {"lower case after capitals in binary only", u"a", u"B", 1, -1},
      {"case ignored in text", u"abc", u"ABC", 1, 0},
      {"null string equals empty", u"", u"", 0, 0},
      {"prefix first", u"ab", u"abc", -1, -1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    String a(row.a), b(row.b);
    EXPECT_EQ(CompareStrings(a, b, 0), row.binary);
    EXPECT_EQ(CompareStrings(a, b, 1), row.text);
    EXPECT_EQ(CompareStrings(a, b, 2), row.text) << "the database mode orders as text";
  }
}

TEST(CompareStrings, ModesOutsideZeroToTwoRaiseWithoutMessage) {
  String a(u"x"), b(u"y");
  for (const std::int32_t mode : {-1, 3, 0x7FFFFFFF}) {
    SCOPED_TRACE(mode);
    EXPECT_RAISES(CompareStrings(a, b, mode), static_cast<std::int32_t>(0x80040001u), "");
  }
}

// The comparers are per thread and go with the thread's context, so that nothing outlives it.
TEST(CompareStrings, ComparersAreMadeOnceAndDroppedWithTheContext) {
  this_thread_context().reset();
  const std::int64_t before = Object::live_count();
  String a(u"a"), b(u"b");
  CompareStrings(a, b, 0);
  CompareStrings(a, b, 1);
  EXPECT_EQ(Object::live_count(), before + 2);
  CompareStrings(a, b, 0);
  CompareStrings(a, b, 1);
  CompareStrings(a, b, 2);
  EXPECT_EQ(Object::live_count(), before + 2);
  this_thread_context().reset();
  EXPECT_EQ(Object::live_count(), before);
}

TEST(HexText, CodeUnitsLowByteFirst) {
  struct Row {
    const char* name;
    std::u16string text;
    std::u16string hex;
  } rows[] = {
      {"empty", u"", u""},
      {"ASCII", u"AB", u"41004200"},
      {"Latin-1", u"\u00E9", u"E900"},
      {"euro sign", u"\u20AC", u"AC20"},
      {"NUL", std::u16string(1, u'\0'), u"0000"},
      {"lone surrogate", u"\xD800", u"00D8"},
      {"all ones", u"\xFFFF", u"FFFF"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(code_unit_hex(row.text).view(), row.hex);
    String back(u"unchanged");
    ASSERT_EQ(decode_code_unit_hex(row.hex, back), HexDecodeStatus::Ok);
    EXPECT_EQ(back.view(), row.text);
  }
}

TEST(HexText, DecodingTakesEitherCaseAndRefusesWhatIsNoByte) {
  struct Row {
    const char* name;
    const char16_t* part;
    HexDecodeStatus status;
    const char16_t* decoded;
  } rows[] = {
      {"lower case digits", u"e900", HexDecodeStatus::Ok, u"\u00E9"},
      {"mixed case", u"aBcD", HexDecodeStatus::Ok, u"\uCDAB"},
      {"two digits only", u"41", HexDecodeStatus::LengthNotMultipleOfFour, u"kept"},
      {"odd length", u"41004", HexDecodeStatus::LengthNotMultipleOfFour, u"kept"},
      {"letter beyond F", u"4G00", HexDecodeStatus::BadPair, u"kept"},
      {"C-style prefix", u"0x41", HexDecodeStatus::BadPair, u"kept"},
      {"full-width digit", u"\uFF11000", HexDecodeStatus::BadPair, u"kept"},
      {"a blank after one digit reads as that digit", u"4 00", HexDecodeStatus::Ok, u"\u0004"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    String out(u"kept");
    EXPECT_EQ(decode_code_unit_hex(row.part, out), row.status);
    EXPECT_EQ(out.view(), std::u16string_view(row.decoded));
  }
}

TEST(HexText, AnsiCodesOfWindows1252) {
  struct Row {
    const char* name;
    const char16_t* text;
    const char16_t* hex;
  } rows[] = {
      {"ASCII", u"AB", u"4142"},
      {"Latin-1 letter", u"\u00E9", u"E9"},
      {"euro sign", u"\u20AC", u"80"},
      {"curly quotes", u"\u201C\u201D", u"9394"},
      {"unassigned byte reached by its control", u"\u0081\u009D", u"819D"},
      {"control of an assigned byte", u"\u0080", u"3F"},
      {"outside the code page", u"\u0101\u4E2D", u"3F3F"},
      {"surrogate pair: one substitute per unit", u"\U0001F600", u"3F3F"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(ansi_code_hex(row.text).view(), std::u16string_view(row.hex));
  }
  EXPECT_EQ(ansi_code_hex(std::u16string(1, u'\0')).view(), u"00");
}

}  // namespace
}  // namespace quorvel
