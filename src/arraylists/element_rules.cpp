// Find's matching rules for strings, objects and Variants: the platform's text-mode comparisons.
#include "element_rules.h"

#include "quorvel/platform/collation.h"
#include "quorvel/platform/variant_compare.h"

namespace quorvel {

bool strings_match(const String& element, const String& value) { return equal_text(element.view(), value.view()); }

bool objects_match(const Ref<Unknown>& element, const Ref<Unknown>& value) {
  // Two different objects match when their default values do; identity is not asked. The
  // searched value's default is read first and again for every element, as a late-bound read is.
  const Variant wanted = Variant(value).default_value();
  const Variant held = Variant(element).default_value();
  return var_compare(held, wanted, true) == VarOrder::Equal;
}

bool variants_match(const Variant& element, const Variant& value) {
  return var_compare(element, value, true) == VarOrder::Equal;
}

}  // namespace quorvel
