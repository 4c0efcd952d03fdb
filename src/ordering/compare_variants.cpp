// The default order of two values on top of the platform's Variant comparison.
#include "quorvel/ordering/compare_variants.h"

#include "quorvel/platform/collation.h"
#include "quorvel/platform/variant_compare.h"

namespace quorvel {

namespace {

template <class T>
std::int16_t three_way(T a, T b) noexcept {
  if (a == b) return 0;
  if (a > b) return 1;
  return a < b ? -1 : 0;  // a NaN relates to nothing
}

}  // namespace

std::int16_t CompareVariants(const Variant& A, const Variant& B, CompareMode mode) {
  const bool ignore_case = mode != CompareMode::Binary;
  // The pairs that sorts meet most, answered here as the platform's comparison answers them.
  if (const std::int32_t* a = A.if_long()) {
    if (const std::int32_t* b = B.if_long()) return three_way(*a, *b);
  } else if (const double* a = A.if_double()) {
    if (const double* b = B.if_double()) return three_way(*a, *b);
  } else if (const String* a = A.if_string(); a && !ignore_case) {
    if (const String* b = B.if_string()) return static_cast<std::int16_t>(compare_binary(a->view(), b->view()));
  }
  if (!A.is_object() && !B.is_object()) {
    // Plain values give the same answer to each of the three tests: one comparison decides.
    switch (var_compare(A, B, ignore_case)) {
      case VarOrder::Equal: return 0;
      case VarOrder::Greater: return 1;
      case VarOrder::Less: return -1;
      case VarOrder::Null: return 0;
    }
    return 0;
  }
  // An object's default value is read by every test, and may differ from one read to the next.
  if (var_compare(A, B, ignore_case) == VarOrder::Equal) return 0;
  if (var_compare(A, B, ignore_case) == VarOrder::Greater) return 1;
  if (var_compare(A, B, ignore_case) == VarOrder::Less) return -1;
  return 0;
}

}  // namespace quorvel
