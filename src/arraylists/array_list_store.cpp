// The index check and the Item accessors of the array lists, one set per assignment kind.
#include "element_rules.h"
#include "quorvel/arraylists/array_list_core.h"
#include "quorvel/frame/error_catalogue.h"

namespace quorvel {

template <class E>
void ArrayListStore<E>::raise_index_error() {
  raise(Failure::InvalidArgument, sender());
}

template <class E>
void ItemAccessors<E>::put_Item(std::int32_t Index, typename ArrayListStore<E>::Arg Value) {
  this->checked_slot(Index) = ElementRules<E>::from_arg(Value);
}

void ItemAccessors<Ref<Unknown>>::putref_Item(std::int32_t Index, Ref<Unknown> Value) {
  Ref<Unknown>& slot = checked_slot(Index);
  Ref<Unknown> previous = std::exchange(slot, std::move(Value));  // released once stored
}

void ItemAccessors<Variant>::put_Item(std::int32_t Index, const Variant& Value) {
  // A let of an object stores what its default member gives. Reading it runs caller code that
  // may change this list, so the slot is looked up only afterwards.
  Variant value = Value.default_value();
  checked_slot(Index).swap(value);  // the previous value is released after the store
}

void ItemAccessors<Variant>::putref_Item(std::int32_t Index, const Variant& Value) {
  Variant value(interface_cast<Unknown>(Value));
  checked_slot(Index).swap(value);
}

template class ArrayListStore<VariantBool>;
template class ArrayListStore<std::uint8_t>;
template class ArrayListStore<std::int16_t>;
template class ArrayListStore<std::int32_t>;
template class ArrayListStore<float>;
template class ArrayListStore<double>;
template class ArrayListStore<String>;
template class ArrayListStore<Ref<Unknown>>;
template class ArrayListStore<Variant>;

template class ItemAccessors<VariantBool>;
template class ItemAccessors<std::uint8_t>;
template class ItemAccessors<std::int16_t>;
template class ItemAccessors<std::int32_t>;
template class ItemAccessors<float>;
template class ItemAccessors<double>;
template class ItemAccessors<String>;

}  // namespace quorvel
