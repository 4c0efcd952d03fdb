#include "quorvel/frame/debug_members.h"

#include <gtest/gtest.h>

#include "quorvel/platform/collection.h"
#include "quorvel/platform/describe.h"
#include "quorvel/platform/late_binding.h"

namespace quorvel {
namespace {

// A class whose TearDown does nothing (the inherited one).
class Quiet final : public ObjectImpl<>, public DebugMembers {
 public:
  static constexpr const char* type_name = "TestQuiet";
  static constexpr Guid iid{"{BF887A32-822C-447E-BDE0-09EEB3E6CC50}"};
  static const ClassInfo& describe() {
    static const ClassInfo info = describe_class<Quiet>(
        ClassFlags::None, {get<&Quiet::get_Value>("Value", 1), debug_id_entry<Quiet>(2), tear_down_entry<Quiet>(3)});
    return info;
  }
  const ClassInfo& class_info() const noexcept override { return describe(); }
  std::int32_t get_Value() { return 11; }
};

// A class that holds a reference and breaks it in its own TearDown.
class Holder final : public ObjectImpl<>, public DebugMembers {
 public:
  static constexpr const char* type_name = "TestHolder";
  static constexpr Guid iid{"{44C1EA33-A573-4CEE-9A24-B38F9019D2DC}"};
  static const ClassInfo& describe() {
    static const ClassInfo info =
        describe_class<Holder>(ClassFlags::None, {tear_down_entry<Holder>(1), debug_id_entry<Holder>(2)});
    return info;
  }
  const ClassInfo& class_info() const noexcept override { return describe(); }
  void TearDown() { held = nullptr; }

  Ref<Collection> held;
};

TEST(DebugMembers, DebugIdReadsZeroAndTearDownIsReachableLateBound) {
  const std::int64_t live = Object::live_count();
  {
    Ref<Quiet> quiet = make<Quiet>();
    EXPECT_EQ(quiet->get_lDebugId(), 0);
    EXPECT_EQ(invoke(*quiet, u"lDebugId", MemberKind::Get, {}).to_long(), 0);
    invoke(*quiet, u"TearDown", MemberKind::Method, {});
    EXPECT_EQ(invoke(*quiet, u"LDEBUGID", MemberKind::Method | MemberKind::Get, {}).to_long(), 0);
    EXPECT_EQ(invoke(*quiet, u"Value", MemberKind::Get, {}).to_long(), 11);  // still usable

    Ref<Holder> holder = make<Holder>();
    holder->held = make<Collection>();
    const std::int64_t before = Object::live_count();
    invoke(*holder, u"TearDown", MemberKind::Method, {});
    EXPECT_EQ(Object::live_count(), before - 1);  // the held collection went
    EXPECT_EQ(invoke(*holder, u"lDebugId", MemberKind::Get, {}).to_long(), 0);
  }
  EXPECT_EQ(Object::live_count(), live);
}

TEST(DebugMembers, EntriesDescribeAReadOnlyLongAndAMethodWithoutArguments) {
  const InterfaceInfo& own = *Quiet::describe().own;
  const MemberInfo* id = own.find(own.find_id(u"lDebugId"), MemberKind::Get);
  ASSERT_NE(id, nullptr);
  EXPECT_EQ(id->result.code, Variant::code(VarKind::Long));
  EXPECT_EQ(own.find(id->id, MemberKind::Let), nullptr);
  const MemberInfo* tear_down = own.find(own.find_id(u"TearDown"), MemberKind::Method);
  ASSERT_NE(tear_down, nullptr);
  EXPECT_TRUE(tear_down->params.empty());
  EXPECT_EQ(tear_down->result.code, Variant::code(VarKind::Empty));
}

}  // namespace
}  // namespace quorvel
