// The value model at work: Variants of several kinds, conversions and their errors under two
// locales, by-reference values, arrays with their own lower bound, and a late-bound call on the
// global debug object.
#include <cstdio>
#include <functional>
#include <string>

#include "quorvel/frame/module_arrays.h"
#include "quorvel/frame/variant_procedures.h"
#include "quorvel/platform/error.h"
#include "quorvel/platform/late_binding.h"
#include "quorvel/platform/locale.h"
#include "quorvel/platform/registry.h"

using namespace quorvel;

namespace {

std::string utf8(const String& s) { return s.to_utf8(); }

// "Long 42", "String \"x\"", ... : the kind and the value as text.
std::string show(const Variant& v) {
  if (v.is_array()) return std::string("array of ") + kind_name(v.kind());
  const char* kind = kind_name(v.kind());
  if (v.is_empty() || v.is_null()) return kind;
  if (v.is_object()) return v.if_object() ? "Object" : "Nothing";
  if (v.is_missing()) return "Error 0x80020004 (an omitted argument)";
  if (v.if_error()) return "Error " + std::to_string(*v.if_error());
  if (v.is_string()) return std::string(kind) + " \"" + utf8(*v.if_string()) + "\"";
  return std::string(kind) + " " + utf8(v.to_string());
}

// Runs a conversion and prints its result or its error.
void attempt(const char* what, const std::function<std::string()>& convert) {
  try {
    std::printf("  %-34s -> %s\n", what, convert().c_str());
  } catch (const Error& e) {
    std::printf("  %-34s -> error %d (%s)\n", what, e.number(), utf8(e.description()).c_str());
  }
}

void conversions(Lcid lcid) {
  set_user_locale(lcid);
  std::printf("\nConversions under locale 0x%04X:\n", static_cast<unsigned>(lcid));
  attempt("Double 1234.5 to String", [] { return utf8(Variant(1234.5).to_string()); });
  attempt("String \"1,5\" to Double", [] { return show(Variant(Variant(u"1,5").to_double())); });
  attempt("String \"1.5\" to Double", [] { return show(Variant(Variant(u"1.5").to_double())); });
  attempt("String \"&HFF\" to Long", [] { return show(Variant(Variant(u"&HFF").to_long())); });
  attempt("Double 2.5 to Long (half to even)", [] { return show(Variant(Variant(2.5).to_long())); });
  attempt("Long 40000 to Integer", [] { return show(Variant(Variant(std::int32_t{40000}).to_integer())); });
  attempt("String \"abc\" to Long", [] { return show(Variant(Variant(u"abc").to_long())); });
  attempt("Null to Long", [] { return show(Variant(Variant::null().to_long())); });
  attempt("Boolean True to String", [] { return utf8(Variant(true).to_string()); });
}

}  // namespace

int main() {
  std::printf("Variants of several kinds:\n");
  const Variant samples[] = {Variant(),           Variant::null(),      Variant(std::int16_t{-7}),
                             Variant(std::int32_t{70000}), Variant(0.1f), Variant(3.25),
                             Variant(u"text"),    Variant(true),        Variant(std::uint8_t{255}),
                             Variant::missing(),  Variant::nothing()};
  for (const Variant& v : samples) std::printf("  type %4d  %s\n", v.type_code(), show(v).c_str());

  conversions(0x409);
  conversions(0x407);
  set_user_locale(0x409);

  std::printf("\nBy reference:\n");
  std::int32_t counter = 1;
  Variant ref = Variant::by_ref(counter);
  std::printf("  reads through: %s, reported type %d (no by-reference flag)\n", show(ref).c_str(), ref.type_code());
  ref.assign(Variant(u"41"));
  std::printf("  after assigning \"41\", the Long it points at holds %d\n", counter);
  Variant copy;
  CopyVariant(copy, ref);
  counter = 0;
  std::printf("  a dereferencing copy keeps %s after the storage changed\n", show(copy).c_str());

  std::printf("\nArrays with their own lower bound:\n");
  ArrayOf<std::int32_t> longs(-3, 7);
  for (std::int32_t i = -3; i <= 3; ++i) longs.at(i) = i * i;
  std::printf("  bounds %d to %d, GetLengthLongs = %d, element -2 = %d\n", longs.lower_bound(), longs.upper_bound(),
              GetLengthLongs(longs), longs.at(-2));
  ArrayOf<std::int32_t> unallocated;
  std::printf("  an unallocated array has length %d\n", GetLengthLongs(unallocated));
  Variant boxed(static_cast<Array>(longs));
  std::printf("  as a Variant: type %d, GetLengthVariants = %d\n", boxed.type_code(), GetLengthVariants(boxed));
  attempt("element 4 of that array", [&] { return show(boxed.if_array()->get(4)); });
  Variant five(std::int32_t{5});
  attempt("GetLengthVariants of a Long", [&] { return std::to_string(GetLengthVariants(five)); });

  std::printf("\nLate-bound calls on the global object clsDebug:\n");
  Ref<Object> debug = global_object(u"clsDebug");
  std::printf("  sComponentName = %s\n", show(invoke(*debug, u"sComponentName", MemberKind::Get, {})).c_str());
  Variant trace = invoke(*debug, u"colTraceObj", MemberKind::Get, {});
  std::printf("  colTraceObj = %s with Count %d\n", show(trace).c_str(),
              invoke(trace, u"Count", MemberKind::Method | MemberKind::Get, {}).to_long());
  attempt("clsDebug.NoSuchMember", [&] { return show(invoke(*debug, u"NoSuchMember", MemberKind::Get, {})); });
  return 0;
}
