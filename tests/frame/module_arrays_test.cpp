#include "quorvel/frame/module_arrays.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "support/test_support.h"

namespace quorvel {
namespace {

TEST(ModuleArrays, LengthFromBoundsInLongArithmetic) {
  const struct {
    const char* name;
    std::int32_t lower;
    std::int32_t upper;
    std::int32_t length;  // -1: overflow
  } rows[] = {
      {"empty at 0", 0, -1, 0},
      {"one at 0", 0, 0, 1},
      {"around zero", -3, 3, 7},
      {"negative result becomes 0", 5, 2, 0},
      {"highest lower bound", INT_MAX, INT_MAX, 1},
      {"lowest lower bound that fits", INT_MIN + 2, INT_MIN + 2, 1},
      {"1 - L overflows", INT_MIN + 1, INT_MIN + 1, -1},
      {"the sum overflows", 0, INT_MAX, -1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    if (row.length < 0) {
      EXPECT_RAISES(length_from_bounds(row.lower, row.upper), 6);
    } else {
      EXPECT_EQ(length_from_bounds(row.lower, row.upper), row.length);
    }
  }
}

// One typed procedure over the shapes of array that matter; its failures name it.
template <class E>
void expect_typed_length(std::int32_t (*fn)(ArrayOf<E>&), const std::string& name) {
  SCOPED_TRACE(name);
  ArrayOf<E> unallocated, empty(0, 0), around_zero(-3, 7), one(1, 1), lowest(INT_MIN + 1, 1);
  EXPECT_EQ(fn(unallocated), 0);
  EXPECT_EQ(fn(empty), 0);
  EXPECT_EQ(fn(around_zero), 7);
  EXPECT_EQ(fn(one), 1);
  EXPECT_RAISES(fn(lowest), 6, "Overflow", "Quorvel.ModuleArrays." + name);
}

TEST(ModuleArrays, TypedProceduresCountAndNameThemselvesInFailures) {
  expect_typed_length(GetLengthBooleans, "GetLengthBooleans");
  expect_typed_length(GetLengthBytes, "GetLengthBytes");
  expect_typed_length(GetLengthDoubles, "GetLengthDoubles");
  expect_typed_length(GetLengthIntegers, "GetLengthIntegers");
  expect_typed_length(GetLengthLongs, "GetLengthLongs");
  expect_typed_length(GetLengthSingles, "GetLengthSingles");
  expect_typed_length(GetLengthStrings, "GetLengthStrings");
}

TEST(ModuleArrays, GetLengthVariantsTakesAnyArrayAndRefusesOtherValues) {
  ArrayOf<double> referenced(10, 4);
  Variant holder(static_cast<Array>(ArrayOf<String>(1, 2)));
  const struct {
    const char* name;
    Variant value;
    std::int32_t length;  // -1: type mismatch
  } rows[] = {
      {"array of Variant", Variant(Array(VarKind::Variant, 0, 3)), 3},
      {"array of Long with bounds -3 to 3", Variant(Array(VarKind::Long, -3, 7)), 7},
      {"unallocated array", Variant(Array(VarKind::Byte)), 0},
      {"by reference to an array", Variant::by_ref(static_cast<Array&>(referenced)), 4},
      {"by reference to a Variant holding one", Variant::by_ref(holder), 2},
      {"a Long", Variant(std::int32_t{5}), -1},
      {"Nothing", Variant::nothing(), -1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Variant v = row.value;
    if (row.length < 0) {
      EXPECT_RAISES(GetLengthVariants(v), 13, "Type mismatch", "Quorvel.ModuleArrays.GetLengthVariants");
    } else {
      EXPECT_EQ(GetLengthVariants(v), row.length);
    }
  }
}

}  // namespace
}  // namespace quorvel
