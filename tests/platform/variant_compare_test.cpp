#include "quorvel/platform/variant_compare.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <string>

#include "quorvel/platform/describe.h"
#include "quorvel/platform/thread_context.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

/// An object whose default member (dispatch id 0) is a value given at construction.
class Holder final : public ObjectImpl<> {
 public:
  static constexpr const char* type_name = "VarCompareTestHolder";
  static constexpr Guid iid{"{6A0E1D52-7B3C-4F7A-9E21-00C0FFEE0C01}"};
  static const ClassInfo& describe() {
    static const ClassInfo info =
        describe_class<Holder>(ClassFlags::None, {get<&Holder::get_Value>("Value", 0)});
    return info;
  }
  const ClassInfo& class_info() const noexcept override { return describe(); }
  explicit Holder(Variant value) : value_(std::move(value)) {}
  Variant get_Value() { return value_; }

 private:
  Variant value_;
};

/// An object with no default member.
class Plain final : public ObjectImpl<> {
 public:
  static constexpr const char* type_name = "VarCompareTestPlain";
  static constexpr Guid iid{"{6A0E1D52-7B3C-4F7A-9E21-00C0FFEE0C02}"};
  static const ClassInfo& describe() {
    static const ClassInfo info =
        describe_class<Plain>(ClassFlags::None, {get<&Plain::get_Size>("Size", 1)});
    return info;
  }
  const ClassInfo& class_info() const noexcept override { return describe(); }
  std::int32_t get_Size() { return 1; }
};

Variant side(const nlohmann::json& form) {
  const std::string kind = form.at("kind");
  if (kind == "Empty") return Variant();
  if (kind == "Null") return Variant::null();
  if (kind == "Integer") return Variant(form.at("value").get<std::int16_t>());
  if (kind == "Long") return Variant(form.at("value").get<std::int32_t>());
  if (kind == "Boolean") return Variant(VariantBool::from_bits(form.at("value").get<std::int16_t>()));
  if (kind == "Byte") return Variant(form.at("value").get<std::uint8_t>());
  if (kind == "Double") {
    return Variant(std::bit_cast<double>(std::stoull(form.at("bits").get<std::string>(), nullptr, 16)));
  }
  if (form.contains("null_string")) return Variant(String());
  return Variant(String::from_utf8(form.at("value").get<std::string>()));
}

VarOrder order(const std::string& recorded) {
  if (recorded == "lt") return VarOrder::Less;
  if (recorded == "eq") return VarOrder::Equal;
  if (recorded == "gt") return VarOrder::Greater;
  EXPECT_EQ(recorded, "null");
  return VarOrder::Null;
}

class VariantCompareTest : public ::testing::Test {
 protected:
  void SetUp() override { this_thread_context().reset(); }
  void TearDown() override { this_thread_context().reset(); }
};

// The binary mode is checked against the code-unit column: the library's binary mode orders
// strings by code units, not by the locale's collation with case (the recorded 'locale' column).
TEST_F(VariantCompareTest, MatchesEveryRecordedPair) {
  int rows = 0;
  for (const auto data = test_support::load_test_data("varcmp.json"); const auto& row : data.at("vectors")) {
    SCOPED_TRACE(row.at("a").dump() + " vs " + row.at("b").dump());
    const Variant a = side(row.at("a"));
    const Variant b = side(row.at("b"));
    EXPECT_EQ(var_compare(a, b, false), order(row.at("binary")));
    EXPECT_EQ(var_compare(a, b, true), order(row.at("ignore_case")));
    ++rows;
  }
  EXPECT_EQ(rows, 605);
}

// Kinds and values the recorded pairs do not hold (they have no Single, no NaN and only canonical
// Booleans); here both modes agree.
TEST_F(VariantCompareTest, RelationsBeyondTheRecordedPairs) {
  const struct {
    const char* name;
    Variant a;
    Variant b;
    VarOrder order;
  } rows[] = {
      {"Single against Double", Variant(0.5f), Variant(0.5), VarOrder::Equal},
      {"Single widened exactly", Variant(0.1f), Variant(0.1), VarOrder::Greater},
      {"any non-zero Boolean is True", Variant(VariantBool::from_bits(1)), Variant(-1), VarOrder::Equal},
      {"NaN relates to nothing", Variant(std::nan("")), Variant(1.0), VarOrder::Null},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(var_compare(row.a, row.b, false), row.order);
    EXPECT_EQ(var_compare(row.a, row.b, true), row.order);
  }
}

TEST_F(VariantCompareTest, ReadsThroughReferencesAndDefaultValues) {
  Variant target(u"abc");
  const Variant by_ref = Variant::by_ref(target);
  EXPECT_EQ(var_compare(by_ref, Variant(u"ABC"), true), VarOrder::Equal);
  std::int32_t number = 7;
  EXPECT_EQ(var_compare(Variant(7.0), Variant::by_ref(number), false), VarOrder::Equal);

  const Variant holds_five(make<Holder>(Variant(5)));
  const Variant holds_text(make<Holder>(Variant(u"abc")));
  const Variant holds_holder(make<Holder>(holds_five));
  EXPECT_EQ(var_compare(holds_five, Variant(5), false), VarOrder::Equal);
  EXPECT_EQ(var_compare(holds_five, holds_text, false), VarOrder::Less) << "number before string";
  EXPECT_EQ(var_compare(Variant(4), holds_holder, false), VarOrder::Less) << "followed twice";
  EXPECT_EQ(var_compare(holds_text, Variant(u"ABC"), true), VarOrder::Equal);
}

// Each row is compared both ways round, once in each mode.
TEST_F(VariantCompareTest, WhatCannotBeCompared) {
  const Variant array(Array(VarKind::Long, 0, 2));
  const Variant plain(make<Plain>());
  const Variant holds_array(make<Holder>(array));
  const struct {
    const char* name;
    Variant a;
    Variant b;
    std::int32_t error;
  } rows[] = {
      {"array against a number", array, Variant(1), 13},
      {"array even against Null", array, Variant::null(), 13},
      {"error value", Variant::error(5), Variant(1), 13},
      {"object without a default member", plain, Variant(1), 438},
      {"Nothing", Variant::nothing(), Variant(1), 91},
      {"default value that is an array", holds_array, Variant(1), 13},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(test_support::error_of([&] { var_compare(row.a, row.b, false); }), row.error);
    EXPECT_EQ(test_support::error_of([&] { var_compare(row.b, row.a, true); }), row.error);
  }
}

}  // namespace
}  // namespace quorvel
