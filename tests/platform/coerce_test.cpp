#include "quorvel/platform/coerce.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "quorvel/platform/error.h"
#include "quorvel/platform/locale.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

using nlohmann::json;

json load(const char* name) { return test_support::load_test_data(name); }

std::uint64_t hex_bits(const json& v) { return std::stoull(v.get<std::string>(), nullptr, 16); }

VarKind kind_named(const std::string& vt) {
  if (vt == "Empty") return VarKind::Empty;
  if (vt == "Null") return VarKind::Null;
  if (vt == "Integer") return VarKind::Integer;
  if (vt == "Long") return VarKind::Long;
  if (vt == "Single") return VarKind::Single;
  if (vt == "Double") return VarKind::Double;
  if (vt == "String") return VarKind::String;
  if (vt == "Boolean") return VarKind::Boolean;
  if (vt == "Byte") return VarKind::Byte;
  ADD_FAILURE() << "no library kind " << vt;
  return VarKind::Empty;
}

// The value of kind `vt` that a vector records in `value` (and `bits` for floats).
Variant value_of(const std::string& vt, const json& value, const json& bits) {
  switch (kind_named(vt)) {
    case VarKind::Null: return Variant::null();
    case VarKind::Integer: return Variant(value.get<std::int16_t>());
    case VarKind::Long: return Variant(value.get<std::int32_t>());
    case VarKind::Single: return Variant(std::bit_cast<float>(static_cast<std::uint32_t>(hex_bits(bits))));
    case VarKind::Double: return Variant(std::bit_cast<double>(hex_bits(bits)));
    case VarKind::String: return Variant(String::from_utf8(value.get<std::string>()));
    case VarKind::Boolean: return Variant(VariantBool::from_bits(value.get<std::int16_t>()));
    case VarKind::Byte: return Variant(value.get<std::uint8_t>());
    case VarKind::Empty:
    case VarKind::Object:
    case VarKind::Error:
    case VarKind::Variant:
      break;
  }
  return Variant();
}

// The library's error number for a recorded result code; Null to a scalar is 94 in its terms.
std::int32_t error_number(const json& row) {
  const std::string hr = row["result"];
  if (hr == "ok") return 0;
  if (row["src_kind"] == "Null") return 94;
  if (hr == "overflow") return 6;
  if (hr == "type mismatch") return 13;
  ADD_FAILURE() << "unexpected result code " << hr;
  return -1;
}

std::string describe(const Variant& v) {
  try {
    return std::string(kind_name(v.kind())) + " " + v.to_string().to_utf8();
  } catch (const Error&) {
    return kind_name(v.kind());
  }
}

void check_vector(const json& row) {
  const Variant source = value_of(row["src_kind"], row["src_value"], row.value("src_bits", json()));
  const VarKind target = kind_named(row["target"]);
  const std::int32_t want = error_number(row);
  try {
    const Variant result = change_type(source, target);
    ASSERT_EQ(want, 0) << "succeeded with " << describe(result);
    const Variant expected = value_of(row.value("out_kind", row["target"]), row["out_value"], row.value("out_bits", json()));
    EXPECT_TRUE(identical(result, expected)) << describe(result) << " instead of " << describe(expected);
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), want) << e.what();
  }
}

// Sets the thread's locale for one test and puts it back.
class LocaleScope {
 public:
  explicit LocaleScope(Lcid lcid) : saved_(user_locale()) { set_user_locale(lcid); }
  ~LocaleScope() { set_user_locale(saved_); }

 private:
  Lcid saved_;
};

TEST(CoerceVectors, EveryConversionUnderEnUs) {
  const LocaleScope en(0x409);
  const json data = load("conversions.json");
  int checked = 0;
  for (const json& row : data["vectors"]) {
    SCOPED_TRACE(row.dump());
    check_vector(row);
    ++checked;
  }
  EXPECT_EQ(checked, 735);
}

// The locale's separators as the locale data gives them, not as the test spells them.
TEST(CoerceVectors, OtherLocales) {
  const json data = load("conversions_locales.json");
  int checked = 0;
  for (const json& row : data["vectors"]) {
    SCOPED_TRACE(row.dump());
    const LocaleScope scope(static_cast<Lcid>(std::stoul(row["lcid"].get<std::string>(), nullptr, 16)));
    check_vector(row);
    ++checked;
  }
  EXPECT_EQ(checked, 78);
}

std::int32_t error_of(const auto& call) {
  try {
    call();
  } catch (const Error& e) {
    return e.number();
  }
  return 0;
}

TEST(Coerce, KindsWithoutAScalarForm) {
  const Variant null = Variant::null();
  EXPECT_EQ(error_of([&] { (void)null.to_string(); }), 94);
  EXPECT_EQ(error_of([&] { (void)null.to_boolean(); }), 94);
  EXPECT_EQ(error_of([&] { (void)Variant::missing().to_long(); }), 13);
  EXPECT_EQ(error_of([&] { (void)Variant::error(5).to_string(); }), 13);
  EXPECT_EQ(error_of([&] { (void)Variant(Array(VarKind::Long)).to_double(); }), 13);
  EXPECT_EQ(error_of([&] { (void)Variant::nothing().to_long(); }), 91);
}

TEST(Coerce, EmptyReadsAsZeroFalseAndNothing) {
  const Variant empty;
  EXPECT_EQ(empty.to_long(), 0);
  EXPECT_EQ(empty.to_byte(), 0);
  EXPECT_EQ(empty.to_double(), 0.0);
  EXPECT_FALSE(empty.to_boolean());
  EXPECT_TRUE(empty.to_string().empty());
}

TEST(Coerce, BooleansKeepTheirBits) {
  const Variant stray(VariantBool::from_bits(1));
  EXPECT_EQ(stray.to_long(), 1);
  EXPECT_EQ(stray.to_string().view(), u"True");
  EXPECT_EQ(change_type(stray, VarKind::Boolean).if_boolean()->bits, 1);
  EXPECT_EQ(Variant(true).to_integer(), -1);
  EXPECT_EQ(error_of([] { (void)Variant(true).to_byte(); }), 6);
}

TEST(Coerce, ThroughByReference) {
  const LocaleScope en(0x409);
  double d = 2.5;
  const Variant ref = Variant::by_ref(d);
  EXPECT_EQ(ref.to_long(), 2);
  EXPECT_EQ(ref.to_string().view(), u"2.5");
  const LocaleScope de(0x407);
  EXPECT_EQ(ref.to_string().view(), u"2,5");
  EXPECT_EQ(Variant(u"1.234,5").to_double(), 1234.5);
}

}  // namespace
}  // namespace quorvel
