// The condition contract over a Long: `Test` (the default member) says whether a value passes.
#pragma once

#include <cstdint>

#include "quorvel/platform/class_info.h"
#include "quorvel/platform/interface_list.h"

namespace quorvel {

#define QUORVEL_IUNARYLONGTEST_MEMBERS(X) X(method, bool, Test, 0, (std::int32_t Value), (Value), ("Value"))

/// A caller's condition on one Long. An object known only by a member named `Test` serves it too.
class IUnaryLongTest : public Unknown {
 public:
  static constexpr const char* type_name = "IUnaryLongTest";
  static constexpr Guid iid{"{61A9C291-F0DC-43C6-925D-5961E564C9B4}"};
  static const InterfaceInfo& interface_info();
  /// `object` behind an adapter that calls its `Test` by name; Nothing when it has no such member.
  static Ref<IUnaryLongTest> late_bound(Ref<Unknown> object);

  QUORVEL_DECLARE_MEMBERS(QUORVEL_IUNARYLONGTEST_MEMBERS)
};

/// `IUnaryLongTest` published as a class (not creatable); its `Test` gives False.
QUORVEL_INERT_CLASS(IUnaryLongTestClass, IUnaryLongTest, QUORVEL_IUNARYLONGTEST_MEMBERS, "{B00F16F4-1AA2-4035-B2E2-6671B06E26A6}");

}  // namespace quorvel
