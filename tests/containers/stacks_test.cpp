#include <gtest/gtest.h>

#include <string>

#include "quorvel/containers/box_variant.h"
#include "quorvel/containers/cls_stack.h"
#include "quorvel/containers/stack_variant.h"
#include "support/fault_injection.h"
#include "support/test_objects.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

using test_support::token;
using StacksLive = test_support::LiveCountCheck;

// A first drop of the oldest and peeks inside the stack: in the scenario file.
TEST_F(StacksLive, BoundedStackDropsItsOldestAgainAndAgain) {
  auto s = make<clsStack>();
  s->put_lSizeMax(5);
  for (std::int32_t i = 1; i <= 12; ++i) s->Push(Variant(i));
  EXPECT_EQ(s->lElemCnt(), 5);
  for (std::int32_t depth = 0; depth < 5; ++depth) EXPECT_EQ(s->vPeek(depth).to_long(), 12 - depth);
  for (std::int32_t depth : {5, -1, INT32_MIN}) EXPECT_TRUE(s->vPeek(depth).is_empty());
}

TEST_F(StacksLive, DefaultValuesStandForTheirObjectsInStackAndBox) {
  auto s = make<clsStack>();
  s->Push(Variant(token(Variant(7))));
  EXPECT_EQ(s->vPop().kind(), VarKind::Long);
  auto box = make<Box_Variant>();
  box->put_Value(Variant(token(Variant(u"inner"))));
  EXPECT_RAISES(box->put_Value(Variant::nothing()), 91);
  EXPECT_EQ(box->get_Value().to_string().to_utf8(), "inner");  // unchanged by the refusal
}

// A held object with a TearDown is torn down (the inner stack here holds the outer one: a cycle
// that would leak), one without is only let go; plain values are skipped.
TEST_F(StacksLive, TearDownBreaksACycleAndSkipsWhatHasNoTearDown) {
  auto s = make<clsStack>();
  auto inner = make<clsStack>();
  inner->Push(Variant(Ref<Unknown>(s)));
  s->Push(Variant(Ref<Unknown>(inner)));
  s->Push(Variant(u"text"));
  s->Push(Variant::nothing());
  s->Push(Variant(Ref<Unknown>(make<Stack_Variant>())));
  s->TearDown();
  EXPECT_EQ(inner->lElemCnt(), 0);
  EXPECT_EQ(s->lElemCnt(), 0);
  s->Push(Variant(1));  // usable again
  EXPECT_EQ(s->lElemCnt(), 1);
}

TEST_F(StacksLive, PushSurvivesEveryAllocationFailure) {
  for (std::int32_t max : {0, 2}) {
    SCOPED_TRACE(max);
    auto two = [max] {
      auto s = make<clsStack>();
      s->put_lSizeMax(max);
      for (std::int32_t i : {1, 2}) s->Push(Variant(i));
      return s;
    };
    auto push = [](Ref<clsStack>& s) { s->Push(Variant(Array(VarKind::Long, 0, 3))); };
    auto state = [](Ref<clsStack>& s) { return std::to_string(s->lElemCnt()) + std::to_string(s->vPeek(0).is_array()); };
    EXPECT_GT(fault::expect_fault_tolerant(two, push, state), 0);
  }
}

}  // namespace
}  // namespace quorvel
