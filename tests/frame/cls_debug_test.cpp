#include "quorvel/frame/cls_debug.h"

#include <gtest/gtest.h>

#include <thread>

#include "quorvel/platform/interface_cast.h"
#include "quorvel/platform/late_binding.h"
#include "quorvel/platform/registry.h"

namespace quorvel {
namespace {

Ref<Collection> trace_of(Unknown& debug) {
  return interface_cast<Collection>(invoke(debug, u"colTraceObj", MemberKind::Get, {}));
}

TEST(clsDebug, IsAGlobalObjectNamingTheComponent) {
  const ClassInfo* info = find_class(u"clsDebug");
  ASSERT_NE(info, nullptr);
  EXPECT_TRUE(info->global());
  EXPECT_FALSE(info->creatable());
  Ref<Object> debug = global_object(u"clsDebug");
  EXPECT_EQ(debug.get(), global_object(u"CLSDEBUG").get());
  EXPECT_EQ(*invoke(*debug, u"sComponentName", MemberKind::Get, {}).if_string(), String(u"Quorvel"));
  EXPECT_THROW(create_object(u"Quorvel.clsDebug"), Error);
}

TEST(clsDebug, TraceCollectionIsEmptyAndTheSameOnEveryCallFromAThread) {
  Ref<Object> debug = global_object(u"clsDebug");
  Ref<Collection> first = trace_of(*debug);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->Count(), 0);
  EXPECT_TRUE(trace_of(*debug).same(first));
  EXPECT_TRUE(make<clsDebug>()->get_colTraceObj().same(first));  // any instance on this thread

  Collection* other_thread = nullptr;
  std::int64_t live_in_thread = 0;
  std::thread([&] {
    const std::int64_t live = Object::live_count();
    {
      Ref<Collection> mine = make<clsDebug>()->get_colTraceObj();
      other_thread = mine.get();
    }
    live_in_thread = Object::live_count() - live;  // the thread's collection, held by its context
  }).join();
  EXPECT_NE(other_thread, first.get());
  EXPECT_EQ(live_in_thread, 1);
}

}  // namespace
}  // namespace quorvel
