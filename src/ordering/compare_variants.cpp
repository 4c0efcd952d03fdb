// The default order of two values on top of the platform's Variant comparison.
#include "quorvel/ordering/compare_variants.h"

#include "quorvel/platform/variant_compare.h"

namespace quorvel {

std::int16_t CompareVariants(const Variant& A, const Variant& B, CompareMode mode) {
  const bool ignore_case = mode != CompareMode::Binary;
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
