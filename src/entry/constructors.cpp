// The factories.
#include "quorvel/entry/constructors.h"

#include <span>
#include <type_traits>
#include <utility>

#include "quorvel/platform/describe.h"
#include "quorvel/platform/error.h"
#include "quorvel/text/string_dictionary.h"

namespace quorvel {

namespace {

// Counts and indexes are 32-bit: a longer C++ argument list overflows.
std::int32_t count_of(std::span<const Variant> items) {
  if (items.size() > 0x7FFFFFFF) raise_runtime_error(RuntimeError::Overflow);
  return static_cast<std::int32_t>(items.size());
}

// Each element converted as the list's late-bound AddItem would convert it; converted before it
// is appended, so a failure leaves nothing half-stored, and the list is dropped with the raise.
template <class List>
Ref<List> fill_list(std::span<const Variant> items) {
  using Arg = std::remove_cvref_t<typename List::Arg>;
  Ref<List> list = make<List>();
  if (items.empty()) return list;
  list->put_GrowLength(count_of(items));
  list->Shrink(-1);
  for (const Variant& value : items) list->AddItem(detail::convert_argument<Arg>(value));
  return list;
}

// A source to copy is asked for quietly: a first value that is no list or reader is an element.
template <class Locked>
Ref<Locked> fill_locked(std::span<const Variant> items) {
  Ref<Locked> list = make_locked_list<Locked>();
  if (items.empty()) return list;
  if (Unknown* first = items.front().if_object()) {
    if (Unknown* source = first->find_interface(IArrayList::iid)) {
      list->FromArrayList(Ref<IArrayList>(static_cast<IArrayList*>(source)));
      return list;
    }
    if (Unknown* source = first->find_interface(IArrayReader::iid)) {
      list->FromArrayReader(Ref<IArrayReader>(static_cast<IArrayReader*>(source)));
      return list;
    }
  }
  Array values(VarKind::Variant, 0, count_of(items));
  std::span<Variant> elements = values.elements<Variant>();
  for (std::size_t i = 0; i < items.size(); ++i) elements[i] = items[i].copy_ind();
  Variant whole(std::move(values));
  list->FromArray(whole);
  return list;
}

// The dictionary is handed out through its reader view; a failed initialiser drops it with the raise.
template <class Fill>
Ref<IDictionaryReader> const_dictionary(Fill&& fill) {
  Ref<StringDictionary> dictionary = make<StringDictionary>();
  fill(*dictionary);
  return Ref<IDictionaryReader>(static_cast<IDictionaryReader*>(dictionary->find_interface(IDictionaryReader::iid)));
}

}  // namespace

Ref<IDictionaryReader> Constructors::ParseConstDictionary(const String& Data) {
  return const_dictionary([&](StringDictionary& d) { d.init_from_text(Data); });
}
Ref<IDictionaryReader> Constructors::new_ConstDictionary(RecordArray<KeyValueString>& KeyValues, std::int32_t CompareMode) {
  return const_dictionary([&](StringDictionary& d) { d.init_from_pairs(KeyValues, CompareMode); });
}
Ref<IDictionaryReader> Constructors::new_ConstDictionaryEx(Variant& Keys, std::int32_t CompareMode) {
  return const_dictionary([&](StringDictionary& d) { d.init_from_keys(Keys, CompareMode); });
}
Ref<ConstStringContainer> Constructors::new_ConstStringContainer(String& Value) {
  Ref<ConstStringContainer> container = make<ConstStringContainer>();
  container->initialize(Value);
  return container;
}

Ref<Box_Variant> Constructors::new_Box_Variant(const Variant& Value) { return make<Box_Variant>()->initialize(Value); }
Ref<LCID> Constructors::NewLCID(const Variant& LCID) { return new_lcid(LCID); }

#define QUORVEL_LIST_FACTORY_(Kind)                                                                 \
  Ref<ArrayList_##Kind> Constructors::new_ArrayList_##Kind(std::span<const Variant> Values) {         \
    return fill_list<ArrayList_##Kind>(Values);                                                     \
  }
