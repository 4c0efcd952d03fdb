// How each element kind of the array lists converts, matches and sorts: the only places where the
// ten lists differ in their shared members.
#pragma once

#include <cstdint>

#include "quorvel/arraylists/array_list_core.h"
#include "quorvel/ordering/sort_engine.h"
#include "quorvel/platform/interface_cast.h"
#include "quorvel/platform/variant.h"

namespace quorvel {

/// How `SetArray` treats its argument.
enum class SetArrayMode : std::uint8_t {
  Typed,        // own kind taken over whole, any other array appended element by element
  ObjectArray,  // object arrays taken over, everything else rejected
  AnyArray,     // any zero-based array appended element by element
};

/// Which Item assignments the kind accepts through `IArrayList`.
enum class AssignMode : std::uint8_t { Let, Set, Both };

// Find's matching rules of the kinds that need more than `==` (element_rules.cpp).
bool strings_match(const String& element, const String& value);
/// The default values of `value` and `element`, read late-bound in that order, equal in text mode.
bool objects_match(const Ref<Unknown>& element, const Ref<Unknown>& value);
/// Text-mode Variant equality; Null equals nothing.
bool variants_match(const Variant& element, const Variant& value);

/// The rules shared by the number kinds; `E` converts from a Variant through `Convert`.
template <class E, E (Variant::*Convert)() const>
struct NumberRules {
  static constexpr bool kCounted = false;
  static constexpr bool kNeedsComparer = false;
  static constexpr SetArrayMode kSetArray = SetArrayMode::Typed;
  static constexpr AssignMode kAssign = AssignMode::Let;
  static constexpr std::int32_t kVarType = static_cast<std::int32_t>(ElementKind<E>::kind);
  static E from_arg(E value) noexcept { return value; }
  static E from_variant(const Variant& value) { return (value.*Convert)(); }
  static Variant to_variant(const E& element) noexcept { return Variant(element); }
  static bool matches(const E& element, E value) noexcept { return element == value; }
};

template <class E>
struct ElementRules;

template <>
struct ElementRules<VariantBool> {
  static constexpr bool kCounted = false;
  static constexpr bool kNeedsComparer = false;
  static constexpr SetArrayMode kSetArray = SetArrayMode::Typed;
  static constexpr AssignMode kAssign = AssignMode::Let;
  static constexpr std::int32_t kVarType = static_cast<std::int32_t>(VarKind::Boolean);
  static VariantBool from_arg(bool value) noexcept { return VariantBool(value); }
  static VariantBool from_variant(const Variant& value) { return VariantBool(value.to_boolean()); }
  // A slot taken over from a caller's array may hold any non-zero pattern; it reads as True (-1).
  static Variant to_variant(const VariantBool& element) noexcept { return Variant(static_cast<bool>(element)); }
  static bool matches(const VariantBool& element, bool value) noexcept { return static_cast<bool>(element) == value; }
  static void sort(QuickSort& q, ArrayOf<VariantBool>& a, std::int32_t m, std::int32_t n, IComparer* c) {
    q.SortBooleans(a, m, n, c);
  }
};

template <>
struct ElementRules<std::uint8_t> : NumberRules<std::uint8_t, &Variant::to_byte> {
  static void sort(QuickSort& q, ArrayOf<std::uint8_t>& a, std::int32_t m, std::int32_t n, IComparer* c) {
    q.SortBytes(a, m, n, c);
  }
};

template <>
struct ElementRules<std::int16_t> : NumberRules<std::int16_t, &Variant::to_integer> {
  static void sort(QuickSort& q, ArrayOf<std::int16_t>& a, std::int32_t m, std::int32_t n, IComparer* c) {
    q.SortIntegers(a, m, n, c);
  }
};

template <>
struct ElementRules<std::int32_t> : NumberRules<std::int32_t, &Variant::to_long> {
  static void sort(QuickSort& q, ArrayOf<std::int32_t>& a, std::int32_t m, std::int32_t n, IComparer* c) {
    q.SortLongs(a, m, n, c);
  }
};

template <>
struct ElementRules<float> : NumberRules<float, &Variant::to_single> {
  static void sort(QuickSort& q, ArrayOf<float>& a, std::int32_t m, std::int32_t n, IComparer* c) {
    q.SortSingles(a, m, n, c);
  }
};

template <>
struct ElementRules<double> : NumberRules<double, &Variant::to_double> {
  static void sort(QuickSort& q, ArrayOf<double>& a, std::int32_t m, std::int32_t n, IComparer* c) {
    q.SortDoubles(a, m, n, c);
  }
};

template <>
struct ElementRules<String> {
  static constexpr bool kCounted = true;
  static constexpr bool kNeedsComparer = false;
  static constexpr SetArrayMode kSetArray = SetArrayMode::Typed;
  static constexpr AssignMode kAssign = AssignMode::Let;
  static constexpr std::int32_t kVarType = static_cast<std::int32_t>(VarKind::String);
  static String from_arg(const String& value) noexcept { return value; }
  static String from_variant(const Variant& value) { return value.to_string(); }
  static Variant to_variant(const String& element) noexcept { return Variant(element); }
  static bool matches(const String& element, const String& value) { return strings_match(element, value); }
  static void sort(QuickSort& q, ArrayOf<String>& a, std::int32_t m, std::int32_t n, IComparer* c) {
    q.SortStrings(a, m, n, c);
  }
};

template <>
struct ElementRules<Ref<Unknown>> {
  static constexpr bool kCounted = true;
  static constexpr bool kNeedsComparer = true;
  static constexpr SetArrayMode kSetArray = SetArrayMode::ObjectArray;
  static constexpr AssignMode kAssign = AssignMode::Set;
  static constexpr std::int32_t kVarType = static_cast<std::int32_t>(VarKind::Object);
  static Ref<Unknown> from_arg(Ref<Unknown> value) noexcept { return value; }
  // The same conversion a late-bound call makes for an object parameter: 13 for a non-object.
  static Ref<Unknown> from_variant(const Variant& value) { return interface_cast<Unknown>(value); }
  static Variant to_variant(const Ref<Unknown>& element) noexcept { return Variant(element); }
  static bool matches(const Ref<Unknown>& element, const Ref<Unknown>& value) { return objects_match(element, value); }
  static void sort(QuickSort& q, ArrayOf<Ref<Unknown>>& a, std::int32_t m, std::int32_t n, IComparer* c) {
    q.SortObjects(a, m, n, c);
  }
};

template <>
struct ElementRules<Variant> {
  static constexpr bool kCounted = true;
  static constexpr bool kNeedsComparer = true;
  static constexpr SetArrayMode kSetArray = SetArrayMode::AnyArray;
  static constexpr AssignMode kAssign = AssignMode::Both;
  static constexpr std::int32_t kVarType = static_cast<std::int32_t>(VarKind::Empty);
  // Stored unchanged: an object (Nothing included) by reference, anything else as a deep copy.
  static Variant from_arg(const Variant& value) { return value.copy_ind(); }
  static Variant from_variant(const Variant& value) { return value.copy_ind(); }
  static Variant to_variant(const Variant& element) { return element; }
  static bool matches(const Variant& element, const Variant& value) { return variants_match(element, value); }
  static void sort(QuickSort& q, ArrayOf<Variant>& a, std::int32_t m, std::int32_t n, IComparer* c) {
    q.SortVariants(a, m, n, c);
  }
};

}  // namespace quorvel
