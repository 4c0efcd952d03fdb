// The sort engine's entry points: each kind plugs its way of taking a pivot, testing an element
// and exchanging two elements into the one literal quicksort, or takes a fast path where the
// result cannot differ.
#include "quorvel/ordering/sort_engine.h"

#include <cstddef>
#include <span>
#include <utility>

#include "ordering/fast_sort.h"
#include "ordering/quicksort_core.h"
#include "quorvel/frame/error_catalogue.h"
#include "quorvel/frame/variant_procedures.h"
#include "quorvel/ordering/compare_variants.h"
#include "quorvel/platform/describe.h"

namespace quorvel {

namespace {

using sorting::quicksort_literal;

// Exchange of two Variants by the dereferencing copies of `SwapVariants`. A plain scalar, string
// or object is its own deep copy and copying it cannot fail, so two of those are exchanged in
// place; by-reference values and arrays take the copying road.
void exchange_variants(Variant& a, Variant& b) {
  constexpr std::uint16_t kCopied = kByRefFlag | kArrayFlag;
  if ((a.raw_code() & kCopied) == 0 && (b.raw_code() & kCopied) == 0) {
    a.swap(b);
  } else {
    SwapVariants(a, b);
  }
}

// The array range [m, n], after checking that it lies within the array.
template <class E>
std::span<E> checked_range(ArrayOf<E>& arr, std::int32_t m, std::int32_t n) {
  if (!arr.allocated() || m < arr.lower_bound() || n > arr.upper_bound()) raise_subscript_error();
  const auto offset = static_cast<std::size_t>(static_cast<std::int64_t>(m) - arr.lower_bound());
  return arr.items().subspan(offset, static_cast<std::size_t>(static_cast<std::int64_t>(n) - m + 1));
}

class ArrayLock {
 public:
  explicit ArrayLock(Array& array) noexcept : array_(array) { array_.lock(); }
  ArrayLock(const ArrayLock&) = delete;
  ArrayLock& operator=(const ArrayLock&) = delete;
  ~ArrayLock() { array_.unlock(); }

 private:
  Array& array_;
};

// Elements of a range addressed by their array index.
template <class E>
class Elements {
 public:
  Elements(std::span<E> range, std::int32_t first) noexcept : base_(range.data()), first_(first) {}
  E& operator[](std::int32_t index) const noexcept {
    return base_[static_cast<std::size_t>(static_cast<std::int64_t>(index) - first_)];
  }

