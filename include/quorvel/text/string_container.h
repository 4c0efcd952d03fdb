// The changeable string holder: a string that travels where an object is expected, compared by
// mode and rendered as hexadecimal text.
#pragma once

#include <cstdint>

#include "quorvel/platform/class_info.h"
#include "quorvel/platform/variant.h"
#include "quorvel/text/string_container_interface.h"

namespace quorvel {

/// A string holder whose value may be replaced (creatable as "Quorvel.StringContainer"). A new
/// one holds the empty string. Compare modes are those of `CompareStrings`.
class StringContainer final : public ObjectImpl<IStringContainer> {
 public:
  static constexpr const char* type_name = "StringContainer";
  static constexpr Guid clsid{"{4C7E2F90-31A8-4D6B-B0E5-92C6A8D41F37}"};
  static constexpr Guid iid{"{8F1D6B23-5E47-4A90-8C3B-D7E0F2A91C64}"};  // its own interface
  static const ClassInfo& describe();
  const ClassInfo& class_info() const noexcept override { return describe(); }

  /// A container holding `value` (library use: the hexadecimal forms hand these out).
  static Ref<StringContainer> holding(String value);

  String get_Value() override { return value_; }
  void put_Value(String Value) noexcept { value_ = std::move(Value); }
  /// Asks `Value` to compare the own value with its own (`Value.Compare(own, CompareMode, True)`)
  /// and gives whether the result is 0: the argument's implementation decides. Raises 0x80040001
  /// (no sender, no message) for a mode other than 0 to 2 and 91 for Nothing, before calling
  /// through; what the other container's `Compare` raises passes unchanged.
  bool Equals(Ref<IStringContainer> Value, std::int32_t CompareMode = 0) override;
  /// Whether `Value`'s string form (the value model's conversion, whose errors pass: 13, 94,
  /// 438 ...) equals the own value in `CompareMode`. EqualsEx(12) is True for "12".
  bool EqualsEx(const Variant& Value, std::int32_t CompareMode = 0) override;
  /// `CompareStrings(own, Value)`, or `CompareStrings(Value, own)` with `relativeToValue`.
  /// Neither argument is changed. Raises 0x80040001 as `CompareStrings` does.
  std::int32_t Compare(String& Value, std::int32_t CompareMode = 0,
                       bool& relativeToValue = omitted<bool>()) override;
  /// The number of UTF-16 code units.
  std::int32_t get_Length() override { return static_cast<std::int32_t>(value_.size()); }
  /// A new container holding the code-unit hexadecimal text (`code_unit_hex`): "AB" gives
  /// "41004200". Raises 7. Cost: linear.
  Ref<StringContainer> ToHexSeq() override;
  /// A new container holding the ANSI-code hexadecimal text (`ansi_code_hex`, code page 1252 (Western European),
  /// "?" for what it cannot represent): "AB" gives "4142". Raises 7. Cost: linear.
  Ref<StringContainer> ToHexSeqA() override;

 private:
  String value_;
};

/// What both string holders share: `Equals`, `EqualsEx` and `Compare` of a given value.
namespace string_holder {
bool equals(const String& own, Ref<IStringContainer>& other, std::int32_t mode);
bool equals_ex(const String& own, const Variant& other, std::int32_t mode);
std::int32_t compare(const String& own, String& other, std::int32_t mode, bool relative_to_value);
}  // namespace string_holder

}  // namespace quorvel
