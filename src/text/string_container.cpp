// The changeable string holder, the contract's description and what both holders share.
#include "quorvel/text/string_container.h"

#include "quorvel/frame/error_catalogue.h"
#include "quorvel/platform/describe.h"
#include "quorvel/platform/error.h"
#include "quorvel/text/compare_strings.h"
#include "quorvel/text/hex_text.h"
#include "quorvel/text/string_container_interface_class.h"

namespace quorvel {

QUORVEL_DESCRIBE_INTERFACE(IStringContainer, QUORVEL_ISTRINGCONTAINER_MEMBERS)
QUORVEL_DESCRIBE_INERT_CLASS(IStringContainerClass, IStringContainer, ClassFlags::None)

const ClassInfo& StringContainer::describe() {
  using C = StringContainer;
  static const ClassInfo info = describe_class<C, IStringContainer>(
      ClassFlags::Creatable,
      {get<&C::get_Value>("Value", 1), let<&C::put_Value>("Value", 1, "Value"),
       method<&C::Equals>("Equals", 2, "Value", opt("CompareMode", std::int32_t{0})),
       method<&C::EqualsEx>("EqualsEx", 3, "Value", opt("CompareMode", std::int32_t{0})),
       method<&C::ToHexSeq>("ToHexSeq", 4), method<&C::ToHexSeqA>("ToHexSeqA", 5)},
      "A string that travels where an object is expected");
  return info;
}

namespace string_holder {

bool equals(const String& own, Ref<IStringContainer>& other, std::int32_t mode) {
  if (mode < 0 || mode > 2) raise(Failure::InvalidArgument, nullptr);
  if (!other) raise_runtime_error(RuntimeError::ObjectNotSet);
  // Copies: the other side receives them by reference and may write to them.
  String mine = own;
  bool relative = true;
  const Ref<IStringContainer> keep = other;
  return keep->Compare(mine, mode, relative) == 0;
}

bool equals_ex(const String& own, const Variant& other, std::int32_t mode) {
  String text = other.to_string();
  String mine = own;
  return CompareStrings(text, mine, mode) == 0;
}

std::int32_t compare(const String& own, String& other, std::int32_t mode, bool relative_to_value) {
  String mine = own;
  return relative_to_value ? CompareStrings(other, mine, mode) : CompareStrings(mine, other, mode);
}

}  // namespace string_holder

Ref<StringContainer> StringContainer::holding(String value) {
  Ref<StringContainer> made = make<StringContainer>();
  made->value_ = std::move(value);
  return made;
}

bool StringContainer::Equals(Ref<IStringContainer> Value, std::int32_t CompareMode) {
  return string_holder::equals(value_, Value, CompareMode);
}

bool StringContainer::EqualsEx(const Variant& Value, std::int32_t CompareMode) {
  return string_holder::equals_ex(value_, Value, CompareMode);
}

std::int32_t StringContainer::Compare(String& Value, std::int32_t CompareMode, bool& relativeToValue) {
  return string_holder::compare(value_, Value, CompareMode, relativeToValue);
}

Ref<StringContainer> StringContainer::ToHexSeq() { return holding(code_unit_hex(value_)); }

Ref<StringContainer> StringContainer::ToHexSeqA() { return holding(ansi_code_hex(value_)); }

}  // namespace quorvel
