#include "quorvel/platform/variant.h"

#include <gtest/gtest.h>

#include <cmath>

#include "quorvel/platform/error.h"

namespace quorvel {
namespace {

TEST(Variant, SixteenBytes) { EXPECT_EQ(sizeof(Variant), 16u); }

TEST(Variant, KindsOfConstructedValues) {
  struct Row {
    const char* name;
    Variant value;
    std::uint16_t code;
  } rows[] = {
      {"empty", Variant(), 0},
      {"null", Variant::null(), 1},
      {"integer", Variant(std::int16_t{-2}), 2},
      {"long", Variant(7), 3},
      {"single", Variant(1.5f), 4},
      {"double", Variant(2.5), 5},
      {"string", Variant(u"x"), 8},
      {"nothing", Variant::nothing(), 9},
      {"error", Variant::error(5), 10},
      {"boolean", Variant(true), 11},
      {"byte", Variant(std::uint8_t{200}), 17},
      {"array of long", Variant(Array(VarKind::Long, 0, 2)), 8195},
      {"array of variant", Variant(Array(VarKind::Variant)), 8204},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(row.value.type_code(), row.code);
    EXPECT_EQ(row.value.var_type(), row.code);
    EXPECT_FALSE(row.value.is_by_ref());
  }
}

TEST(Variant, BooleansAreSixteenBitsMinusOne) {
  EXPECT_EQ(Variant(true).if_boolean()->bits, -1);
  EXPECT_EQ(Variant(false).if_boolean()->bits, 0);
  EXPECT_TRUE(VariantBool::from_bits(5));
}

TEST(Variant, MissingIsAnErrorValueRecognisedAsMissing) {
  Variant m = Variant::missing();
  EXPECT_TRUE(m.is_missing());
  EXPECT_EQ(m.type_code(), 10);
  EXPECT_EQ(*m.if_error(), static_cast<std::int32_t>(0x80020004u));
  EXPECT_FALSE(Variant::error(5).is_missing());
}

TEST(Variant, ByReferenceReadsAndWritesCallerStorage) {
  std::int32_t storage = 5;
  Variant ref = Variant::by_ref(storage);
  EXPECT_TRUE(ref.is_by_ref());
  EXPECT_EQ(ref.type_code(), 3);  // the flag never shows
  EXPECT_EQ(ref.raw_code(), 3 | kByRefFlag);
  EXPECT_EQ(*ref.if_long(), 5);
  ref.assign(Variant(9));
  EXPECT_EQ(storage, 9);

  Variant target(u"old");
  Variant to_variant = Variant::by_ref(target);
  EXPECT_EQ(to_variant.type_code(), 8);
  to_variant.assign(Variant(2.5));
  EXPECT_EQ(*target.if_double(), 2.5);
}

TEST(Variant, CopyIndResolvesTheReference) {
  String text(u"abc");
  Variant ref = Variant::by_ref(text);
  Variant copy = ref.copy_ind();
  EXPECT_FALSE(copy.is_by_ref());
  text = String(u"changed");
  EXPECT_EQ(*copy.if_string(), String(u"abc"));
}

TEST(Variant, CopiesAreDeepForArraysAndSharedForStrings) {
  Array a(VarKind::Long, 1, 2);
  a.elements<std::int32_t>()[0] = 4;
  Variant v(a);
  Variant copy(v);
  copy.if_array()->elements<std::int32_t>()[0] = 8;
  EXPECT_EQ(v.if_array()->elements<std::int32_t>()[0], 4);
  EXPECT_TRUE(identical(v, Variant(a)));
  EXPECT_FALSE(identical(v, copy));
}

TEST(Variant, IdenticalComparesKindAndBits) {
  EXPECT_TRUE(identical(Variant(std::nan("")), Variant(std::nan(""))));
  EXPECT_FALSE(identical(Variant(0.0), Variant(-0.0)));
  EXPECT_FALSE(identical(Variant(3), Variant(3.0)));
  EXPECT_TRUE(identical(Variant(String()), Variant(u"")));
  Array top(VarKind::Byte, 2147483647, 1);
  EXPECT_TRUE(identical(Variant(top), Variant(top)));
}

TEST(Variant, ToObjectOfAValueIsObjectRequired) {
  try {
    (void)Variant(3).to_object();
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), 424);
  }
  EXPECT_FALSE(Variant::nothing().to_object());
}

}  // namespace
}  // namespace quorvel
