#include "ordering/quicksort_core.h"

#include <gtest/gtest.h>
#include <pthread.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <numeric>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace quorvel::sorting {
namespace {

TEST(QuickSortMidpoint, RoundsHalfToEvenWithoutOverflow) {
  struct Row {
    const char* name;
    std::int32_t lo, hi, mid;
  } rows[] = {
      {"empty list range (0, -1)", 0, -1, 0},
      {"negative (-4, -1)", -4, -1, -2},
      {"top of the index space", INT32_MAX - 1, INT32_MAX, INT32_MAX - 1},
      {"bottom of the index space", INT32_MIN, INT32_MIN + 1, INT32_MIN},
      {"whole index space", INT32_MIN, INT32_MAX, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(midpoint(row.lo, row.hi), row.mid);
  }
}

// Ops over a vector that log every step (p: a pivot taken, b and a: a test before or after it,
// x: an exchange) and check every index against [lo, hi].
struct LoggingOps {
  std::vector<int>& v;
  std::int32_t base, lo, hi;
  std::function<int(int, int)> order = [](int a, int b) { return (a > b) - (a < b); };
  bool keep_log = true;
  std::string log{};
  std::size_t steps = 0;

  // The element at k, after noting the step `what` (none for 0).
  int& at(char what, std::int32_t k) {
    if (what) ++steps;
    if (what && keep_log) log += (log.empty() ? "" : " ") + std::string(1, what) + std::to_string(k);
    if (k < lo || k > hi) throw std::logic_error("index outside the range");
    return v[static_cast<std::size_t>(k - base)];
  }
  int take_pivot(std::int32_t mid) { return at('p', mid); }
  bool before(std::int32_t i, int pivot) { return order(at('b', i), pivot) < 0; }
  bool after(std::int32_t j, int pivot) { return order(at('a', j), pivot) > 0; }
  void exchange(std::int32_t i, std::int32_t j) {
    int& first = at('x', i);
    if (keep_log) log += ":" + std::to_string(j);
    std::swap(first, at(0, j));
  }
};

// The literal algorithm's steps (recursive, the left part first) for an input with repeats in an
// index space from -2: what a comparer with side effects sees, call by call.
TEST(QuickSortCore, TakesTheLiteralAlgorithmsSteps) {
  std::vector<int> v{3, 1, 3, 0, 2, 5, 1};
  LoggingOps ops{v, -2, -2, 4};
  quicksort_literal(ops, -2, 4);
  EXPECT_EQ(ops.log,
            "p1 b-2 a4 a3 a2 a1 x-2:1 b-1 a0 a-1 a-2 p2 b-1 b0 a4 x0:4 b1 a3 a2 x1:2 p0 b-1 a1 a0 x-1:0 "
            "p0 b0 a1 a0 x0:0 p3 b2 b3 a4 x3:4 p2 b2 a3 x2:3");
  EXPECT_EQ(v, (std::vector<int>{0, 1, 1, 2, 3, 3, 5}));
}

TEST(QuickSortCore, InconsistentOrdersStayInRangeAndKeepEveryElement) {
  std::mt19937 rng(11);
  struct Row {
    const char* name;
    std::function<int(int, int)> order;
  } rows[] = {
      {"always before", [](int, int) { return -1; }},
      {"always after", [](int, int) { return 1; }},
      {"always equal", [](int, int) { return 0; }},
      {"random signs", [&rng](int, int) { return static_cast<int>(rng() % 3) - 1; }},
      {"reversed on odd values", [](int a, int b) { return (a & 1) ? (b > a) - (b < a) : (a > b) - (a < b); }},
  };
  for (const Row& row : rows) {
    for (std::size_t n : {1u, 2u, 3u, 7u, 64u, 333u}) {
      SCOPED_TRACE(testing::Message() << row.name << " n=" << n);
      std::vector<int> input(n);
      for (int& x : input) x = static_cast<int>(rng() % 10);
      std::vector<int> v = input;
      LoggingOps ops{v, 0, 0, static_cast<std::int32_t>(n) - 1};
      ops.order = row.order;
      ASSERT_NO_THROW(quicksort_literal(ops, 0, static_cast<std::int32_t>(n) - 1));
      ASSERT_TRUE(std::is_permutation(v.begin(), v.end(), input.begin()));
    }
  }
}

// Runs `f` on a thread whose whole stack is `bytes`: a recursion as deep as the input is long
// would not fit.
void run_on_small_stack(std::size_t bytes, const std::function<void()>& f) {
  pthread_attr_t attr;
  ASSERT_EQ(pthread_attr_init(&attr), 0);
  ASSERT_EQ(pthread_attr_setstacksize(&attr, bytes), 0);
  pthread_t thread;
  auto body = [](void* arg) -> void* {
    (*static_cast<const std::function<void()>*>(arg))();
    return nullptr;
  };
  ASSERT_EQ(pthread_create(&thread, &attr, body, const_cast<std::function<void()>*>(&f)), 0);
  ASSERT_EQ(pthread_join(thread, nullptr), 0);
  pthread_attr_destroy(&attr);
}

// Values chosen while sorting so that each pivot is as bad as it can be (a lazy adversary that
// fixes an element's value only when it must); the recorded values are then an input that
// drives the middle-pivot partition to a depth close to its length.
std::vector<int> adversarial_input(std::int32_t n) {
  const int gas = n;
  std::vector<int> value(static_cast<std::size_t>(n), gas), ids(static_cast<std::size_t>(n));
  std::iota(ids.begin(), ids.end(), 0);
  int solid = 0, candidate = -1;
  LoggingOps ops{ids, 0, 0, n - 1};
  ops.keep_log = false;
  ops.order = [&](int x, int y) {
    auto& vx = value[static_cast<std::size_t>(x)];
    auto& vy = value[static_cast<std::size_t>(y)];
    if (vx == gas && vy == gas) (x == candidate ? vx : vy) = solid++;
    if (vx == gas || vy == gas) candidate = vx == gas ? x : y;
    return (vx > vy) - (vx < vy);
  };
  quicksort_literal(ops, 0, n - 1);
  return value;
}

TEST(QuickSortCore, AdversarialInputDoesNotGrowTheThreadStack) {
#if defined(__SANITIZE_ADDRESS__) || !defined(NDEBUG)
  constexpr std::int32_t n = 3000;
#else
  constexpr std::int32_t n = 20000;
#endif
  std::vector<int> v = adversarial_input(n);
  LoggingOps ops{v, 0, 0, n - 1};
  ops.keep_log = false;
  run_on_small_stack(256 * 1024, [&] { quicksort_literal(ops, 0, n - 1); });
  EXPECT_TRUE(std::is_sorted(v.begin(), v.end()));
  // Quadratic work shows that the partitions were as uneven as they get.
  EXPECT_GT(ops.steps, static_cast<std::size_t>(n) * n / 8);
}

}  // namespace
}  // namespace quorvel::sorting
