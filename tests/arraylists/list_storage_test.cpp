#include "quorvel/arraylists/list_storage.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

#include "arraylists/list_test_support.h"
#include "quorvel/platform/variant.h"

namespace quorvel::list_tests {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

class Policy : public ListStorageBase {
 public:
  Policy(std::int32_t grow, float factor) {
    set_grow_length(grow);
    set_shrink_factor(factor);
  }
};

TEST(ListStoragePolicy, CapacityAfterShrinkRoundsTheLimitHalfToEven) {
  const struct {
    const char* name;
    std::int32_t grow;
    float factor;
    std::int32_t capacity, count, expected;
  } rows[] = {
      {"tie rounds down to even", 1, 1.5f, 10, 1, 2},             // 2.5
      {"tie rounds up to even", 1, 1.5f, 10, 2, 4},               // 3.5
      {"fraction below a half", 3, 1.1f, 10, 1, 4},               // 4.3000001
      {"single factor widens exactly", 10, 1.0001f, 100, 5, 15},  // 15.0009999...
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(Policy(row.grow, row.factor).capacity_after_shrink(row.capacity, row.count, false), row.expected);
  }
}

// The lists' tests show the other growth steps; here the end of the range.
TEST(ListStoragePolicy, GrowthSteps) {
  const Policy policy(1000, 1.5f);
  EXPECT_EQ(policy.capacity_for_append(kMax - 5), kMax);  // the last step stops at the range's end
  EXPECT_RAISES(policy.capacity_for_append(kMax), 6);
  EXPECT_EQ(Policy(4, 1.5f).capacity_for_range(10, 11), 14);  // a whole step for one short
}

TEST(ListStorage, LockedStorageRefusesEveryResizeBeforeChangingAnything) {
  ListStorage<std::int32_t> store;
  store.set_grow_length(2);
  for (std::int32_t v : {1, 2}) store.append(v);
  store.slots().lock();
  const struct {
    const char* name;
    std::function<void()> call;
  } rows[] = {
      {"append past the capacity", [&] { store.append(3); }},
      {"set count past the capacity", [&] { store.set_count(5, true); }},
      {"erase", [&] { store.erase(); }},
      {"remove that would shrink to nothing", [&] { store.set_count(1, true), store.remove(0, true); }},
      {"adopt", [&] { store.adopt(ArrayOf<std::int32_t>(0, 1)); }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_RAISES(row.call(), 10);
  }
  EXPECT_EQ(store.count(), 1);  // only the set count inside the capacity went through
  EXPECT_EQ(store.capacity(), 2);
  store.slots().unlock();
  store.remove(0, true);
  EXPECT_EQ(store.capacity(), 0);
}

}  // namespace
}  // namespace quorvel::list_tests
