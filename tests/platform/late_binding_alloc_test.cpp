// A late-bound call whose arguments and result are scalars does not touch the heap. The test
// binary replaces the global allocation functions to count; sanitizer builds keep their own.
#include "quorvel/platform/late_binding.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <new>

#include "quorvel/arraylists/array_list_long.h"
#include "quorvel/platform/registry.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUORVEL_OWN_ALLOCATOR 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define QUORVEL_OWN_ALLOCATOR 1
#endif

#ifndef QUORVEL_OWN_ALLOCATOR
namespace {
thread_local long g_allocations = 0;
}
void* operator new(std::size_t size) {
  ++g_allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#endif

namespace quorvel {
namespace {

TEST(LateBindingAllocations, ScalarCallsByIdAndByNameAllocateNothing) {
#ifdef QUORVEL_OWN_ALLOCATOR
  GTEST_SKIP() << "the sanitizer's allocator is not replaced";
#else
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
  const long before = g_allocations;
  for (int i = 0; i < 100; ++i) {
    sum = invoke(target, item, MemberKind::Get, index);
    invoke(target, u"item", MemberKind::Let, let);
    invoke(target, u"Find", MemberKind::Method, find);
    invoke(target, u"GrowLength", MemberKind::Let, value);
  }
  EXPECT_EQ(g_allocations - before, 0);
  // The count does see the library's allocations: creating a list is one.
  const long made = g_allocations;
  Variant other(create_object(u"Quorvel.ArrayList_Long"));
  EXPECT_GT(g_allocations, made);
  EXPECT_EQ(*sum.if_long(), 9);
  EXPECT_EQ(at, 0);
#endif
}

}  // namespace
}  // namespace quorvel
