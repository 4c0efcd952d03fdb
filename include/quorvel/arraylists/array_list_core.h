// What the ten array lists share: the storage core with its index check, the Item accessors of
// each assignment kind, every common member (growth, exchange, copy, text form, sort) and the
// untyped views. A list class is this core over its element type plus its own few members.
#pragma once

#include <cstdint>
#include <type_traits>
#include <utility>

#include "quorvel/arraylists/list_storage.h"
#include "quorvel/frame/array_list_interfaces.h"
#include "quorvel/frame/comparer_interfaces.h"
#include "quorvel/frame/direct_elements.h"
#include "quorvel/platform/class_info.h"
#include "quorvel/platform/variant.h"

namespace quorvel {

/// The C++ types in which a list of element type `E` takes (`Arg`) and gives (`Result`) an element
/// on its own interface: Booleans travel as `bool`, strings and Variants by const reference.
template <class E>
struct ElementTypes {
  using Arg = E;
  using Result = E;
};
template <>
struct ElementTypes<VariantBool> {
  using Arg = bool;
  using Result = bool;
};
template <>
struct ElementTypes<String> {
  using Arg = const String&;
  using Result = String;
};
template <>
struct ElementTypes<Ref<Unknown>> {
  using Arg = Ref<Unknown>;
  using Result = Ref<Unknown>;
};
template <>
struct ElementTypes<Variant> {
  using Arg = const Variant&;
  using Result = Variant;
};

/// The storage and the members that read one element: the bottom layer of every list.
template <class E>
class ArrayListStore : public ObjectImpl<> {
 public:
  using Arg = typename ElementTypes<E>::Arg;
  using Result = typename ElementTypes<E>::Result;

  /// The element at `Index` (objects and Variant-held objects by reference, values copied).
  /// Raises 0x80040001 (no message) unless 0 <= Index <= Count - 1.
  Result get_Item(std::int32_t Index) {
    if constexpr (std::is_same_v<E, VariantBool>) {
      return static_cast<bool>(checked_slot(Index));
    } else {
      return checked_slot(Index);
    }
  }

  /// C++ only, not on the automation surface: the number of allocated slots.
  std::int32_t capacity() const noexcept { return store_.capacity(); }

 protected:
  /// The slot at `index`, after the index check. Inline: reading an item is a compare and a load.
  E& checked_slot(std::int32_t index) {
    if (static_cast<std::uint32_t>(index) >= static_cast<std::uint32_t>(store_.count())) raise_index_error();
    return store_.slots().items()[static_cast<std::size_t>(index)];
  }
  [[noreturn]] void raise_index_error();
  Unknown* sender() noexcept { return as_unknown(static_cast<Object*>(this)); }

