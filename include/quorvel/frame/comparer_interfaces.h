// The comparer contracts: every sort and search of the library takes one of these, and callers
// implement them too. Only the sign of a result matters: negative, zero or positive.
#pragma once

#include <cstdint>

#include "quorvel/platform/class_info.h"
#include "quorvel/platform/interface_list.h"
#include "quorvel/platform/variant.h"

namespace quorvel {

#define QUORVEL_ICOMPARER_MEMBERS(X) \
  X(method, std::int16_t, Compare, 1, (const Variant& A, const Variant& B), (A, B), ("A", "B"))
#define QUORVEL_IFINDCOMPARER_MEMBERS(X)                                                        \
  X(method, std::int16_t, Compare, 1, (const Variant& ArrayElement, const Variant& Find), (ArrayElement, Find), \
    ("ArrayElement", "Find"))
#define QUORVEL_IREFSTRINGCOMPARER_MEMBERS(X) \
  X(method, std::int16_t, Compare, 1, (String& A, String& B), (A, B), ("A", "B"))

/// Orders two values: negative when `A` orders before `B`, 0 when equal, positive after.
/// Both arguments arrive by value: a comparer cannot change the caller's elements.
class IComparer : public Unknown {
 public:
  static constexpr const char* type_name = "IComparer";
  static constexpr Guid iid{"{5B0C2E11-8E6A-4C1D-A3F2-1D2C3B4A0101}"};
  static const InterfaceInfo& interface_info();
  /// A late-bound object (one known only by member names) as a comparer: its `Compare` member
  /// is called by name. Null when the object has no member of that name.
  static Ref<IComparer> late_bound(Ref<Unknown> object);

  QUORVEL_DECLARE_MEMBERS(QUORVEL_ICOMPARER_MEMBERS)
};

/// Orders a list element (first) against a searched value of possibly another kind (second).
class IFindComparer : public Unknown {
 public:
  static constexpr const char* type_name = "IFindComparer";
  static constexpr Guid iid{"{5B0C2E11-8E6A-4C1D-A3F2-1D2C3B4A0102}"};
  static const InterfaceInfo& interface_info();
  static Ref<IFindComparer> late_bound(Ref<Unknown> object);

  QUORVEL_DECLARE_MEMBERS(QUORVEL_IFINDCOMPARER_MEMBERS)
};

/// Orders two strings passed by reference (not copied; an implementation must not change them).
class IrefStringComparer : public Unknown {
 public:
  static constexpr const char* type_name = "IrefStringComparer";
  static constexpr Guid iid{"{5B0C2E11-8E6A-4C1D-A3F2-1D2C3B4A0103}"};
  static const InterfaceInfo& interface_info();

  QUORVEL_DECLARE_MEMBERS(QUORVEL_IREFSTRINGCOMPARER_MEMBERS)
};

}  // namespace quorvel
