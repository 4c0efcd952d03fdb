#include "quorvel/platform/variant_compare.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "quorvel/platform/thread_context.h"
#include "support/test_objects.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

using test_support::error_of;
using test_support::token;

/// The value a recorded side describes; nothing for the kinds the library does not have (Date,
/// Decimal, Currency, 64-bit integers).
std::optional<Variant> side(const nlohmann::json& form) {
  const std::string kind = form.at("kind");
  const auto bits = [&] { return std::stoull(form.at("bits").get<std::string>(), nullptr, 16); };
  if (kind == "Empty") return Variant();
  if (kind == "Null") return Variant::null();
  if (kind == "Integer") return Variant(form.at("value").get<std::int16_t>());
  if (kind == "Long") return Variant(form.at("value").get<std::int32_t>());
  if (kind == "Boolean") return Variant(VariantBool::from_bits(form.at("value").get<std::int16_t>()));
  if (kind == "Byte") return Variant(form.at("value").get<std::uint8_t>());
  if (kind == "Single") return Variant(std::bit_cast<float>(static_cast<std::uint32_t>(bits())));
  if (kind == "Double") return Variant(std::bit_cast<double>(bits()));
  if (kind == "Error") return Variant::error(form.at("value").get<std::int32_t>());
  if (kind != "String") return std::nullopt;
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
// Error values are the one recorded difference: the platform's routine orders them, the
// language's relations, which the library follows, refuse them with 13.
TEST_F(VariantCompareTest, MatchesEveryRecordedPair) {
  int compared = 0;
  int kinds_missing = 0;
  const auto data = test_support::load_test_data("varcmp.json");
  for (const char* list : {"vectors", "extra_pairs"}) {
    for (const auto& row : data.at(list)) {
      SCOPED_TRACE(row.at("a").dump() + " vs " + row.at("b").dump());
      const std::optional<Variant> a = side(row.at("a"));
      const std::optional<Variant> b = side(row.at("b"));
      if (!a || !b) {
        ++kinds_missing;
        continue;
      }
      if (a->if_error() || b->if_error()) {
        EXPECT_EQ(error_of([&] { var_compare(*a, *b, false); }), 13);
      } else {
        EXPECT_EQ(var_compare(*a, *b, false), order(row.at("binary")));
        EXPECT_EQ(var_compare(*a, *b, true), order(row.at("ignore_case")));
      }
      ++compared;
    }
  }
  EXPECT_EQ(compared, 605 + 8);
  EXPECT_EQ(kinds_missing, 6);
}

// Values the recorded pairs do not hold: non-canonical Booleans, NaN, and Doubles that no Single
// can hold, which keep their own value against a Single. Both modes agree on each.
TEST_F(VariantCompareTest, RelationsBeyondTheRecordedPairs) {
  constexpr float kMaxSingle = std::numeric_limits<float>::max();
  const struct {
    const char* name;
    Variant a;
    Variant b;
    VarOrder order;
  } rows[] = {
      {"any non-zero Boolean is True", Variant(VariantBool::from_bits(1)), Variant(-1), VarOrder::Equal},
      {"NaN relates to nothing", Variant(std::nan("")), Variant(1.0), VarOrder::Null},
      {"Double rounding to the largest Single", Variant(std::nextafter(double{kMaxSingle}, 1e300)), Variant(kMaxSingle),
       VarOrder::Equal},
      {"Double beyond every finite Single", Variant(1e300), Variant(kMaxSingle), VarOrder::Greater},
      {"finite Double short of a Single infinity", Variant(-1e300), Variant(-std::numeric_limits<float>::infinity()),
       VarOrder::Greater},
      {"Double too small for a Single", Variant(1e-300), Variant(0.0f), VarOrder::Equal},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(var_compare(row.a, row.b, false), row.order);
    EXPECT_EQ(var_compare(row.b, row.a, true),
              row.order == VarOrder::Null ? row.order : static_cast<VarOrder>(-static_cast<int>(row.order)));
  }
}

TEST_F(VariantCompareTest, ReadsThroughReferencesAndDefaultValues) {
  Variant target(u"abc");
  const Variant by_ref = Variant::by_ref(target);
  EXPECT_EQ(var_compare(by_ref, Variant(u"ABC"), true), VarOrder::Equal);
  std::int32_t number = 7;
  EXPECT_EQ(var_compare(Variant(7.0), Variant::by_ref(number), false), VarOrder::Equal);

  const Variant holds_five(token(Variant(5)));
  const Variant holds_text(token(Variant(u"abc")));
  const Variant holds_holder(token(holds_five));
  EXPECT_EQ(var_compare(holds_five, Variant(5), false), VarOrder::Equal);
  EXPECT_EQ(var_compare(holds_five, holds_text, false), VarOrder::Less) << "number before string";
  EXPECT_EQ(var_compare(Variant(4), holds_holder, false), VarOrder::Less) << "followed twice";
  EXPECT_EQ(var_compare(holds_text, Variant(u"ABC"), true), VarOrder::Equal);
}

// Each row is compared both ways round, once in each mode.
TEST_F(VariantCompareTest, WhatCannotBeCompared) {
  const Variant array(Array(VarKind::Long, 0, 2));
  const Variant plain(test_support::comparer(nullptr));  // no default member
  const Variant holds_array(token(array));
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
    EXPECT_EQ(error_of([&] { var_compare(row.a, row.b, false); }), row.error);
    EXPECT_EQ(error_of([&] { var_compare(row.b, row.a, true); }), row.error);
  }
}

}  // namespace
}  // namespace quorvel
