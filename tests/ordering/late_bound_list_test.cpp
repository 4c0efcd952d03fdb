// A caller's list known only by its member names: the manager reaches it through an adapter that
// calls those members late-bound, and answers as it does for the library's own lists.
#include <gtest/gtest.h>

#include <vector>

#include "quorvel/arraylists/array_list_long.h"
#include "quorvel/ordering/array_list_manager.h"
#include "quorvel/platform/collection.h"
#include "quorvel/platform/describe.h"
#include "quorvel/platform/late_binding.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

// The list members by name, forwarded to a library list; no IArrayList in its C++ bases.
class LooseList final : public ObjectImpl<> {
 public:
  static constexpr const char* type_name = "TestLooseList";
  static constexpr Guid iid{"{3C9A1F0E-5B7D-4C2A-8E61-0F4D2B9A7C21}"};
  static const ClassInfo& describe() {
    using QuorvelSelf = LooseList;
    static const ClassInfo info =
        describe_class<LooseList>(ClassFlags::None, {QUORVEL_MEMBER_ENTRIES(QUORVEL_IARRAYLIST_MEMBERS)});
    return info;
  }
  const ClassInfo& class_info() const noexcept override { return describe(); }
  explicit LooseList(Ref<IArrayList> inner) : inner_(std::move(inner)) {}
#define TEST_FORWARD_(kind, R, Name, id, params, args, desc) \
  R QUORVEL_CPP_NAME(kind, Name) params { return inner_->QUORVEL_CPP_NAME(kind, Name) args; }
  QUORVEL_IARRAYLIST_MEMBERS(TEST_FORWARD_)
#undef TEST_FORWARD_

 private:
  Ref<IArrayList> inner_;
};

Ref<ArrayList_Long> longs(const std::vector<std::int32_t>& values) {
  auto list = make<ArrayList_Long>();
  for (std::int32_t v : values) list->AddItem(v);
  return list;
}

Variant call(Unknown& target, const char16_t* name, std::vector<Variant> args) {
  return invoke(target, name, MemberKind::Method, args);
}

TEST(LateBoundList, TheManagerWorksOnAListKnownByName) {
  auto manager = make<ArrayList_Manager>();
  auto inner = longs({5, 3, 3, 9, 1, 1, 1});
  const Variant loose(make<LooseList>(inner.query<IArrayList>()));

  call(*manager, u"QuickSort", {loose, Variant(0), Variant(6)});
  std::int32_t at = -1;
  EXPECT_TRUE(call(*manager, u"LogarithmicSearch", {loose, Variant(5), Variant::by_ref(at), Variant(1)}).to_boolean());
  EXPECT_EQ(at, 5);
  std::int16_t direction = 0, direct = 0;
  EXPECT_TRUE(call(*manager, u"CheckMonotonity", {loose, Variant::by_ref(direction)}).to_boolean());
  EXPECT_TRUE(manager->CheckMonotonity(inner.query<IArrayList>(), direct));
  EXPECT_EQ(direction, direct);

  // Into a new list: made by the caller's own CreateNew, itself reached late-bound.
  const Variant fresh = call(*manager, u"Reducate", {loose, Variant(false)});
  const Ref<IArrayList> reduced = interface_cast<IArrayList>(fresh);
  ASSERT_TRUE(reduced);
  std::vector<std::int32_t> got;
  for (std::int32_t i = 0; i < reduced->get_Count(); ++i) got.push_back(reduced->get_Item(i).to_long());
  EXPECT_EQ(got, (std::vector<std::int32_t>{1, 3, 5, 9}));
  EXPECT_EQ(inner->get_Count(), 7) << "not in place: the caller's list keeps its items";
}

// An object with only some of the members is no list: the call is refused before any of them runs.
TEST(LateBoundList, AnObjectWithoutEveryMemberIsRefused) {
  auto manager = make<ArrayList_Manager>();
  auto partial = make<Collection>();
  partial->Add(Variant(1));
  EXPECT_RAISES(call(*manager, u"QuickSort", {Variant(partial), Variant(1), Variant(1)}), 13);
  EXPECT_FALSE(IArrayList::late_bound(Ref<Unknown>()));
}

}  // namespace
}  // namespace quorvel
