// The string holder contract: one string, compared by mode and rendered as hexadecimal text.
// `StringContainer` and `ConstStringContainer` implement it; `Value` is its default member.
#pragma once

#include <cstdint>

#include "quorvel/platform/class_info.h"
#include "quorvel/platform/interface_list.h"
#include "quorvel/platform/string.h"

namespace quorvel {

class StringContainer;
class IStringContainer;

#define QUORVEL_ISTRINGCONTAINER_MEMBERS(X)                                                           \
  X(method, bool, Equals, 1, (Ref<IStringContainer> Value, std::int32_t CompareMode), (Value, CompareMode), \
    ("Value", opt("CompareMode", std::int32_t{0})))                                                   \
  X(method, bool, EqualsEx, 2, (const Variant& Value, std::int32_t CompareMode), (Value, CompareMode), \
    ("Value", opt("CompareMode", std::int32_t{0})))                                                   \
  X(method, std::int32_t, Compare, 3, (String& Value, std::int32_t CompareMode, bool& relativeToValue), \
    (Value, CompareMode, relativeToValue),                                                            \
    ("Value", opt("CompareMode", std::int32_t{0}), opt("relativeToValue", false)))                    \
  X(get, String, Value, 0, (), (), ())                                                                \
  X(get, std::int32_t, Length, 4, (), (), ())                                                         \
  X(method, Ref<StringContainer>, ToHexSeq, 5, (), (), ())                                            \
  X(method, Ref<StringContainer>, ToHexSeqA, 6, (), (), ())

/// A holder of one string. Compare modes: 0 binary, 1 text, 2 database (see `CompareStrings`).
class IStringContainer : public Unknown {
 public:
  static constexpr const char* type_name = "IStringContainer";
  static constexpr Guid iid{"{0E3C5A71-6B0D-4F52-9C1E-7A4D2B8F3C10}"};
  static const InterfaceInfo& interface_info();

  QUORVEL_DECLARE_MEMBERS(QUORVEL_ISTRINGCONTAINER_MEMBERS)
};

}  // namespace quorvel
