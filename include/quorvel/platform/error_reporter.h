// The error reporter component: the one way the library raises the failures it detects itself.
// One instance per thread, created by the first raise on that thread.
#pragma once

#include <cstdint>
#include <string_view>

#include "quorvel/platform/class_info.h"
#include "quorvel/platform/object.h"
#include "quorvel/platform/string.h"

namespace quorvel {

/// Raises errors on behalf of a sender. `RaiseError` never returns normally.
class ErrorReporter final : public ObjectImpl<> {
 public:
  static constexpr const char* type_name = "ErrorReporter";
  static constexpr Guid clsid{"{3C1F6A20-5D4B-4E8A-9B0C-7A51E0D20001}"};
  static constexpr Guid iid{"{4B5DD8DE-5883-4729-A8B9-CA2E3930A338}"};  // its own interface
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }

  /// Raises `Number` with `Message` as description and a source derived from the sender: its
  /// class name, or the library's name when the sender is Nothing.
  [[noreturn]] void RaiseError(std::int32_t Number, Ref<Unknown> Sender, const String& Message);

  /// The calling thread's instance, created on first use.
  static ErrorReporter& this_thread();
  /// How many instances exist on the calling thread (0 before the first raise, then 1).
  static int instances_on_this_thread() noexcept;
};

/// The source text for a sender: its class name, or "Quorvel" for Nothing.
String error_source_of(Unknown* sender);

}  // namespace quorvel
