// The published contracts: each is a class in the type library that cannot be created and whose
// members, called late-bound, do nothing and give their kind's default.
#include "quorvel/locks/callback_interfaces.h"

#include <gtest/gtest.h>

#include <vector>

#include "quorvel/locks/lock_interfaces.h"
#include "quorvel/platform/late_binding.h"
#include "quorvel/platform/registry.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

using test_support::error_of;

template <class C>
Ref<Unknown> inert() {
  return Ref<Unknown>(as_unknown(make<C>().get()));
}

// The members themselves are generated from each contract's list and do nothing; the default
// member is what a caller reaches without a name.
TEST(CallbackInterfaceClasses, PublishedNotCreatableAndInert) {
  for (const char16_t* name : {u"ILockState", u"ILockHandle", u"ILockCallback", u"IUnaryStringTest", u"INotifyCallback",
                               u"IAsyncCallback", u"IAllJobDoneCallback", u"IStateHandle", u"ILongIndexer"}) {
    SCOPED_TRACE(String(name).to_utf8());
    const ClassInfo* c = find_class(name);
    ASSERT_NE(c, nullptr);
    EXPECT_FALSE(c->creatable());
    EXPECT_EQ(error_of([&] { create_object(u"Quorvel." + std::u16string(name)); }), 429);
  }

  // `Test` is the default member.
  std::vector<Variant> x{Variant(u"x")};
  EXPECT_FALSE(invoke(*inert<IUnaryStringTestClass>(), 0, MemberKind::Method, x).to_boolean());
}

}  // namespace
}  // namespace quorvel
