// The global debug object `clsDebug`: its members are callable without creating it (the registry
// makes one instance per thread on first use), and it hands out the thread's trace collection.
#pragma once

#include "quorvel/platform/class_info.h"
#include "quorvel/platform/collection.h"
#include "quorvel/platform/object.h"
#include "quorvel/platform/string.h"

namespace quorvel {

/// Global class: reach it as `global_object(u"clsDebug")`, or make one; every instance on a
/// thread answers alike, since what it hands out is per thread.
class clsDebug final : public ObjectImpl<> {
 public:
  static constexpr const char* type_name = "clsDebug";
  static constexpr Guid clsid{"{70672A47-F810-4A81-9214-0C101A101C0D}"};
  static constexpr Guid iid{"{E488E243-EC45-4E78-89E9-25F2A2B25F0E}"};  // its own interface
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }

  /// The calling thread's trace collection: created empty on the thread's first call, the same
  /// collection on every later call from that thread. Nothing in the library adds to it.
  Ref<Collection> get_colTraceObj();
  /// The component's name: "Quorvel".
  String get_sComponentName();
};

}  // namespace quorvel
