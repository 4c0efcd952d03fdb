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

TEST(CallbackInterfaceClasses, PublishedNotCreatableAndInert) {
  for (const char16_t* name : {u"ILockState", u"ILockHandle", u"ILockCallback", u"IUnaryStringTest", u"INotifyCallback",
                               u"IAsyncCallback", u"IAllJobDoneCallback", u"IStateHandle", u"ILongIndexer"}) {
    SCOPED_TRACE(String(name).to_utf8());
    const ClassInfo* c = find_class(name);
    ASSERT_NE(c, nullptr);
    EXPECT_FALSE(c->creatable());
    EXPECT_EQ(error_of([&] { create_object(u"Quorvel." + std::u16string(name)); }), 429);
  }

  Variant kept(u"kept");
  const struct {
    const char* name;
    Ref<Unknown> object;
    const char16_t* member;
    MemberKind kind;
    std::vector<Variant> args;
    VarKind result;
  } rows[] = {
      {"Locked", inert<ILockStateClass>(), u"Locked", MemberKind::Get, {}, VarKind::Boolean},
      {"LockHandle", inert<ILockStateClass>(), u"LockHandle", MemberKind::Method, {}, VarKind::Object},
      {"OnCallback, nothing given", inert<INotifyCallbackClass>(), u"OnCallback", MemberKind::Method, {}, VarKind::Empty},
      {"Op by reference", inert<IAllJobDoneCallbackClass>(), u"Op", MemberKind::Method, {Variant::by_ref(kept)}, VarKind::Empty},
      {"Op of a state handle", inert<IAsyncCallbackClass>(), u"Op", MemberKind::Method, {inert<IStateHandleClass>()}, VarKind::Empty},
      {"ErrorDescription", inert<IStateHandleClass>(), u"ErrorDescription", MemberKind::Get, {}, VarKind::String},
      {"Item let", inert<ILongIndexerClass>(), u"Item", MemberKind::Let, {Variant(3), Variant(4)}, VarKind::Empty},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    std::vector<Variant> args = row.args;
    const Variant got = invoke(*row.object, row.member, row.kind, args);
    EXPECT_EQ(got.type_code(), Variant::code(row.result));
    if (got.is_object()) {
      EXPECT_EQ(got.if_object(), nullptr);
    } else if (got.is_string()) {
      EXPECT_EQ(got.to_string(), String());
    } else if (row.result != VarKind::Empty) {
      EXPECT_FALSE(got.to_boolean());  // 0 or False
    }
  }
  EXPECT_EQ(kept.to_string(), String(u"kept"));
  // `Test` is the default member.
  std::vector<Variant> x{Variant(u"x")};
  EXPECT_FALSE(invoke(*inert<IUnaryStringTestClass>(), 0, MemberKind::Method, x).to_boolean());
}

}  // namespace
}  // namespace quorvel
