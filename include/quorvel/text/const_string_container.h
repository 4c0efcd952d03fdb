// The fixed string holder: made by the library with its string, never changed afterwards.
#pragma once

#include <cstdint>

#include "quorvel/frame/one_shot.h"
#include "quorvel/platform/class_info.h"
#include "quorvel/platform/variant.h"
#include "quorvel/text/string_container.h"

namespace quorvel {

/// A string holder whose value is fixed when the library makes it (not creatable by callers;
/// `Value` is its default member). Its `Compare`, `Length`, `ToHexSeq` and `ToHexSeqA` are reached
/// through `IStringContainer` and do what `StringContainer`'s do.
class ConstStringContainer final : public ObjectImpl<IStringContainer> {
 public:
  static constexpr const char* type_name = "ConstStringContainer";
  static constexpr Guid clsid{"{B2A94D15-7C3E-4E86-9F21-5D0B8E6C7A39}"};
  static constexpr Guid iid{"{D63F0A8C-2E91-4B57-A4D8-1C7F3E5B9062}"};  // its own interface
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }

  /// Library use: fixes the value; returns the container. A second call raises 0x80040003
  /// "Object already initialized!" (the container as sender) and changes nothing.
  ConstStringContainer& initialize(String Value);

  String get_Value() override { return value_; }
  bool Equals(Ref<IStringContainer> Value, std::int32_t CompareMode = 0) override;
  bool EqualsEx(const Variant& Value, std::int32_t CompareMode = 0) override;
  std::int32_t Compare(String& Value, std::int32_t CompareMode = 0,
                       bool& relativeToValue = omitted<bool>()) override;
  std::int32_t get_Length() override { return static_cast<std::int32_t>(value_.size()); }
  Ref<StringContainer> ToHexSeq() override;
  Ref<StringContainer> ToHexSeqA() override;

 private:
  String value_;
  OneShot once_;
};

}  // namespace quorvel