 private:
  E* base_;
  std::int32_t first_;
};

// A typed array without a comparer, in the kind's own order (IEEE for floats: a NaN is neither
// before nor after anything).
template <class E>
struct NaturalOrderOps {
  Elements<E> at;
  E take_pivot(std::int32_t mid) const { return at[mid]; }
  bool before(std::int32_t i, const E& pivot) const { return at[i] < pivot; }
  bool after(std::int32_t j, const E& pivot) const { return pivot < at[j]; }
  void exchange(std::int32_t i, std::int32_t j) const { std::swap(at[i], at[j]); }
};

// A typed array with a comparer: each element travels as a Variant of the array's kind.
template <class E>
struct ComparerOps {
  Elements<E> at;
  IComparer& comparer;
  Variant take_pivot(std::int32_t mid) const { return Variant(at[mid]); }
  bool before(std::int32_t i, const Variant& pivot) const { return comparer.Compare(Variant(at[i]), pivot) < 0; }
  bool after(std::int32_t j, const Variant& pivot) const { return comparer.Compare(Variant(at[j]), pivot) > 0; }
  void exchange(std::int32_t i, std::int32_t j) const { std::swap(at[i], at[j]); }
};

// Variants: the comparer sees the element itself; the pivot is a deep copy.
struct VariantOps {
  Elements<Variant> at;
  IComparer* comparer;
  std::int16_t order(const Variant& element, const Variant& pivot) const {
    return comparer ? comparer->Compare(element, pivot) : CompareVariants(element, pivot, CompareMode::Binary);
  }
  Variant take_pivot(std::int32_t mid) const {
    Variant pivot;
    CopyVariant(pivot, at[mid]);
    return pivot;
  }
  bool before(std::int32_t i, const Variant& pivot) const { return order(at[i], pivot) < 0; }
  bool after(std::int32_t j, const Variant& pivot) const { return order(at[j], pivot) > 0; }
  void exchange(std::int32_t i, std::int32_t j) const { exchange_variants(at[i], at[j]); }
};

// A value kept by the kind test: an object reference by reference, anything else (an object
// with a default value included) as a value.
Variant copy_value(const Variant& value) {
  if (value.var_type() == Variant::code(VarKind::Object)) return value.copy_ind();
  return value.default_value();
}

// Writes through the list's own accessors, chosen by the kind test.
void write_item(const Variant& value, IArrayList& list, std::int32_t index) {
  if (value.var_type() == Variant::code(VarKind::Object)) {
    list.putref_Item(index, value);
  } else {
    list.put_Item(index, value);
  }
}

// Any list through `IArrayList`: one `Item` get per test, exchanges through `Item` let or set.
struct ListOps {
  IArrayList& list;
  IComparer* comparer;
  std::int16_t order(const Variant& element, const Variant& pivot) const {
    return comparer ? comparer->Compare(element, pivot) : CompareVariants(element, pivot, CompareMode::Binary);
  }
  Variant take_pivot(std::int32_t mid) const { return list.get_Item(mid); }
  bool before(std::int32_t i, const Variant& pivot) const { return order(list.get_Item(i), pivot) < 0; }
  bool after(std::int32_t j, const Variant& pivot) const { return order(list.get_Item(j), pivot) > 0; }
  void exchange(std::int32_t i, std::int32_t j) const {
    const Variant kept = copy_value(list.get_Item(i));
    write_item(list.get_Item(j), list, i);
    write_item(kept, list, j);
  }
};

// The common road of the typed array kinds: check, lock, then the fast path when there is no
// comparer and `fast` accepts the range, else the literal algorithm. `comparer` is held for the
// whole sort, whatever happens to the engine's own field meanwhile.
template <class E, class Fast>
void sort_array(ArrayOf<E>& arr, std::int32_t m, std::int32_t n, const Ref<IComparer> comparer, Fast fast) {
  if (m > n) return;
  const std::span<E> range = checked_range(arr, m, n);
  ArrayLock lock(arr);
  const Elements<E> at(range, m);
  if (comparer) {
    ComparerOps<E> ops{at, *comparer};
    quicksort_literal(ops, m, n);
  } else if (!fast(range)) {
    NaturalOrderOps<E> ops{at};
    quicksort_literal(ops, m, n);
  }
}

}  // namespace

const ClassInfo& QuickSort::describe() {
  // Private to the library: described for identity and error sources, never registered.
  static const ClassInfo info = describe_class<QuickSort>(ClassFlags::None, {});
  return info;
}

void QuickSort::ClearComparer() noexcept { comparer_ = nullptr; }

void QuickSort::SetComparer(IComparer* Comparer) noexcept {
  ClearComparer();
  comparer_ = Ref<IComparer>(Comparer);
}

void QuickSort::SortBooleans(ArrayOf<VariantBool>& Arr, std::int32_t m, std::int32_t n, IComparer* Comparer) {
  SetComparer(Comparer);
  sort_array(Arr, m, n, comparer_, [](std::span<VariantBool> r) {
    sorting::sort_booleans(r);
    return true;
  });
}

void QuickSort::SortBytes(ArrayOf<std::uint8_t>& Arr, std::int32_t m, std::int32_t n, IComparer* Comparer) {
  SetComparer(Comparer);
  sort_array(Arr, m, n, comparer_, [](std::span<std::uint8_t> r) {
    sorting::sort_bytes(r);
    return true;
  });
}

void QuickSort::SortDoubles(ArrayOf<double>& Arr, std::int32_t m, std::int32_t n, IComparer* Comparer) {
  SetComparer(Comparer);
  sort_array(Arr, m, n, comparer_, [](std::span<double> r) { return sorting::try_sort_doubles(r); });
}

void QuickSort::SortIntegers(ArrayOf<std::int16_t>& Arr, std::int32_t m, std::int32_t n, IComparer* Comparer) {
  SetComparer(Comparer);
  sort_array(Arr, m, n, comparer_, [](std::span<std::int16_t> r) {
    sorting::sort_integers(r);
    return true;
  });
}

void QuickSort::SortLongs(ArrayOf<std::int32_t>& Arr, std::int32_t m, std::int32_t n, IComparer* Comparer) {
  SetComparer(Comparer);
  sort_array(Arr, m, n, comparer_, [](std::span<std::int32_t> r) {
    sorting::sort_longs(r);
    return true;
  });
}

void QuickSort::SortObjects(ArrayOf<Ref<Unknown>>& Arr, std::int32_t m, std::int32_t n, IComparer* Comparer) {
  if (!Comparer) raise(Failure::InvalidArgument, as_unknown(this));
  SetComparer(Comparer);
  if (m > n) return;
  const std::span<Ref<Unknown>> range = checked_range(Arr, m, n);
  ArrayLock lock(Arr);
  const Ref<IComparer> comparer = comparer_;
  ComparerOps<Ref<Unknown>> ops{Elements<Ref<Unknown>>(range, m), *comparer};
  quicksort_literal(ops, m, n);
}

void QuickSort::SortSingles(ArrayOf<float>& Arr, std::int32_t m, std::int32_t n, IComparer* Comparer) {
  SetComparer(Comparer);
  sort_array(Arr, m, n, comparer_, [](std::span<float> r) { return sorting::try_sort_singles(r); });
}

void QuickSort::SortStrings(ArrayOf<String>& Arr, std::int32_t m, std::int32_t n, IComparer* Comparer) {
  SetComparer(Comparer);
  sort_array(Arr, m, n, comparer_, [](std::span<String> r) {
    sorting::sort_strings(r);
    return true;
  });
}

void QuickSort::SortVariants(ArrayOf<Variant>& Arr, std::int32_t m, std::int32_t n, IComparer* Comparer) {
  SetComparer(Comparer);
  if (m > n) return;
  const std::span<Variant> range = checked_range(Arr, m, n);
  ArrayLock lock(Arr);
  const Ref<IComparer> comparer = comparer_;
  VariantOps ops{Elements<Variant>(range, m), comparer.get()};
  quicksort_literal(ops, m, n);
}

void QuickSort::SortList(IArrayList& List, std::int32_t m, std::int32_t n, IComparer* Comparer) {
  list_ = Ref<IArrayList>(&List);
  SetComparer(Comparer);
  const Ref<IArrayList> list = list_;
  const Ref<IComparer> comparer = comparer_;
  ListOps ops{*list, comparer.get()};
  quicksort_literal(ops, m, n);
}

}  // namespace quorvel
