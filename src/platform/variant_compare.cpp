// The platform's Variant comparison: each side is sorted into a class (number, string, Empty,
// Null) and the pair of classes decides how the values meet.
#include "quorvel/platform/variant_compare.h"

#include <cmath>

#include "quorvel/platform/collation.h"
#include "quorvel/platform/error.h"

namespace quorvel {
namespace {

enum class Class : std::uint8_t { Empty, Null, Number, String };

/// The class of a value that is neither an object nor an array; 13 for the kinds that cannot
/// be compared at all.
Class class_of(const Variant& value) {
  switch (value.kind()) {
    case VarKind::Empty:
      return Class::Empty;
    case VarKind::Null:
      return Class::Null;
    case VarKind::Integer:
    case VarKind::Long:
    case VarKind::Single:
    case VarKind::Double:
    case VarKind::Boolean:
    case VarKind::Byte:
      return Class::Number;
    case VarKind::String:
      return Class::String;
    case VarKind::Object:  // a default value is never an object; kept for the switch's sake
    case VarKind::Error:
    case VarKind::Variant:
    case VarKind::Record:
      break;
  }
  raise_runtime_error(RuntimeError::TypeMismatch);
}

/// `value` itself (by-reference resolved), or for an object its default value kept in `holder`.
const Variant& comparable(const Variant& value, Variant& holder) {
  const Variant& resolved = value.resolved();
  if (resolved.is_array()) raise_runtime_error(RuntimeError::TypeMismatch);
  if (!resolved.is_object()) return resolved;
  holder = resolved.default_value();
  if (holder.is_array()) raise_runtime_error(RuntimeError::TypeMismatch);
  return holder;
}

/// Every number kind widens to a Double exactly.
double number_of(const Variant& value) noexcept {
  if (const auto* p = value.if_double()) return *p;
  if (const auto* p = value.if_long()) return *p;
  if (const auto* p = value.if_integer()) return *p;
  if (const auto* p = value.if_single()) return *p;
  if (const auto* p = value.if_boolean()) return *p ? -1.0 : 0.0;  // any non-zero is True
  if (const auto* p = value.if_byte()) return *p;
  return 0;  // Empty
}

VarOrder order_of_numbers(double a, double b) noexcept {
  if (a < b) return VarOrder::Less;
  if (a > b) return VarOrder::Greater;
  return a == b ? VarOrder::Equal : VarOrder::Null;
}

/// `value` rounded to the nearest Single, as the conversion to Single rounds. A finite value that
/// no Single can hold stays as it is: it still lies beyond every finite Single, and short of the
/// infinities.
double to_single_precision(double value) noexcept {
  const float rounded = static_cast<float>(value);
  return std::isinf(rounded) && !std::isinf(value) ? value : rounded;
}

/// A Single meets a Double at Single precision (0.1 as a Single equals 0.1 as a Double); every
/// other pair of numbers widens to Double, which holds each of them exactly.
VarOrder order_of_number_pair(const Variant& left, const Variant& right) noexcept {
  if (const float* single = left.if_single()) {
    if (const double* other = right.if_double()) return order_of_numbers(*single, to_single_precision(*other));
  } else if (const float* single_right = right.if_single()) {
    if (const double* other = left.if_double()) return order_of_numbers(to_single_precision(*other), *single_right);
  }
  return order_of_numbers(number_of(left), number_of(right));
}

std::u16string_view text_of(const Variant& value) noexcept {
  const String* text = value.if_string();
  return text ? text->view() : std::u16string_view();  // Empty
}

}  // namespace

VarOrder var_compare(const Variant& a, const Variant& b, bool ignore_case) {
  Variant a_holder;
  Variant b_holder;
  const Variant& left = comparable(a, a_holder);
  const Variant& right = comparable(b, b_holder);
  const Class left_class = class_of(left);
  const Class right_class = class_of(right);

  if (left_class == Class::Null || right_class == Class::Null) return VarOrder::Null;
  if (left_class == Class::Number || right_class == Class::Number) {
    if (left_class == Class::String) return VarOrder::Greater;
    if (right_class == Class::String) return VarOrder::Less;
    return order_of_number_pair(left, right);
  }
  if (left_class == Class::Empty && right_class == Class::Empty) return VarOrder::Equal;
  const std::u16string_view left_text = text_of(left);
  const std::u16string_view right_text = text_of(right);
  const int order =
      ignore_case ? compare_text(left_text, right_text) : compare_binary(left_text, right_text);
  return static_cast<VarOrder>(order);
}

}  // namespace quorvel
