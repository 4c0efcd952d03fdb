// clsDebug: the trace collection lives in the thread's context, not in an instance, so that every
// instance on a thread (the global one included) hands out the same collection.
#include "quorvel/frame/cls_debug.h"

#include "quorvel/platform/describe.h"
#include "quorvel/platform/thread_context.h"

namespace quorvel {

namespace {
struct TraceSlot {
  Ref<Collection> collection;
};
}  // namespace

const ClassInfo& clsDebug::describe() {
  static const ClassInfo info = describe_class<clsDebug>(
      ClassFlags::Global,
      {with_help(get<&clsDebug::get_colTraceObj>("colTraceObj", 1), "The calling thread's trace collection"),
       with_help(get<&clsDebug::get_sComponentName>("sComponentName", 2), "The component's name")},
      "Debug helpers, callable without creating an instance");
  return info;
}


Ref<Collection> clsDebug::get_colTraceObj() {
  TraceSlot& slot = this_thread_context().slot<TraceSlot>();
  if (!slot.collection) slot.collection = make<Collection>();
  return slot.collection;
}

String clsDebug::get_sComponentName() { return String(u"Quorvel"); }

}  // namespace quorvel
