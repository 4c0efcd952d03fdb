#include "quorvel/frame/module_arrays.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>

#include "quorvel/platform/error.h"

namespace quorvel {
namespace {

struct Outcome {
  std::int32_t length = 0;
  std::int32_t number = 0;
  std::string source;
  std::string description;
};

Outcome run(const std::function<std::int32_t()>& call) {
  Outcome o;
  try {
    o.length = call();
  } catch (const Error& e) {
    o.number = e.number();
    o.source = e.source().to_utf8();
    o.description = e.description().to_utf8();
  }
  return o;
}

TEST(ModuleArrays, LengthFromBoundsInLongArithmetic) {
  struct Row {
    const char* name;
    std::int32_t lower;
    std::int32_t upper;
    std::int32_t length;  // -1: overflow
  };
  const Row rows[] = {
      {"empty at 0", 0, -1, 0},
      {"one at 0", 0, 0, 1},
      {"around zero", -3, 3, 7},
      {"negative result becomes 0", 5, 2, 0},
      {"highest lower bound", INT_MAX, INT_MAX, 1},
      {"lowest lower bound that fits", INT_MIN + 2, INT_MIN + 2, 1},
      {"1 - L overflows", INT_MIN + 1, INT_MIN + 1, -1},
      {"the sum overflows", 0, INT_MAX, -1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const Outcome o = run([&] { return length_from_bounds(row.lower, row.upper); });
    if (row.length < 0) {
      EXPECT_EQ(o.number, 6);
    } else {
      EXPECT_EQ(o.number, 0);
      EXPECT_EQ(o.length, row.length);
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
  const Outcome overflow = run([&] { return fn(lowest); });
  EXPECT_EQ(overflow.number, 6);
  EXPECT_EQ(overflow.source, "Quorvel.ModuleArrays." + name);
  EXPECT_EQ(overflow.description, String(runtime_error_description(RuntimeError::Overflow)).to_utf8());
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
  struct Row {
    const char* name;
    Variant value;
    std::int32_t length;
    std::int32_t number;
  };
  const Row rows[] = {
      {"array of Variant", Variant(Array(VarKind::Variant, 0, 3)), 3, 0},
      {"array of Long with bounds -3 to 3", Variant(Array(VarKind::Long, -3, 7)), 7, 0},
      {"unallocated array", Variant(Array(VarKind::Byte)), 0, 0},
      {"by reference to an array", Variant::by_ref(static_cast<Array&>(referenced)), 4, 0},
      {"by reference to a Variant holding one", Variant::by_ref(holder), 2, 0},
      {"a Long", Variant(std::int32_t{5}), 0, 13},
      {"Empty", Variant(), 0, 13},
      {"Nothing", Variant::nothing(), 0, 13},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Variant v = row.value;
    const Outcome o = run([&] { return GetLengthVariants(v); });
    EXPECT_EQ(o.number, row.number);
    EXPECT_EQ(o.length, row.length);
    if (row.number != 0) {
      EXPECT_EQ(o.source, "Quorvel.ModuleArrays.GetLengthVariants");
      EXPECT_EQ(o.description, String(runtime_error_description(RuntimeError::TypeMismatch)).to_utf8());
    }
  }
}

}  // namespace
}  // namespace quorvel