QUORVEL_LIST_FACTORY_(Boolean)
QUORVEL_LIST_FACTORY_(Byte)
QUORVEL_LIST_FACTORY_(Double)
QUORVEL_LIST_FACTORY_(Integer)
QUORVEL_LIST_FACTORY_(Long)
QUORVEL_LIST_FACTORY_(Object)
QUORVEL_LIST_FACTORY_(Single)
QUORVEL_LIST_FACTORY_(String)
QUORVEL_LIST_FACTORY_(Variant)
QUORVEL_LIST_FACTORY_(Value)
#undef QUORVEL_LIST_FACTORY_

#define QUORVEL_LOCKED_FACTORY_(Kind)                                                                   \
  Ref<LockedArrayList_##Kind> Constructors::new_LockedArrayList_##Kind(std::span<const Variant> Values) { \
    return fill_locked<LockedArrayList_##Kind>(Values);                                                 \
  }
QUORVEL_LOCKED_FACTORY_(Boolean)
QUORVEL_LOCKED_FACTORY_(Byte)
QUORVEL_LOCKED_FACTORY_(Double)
QUORVEL_LOCKED_FACTORY_(Integer)
QUORVEL_LOCKED_FACTORY_(Long)
QUORVEL_LOCKED_FACTORY_(Single)
QUORVEL_LOCKED_FACTORY_(String)
#undef QUORVEL_LOCKED_FACTORY_

const ClassInfo& Constructors::describe() {
  using C = Constructors;
  static const ClassInfo info = describe_class<Constructors>(
      ClassFlags::None,
      {method<&C::ParseConstDictionary>("ParseConstDictionary", 1, "Data"),
       method<&C::new_ConstDictionary>("new_ConstDictionary", 2, "KeyValues", opt("CompareMode", std::int32_t{0})),
       method<&C::new_ConstDictionaryEx>("new_ConstDictionaryEx", 3, "Keys", opt("CompareMode", std::int32_t{0})),
       method<&C::new_Box_Variant>("new_Box_Variant", 4, "Value"),
       method<&C::new_ConstStringContainer>("new_ConstStringContainer", 5, "Value"),
       method<&C::NewLCID>("NewLCID", 6, "LCID"),
       with_varargs(method<&C::new_ArrayList_Boolean>("new_ArrayList_Boolean", 7, "Values")),
       with_varargs(method<&C::new_ArrayList_Byte>("new_ArrayList_Byte", 8, "Values")),
       with_varargs(method<&C::new_ArrayList_Double>("new_ArrayList_Double", 9, "Values")),
       with_varargs(method<&C::new_ArrayList_Integer>("new_ArrayList_Integer", 10, "Values")),
       with_varargs(method<&C::new_ArrayList_Long>("new_ArrayList_Long", 11, "Values")),
       with_varargs(method<&C::new_ArrayList_Object>("new_ArrayList_Object", 12, "Values")),
       with_varargs(method<&C::new_ArrayList_Single>("new_ArrayList_Single", 13, "Values")),
       with_varargs(method<&C::new_ArrayList_String>("new_ArrayList_String", 14, "Values")),
       with_varargs(method<&C::new_ArrayList_Variant>("new_ArrayList_Variant", 15, "Values")),
       with_varargs(method<&C::new_ArrayList_Value>("new_ArrayList_Value", 16, "Values")),
       with_varargs(method<&C::new_LockedArrayList_Boolean>("new_LockedArrayList_Boolean", 17, "Values")),
       with_varargs(method<&C::new_LockedArrayList_Byte>("new_LockedArrayList_Byte", 18, "Values")),
       with_varargs(method<&C::new_LockedArrayList_Double>("new_LockedArrayList_Double", 19, "Values")),
       with_varargs(method<&C::new_LockedArrayList_Integer>("new_LockedArrayList_Integer", 20, "Values")),
       with_varargs(method<&C::new_LockedArrayList_Long>("new_LockedArrayList_Long", 21, "Values")),
       with_varargs(method<&C::new_LockedArrayList_Single>("new_LockedArrayList_Single", 22, "Values")),
       with_varargs(method<&C::new_LockedArrayList_String>("new_LockedArrayList_String", 23, "Values"))},
      "Factories for the classes callers cannot or would rather not build by hand");
  return info;
}

Ref<Constructors> new_constructors() { return make<Constructors>(); }

}  // namespace quorvel
