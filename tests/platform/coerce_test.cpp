#include "quorvel/platform/coerce.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>

#include "quorvel/platform/error.h"
#include "quorvel/platform/locale.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

using nlohmann::json;
using test_support::error_of;

std::uint64_t bits(const json& hex) { return std::stoull(hex.get<std::string>(), nullptr, 16); }

VarKind kind_named(const std::string& name) {
  for (std::uint16_t code = 0; code <= 17; ++code) {
    if (name == kind_name(static_cast<VarKind>(code))) return static_cast<VarKind>(code);
  }
  ADD_FAILURE() << "no library kind " << name;
  return VarKind::Empty;
}

// The value of kind `kind` that a vector records in `value` (and `hex` bits for floats).
Variant value_of(const std::string& kind, const json& value, const json& hex) {
  if (kind == "Null") return Variant::null();
  if (kind == "Integer") return Variant(value.get<std::int16_t>());
  if (kind == "Long") return Variant(value.get<std::int32_t>());
  if (kind == "Single") return Variant(std::bit_cast<float>(static_cast<std::uint32_t>(bits(hex))));
  if (kind == "Double") return Variant(std::bit_cast<double>(bits(hex)));
  if (kind == "String") return Variant(String::from_utf8(value.get<std::string>()));
  if (kind == "Boolean") return Variant(VariantBool::from_bits(value.get<std::int16_t>()));
  if (kind == "Byte") return Variant(value.get<std::uint8_t>());
  EXPECT_EQ(kind, "Empty");
  return Variant();
}

// The library's error number for a recorded result code; Null to a scalar is 94 in its terms.
std::int32_t error_number(const json& row) {
  const std::string hr = row["result"];
  if (hr == "ok") return 0;
  if (row["src_kind"] == "Null") return 94;
  if (hr == "overflow") return 6;
  EXPECT_EQ(hr, "type mismatch");
  return 13;
}

std::string describe(const Variant& v) {
  try {
    return std::string(kind_name(v.kind())) + " " + v.to_string().to_utf8();
  } catch (const Error&) {
    return kind_name(v.kind());
  }
}

// Each test starts and ends on the default user locale.
class CoerceTest : public ::testing::Test {
 protected:
  void SetUp() override { this_thread_context().reset(); }
  void TearDown() override { this_thread_context().reset(); }
};

// Rows of the second file name their locale; the separators come from the locale data, not from
// the test.
TEST_F(CoerceTest, EveryRecordedConversion) {
  int checked = 0;
  for (const char* file : {"conversions.json", "conversions_locales.json"}) {
    for (const auto data = test_support::load_test_data(file); const json& row : data["vectors"]) {
      SCOPED_TRACE(row.dump());
      set_user_locale(row.contains("lcid") ? static_cast<Lcid>(std::stoul(row["lcid"].get<std::string>(), nullptr, 16))
                                           : 0x409);
      const Variant source = value_of(row["src_kind"], row["src_value"], row.value("src_bits", json()));
      const std::int32_t want = error_number(row);
      try {
        const Variant result = change_type(source, kind_named(row["target"]));
        EXPECT_EQ(want, 0) << "succeeded with " << describe(result);
        if (want == 0) {
          const Variant expected =
              value_of(row.value("out_kind", row["target"]), row["out_value"], row.value("out_bits", json()));
          EXPECT_TRUE(identical(result, expected)) << describe(result) << " instead of " << describe(expected);
        }
      } catch (const Error& e) {
        EXPECT_EQ(e.number(), want) << e.what();
      }
      ++checked;
    }
  }
  EXPECT_EQ(checked, 735 + 78);
}

TEST_F(CoerceTest, EmptyNullAndKindsWithoutAScalarForm) {
  const Variant empty;
  EXPECT_EQ(empty.to_long(), 0);
  EXPECT_EQ(empty.to_byte(), 0);
  EXPECT_EQ(empty.to_double(), 0.0);
  EXPECT_FALSE(empty.to_boolean());
  EXPECT_EQ(error_of([] { (void)Variant::null().to_string(); }), 94);
  EXPECT_EQ(error_of([] { (void)Variant::null().to_boolean(); }), 94);
  EXPECT_EQ(error_of([] { (void)Variant::missing().to_long(); }), 13);
  EXPECT_EQ(error_of([] { (void)Variant::error(5).to_string(); }), 13);
  EXPECT_EQ(error_of([] { (void)Variant(Array(VarKind::Long)).to_double(); }), 13);
  EXPECT_EQ(error_of([] { (void)Variant::nothing().to_long(); }), 91);
}

TEST_F(CoerceTest, BooleansKeepTheirBits) {
  EXPECT_EQ(Variant(VariantBool::from_bits(1)).to_string().view(), u"True");
  EXPECT_EQ(Variant(true).to_integer(), -1);
  EXPECT_EQ(error_of([] { (void)Variant(true).to_byte(); }), 6);
}

TEST_F(CoerceTest, ThroughByReference) {
  double d = 2.5;
  const Variant ref = Variant::by_ref(d);
  EXPECT_EQ(ref.to_long(), 2);
  EXPECT_EQ(ref.to_string().view(), u"2.5");
}

}  // namespace
}  // namespace quorvel
