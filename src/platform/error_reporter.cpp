// The error reporter: a counted object kept in the thread's context, so raises on different
// threads never share it.
#include "quorvel/platform/error_reporter.h"

#include "quorvel/platform/describe.h"
#include "quorvel/platform/error.h"
#include "quorvel/platform/registry.h"
#include "quorvel/platform/thread_context.h"

namespace quorvel {

namespace {
struct ReporterSlot {
  Ref<ErrorReporter> instance;
};
}  // namespace

const ClassInfo& ErrorReporter::describe() {
  static const ClassInfo info = describe_class<ErrorReporter>(
      ClassFlags::None, {method<&ErrorReporter::RaiseError>("RaiseError", 1, {"Number", "Sender", "Message"})});
  return info;
}

String error_source_of(Unknown* sender) {
  if (!sender) return library_name();
  return String::from_utf8(sender->identity().class_info().name);
}

void ErrorReporter::RaiseError(std::int32_t Number, Ref<Unknown> Sender, const String& Message) {
  throw Error(Number, error_source_of(Sender.get()), Message);
}

ErrorReporter& ErrorReporter::this_thread() {
  ReporterSlot& slot = this_thread_context().slot<ReporterSlot>();
  if (!slot.instance) slot.instance = make<ErrorReporter>();
  return *slot.instance;
}

int ErrorReporter::instances_on_this_thread() noexcept {
  return this_thread_context().slot<ReporterSlot>().instance ? 1 : 0;
}

}  // namespace quorvel