  ListStorage<E> store_;
};

/// The Item let accessor of the value kinds (Boolean, Byte, Integer, Long, Single, Double, String).
template <class E>
class ItemAccessors : public ArrayListStore<E> {
 public:
  /// Replaces the element at `Index`. Raises 0x80040001 (no message) outside 0 to Count - 1.
  void put_Item(std::int32_t Index, typename ArrayListStore<E>::Arg Value);
};

/// The object list assigns by reference only: Item set, no let.
template <>
class ItemAccessors<Ref<Unknown>> : public ArrayListStore<Ref<Unknown>> {
 public:
  /// Stores the reference at `Index`. Raises 0x80040001 (no message) outside 0 to Count - 1.
  void putref_Item(std::int32_t Index, Ref<Unknown> Value);
};

/// The Variant lists take both: let copies the value (an object gives its default value, as a
/// let of an object does), set stores the reference.
template <>
class ItemAccessors<Variant> : public ArrayListStore<Variant> {
 public:
  /// Raises 0x80040001 outside 0 to Count - 1; reading an object's default value may raise
  /// 91 (Nothing) or 438 (no default member).
  void put_Item(std::int32_t Index, const Variant& Value);
  /// Raises 0x80040001 outside 0 to Count - 1, 13 when `Value` holds no object reference.
  void putref_Item(std::int32_t Index, const Variant& Value);
};

/// Class-level choices that differ between the two Variant-holding lists; the other lists keep
/// the defaults.
struct ListFlavor {
  bool item_is_default = true;          // Item has dispatch id 0
  bool readable = true;                 // implements IArrayReader
  bool zero_zero_is_whole_list = true;  // IArrayList.Sort(0, 0) sorts everything
};

/// `IArrayList` of a list: each member forwards to the list's own member of that name, converting
/// Variant elements to the list's kind on the way in (conversion errors 6, 13, 94 before any
/// change); the list's `view_...` members stand in where the view behaves otherwise.
template <class List>
class ArrayListView final : public ForwardingView<IArrayList, List> {
 public:
  using ForwardingView<IArrayList, List>::ForwardingView;
  QUORVEL_FORWARDING_MEMBERS(QUORVEL_IARRAYLIST_MEMBERS)
};

/// `IArrayReader` of a list: the reading members of `IArrayList`.
template <class List>
class ArrayReaderView final : public ForwardingView<IArrayReader, List> {
 public:
  using ForwardingView<IArrayReader, List>::ForwardingView;
  QUORVEL_FORWARDING_MEMBERS(QUORVEL_IARRAYREADER_MEMBERS)
};

/// `IArrayList2` of a list: its text form.
template <class List>
class ArrayTextView final : public ForwardingView<IArrayList2, List> {
 public:
  using ForwardingView<IArrayList2, List>::ForwardingView;
  QUORVEL_FORWARDING_MEMBERS(QUORVEL_IARRAYLIST2_MEMBERS)
};

/// The library-internal block view of a list (`IDirectElements`).
template <class List>
class DirectElementsView final : public InterfaceView<IDirectElements> {
 public:
  explicit DirectElementsView(List& list) noexcept : InterfaceView<IDirectElements>(list) {}
  ElementBlock element_block() noexcept override { return list().element_block(); }
  void append_block(const void* data, std::int32_t count) override { list().append_block(data, count); }

 private:
  List& list() noexcept { return static_cast<List&>(this->outer_); }
};

/// The shared members of every list, in terms of its element type `E`; `Derived` is the list
/// class (for `Copy`, `CreateNew` and its `ListFlavor`). Errors are raised through the error
/// reporter with the list as sender, and every check comes before any change. Every member that
/// allocates raises 7 when memory runs out, with the list unchanged. Arguments are converted
/// (which may run caller code) before the list is looked at, and released elements are let go
/// only once the list no longer shows them.
template <class Derived, class E>
class ArrayListCore : public ItemAccessors<E> {
  using Base = ItemAccessors<E>;

 public:
  using Self = Derived;
  using Element = E;
  using Arg = typename Base::Arg;
  using Result = typename Base::Result;
  /// The defaults; a list class that differs declares its own `kFlavor`.
  static constexpr ListFlavor kFlavor{};

  ArrayListCore();
  ~ArrayListCore() override;

