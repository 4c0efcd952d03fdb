// The fixed string holder.
#include "quorvel/text/const_string_container.h"

#include "quorvel/platform/describe.h"
#include "quorvel/text/hex_text.h"

namespace quorvel {

const ClassInfo& ConstStringContainer::describe() {
  using C = ConstStringContainer;
  static const ClassInfo info = describe_class<C, IStringContainer>(
      ClassFlags::None,
      {get<&C::get_Value>("Value", 0), method<&C::Equals>("Equals", 1, "Value", opt("CompareMode", std::int32_t{0})),
       method<&C::EqualsEx>("EqualsEx", 2, "Value", opt("CompareMode", std::int32_t{0}))},
      "A string fixed when the library made it");
  return info;
}

ConstStringContainer& ConstStringContainer::initialize(String Value) {
  once_.check_not_initialized(this);
  value_ = std::move(Value);
  once_.mark_initialized();
  return *this;
}

bool ConstStringContainer::Equals(Ref<IStringContainer> Value, std::int32_t CompareMode) {
  return string_holder::equals(value_, Value, CompareMode);
}

bool ConstStringContainer::EqualsEx(const Variant& Value, std::int32_t CompareMode) {
  return string_holder::equals_ex(value_, Value, CompareMode);
}

std::int32_t ConstStringContainer::Compare(String& Value, std::int32_t CompareMode, bool& relativeToValue) {
  return string_holder::compare(value_, Value, CompareMode, relativeToValue);
}

Ref<StringContainer> ConstStringContainer::ToHexSeq() { return StringContainer::holding(code_unit_hex(value_)); }

Ref<StringContainer> ConstStringContainer::ToHexSeqA() { return StringContainer::holding(ansi_code_hex(value_)); }

}  // namespace quorvel
