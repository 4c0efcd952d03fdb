// The application object.
#include "quorvel/entry/quorvel_app.h"

#include "quorvel/frame/module_arrays.h"
#include "quorvel/frame/variant_procedures.h"
#include "quorvel/platform/describe.h"
#include "quorvel/platform/error.h"

namespace quorvel {

namespace {

// Each value is converted before anything is handed out, so a failure returns no array.
template <class E>
ArrayOf<E> array_of(std::span<const Variant> values) {
  if (values.size() > 0x7FFFFFFF) raise_runtime_error(RuntimeError::Overflow);
  ArrayOf<E> out(0, static_cast<std::int32_t>(values.size()));
  std::span<E> items = out.items();
  for (std::size_t i = 0; i < values.size(); ++i) items[i] = detail::convert_argument<E>(values[i]);
  return out;
}

}  // namespace

QuorvelApp::QuorvelApp() : construct_(new_constructors()), collections_(new_collection_helper()) {}

Ref<TypeCast> QuorvelApp::get_Cast() {
  if (!cast_) cast_ = new_type_cast();
  return cast_;
}

ArrayOf<std::uint8_t> QuorvelApp::ArrayOfBytes(std::span<const Variant> Values) { return array_of<std::uint8_t>(Values); }
ArrayOf<VariantBool> QuorvelApp::ArrayOfBooleans(std::span<const Variant> Values) { return array_of<VariantBool>(Values); }
ArrayOf<std::int16_t> QuorvelApp::ArrayOfIntegers(std::span<const Variant> Values) { return array_of<std::int16_t>(Values); }
ArrayOf<std::int32_t> QuorvelApp::ArrayOfLongs(std::span<const Variant> Values) { return array_of<std::int32_t>(Values); }
ArrayOf<float> QuorvelApp::ArrayOfSingles(std::span<const Variant> Values) { return array_of<float>(Values); }
ArrayOf<double> QuorvelApp::ArrayOfDoubles(std::span<const Variant> Values) { return array_of<double>(Values); }
ArrayOf<String> QuorvelApp::ArrayOfStrings(std::span<const Variant> Values) { return array_of<String>(Values); }

std::int32_t QuorvelApp::GetLengthVariants(Variant& Variants) { return quorvel::GetLengthVariants(Variants); }
std::int32_t QuorvelApp::GetLengthBooleans(ArrayOf<VariantBool>& Booleans) { return quorvel::GetLengthBooleans(Booleans); }
std::int32_t QuorvelApp::GetLengthBytes(ArrayOf<std::uint8_t>& Bytes) { return quorvel::GetLengthBytes(Bytes); }
std::int32_t QuorvelApp::GetLengthDoubles(ArrayOf<double>& Doubles) { return quorvel::GetLengthDoubles(Doubles); }
std::int32_t QuorvelApp::GetLengthIntegers(ArrayOf<std::int16_t>& Integers) { return quorvel::GetLengthIntegers(Integers); }
std::int32_t QuorvelApp::GetLengthLongs(ArrayOf<std::int32_t>& Longs) { return quorvel::GetLengthLongs(Longs); }
std::int32_t QuorvelApp::GetLengthSingles(ArrayOf<float>& Singles) { return quorvel::GetLengthSingles(Singles); }
std::int32_t QuorvelApp::GetLengthStrings(ArrayOf<String>& Strings) { return quorvel::GetLengthStrings(Strings); }

Ref<Unknown> QuorvelApp::objSet(Ref<Unknown>& A, Ref<Unknown> B) noexcept {
  A = std::move(B);
  return A;
}
Variant QuorvelApp::VLet(Variant& A, Variant& B) { return AssignVariant(A, B); }
std::int32_t QuorvelApp::LLet(std::int32_t& A, std::int32_t B) noexcept { return A = B; }
std::int16_t QuorvelApp::ILet(std::int16_t& A, std::int16_t B) noexcept { return A = B; }
String QuorvelApp::StrLet(String& A, const String& B) {
  A = B;
  return A;
}

Ref<Box_Variant> QuorvelApp::Box(const Variant& Value) { return construct_->new_Box_Variant(Value); }

const ClassInfo& QuorvelApp::describe() {
  using A = QuorvelApp;
  static const ClassInfo info = describe_class<QuorvelApp>(
      ClassFlags::Creatable | ClassFlags::Global,
      {get<&A::get_Cast>("Cast", 1), get<&A::get_Construct>("Construct", 2),
       with_varargs(method<&A::ArrayOfBytes>("ArrayOfBytes", 3, "Values")),
       with_varargs(method<&A::ArrayOfBooleans>("ArrayOfBooleans", 4, "Values")),
       with_varargs(method<&A::ArrayOfIntegers>("ArrayOfIntegers", 5, "Values")),
       with_varargs(method<&A::ArrayOfLongs>("ArrayOfLongs", 6, "Values")),
       with_varargs(method<&A::ArrayOfSingles>("ArrayOfSingles", 7, "Values")),
       with_varargs(method<&A::ArrayOfDoubles>("ArrayOfDoubles", 8, "Values")),
       with_varargs(method<&A::ArrayOfStrings>("ArrayOfStrings", 9, "Values")),
       method<&A::GetLengthVariants>("GetLengthVariants", 10, "Variants"),
       method<&A::GetLengthBooleans>("GetLengthBooleans", 11, "Booleans"),
       method<&A::GetLengthBytes>("GetLengthBytes", 12, "Bytes"),
       method<&A::GetLengthDoubles>("GetLengthDoubles", 13, "Doubles"),
       method<&A::GetLengthIntegers>("GetLengthIntegers", 14, "Integers"),
       method<&A::GetLengthLongs>("GetLengthLongs", 15, "Longs"),
       method<&A::GetLengthSingles>("GetLengthSingles", 16, "Singles"),
       method<&A::GetLengthStrings>("GetLengthStrings", 17, "Strings"),
       get<&A::get_Collections>("Collections", 18), method<&A::objSet>("objSet", 19, "A", "B"),
       method<&A::VLet>("VLet", 20, "A", "B"), method<&A::LLet>("LLet", 21, "A", "B"),
       method<&A::ILet>("ILet", 22, "A", "B"), method<&A::StrLet>("StrLet", 23, "A", "B"),
       method<&A::Box>("Box", 24, "Value")},
      "The application object: the library's entry points, callable without creating an instance");
  return info;
}

}  // namespace quorvel
