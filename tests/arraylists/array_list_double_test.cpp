#include "quorvel/arraylists/array_list_double.h"

#include <gtest/gtest.h>

#include <limits>

#include "arraylists/list_test_support.h"
#include "quorvel/arraylists/array_list_single.h"

namespace quorvel::list_tests {
namespace {

TEST(ArrayListDouble, FindUsesNumericEquality) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  auto list = list_of<ArrayList_Double>({nan, -0.0, 2.5});
  EXPECT_EQ(found_at(*list, nan), -1);  // NaN equals nothing, itself included
  EXPECT_EQ(found_at(*list, 0.0), 1);   // nor is it a bit-pattern match: -0 equals 0
}

TEST(ArrayListSingle, WritesItsNumbersAsText) {
  Ref<IFormatter> none;
  EXPECT_EQ(list_of<ArrayList_Single>({0.5f, -1.25f, 3.0f})->ToString(none), String(u"0.5 -1.25 3"));
}

}  // namespace
}  // namespace quorvel::list_tests
