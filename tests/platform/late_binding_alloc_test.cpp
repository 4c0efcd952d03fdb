// A late-bound call whose arguments and result are scalars does not touch the heap. The test
// binary counts allocations (support/fault_injection); sanitizer builds keep their own operator new.
#include "quorvel/platform/late_binding.h"

#include <gtest/gtest.h>

#include <array>

#include "quorvel/arraylists/array_list_long.h"
#include "quorvel/platform/registry.h"
#include "support/fault_injection.h"

namespace quorvel {
namespace {

TEST(LateBindingAllocations, ScalarCallsByIdAndByNameAllocateNothing) {
  if (!fault::operator_new_counted()) GTEST_SKIP() << "the sanitizer's allocator is not replaced";
  Ref<ArrayList_Long> list = make<ArrayList_Long>();
  list->AddItem(7);
  Unknown& target = *as_unknown(list.get());
  const DispId item = get_dispid(target, u"Item");
  std::array<Variant, 1> index{Variant(0)};
  std::array<Variant, 1> value{Variant(8)};
  std::array<Variant, 2> let{Variant(0), Variant(9)};
  std::int32_t at = -1;
  std::array<Variant, 2> find{Variant(9), Variant::by_ref(at)};
  Variant sum;
  const long before = fault::allocations();
  for (int i = 0; i < 100; ++i) {
    sum = invoke(target, item, MemberKind::Get, index);
    invoke(target, u"item", MemberKind::Let, let);
    invoke(target, u"Find", MemberKind::Method, find);
    invoke(target, u"GrowLength", MemberKind::Let, value);
  }
  EXPECT_EQ(fault::allocations() - before, 0);
  // The count does see the library's allocations: creating a list is one.
  const long made = fault::allocations();
  Variant other(create_object(u"Quorvel.ArrayList_Long"));
  EXPECT_GT(fault::allocations(), made);
  EXPECT_EQ(*sum.if_long(), 9);
  EXPECT_EQ(at, 0);
}

}  // namespace
}  // namespace quorvel
