#include "quorvel/text/hex_text.h"

#include <gtest/gtest.h>

#include <string>

namespace quorvel {
namespace {

TEST(HexText, CodeUnitsBothWaysAndAnsiCodes) {
  struct Row {
    const char* name;
    std::u16string_view text, hex, ansi;
  } rows[] = {
      {"empty", u"", u"", u""},
      {"ASCII and NUL", std::u16string_view(u"AB\0", 3), u"410042000000", u"414200"},
      {"Latin-1", u"\u00E9", u"E900", u"E9"},
      {"euro and quotes", u"\u20AC\u201C", u"AC201C20", u"8093"},
      {"unassigned bytes reached by their controls", u"\u0081\u009D", u"81009D00", u"819D"},
      {"control of an assigned byte", u"\u0080", u"8000", u"3F"},
      {"outside the code page", u"\u0101", u"0101", u"3F"},
      {"surrogate pair: a substitute per unit", u"\U0001F600", u"3DD800DE", u"3F3F"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(code_unit_hex(row.text).view(), row.hex);
    EXPECT_EQ(ansi_code_hex(row.text).view(), row.ansi);
    String back(u"unchanged");
    ASSERT_EQ(decode_code_unit_hex(row.hex, back), HexDecodeStatus::Ok);
    EXPECT_EQ(back.view(), row.text);
  }
}

TEST(HexText, DecodingTakesEitherCaseAndRefusesWhatIsNoByte) {
  using S = HexDecodeStatus;
  struct Row {
    const char* name;
    const char16_t* part;
    S status;
    const char16_t* decoded;
  } rows[] = {
      {"lower case", u"e900", S::Ok, u"\u00E9"},
      {"two digits only", u"41", S::LengthNotMultipleOfFour, u"kept"},
      {"letter beyond F", u"4G00", S::BadPair, u"kept"},
      {"C-style prefix", u"0x41", S::BadPair, u"kept"},
      {"full-width digit", u"\uFF11000", S::BadPair, u"kept"},
      {"a blank after a digit reads as that digit", u"4 00", S::Ok, u"\u0004"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    String out(u"kept");
    EXPECT_EQ(decode_code_unit_hex(row.part, out), row.status);
    EXPECT_EQ(out.view(), std::u16string_view(row.decoded));
  }
}

}  // namespace
}  // namespace quorvel
