// Orders and helpers for the ordering tests.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "quorvel/ordering/compare_variants.h"
#include "quorvel/platform/error.h"
#include "support/test_objects.h"

namespace quorvel::testing_support {

using test_support::comparer;
using test_support::Fn;
using FnComparer = test_support::Fn;  // make<FnComparer>(order) is comparer(order)
using Valued = test_support::Token;   // make<Valued>(3): a default value of 3, counting its reads

inline std::int16_t sign_of(double d) { return static_cast<std::int16_t>((d > 0) - (d < 0)); }

/// The default order, except that the `nth` call raises error 5.
inline Ref<Fn> raising_at(long nth) {
  return comparer([nth, calls = 0L](const Variant& a, const Variant& b) mutable -> std::int16_t {
    if (++calls == nth) raise_runtime_error(RuntimeError::InvalidProcedureCall);
    return CompareVariants(a, b, CompareMode::Binary);
  });
}

/// The elements' text forms in sorted order: equal for two ranges holding the same elements.
template <class Range>
std::vector<std::u16string> sorted_texts(const Range& elements) {
  std::vector<std::u16string> out;
  for (const auto& e : elements) out.emplace_back(Variant(e).to_string().view());
  std::sort(out.begin(), out.end());
  return out;
}

}  // namespace quorvel::testing_support
