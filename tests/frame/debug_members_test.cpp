#include "quorvel/frame/debug_members.h"

#include <gtest/gtest.h>

#include "quorvel/platform/collection.h"
#include "quorvel/platform/describe.h"
#include "quorvel/platform/late_binding.h"
#include "support/test_objects.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

// A class that holds a reference and breaks it in its own TearDown.
class Holder final : public ObjectImpl<>, public DebugMembers {
 public:
  static constexpr const char* type_name = "TestHolder";
  static constexpr Guid iid{"{44C1EA33-A573-4CEE-9A24-B38F9019D2DC}"};
  QUORVEL_CLASS_INFO(describe_class<Holder>(ClassFlags::None, {tear_down_entry<Holder>(1), debug_id_entry<Holder>(2)}))
  void TearDown() { held = nullptr; }

  Ref<Collection> held;
};

using DebugMembersLive = test_support::LiveCountCheck;

// The debug id is inherited and TearDown is the class's own: the entries reach both.
TEST_F(DebugMembersLive, DebugIdReadsZeroAndTearDownIsReachableLateBound) {
  Ref<Holder> holder = make<Holder>();
  holder->held = make<Collection>();
  const std::int64_t before = Object::live_count();
  invoke(*holder, u"TearDown", MemberKind::Method, {});
  EXPECT_EQ(Object::live_count(), before - 1);                                // the collection went
  EXPECT_EQ(invoke(*holder, u"lDebugId", MemberKind::Get, {}).to_long(), 0);  // still usable
  Variant one(1);
  EXPECT_NE(test_support::error_of([&] { invoke(*holder, u"lDebugId", MemberKind::Let, {&one, 1}); }), 0);  // read-only
}

}  // namespace
}  // namespace quorvel
