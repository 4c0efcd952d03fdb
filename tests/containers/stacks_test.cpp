#include <gtest/gtest.h>

#include <string>

#include "quorvel/containers/box_variant.h"
#include "quorvel/containers/cls_stack.h"
#include "quorvel/frame/error_catalogue.h"
#include "quorvel/platform/late_binding.h"
#include "support/fault_injection.h"
#include "support/test_objects.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

using test_support::token;
using StacksLive = test_support::LiveCountCheck;

// Holds a stack (so that a stack holding it forms a cycle) and lets go of it in TearDown.
class StackHolder final : public ObjectImpl<> {
 public:
  static constexpr const char* type_name = "TestStackHolder";
  static constexpr Guid iid{"{A9058A71-33FE-41C9-9928-5480CDCB8F21}"};
  TEST_CLASS_INFO(describe_class<StackHolder>(ClassFlags::None, {method<&StackHolder::TearDown>("TearDown", 1)}))
  void TearDown() {
    ++torn;
    held = nullptr;
  }
  Ref<clsStack> held;
  int torn = 0;
};

std::string peeks(clsStack& s) {
  std::string out;
  for (std::int32_t i = 0; i < s.lElemCnt(); ++i) out += s.vPeek(i).to_string().to_utf8() + " ";
  return out;
}

TEST_F(StacksLive, BoundedStackDropsItsOldestAndPeeksAtAnyDepth) {
  struct Row {
    const char* name;
    std::int32_t max;
    int pushes;
    const char* top_down;
  } rows[] = {{"unlimited", 0, 4, "4 3 2 1 "}, {"max 1", 1, 3, "3 "}, {"max 5", 5, 12, "12 11 10 9 8 "}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    auto s = make<clsStack>();
    s->put_lSizeMax(row.max);
    for (std::int32_t i = 1; i <= row.pushes; ++i) s->Push(Variant(i));
    EXPECT_EQ(peeks(*s), row.top_down);
    for (std::int32_t depth : {s->lElemCnt(), -1, INT32_MIN}) EXPECT_TRUE(s->vPeek(depth).is_empty());
  }
}

// The stack and the box read an object's default value in its stead; a plain object goes in by reference.
TEST_F(StacksLive, DefaultValuesStandForTheirObjectsInStackAndBox) {
  auto s = make<clsStack>();
  Ref<Unknown> plain = make<clsStack>();
  s->Push(Variant(plain));
  s->Push(Variant(token(Variant(7))));  // a default value stands for its object
  EXPECT_EQ(s->vPeek(0).kind(), VarKind::Long);
  EXPECT_EQ(s->vPop().to_long(), 7);
  EXPECT_EQ(s->vPop().if_object(), plain.get());
  auto box = make<Box_Variant>();
  s->Push(Variant(Ref<Unknown>(box)));  // its default value is Empty
  EXPECT_TRUE(s->vPop().is_empty());
  auto t = token(Variant(u"inner"));
  box->put_Value(Variant(t));
  EXPECT_RAISES(box->put_Value(Variant::nothing()), 91);
  EXPECT_EQ(box->get_Value().to_string().to_utf8(), "inner");  // unchanged by the refusal
  EXPECT_EQ(box->initialize(Variant(t)).get(), box.get());
  EXPECT_EQ(box->get_Value().if_object(), t.get());
}

TEST_F(StacksLive, TearDownBreaksACycleAndSkipsPlainValues) {
  auto s = make<clsStack>();
  {
    auto holder = make<StackHolder>();
    holder->held = s;  // s holds holder, holder holds s
    s->Push(Variant(Ref<Unknown>(holder)));
    s->Push(Variant(u"text"));
    s->Push(Variant::nothing());
    s->Push(Variant(Ref<Unknown>(make<clsStack>())));  // has a TearDown of its own
    invoke(*s, u"TearDown", MemberKind::Method, {});
    EXPECT_EQ(holder->torn, 1);
    EXPECT_FALSE(holder->held);
  }
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
    EXPECT_GT(fault::expect_fault_tolerant(
                  two, [](Ref<clsStack>& s) { s->Push(Variant(Array(VarKind::Long, 0, 3))); },
                  [](Ref<clsStack>& s) {
                    return std::to_string(s->lElemCnt()) + ":" + std::to_string(s->vPeek(0).is_array());
                  }),
              0);
  }
}

}  // namespace
}  // namespace quorvel
