// The array length procedures. Reading the bounds of an unallocated array is the one failure they
// absorb; any other leaves with the procedure's own source, keeping number and description.
#include "quorvel/frame/module_arrays.h"

#include <string>
#include <string_view>

#include "quorvel/platform/error.h"

namespace quorvel {

namespace {

constexpr std::u16string_view kSourcePrefix = u"Quorvel.ModuleArrays.";

// `array` may be null: the Variant held no array, which is the runtime's type mismatch.
std::int32_t length_of(const Array* array, std::u16string_view procedure) {
  try {
    if (!array) raise_runtime_error(RuntimeError::TypeMismatch);
    if (!array->allocated()) return 0;  // what reading its bounds (error 9) would end in
    return length_from_bounds(array->lower_bound(), array->upper_bound());
  } catch (const Error& e) {
    if (e.number() == static_cast<std::int32_t>(RuntimeError::SubscriptOutOfRange)) return 0;
    std::u16string source(kSourcePrefix);
    source += procedure;
    raise_error(e.number(), String(source), e.description());
  }
}

}  // namespace

std::int32_t length_from_bounds(std::int32_t lower, std::int32_t upper) {
  std::int32_t result = 0;
  if (__builtin_sub_overflow(std::int32_t{1}, lower, &result) || __builtin_add_overflow(result, upper, &result)) {
    raise_runtime_error(RuntimeError::Overflow);
  }
  return result < 0 ? 0 : result;
}

std::int32_t GetLengthVariants(Variant& Variants) { return length_of(Variants.if_array(), u"GetLengthVariants"); }
std::int32_t GetLengthBooleans(ArrayOf<VariantBool>& Booleans) { return length_of(&Booleans, u"GetLengthBooleans"); }
std::int32_t GetLengthBytes(ArrayOf<std::uint8_t>& Bytes) { return length_of(&Bytes, u"GetLengthBytes"); }
std::int32_t GetLengthDoubles(ArrayOf<double>& Doubles) { return length_of(&Doubles, u"GetLengthDoubles"); }
std::int32_t GetLengthIntegers(ArrayOf<std::int16_t>& Integers) { return length_of(&Integers, u"GetLengthIntegers"); }
std::int32_t GetLengthLongs(ArrayOf<std::int32_t>& Longs) { return length_of(&Longs, u"GetLengthLongs"); }
std::int32_t GetLengthSingles(ArrayOf<float>& Singles) { return length_of(&Singles, u"GetLengthSingles"); }
std::int32_t GetLengthStrings(ArrayOf<String>& Strings) { return length_of(&Strings, u"GetLengthStrings"); }

}  // namespace quorvel
