// The comparer contracts published as classes of their own: `IComparer` and `IFindComparer` can
// be created (a bare `IComparer` makes a sort treat all elements as equal); `IrefStringComparer`
// cannot. Their members do nothing and return 0.
#pragma once

#include <cstdint>

#include "quorvel/frame/comparer_interfaces.h"
#include "quorvel/platform/class_info.h"

namespace quorvel {

/// The class `IComparer`: `Compare` returns 0 for any arguments.
class IComparerClass final : public ObjectImpl<IComparer> {
 public:
  static constexpr const char* type_name = "IComparer";
  static constexpr Guid iid{"{67F0CFC2-FCA8-4970-BFCC-34C30D61725C}"};
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }

  std::int16_t Compare(const Variant& A, const Variant& B) override;
};

/// The class `IFindComparer`: `Compare` returns 0 for any arguments.
class IFindComparerClass final : public ObjectImpl<IFindComparer> {
 public:
  static constexpr const char* type_name = "IFindComparer";
  static constexpr Guid iid{"{37EE5503-7CB8-455F-9B18-FE38A69A6866}"};
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }

  std::int16_t Compare(const Variant& ArrayElement, const Variant& Find) override;
};

/// The class `IrefStringComparer` (not creatable): `Compare` returns 0 for any arguments.
class IrefStringComparerClass final : public ObjectImpl<IrefStringComparer> {
 public:
  static constexpr const char* type_name = "IrefStringComparer";
  static constexpr Guid iid{"{4A46D131-CB78-43BC-8473-479ECB0EC6C1}"};
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }

  std::int16_t Compare(String& A, String& B) override;
};

}  // namespace quorvel
