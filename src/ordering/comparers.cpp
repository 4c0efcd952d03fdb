// The ready-made comparers and their descriptions.
#include "quorvel/ordering/comparers.h"

#include "quorvel/platform/describe.h"

namespace quorvel {

const ClassInfo& DefaultComparer::describe() {
  static const ClassInfo info = describe_class<DefaultComparer, IComparer>(ClassFlags::Creatable, {});
  return info;
}

std::int16_t DefaultComparer::Compare(const Variant& A, const Variant& B) {
  return CompareVariants(A, B, CompareMode::Binary);
}

const ClassInfo& BinaryModeComparer::describe() {
  static const ClassInfo info = describe_class<BinaryModeComparer, IComparer, IrefStringComparer>(
      ClassFlags::Creatable, {get<&BinaryModeComparer::get_Object>("Object", 1)});
  return info;
}

std::int16_t BinaryModeComparer::Compare(const Variant& A, const Variant& B) {
  return CompareVariants(A, B, CompareMode::Binary);
}

Ref<BinaryModeComparer> BinaryModeComparer::get_Object() { return Ref<BinaryModeComparer>(this); }

Ref<IrefStringComparer> BinaryModeComparer::as_string_comparer() { return Ref<IrefStringComparer>(this); }

const ClassInfo& TextModeComparer::describe() {
  static const ClassInfo info = describe_class<TextModeComparer, IComparer, IrefStringComparer>(
      ClassFlags::Creatable, {get<&TextModeComparer::get_Object>("Object", 1)});
  return info;
}

std::int16_t TextModeComparer::Compare(const Variant& A, const Variant& B) {
  return CompareVariants(A, B, CompareMode::Text);
}

Ref<TextModeComparer> TextModeComparer::get_Object() { return Ref<TextModeComparer>(this); }

Ref<IrefStringComparer> TextModeComparer::as_string_comparer() { return Ref<IrefStringComparer>(this); }


}  // namespace quorvel
