#include "quorvel/frame/cls_debug.h"

#include <gtest/gtest.h>

#include <thread>

#include "quorvel/platform/interface_cast.h"
#include "quorvel/platform/late_binding.h"
#include "quorvel/platform/registry.h"

namespace quorvel {
namespace {

// Reached by name as a global object, as the scenarios do; here the per-thread part.
TEST(clsDebug, TraceCollectionIsEmptyAndOnePerThread) {
  Variant global_trace = invoke(*global_object(u"clsDebug"), u"colTraceObj", MemberKind::Get, {});
  Ref<Collection> first = interface_cast<Collection>(global_trace);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->Count(), 0);
  EXPECT_TRUE(make<clsDebug>()->get_colTraceObj().same(first));  // any instance on this thread

  Collection* other_thread = nullptr;
  std::int64_t live_in_thread = 0;
  std::thread([&] {
    const std::int64_t live = Object::live_count();
    other_thread = make<clsDebug>()->get_colTraceObj().get();
    live_in_thread = Object::live_count() - live;  // the thread's collection, held by its context
  }).join();
  EXPECT_NE(other_thread, first.get());
  EXPECT_EQ(live_in_thread, 1);
}

}  // namespace
}  // namespace quorvel
