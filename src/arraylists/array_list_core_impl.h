// The shared members of the array lists and their views, compiled once per list class: each
// list's .cpp includes this file and instantiates the core for its element type.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <vector>

#include "element_rules.h"
#include "quorvel/arraylists/array_list_core.h"
#include "quorvel/arraylists/list_text.h"
#include "quorvel/frame/error_catalogue.h"
#include "quorvel/frame/module_arrays.h"
#include "quorvel/ordering/sort_engine.h"
#include "quorvel/platform/describe.h"
#include "quorvel/platform/error.h"

namespace quorvel {

// --- the list ------------------------------------------------------------------------------

template <class Derived, class E>
ArrayListCore<Derived, E>::ArrayListCore()
    : list_view_(*this), reader_view_(*this), text_view_(*this), direct_view_(*this) {}

template <class Derived, class E>
ArrayListCore<Derived, E>::~ArrayListCore() = default;

template <class Derived, class E>
Unknown* ArrayListCore<Derived, E>::find_view(const Guid& iid) noexcept {
  if (iid == IArrayList::iid) return &list_view_;
  if (iid == IArrayList2::iid) return &text_view_;
  if (Derived::kFlavor.readable && iid == IArrayReader::iid) return &reader_view_;
  if (iid == IDirectElements::iid) return &direct_view_;
  return nullptr;
}

template <class Derived, class E>
void ArrayListCore<Derived, E>::SetArray(const Variant& Value) {
  using R = ElementRules<E>;
  const Array* array = Value.if_array();
  if constexpr (R::kSetArray == SetArrayMode::Typed) {
    if (array && array->element_kind() == ElementKind<E>::kind) {
      take_over(*array);
    } else {
      append_converted(Value);
    }
  } else if constexpr (R::kSetArray == SetArrayMode::ObjectArray) {
    if (!array || array->element_kind() != VarKind::Object) raise(Failure::InvalidArgument, this->sender());
    take_over(*array);
  } else {
    if (!array) raise(Failure::InvalidArgument, this->sender());
    append_any(*array);
  }
}

template <class Derived, class E>
void ArrayListCore<Derived, E>::take_over(const Array& array) {
  // An unallocated array counts as zero elements with lower bound 0.
  if (array.allocated() && array.lower_bound() != 0) raise(Failure::InvalidArgument, this->sender());
  this->store_.adopt(ArrayOf<E>(Array(array)));
}

template <class Derived, class E>
void ArrayListCore<Derived, E>::append_converted(const Variant& value) {
  // The length procedure only reads its argument; it is declared by reference like its peers.
  const std::int32_t length = GetLengthVariants(const_cast<Variant&>(value));
  if (length == 0) return;
  const Array& array = *value.if_array();
  const std::int32_t lower = array.lower_bound();
  const std::int32_t before = this->store_.count();
  const std::int32_t capacity = this->store_.capacity();
  try {
    for (std::int32_t i = 0; i < length; ++i) {
      this->store_.append(ElementRules<E>::from_variant(array.get(lower + i)));
    }
  } catch (const Error& e) {
    // The count goes back to what it was before anything else can run. A storage that cannot
    // grow (locked: 10, no memory: 7) is the caller's to hear about, with any growth given back;
    // a failing conversion by design ends the append quietly, with the shrink of the set-count
    // rule when the storage may change.
    const auto number = static_cast<RuntimeError>(e.number());
    const bool storage_failed = number == RuntimeError::ArrayLocked || number == RuntimeError::OutOfMemory;
    this->store_.truncate(before, storage_failed ? capacity : this->store_.capacity());
    if (storage_failed) throw;
    if (!this->store_.slots().locked()) this->store_.set_count(before, true);
  }
}

template <class Derived, class E>
void ArrayListCore<Derived, E>::append_any(const Array& array) {
  if (array.lower_bound() != 0) raise(Failure::InvalidArgument, this->sender());  // unallocated: 9 passes
  // Every element is read, and the storage grown as the appends would grow it, before the first
  // one is stored: the appends themselves then cannot fail half-way.
  std::vector<Variant, RaisingAllocator<Variant>> items;
  items.reserve(static_cast<std::size_t>(array.count()));
  for (std::int32_t i = 0; i < array.count(); ++i) items.push_back(array.get(i).copy_ind());
  const std::int64_t wanted = static_cast<std::int64_t>(this->store_.count()) + array.count();
  if (wanted > this->store_.capacity()) {
    const std::int64_t shortfall = wanted - this->store_.capacity();
    const std::int64_t steps = (shortfall + this->store_.grow_length() - 1) / this->store_.grow_length();
    const std::int64_t capacity = this->store_.capacity() + steps * this->store_.grow_length();
    if (wanted > INT32_MAX) raise_runtime_error(RuntimeError::Overflow);
    this->store_.reserve(static_cast<std::int32_t>(capacity > INT32_MAX ? INT32_MAX : capacity));
  }
  for (Variant& item : items) {
    if constexpr (std::is_same_v<E, Variant>) {
      this->store_.append(std::move(item));
    } else {
      this->store_.append(ElementRules<E>::from_variant(item));  // not reached: only Variant lists take any array
    }
  }
}

template <class Derived, class E>
ArrayOf<E> ArrayListCore<Derived, E>::GetArray() {
  return this->store_.to_array();
}

template <class Derived, class E>
std::int32_t ArrayListCore<Derived, E>::get_VarType() {
  return ElementRules<E>::kVarType;
}

template <class Derived, class E>
void ArrayListCore<Derived, E>::put_ShrinkFactor(float Value) {
  if (!(Value > 1.0f)) raise(Failure::ShrinkFactor, this->sender());  // NaN fails too
  this->store_.set_shrink_factor(Value);
}

template <class Derived, class E>
float ArrayListCore<Derived, E>::get_ShrinkFactor() {
  return this->store_.shrink_factor();
}

template <class Derived, class E>
std::int32_t ArrayListCore<Derived, E>::get_LowerBound() {
  return 0;
}

template <class Derived, class E>
std::int32_t ArrayListCore<Derived, E>::get_UpperBound() {
  return this->store_.count() - 1;
}

template <class Derived, class E>
void ArrayListCore<Derived, E>::put_GrowLength(std::int32_t Value) {
  if (Value < 1) raise(Failure::GrowLength, this->sender());
  this->store_.set_grow_length(Value);
}

template <class Derived, class E>
std::int32_t ArrayListCore<Derived, E>::get_GrowLength() {
  return this->store_.grow_length();
}

template <class Derived, class E>
void ArrayListCore<Derived, E>::Shrink(std::int32_t DestroyCache) {
  this->store_.shrink(DestroyCache != 0);
}

template <class Derived, class E>
void ArrayListCore<Derived, E>::EraseArray() {
  this->store_.erase();
}

template <class Derived, class E>
void ArrayListCore<Derived, E>::SetCount(std::int32_t Count, bool PreserveValues) {
  if (Count < 0) raise(Failure::MinimalCount, this->sender());
  this->store_.set_count(Count, PreserveValues);
}

template <class Derived, class E>
std::int32_t ArrayListCore<Derived, E>::get_Count() {
  return this->store_.count();
}

template <class Derived, class E>
void ArrayListCore<Derived, E>::RemoveItem(std::int32_t Index, bool KeepSequence) {
  this->checked_slot(Index);
  this->store_.remove(Index, KeepSequence);
}

template <class Derived, class E>
bool ArrayListCore<Derived, E>::Find(Arg Value, std::int32_t& retIndex) {
  // Objects and Variants are matched by reading default members, which runs caller code: the
  // element is compared as a copy and the count is read again at every step.
  constexpr bool calls_out = std::is_same_v<E, Ref<Unknown>> || std::is_same_v<E, Variant>;
  for (std::int32_t i = 0; i < this->store_.count(); ++i) {
    bool match = false;
    if constexpr (calls_out) {
      const E element = this->store_.items()[static_cast<std::size_t>(i)];
      match = ElementRules<E>::matches(element, Value);
    } else {
      match = ElementRules<E>::matches(this->store_.items()[static_cast<std::size_t>(i)], Value);
    }
    if (match) {
      retIndex = i;
      return true;
    }
  }
  return false;
}

template <class Derived, class E>
void ArrayListCore<Derived, E>::Sort(const Variant& m, const Variant& n, Ref<IComparer> Comparer) {
  if constexpr (ElementRules<E>::kNeedsComparer) {
    if (!Comparer) raise(Failure::ObjectSortNeedsComparer, this->sender());
  }
  // Converting a bound may read an object's default member, which may change the list: the
  // range is checked against the list as it is once both are known.
  const std::int32_t lo = m.is_missing() ? get_LowerBound() : m.to_long();
  const std::int32_t given_hi = n.is_missing() ? 0 : n.to_long();
  const std::int32_t upper = get_UpperBound();
  const std::int32_t hi = n.is_missing() ? upper : given_hi;
  if (lo < 0 || lo > hi || hi > upper) raise(Failure::InvalidArgument, this->sender());
  sort_range(lo, hi, Comparer.get());
}

template <class Derived, class E>
void ArrayListCore<Derived, E>::sort_range(std::int32_t m, std::int32_t n, IComparer* comparer) {
  // A fresh engine per sort; it locks the storage against resizing while it runs.
  Ref<QuickSort> engine = make<QuickSort>();
  ElementRules<E>::sort(*engine, this->store_.slots(), m, n, comparer);
}

template <class Derived, class E>
E* ArrayListCore<Derived, E>::data_address() noexcept {
  return this->store_.count() >= 1 ? this->store_.items().data() : nullptr;
}

template <class Derived, class E>
ElementBlock ArrayListCore<Derived, E>::element_block() noexcept {
  return {ElementKind<E>::kind, this->store_.items().data(), this->store_.count()};
}

template <class Derived, class E>
void ArrayListCore<Derived, E>::append_block(const void* data, std::int32_t count) {
  // One growth to the capacity the appends would reach step by step.
  const std::int64_t wanted = static_cast<std::int64_t>(this->store_.count()) + count;
  if (wanted > INT32_MAX) raise_runtime_error(RuntimeError::Overflow);
  if (wanted > this->store_.capacity()) {
    const std::int64_t grow = this->store_.grow_length();
    const std::int64_t steps = (wanted - this->store_.capacity() + grow - 1) / grow;
    this->store_.reserve(static_cast<std::int32_t>(std::min<std::int64_t>(this->store_.capacity() + steps * grow, INT32_MAX)));
  }
  const E* items = static_cast<const E*>(data);
  for (std::int32_t i = 0; i < count; ++i) this->store_.append(items[i]);
}

template <class Derived, class E>
Ref<Derived> ArrayListCore<Derived, E>::Copy(const Variant& m, const Variant& n) {
  if (this->store_.count() == 0 && m.is_missing() && n.is_missing()) return make<Derived>();
  // Both bounds are converted (caller code may run) before the list is looked at again.
  const std::int32_t lo = m.is_missing() ? get_LowerBound() : m.to_long();
  const std::int32_t given_hi = n.is_missing() ? 0 : n.to_long();
  const std::int32_t upper = get_UpperBound();
  const std::int32_t hi = n.is_missing() ? upper : given_hi;
  if (lo < 0 || lo > hi || hi > upper) raise(Failure::InvalidArgument, this->sender());
  const std::int32_t length = hi - lo + 1;
  Ref<Derived> copy = make<Derived>();  // its own defaults: GrowLength and ShrinkFactor are not carried
  copy->SetCount(length, false);
  E* target = copy->data_address();
  if (!target) raise(Failure::DataPointerQuery, this->sender());
  const E* source = this->store_.items().data() + lo;
  if constexpr (std::is_trivially_copyable_v<E>) {
    std::memcpy(target, source, static_cast<std::size_t>(length) * sizeof(E));
  } else {
    // Strings and Variants are duplicated, object references shared.
    std::copy(source, source + length, target);
  }
  return copy;
}

template <class Derived, class E>
String ArrayListCore<Derived, E>::ToString(Ref<IFormatter>& StringFormatter) {
  if (get_Count() <= 0) return String();
  ListText text;
  // The formatter is caller code and may change the list: the count is read at every step.
  for (std::int32_t i = get_LowerBound(); i <= get_UpperBound(); ++i) {
    Variant element = item_variant(i);
    if (StringFormatter) element = StringFormatter->Format(element);
    text.append(element.to_string().view());
  }
  return text.finish();
}

// --- the Variant side of the views -----------------------------------------------------------

template <class Derived, class E>
Variant ArrayListCore<Derived, E>::item_variant(std::int32_t index) {
  return ElementRules<E>::to_variant(this->checked_slot(index));
}

template <class Derived, class E>
void ArrayListCore<Derived, E>::view_let_Item(std::int32_t index, const Variant& value) {
  constexpr AssignMode mode = ElementRules<E>::kAssign;
  if constexpr (mode == AssignMode::Set) {
    raise(Failure::ObjectContainerNoLet, this->sender());
  } else if constexpr (mode == AssignMode::Let) {
    E element = ElementRules<E>::from_variant(value);  // converted before the index is looked at
    E& slot = this->checked_slot(index);
    std::swap(slot, element);
  } else {
    this->put_Item(index, value);
  }
}

template <class Derived, class E>
void ArrayListCore<Derived, E>::view_set_Item(std::int32_t index, const Variant& value) {
  constexpr AssignMode mode = ElementRules<E>::kAssign;
  if constexpr (mode == AssignMode::Let) {
    raise(Failure::ValueContainerNoSet, this->sender());
  } else if constexpr (mode == AssignMode::Set) {
    this->putref_Item(index, ElementRules<E>::from_variant(value));
  } else if (value.is_object()) {
    this->putref_Item(index, value);
  } else {
    this->put_Item(index, value);
  }
}

template <class Derived, class E>
void ArrayListCore<Derived, E>::view_method_Sort(std::int32_t m, std::int32_t n, Ref<IComparer> comparer) {
  if (Derived::kFlavor.zero_zero_is_whole_list && m == 0 && n == 0) {
    Sort(Variant::missing(), Variant::missing(), std::move(comparer));
  } else {
    Sort(Variant(m), Variant(n), std::move(comparer));
  }
}

// --- the description ------------------------------------------------------------------------

/// The shared members of list class `C` in slot order. `Item` is the default member (id 0) unless
/// the class has another one; then it takes id 14 and the members after it move up by one.
template <class C>
std::vector<MemberInfo> array_list_members() {
  using E = typename C::Element;
  constexpr bool item_default = C::kFlavor.item_is_default;
  constexpr DispId item = item_default ? 0 : 14;
  constexpr DispId after = item_default ? 0 : 1;  // added to the ids after Item
  constexpr AssignMode assign = ElementRules<E>::kAssign;
  std::vector<MemberInfo> m{
      method<&C::SetArray>("SetArray", 1, "Value"),
      method<&C::GetArray>("GetArray", 2),
      get<&C::get_VarType>("VarType", 3),
      let<&C::put_ShrinkFactor>("ShrinkFactor", 4, "Value"),
      get<&C::get_ShrinkFactor>("ShrinkFactor", 4),
      get<&C::get_LowerBound>("LowerBound", 5),
      get<&C::get_UpperBound>("UpperBound", 6),
      let<&C::put_GrowLength>("GrowLength", 7, "Value"),
      get<&C::get_GrowLength>("GrowLength", 7),
      method<&C::Shrink>("Shrink", 8, "DestroyCache"),
      method<&C::EraseArray>("EraseArray", 9),
      method<&C::SetCount>("SetCount", 10, "Count", "PreserveValues"),
      get<&C::get_Count>("Count", 11),
      method<&C::AddItem>("AddItem", 12, "Value"),
      method<&C::RemoveItem>("RemoveItem", 13, "Index", "KeepSequence"),
  };
  if constexpr (assign != AssignMode::Set) m.push_back(let<&C::put_Item>("Item", item, "Index", "Value"));
  m.push_back(get<&C::get_Item>("Item", item, "Index"));
  if constexpr (assign != AssignMode::Let) m.push_back(set<&C::putref_Item>("Item", item, "Index", "Value"));
  m.push_back(method<&C::Find>("Find", 14 + after, "Value", "retIndex"));
  m.push_back(method<&C::Sort>("Sort", 15 + after, opt("m"), opt("n"), opt("Comparer")));
  m.push_back(method<&C::Copy>("Copy", 16 + after, opt("m"), opt("n")));
  m.push_back(method<&C::ToString>("ToString", 17 + after, opt("StringFormatter")));
  return m;
}

/// The description of list class `C`: the shared members, then `own`, the class's own members
/// (ids from 18, or 19 when Item is not the default member).
template <class C>
ClassInfo describe_array_list(std::vector<MemberInfo> own = {}, const char* help = "") {
  std::vector<MemberInfo> members = array_list_members<C>();
  for (MemberInfo& m : own) members.push_back(std::move(m));
  if constexpr (C::kFlavor.readable) {
    return describe_class<C, IArrayList, IArrayReader, IArrayList2>(ClassFlags::Creatable, std::move(members), help);
  } else {
    return describe_class<C, IArrayList, IArrayList2>(ClassFlags::Creatable, std::move(members), help);
  }
}

}  // namespace quorvel

/// Compiles the shared members and the views for list class `C` with element type `E`; used
/// inside namespace quorvel.
#define QUORVEL_INSTANTIATE_ARRAY_LIST(C, E)              \
  template class ArrayListCore<C, E>;                     \
  template class ArrayListView<ArrayListCore<C, E>>;      \
  template class ArrayReaderView<ArrayListCore<C, E>>;    \
  template class ArrayTextView<ArrayListCore<C, E>>;      \
  template class DirectElementsView<ArrayListCore<C, E>>