  /// Takes over an array of the list's own kind whole (lower bound 0, else 0x80040001; an
  /// unallocated one empties the list), or appends the elements of any other array converted to
  /// the kind; when a conversion fails the list's count is restored and the call returns normally,
  /// while a storage that cannot grow raises (10 during a sort of the list, 7 without memory) with
  /// the list as it was.
  /// A value without an array raises 13 (source "Quorvel.ModuleArrays.GetLengthVariants").
  /// The object list takes only object arrays, the Variant lists append any zero-based array
  /// (both raise 0x80040001 otherwise). Cost: one block copy, or one conversion per element.
  void SetArray(const Variant& Value);
  /// A zero-based copy of the elements (one block copy); unallocated when the list is empty.
  ArrayOf<E> GetArray();
  /// The element kind's type code; 0 for the Variant lists.
  std::int32_t get_VarType();
  /// Raises 0x80040001 "Invalid shrink factor value,  must be greater than 1!" unless Value > 1.
  void put_ShrinkFactor(float Value);
  float get_ShrinkFactor();
  /// Always 0.
  std::int32_t get_LowerBound();
  /// Count - 1.
  std::int32_t get_UpperBound();
  /// Raises 0x80040001 "GrowLength value must be greater than 0" below 1; no reallocation.
  void put_GrowLength(std::int32_t Value);
  std::int32_t get_GrowLength();
  /// Gives spare slots back: all of them when `DestroyCache` is non-zero, else down to
  /// ShrinkFactor x GrowLength spare slots.
  void Shrink(std::int32_t DestroyCache);
  /// Count 0, storage released; GrowLength and ShrinkFactor stay.
  void EraseArray();
  /// Sets the count. Within the capacity the slots are shown as they were (whatever
  /// `PreserveValues` says) and a shrink follows; beyond it the storage grows by the missing
  /// slots but at least GrowLength. Raises 0x80040001 "Minimal Count value must be greater than 0"
  /// below 0.
  void SetCount(std::int32_t Count, bool PreserveValues);
  std::int32_t get_Count();
  /// Appends; a full storage grows by GrowLength (realloc, not a copy per step). A Variant is
  /// stored as its dereferenced copy (an object by reference). Inline: the common case is a store.
  void AddItem(Arg Value) {
    if constexpr (std::is_same_v<E, Variant>) {
      this->store_.append(Value.copy_ind());
    } else {
      this->store_.append(E(std::forward<Arg>(Value)));
    }
  }
  /// Removes the element at `Index` (the tail moves down, or the last element fills the hole
  /// when not `KeepSequence`: constant time), then shrinks. Raises 0x80040001 (no message) outside
  /// 0 to Count - 1.
  void RemoveItem(std::int32_t Index, bool KeepSequence);
  /// The first index from 0 up whose element matches `Value` (numbers exactly, strings ignoring
  /// case, objects by their default values, Variants by text-mode equality), written to `retIndex`;
  /// false and `retIndex` untouched when none matches. Errors of reading default values pass.
  bool Find(Arg Value, std::int32_t& retIndex);
  /// Sorts [m, n] (omitted: the whole list) in place through the sort engine.
  /// Raises 0x80040001 "Object sort requires a Comparer!" for the object and Variant lists
  /// without a comparer, 0x80040001 (no message) unless 0 <= m <= n <= Count - 1; errors of
  /// the comparer end the sort.
  void Sort(const Variant& m = Variant::missing(), const Variant& n = Variant::missing(),
            Ref<IComparer> Comparer = nullptr);
  /// A new list of the same class (default GrowLength and ShrinkFactor) with the elements m to n
  /// (omitted: the whole list; an empty list with both omitted gives an empty list).
  /// Raises 0x80040001 (no message) unless 0 <= m <= n <= Count - 1.
  Ref<Derived> Copy(const Variant& m = Variant::missing(), const Variant& n = Variant::missing());
  /// The elements' text separated by blanks; an element that is empty or holds a blank is
  /// quoted (its own double quotes removed). `StringFormatter`, when not Nothing, gives each
  /// element's text. Errors of the formatter and of the conversion to String pass.
  String ToString(Ref<IFormatter>& StringFormatter = omitted<Ref<IFormatter>>());

 protected:
  Unknown* find_view(const Guid& iid) noexcept override;
  /// The engine entry of the kind, on the whole storage array.
  void sort_range(std::int32_t m, std::int32_t n, IComparer* comparer);

 private:
  friend class ArrayListView<ArrayListCore>;
  friend class DirectElementsView<ArrayListCore>;

  // Where `IArrayList` does more than forward: assignment by the list's kind, Sort's (0, 0), and
  // CreateNew, which the list itself does not offer.
  void view_let_Item(std::int32_t Index, const Variant& Value);
  void view_set_Item(std::int32_t Index, const Variant& Value);
  void view_method_Sort(std::int32_t m, std::int32_t n, Ref<IComparer> Comparer);
  Ref<IArrayList> view_method_CreateNew() { return make<Derived>().template query<IArrayList>(); }

  Variant item_variant(std::int32_t index);

  void take_over(const Array& array);
  void append_converted(const Variant& value);
  void append_any(const Array& array);
  /// The address of element 0 of a list with at least one element, else null: how `Copy`
  /// reaches its new list's storage.
  E* data_address() noexcept;
  ElementBlock element_block() noexcept;
  void append_block(const void* data, std::int32_t count);

  ArrayListView<ArrayListCore> list_view_;
  ArrayReaderView<ArrayListCore> reader_view_;
  ArrayTextView<ArrayListCore> text_view_;
  DirectElementsView<ArrayListCore> direct_view_;
};

}  // namespace quorvel
