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

// Checks one recorded conversion under the user locale the row names (US English when none).
void check_conversion(const json& row) {
  SCOPED_TRACE(row.dump());
  set_user_locale(row.contains("lcid") ? static_cast<Lcid>(std::stoul(row["lcid"].get<std::string>(), nullptr, 16))
                                       : 0x409);
  const Variant source = value_of(row["src_kind"], row.value("src_value", json()), row.value("src_bits", json()));
  const std::int32_t want = error_number(row);
  try {
    const Variant result = change_type(source, kind_named(row["target"]));
    EXPECT_EQ(want, 0) << "succeeded with " << describe(result);
    if (want == 0) {
      const Variant expected =
          value_of(row.value("out_kind", row["target"]), row.value("out_value", json()), row.value("out_bits", json()));
      EXPECT_TRUE(identical(result, expected)) << describe(result) << " instead of " << describe(expected);
    }
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), want) << e.what();
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
      check_conversion(row);
      ++checked;
    }
  }
  EXPECT_EQ(checked, 735 + 78);
}

// Each float written as text and that text read back: both directions pinned bit for bit.
TEST_F(CoerceTest, EveryRecordedFloatString) {
  const json data = test_support::load_test_data("floatstrings.json");
  int checked = 0;
  for (const char* group : {"r8", "r4", "other_locales"}) {
    for (const json& row : data[group]) {
      const std::string kind = row["conversion"] == "Double to String" ? "Double" : "Single";
      check_conversion({{"src_kind", kind},
                        {"src_bits", row["in_bits"]},
                        {"target", "String"},
                        {"lcid", row["lcid"]},
                        {"result", row["result"]},
                        {"out_value", row["out"]}});
      check_conversion({{"src_kind", "String"},
                        {"src_value", row["out"]},
                        {"target", kind},
                        {"lcid", row["lcid"]},
                        {"result", row["reparse_result"]},
                        {"out_bits", row.value("reparse_bits", json())}});
      ++checked;
    }
  }
  EXPECT_EQ(checked, 99);
}

// Kinds the recorded conversions do not hold (Empty only to text).
TEST_F(CoerceTest, KindsWithoutAScalarFormAndOddBooleans) {
  EXPECT_EQ(Variant().to_byte(), 0);
  EXPECT_FALSE(Variant().to_boolean());
  EXPECT_RAISES(Variant::null().to_boolean(), 94);
  EXPECT_RAISES(Variant::missing().to_long(), 13);
  EXPECT_RAISES(Variant::error(5).to_string(), 13);
  EXPECT_RAISES(Variant(Array(VarKind::Long)).to_double(), 13);
  EXPECT_RAISES(Variant::nothing().to_long(), 91);
  EXPECT_EQ(Variant(VariantBool::from_bits(1)).to_string().view(), u"True");
}

}  // namespace
}  // namespace quorvel
