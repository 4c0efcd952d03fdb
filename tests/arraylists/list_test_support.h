// What the array list tests share: an object without a default value, an order, arrays and a
// list's elements.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "quorvel/arraylists/interface_classes.h"
#include "quorvel/frame/array_list_interfaces.h"
#include "quorvel/frame/comparer_interfaces.h"
#include "quorvel/frame/error_catalogue.h"
#include "quorvel/platform/variant_compare.h"
#include "support/test_objects.h"
#include "support/test_support.h"

namespace quorvel::list_tests {

using test_support::comparer;
using test_support::error_of;
using test_support::formatter;
using test_support::LiveCountCheck;
using test_support::token;

/// A counted object without a default member: a published interface's own class.
inline Ref<Unknown> plain() {
  auto object = make<IFormatterClass>();
  return Ref<Unknown>(as_unknown(object.get()));
}

/// Orders by default values (objects through their default member), binary text order.
inline Ref<IComparer> ascending() {
  return comparer([](const Variant& a, const Variant& b) {
    return static_cast<std::int16_t>(var_compare(a.default_value(), b.default_value(), false));
  });
}

using error_number::kInvalidArgument;
using error_number::kInvalidState;

/// An array of `values` with lower bound `lower`.
template <class E>
ArrayOf<E> array_of(std::int32_t lower, const std::vector<E>& values) {
  ArrayOf<E> a(lower, static_cast<std::int32_t>(values.size()));
  for (std::size_t i = 0; i < values.size(); ++i) a.items()[i] = values[i];
  return a;
}

/// The elements of a list, as its own `get_Item` gives them.
template <class L>
std::vector<typename L::Result> items(L& list) {
  std::vector<typename L::Result> out;
  for (std::int32_t i = 0; i < list.get_Count(); ++i) out.push_back(list.get_Item(i));
  return out;
}

/// Where `list.Find(value)` reports a match: its index, or -1 when it finds none and so leaves the
/// index untouched (-2: a miss that wrote the index anyway).
template <class L, class V>
std::int32_t found_at(L& list, const V& value) {
  std::int32_t index = -3;
  if (list.Find(value, index)) return index;
  return index == -3 ? -1 : -2;
}

/// A list of class `L` holding `values`, appended in order.
template <class L, class V>
Ref<L> list_of(std::initializer_list<V> values) {
  Ref<L> list = make<L>();
  for (const V& v : values) list->AddItem(v);
  return list;
}

}  // namespace quorvel::list_tests
