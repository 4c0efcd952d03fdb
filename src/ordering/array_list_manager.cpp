// The sequence algorithms. Each has one literal route through `IArrayList` and the comparer, in
// exactly the order of reads and calls a caller can observe, and, where neither the list nor the
// order is a caller's, a typed route over the list's elements in place that gives the same answer.
#include "quorvel/ordering/array_list_manager.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <type_traits>
#include <vector>

#include "ordering/quicksort_core.h"
#include "quorvel/frame/direct_elements.h"
#include "quorvel/frame/error_catalogue.h"
#include "quorvel/ordering/compare_variants.h"
#include "quorvel/ordering/comparers.h"
#include "quorvel/ordering/sort_engine.h"
#include "quorvel/platform/collation.h"
#include "quorvel/platform/describe.h"
#include "quorvel/platform/error.h"
#include "quorvel/platform/interface_cast.h"
#include "quorvel/platform/memory.h"
#include "quorvel/platform/variant_compare.h"

namespace quorvel {

namespace {

IArrayList& used(const Ref<IArrayList>& list) {
  if (!list) raise_runtime_error(RuntimeError::ObjectNotSet);
  return *list;
}

int sign_of(int value) noexcept { return (value > 0) - (value < 0); }

// An index computed in 64 bits, as a Long: beyond the Long range the arithmetic overflowed.
std::int32_t as_index(std::int64_t index) {
  if (index < std::numeric_limits<std::int32_t>::min() || index > std::numeric_limits<std::int32_t>::max()) {
    raise_runtime_error(RuntimeError::Overflow);
  }
  return static_cast<std::int32_t>(index);
}

int compare_items(IComparer* comparer, const Variant& a, const Variant& b) {
  return sign_of(comparer ? comparer->Compare(a, b) : CompareVariants(a, b, CompareMode::Binary));
}

// The relation = of two values in binary mode; Null has no truth value to test.
bool values_equal(const Variant& a, const Variant& b) {
  if (a.is_null() || b.is_null()) raise_runtime_error(RuntimeError::InvalidUseOfNull);
  return var_compare(a, b, false) == VarOrder::Equal;
}

const Object* identity_of(const Variant& value) {
  const Ref<Unknown> object = interface_cast<Unknown>(value);
  return object ? &object->identity() : nullptr;
}

// --- the typed route ---------------------------------------------------------------------------

// The elements of a library list of a value kind, in place; none for any other list.
std::optional<ElementBlock> direct_block(IArrayList& list) {
  auto* direct = static_cast<IDirectElements*>(list.find_interface(IDirectElements::iid));
  if (!direct) return std::nullopt;
  const ElementBlock block = direct->element_block();
  switch (block.kind) {
    case VarKind::Boolean:
    case VarKind::Byte:
    case VarKind::Integer:
    case VarKind::Long:
    case VarKind::Single:
    case VarKind::Double:
    case VarKind::String:
      return block;
    default:
      return std::nullopt;
  }
}

// Orders that are `CompareVariants` in binary mode, whoever asks: no comparer, or the library's.
bool library_order(IComparer* comparer) noexcept {
  if (!comparer) return true;
  return class_cast<DefaultComparer>(comparer) || class_cast<BinaryModeComparer>(comparer);
}

// Calls `f` with the block as a span of its element type.
template <class F>
decltype(auto) with_elements(const ElementBlock& block, F&& f) {
  const auto count = static_cast<std::size_t>(block.count);
  auto as = [&]<class E>(E*) { return std::span<const E>(static_cast<const E*>(block.data), count); };
  switch (block.kind) {
    case VarKind::Boolean: return f(as(static_cast<VariantBool*>(nullptr)));
    case VarKind::Byte: return f(as(static_cast<std::uint8_t*>(nullptr)));
    case VarKind::Integer: return f(as(static_cast<std::int16_t*>(nullptr)));
    case VarKind::Long: return f(as(static_cast<std::int32_t*>(nullptr)));
    case VarKind::Single: return f(as(static_cast<float*>(nullptr)));
    case VarKind::Double: return f(as(static_cast<double*>(nullptr)));
    default: return f(as(static_cast<String*>(nullptr)));  // direct_block lets nothing else through
  }
}

// `CompareVariants` in binary mode on two elements of one kind: -1, 0 or 1, and 0 when no
// relation holds (a NaN). A Boolean orders by its value, True being -1.
template <class E>
int order(const E& a, const E& b) noexcept {
  if constexpr (std::is_same_v<E, VariantBool>) {
    return order<int>(a ? -1 : 0, b ? -1 : 0);
  } else if constexpr (std::is_same_v<E, String>) {
    return sign_of(compare_binary(a.view(), b.view()));
  } else {
    return a < b ? -1 : (b < a ? 1 : 0);
  }
}

// The relation = of two elements of one kind in binary mode (a NaN equals nothing).
template <class E>
bool equal(const E& a, const E& b) noexcept {
  if constexpr (std::is_same_v<E, VariantBool>) {
    return static_cast<bool>(a) == static_cast<bool>(b);
  } else if constexpr (std::is_same_v<E, String>) {
    return compare_binary(a.view(), b.view()) == 0;
  } else {
    return a == b;
  }
}

template <class E>
const E* value_of(const Variant& v) noexcept {
  if constexpr (std::is_same_v<E, VariantBool>) return v.if_boolean();
  else if constexpr (std::is_same_v<E, std::uint8_t>) return v.if_byte();
  else if constexpr (std::is_same_v<E, std::int16_t>) return v.if_integer();
  else if constexpr (std::is_same_v<E, std::int32_t>) return v.if_long();
  else if constexpr (std::is_same_v<E, float>) return v.if_single();
  else if constexpr (std::is_same_v<E, double>) return v.if_double();
  else return v.if_string();
}

// An element against a value, as the default order compares the element's `Item` with it.
template <class E>
int order_with_value(const E& element, const Variant& value) {
  if (const E* same_kind = value_of<E>(value)) return order(element, *same_kind);
  if constexpr (std::is_same_v<E, VariantBool>) {
    return CompareVariants(Variant(static_cast<bool>(element)), value, CompareMode::Binary);
  } else {
    return CompareVariants(Variant(element), value, CompareMode::Binary);
  }
}

// Appends the first element of each run of equal elements to `target`, gathered a chunk at a
// time so that the list is called once per chunk rather than once per element.
void append_run_heads(const ElementBlock& block, IDirectElements& target) {
  with_elements(block, [&](auto items) {
    using E = std::remove_const_t<typename decltype(items)::element_type>;
    constexpr std::size_t kChunk = 4096;
    std::vector<E, RaisingAllocator<E>> chunk;
    chunk.reserve(std::min(items.size(), kChunk));
    auto flush = [&] {
      target.append_block(chunk.data(), static_cast<std::int32_t>(chunk.size()));
      chunk.clear();
    };
    for (std::size_t k = 0; k < items.size(); ++k) {
      if (k > 0 && equal(items[k - 1], items[k])) continue;
      chunk.push_back(items[k]);
      if (chunk.size() == kChunk) flush();
    }
    if (!chunk.empty()) flush();
  });
}

// --- the steps both routes share -------------------------------------------------------------

// The bisection: `order_at(mid)` is the sign of comparing item mid with the value sought.
template <class OrderAt>
bool bisect(std::int32_t m, std::int32_t n, int direction, std::int32_t& retIndex, OrderAt order_at) {
  std::int64_t lo = m;
  std::int64_t hi = n;
  std::int32_t mid = 0;
  bool found = false;
  while (!found && lo <= hi) {
    mid = sorting::midpoint(static_cast<std::int32_t>(lo), static_cast<std::int32_t>(hi));
    const int r = order_at(mid);
    if (r == 0) {
      found = true;
    } else if ((r < 0) == (direction > 0)) {
      lo = static_cast<std::int64_t>(mid) + 1;
    } else {
      hi = static_cast<std::int64_t>(mid) - 1;
    }
  }
  retIndex = mid;
  return found;
}

// The walk of the monotonicity check from `lb`: `pair_order(i)` orders item i against item i + 1;
// `upper()` is read once, after the first pair.
template <class PairOrder, class Upper>
bool walk_monotonic(std::int64_t lb, Upper upper, PairOrder pair_order, std::int16_t& retDirection, bool& retStrict) {
  int direction = pair_order(lb);
  bool strict = direction != 0;
  const std::int64_t ub = upper();
  for (std::int64_t i = lb + 1; i <= ub - 1; ++i) {
    const int r = pair_order(i);
    if (r == 0) strict = false;
    if (direction == 0) {
      direction = r;
    } else if (r != 0 && r != direction) {
      retStrict = false;
      retDirection = 0;
      return false;
    }
  }
  retStrict = strict;
  retDirection = static_cast<std::int16_t>(-direction);
  return true;
}

// The range of a search: omitted bounds become the list's own, written back as Longs. The two
// arguments may be one variable (C++ callers omitting both share the omitted slot), so both are
// looked at before either is written.
struct SearchRange {
  Variant first;
  Variant last;
};
SearchRange complete_range(const Ref<IArrayList>& list, Variant& m, Variant& n) {
  const bool m_missing = m.is_missing();
  const bool n_missing = n.is_missing();
  SearchRange range{m_missing ? Variant() : m, n_missing ? Variant() : n};
  if (m_missing) range.first = Variant(used(list).get_LowerBound());
  if (n_missing) range.last = Variant(used(list).get_UpperBound());
  if (m_missing) m.assign(range.first);
  if (n_missing) n.assign(range.last);
  return range;
}

}  // namespace

const ClassInfo& ArrayList_Manager::describe() {
  using C = ArrayList_Manager;
  static const ClassInfo info = describe_class<C>(
      ClassFlags::Creatable,
      {method<&C::QuickSort>("QuickSort", 1, "ArrayList", "m", "n", opt("Comparer")),
       method<&C::LogarithmicSearch>("LogarithmicSearch", 2, "ArrayList", "Value", "retIndex", "MonotonityDirection",
                                     opt("Comparer"), opt("m"), opt("n")),
       method<&C::CheckMonotonity>("CheckMonotonity", 3, "ArrayList", "retDirection", opt("retStrict"),
                                   opt("Comparer")),
       method<&C::Reducate>("Reducate", 4, "ArrayList", "InPlace"),
       method<&C::LogarithmicSearchEx>("LogarithmicSearchEx", 5, "ArrayList", "Value", "retIndex",
                                       "MonotonityDirection", "Comparer", opt("m"), opt("n"))});
  return info;
}

void ArrayList_Manager::QuickSort(Ref<IArrayList> ArrayList, std::int32_t m, std::int32_t n, Ref<IComparer> Comparer) {
  IArrayList& list = used(ArrayList);
  const Ref<quorvel::QuickSort> engine = make<quorvel::QuickSort>();
  engine->SortList(list, m, n, Comparer.get());
}

bool ArrayList_Manager::LogarithmicSearch(Ref<IArrayList> ArrayList, const Variant& Value, std::int32_t& retIndex,
                                          std::int16_t MonotonityDirection, Ref<IComparer> Comparer, Variant& m,
                                          Variant& n) {
  const SearchRange range = complete_range(ArrayList, m, n);
  if (MonotonityDirection == 0) raise(Failure::InvalidArgument, sender());
  const int direction = MonotonityDirection > 0 ? 1 : -1;
  const std::int32_t lo = range.first.to_long();
  const std::int32_t hi = range.last.to_long();
  // An object as the value is read through its default member at every comparison: caller code.
  if (ArrayList && library_order(Comparer.get()) && !Value.is_object()) {
    if (const std::optional<ElementBlock> block = direct_block(*ArrayList)) {
      return with_elements(*block, [&](auto items) {
        return bisect(lo, hi, direction, retIndex, [&](std::int32_t mid) {
          if (static_cast<std::uint32_t>(mid) >= items.size()) ArrayList->get_Item(mid);  // its index error
          return order_with_value(items[static_cast<std::size_t>(mid)], Value);
        });
      });
    }
  }
  return bisect(lo, hi, direction, retIndex, [&](std::int32_t mid) {
    const Variant item = used(ArrayList).get_Item(mid);
    return compare_items(Comparer.get(), item, Value);
  });
}

bool ArrayList_Manager::LogarithmicSearchEx(Ref<IArrayList> ArrayList, const Variant& Value, std::int32_t& retIndex,
                                            std::int16_t MonotonityDirection, Ref<IFindComparer> Comparer,
                                            Variant& m, Variant& n) {
  const SearchRange range = complete_range(ArrayList, m, n);
  if (!Comparer) raise(Failure::InvalidArgument, sender());
  if (MonotonityDirection == 0) raise(Failure::InvalidArgument, sender());
  const int direction = MonotonityDirection > 0 ? 1 : -1;
  const std::int32_t lo = range.first.to_long();
  const std::int32_t hi = range.last.to_long();
  return bisect(lo, hi, direction, retIndex, [&](std::int32_t mid) {
    const Variant item = used(ArrayList).get_Item(mid);
    return sign_of(Comparer->Compare(item, Value));
  });
}

bool ArrayList_Manager::CheckMonotonity(Ref<IArrayList> ArrayList, std::int16_t& retDirection, bool& retStrict,
                                        Ref<IComparer> Comparer) {
  if (!ArrayList) raise(Failure::InvalidArgument, sender());
  IArrayList& list = *ArrayList;
  if (list.get_Count() < 2) {
    retDirection = 0;
    retStrict = true;
    return true;
  }
  if (library_order(Comparer.get())) {
    if (const std::optional<ElementBlock> block = direct_block(list)) {
      return with_elements(*block, [&](auto items) {
        const auto upper = static_cast<std::int64_t>(items.size()) - 1;
        return walk_monotonic(
            0, [&] { return upper; },
            [&](std::int64_t i) {
              return order(items[static_cast<std::size_t>(i)], items[static_cast<std::size_t>(i + 1)]);
            },
            retDirection, retStrict);
      });
    }
  }
  const std::int64_t lb = list.get_LowerBound();
  return walk_monotonic(
      lb, [&] { return static_cast<std::int64_t>(list.get_UpperBound()); },
      [&](std::int64_t i) {
        const Variant a = list.get_Item(as_index(i));
        const Variant b = list.get_Item(as_index(i + 1));
        return compare_items(Comparer.get(), a, b);
      },
      retDirection, retStrict);
}

Ref<IArrayList> ArrayList_Manager::Reducate(Ref<IArrayList> ArrayList, bool InPlace) {
  IArrayList& list = used(ArrayList);
  std::int64_t i = static_cast<std::int64_t>(list.get_LowerBound()) + 1;
  const bool identity = list.get_VarType() == static_cast<std::int32_t>(VarKind::Object);
  Ref<IArrayList> fresh;
  if (!InPlace) {
    fresh = list.CreateNew();
    if (const std::optional<ElementBlock> block = direct_block(list); block && fresh) {
      auto* target = static_cast<IDirectElements*>(fresh->find_interface(IDirectElements::iid));
      if (target && target->element_block().kind == block->kind) {
        append_run_heads(*block, *target);
        return fresh;
      }
    }
    if (list.get_Count() > 0) {
      const Variant first = list.get_Item(list.get_LowerBound());
      used(fresh).AddItem(first);
    }
  }
  while (i <= list.get_UpperBound()) {
    const std::int32_t at = as_index(i);
    const Variant before = list.get_Item(as_index(i - 1));
    const Variant here = list.get_Item(at);
    const bool same = identity ? identity_of(before) == identity_of(here) : values_equal(before, here);
    if (same && InPlace) {
      list.RemoveItem(at, true);
    } else if (same) {
      ++i;
    } else {
      if (!InPlace) {
        const Variant kept = list.get_Item(at);
        used(fresh).AddItem(kept);
      }
      ++i;
    }
  }
  return InPlace ? ArrayList : fresh;
}

}  // namespace quorvel
