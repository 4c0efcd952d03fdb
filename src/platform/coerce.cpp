// Coercion between kinds: the Variant-level face of the scalar conversion and number text rules,
// with the user's locale for text. One source reduction (what kind of scalar is held) and one
// function per target, so each pair of the table is a line in one switch.
#include "quorvel/platform/coerce.h"

#include "quorvel/platform/error.h"
#include "quorvel/platform/late_binding.h"
#include "quorvel/platform/locale.h"
#include "quorvel/platform/number_text.h"
#include "quorvel/platform/scalar_convert.h"

namespace quorvel {

namespace {

// What a value holds, once objects are read through their default value.
enum class Form : std::uint8_t { Empty, Whole, Boolean, Single, Double, Text };

struct Scalar {
  Form form = Form::Empty;
  std::int32_t whole = 0;  // Whole: Integer, Long, Byte; Boolean: its raw 16-bit value
  double real = 0;         // Single (widened exactly) and Double
  const String* text = nullptr;
};

[[noreturn]] void raise_status(ConvStatus status) {
  raise_runtime_error(status == ConvStatus::Overflow ? RuntimeError::Overflow : RuntimeError::TypeMismatch);
}

inline void check(ConvStatus status) {
  if (status != ConvStatus::Ok) raise_status(status);
}

NumberSeparators user_separators() { return number_separators(user_locale()); }

// The scalar a non-object value holds; Null raises 94, arrays, errors and the rest 13.
Scalar scalar_of(const Variant& v) {
  if (v.is_array()) raise_runtime_error(RuntimeError::TypeMismatch);
  Scalar s;
  switch (v.kind()) {
    case VarKind::Empty:
      return s;
    case VarKind::Null:
      raise_runtime_error(RuntimeError::InvalidUseOfNull);
    case VarKind::Integer:
      s.form = Form::Whole, s.whole = *v.if_integer();
      return s;
    case VarKind::Long:
      s.form = Form::Whole, s.whole = *v.if_long();
      return s;
    case VarKind::Byte:
      s.form = Form::Whole, s.whole = *v.if_byte();
      return s;
    case VarKind::Boolean:
      // A Boolean converts with its raw bits: True is -1, and a stray 1 stays 1.
      s.form = Form::Boolean, s.whole = v.if_boolean()->bits;
      return s;
    case VarKind::Single:
      s.form = Form::Single, s.real = *v.if_single();
      return s;
    case VarKind::Double:
      s.form = Form::Double, s.real = *v.if_double();
      return s;
    case VarKind::String:
      s.form = Form::Text, s.text = v.if_string();
      return s;
    case VarKind::Object:
    case VarKind::Error:
    case VarKind::Variant:
    case VarKind::Record:
      break;
  }
  raise_runtime_error(RuntimeError::TypeMismatch);
}

// Calls `convert` with the scalar `value` holds, reading an object's default value first (kept
// alive for the call, as `convert` may look at its text). An object without one has no form of
// any scalar kind (13); Nothing raises 91.
template <class Convert>
auto with_scalar(const Variant& value, Convert convert) {
  if (!value.is_object()) return convert(scalar_of(value));
  if (Unknown* p = value.if_object(); p && !has_default_member(*p)) raise_runtime_error(RuntimeError::TypeMismatch);
  const Variant inner = value.default_value();
  return convert(scalar_of(inner));
}

}  // namespace

std::int32_t Variant::convert_to_long() const {
  return with_scalar(*this, [](const Scalar& s) -> std::int32_t {
    std::int32_t out = 0;
    switch (s.form) {
      case Form::Empty: return 0;
      case Form::Whole:
      case Form::Boolean: return s.whole;
      case Form::Single:
      case Form::Double: check(quorvel::to_long(s.real, out)); return out;
      case Form::Text: check(parse_long(s.text->view(), user_separators(), out)); return out;
    }
    return out;
  });
}

std::int16_t Variant::convert_to_integer() const {
  return with_scalar(*this, [](const Scalar& s) -> std::int16_t {
    std::int16_t out = 0;
    switch (s.form) {
      case Form::Empty: break;
      case Form::Whole:
      case Form::Boolean: check(quorvel::to_integer(s.whole, out)); break;
      case Form::Single:
      case Form::Double: check(quorvel::to_integer(s.real, out)); break;
      case Form::Text: check(parse_integer(s.text->view(), user_separators(), out)); break;
    }
    return out;
  });
}

std::uint8_t Variant::convert_to_byte() const {
  return with_scalar(*this, [](const Scalar& s) -> std::uint8_t {
    std::uint8_t out = 0;
    switch (s.form) {
      case Form::Empty: break;
      case Form::Whole:
      case Form::Boolean: check(quorvel::to_byte(s.whole, out)); break;  // True (-1) overflows
      case Form::Single:
      case Form::Double: check(quorvel::to_byte(s.real, out)); break;
      case Form::Text: check(parse_byte(s.text->view(), user_separators(), out)); break;
    }
    return out;
  });
}

float Variant::convert_to_single() const {
  return with_scalar(*this, [](const Scalar& s) -> float {
    float out = 0;
    switch (s.form) {
      case Form::Empty: break;
      case Form::Whole:
      case Form::Boolean: out = static_cast<float>(s.whole); break;  // nearest, as the platform does
      case Form::Single: out = static_cast<float>(s.real); break;      // exact, infinities included
      case Form::Double: check(quorvel::to_single(s.real, out)); break;
      case Form::Text: check(parse_single(s.text->view(), user_separators(), out)); break;
    }
    return out;
  });
}

double Variant::convert_to_double() const {
  return with_scalar(*this, [](const Scalar& s) -> double {
    double out = 0;
    switch (s.form) {
      case Form::Empty: break;
      case Form::Whole:
      case Form::Boolean: out = s.whole; break;
      case Form::Single:
      case Form::Double: out = s.real; break;
      case Form::Text: check(parse_double(s.text->view(), user_separators(), out)); break;
    }
    return out;
  });
}

bool Variant::convert_to_boolean() const {
  return with_scalar(*this, [](const Scalar& s) -> bool {
    bool out = false;
    switch (s.form) {
      case Form::Empty: break;
      case Form::Whole:
      case Form::Boolean: out = s.whole != 0; break;
      case Form::Single:
      case Form::Double: out = quorvel::to_boolean(s.real); break;
      case Form::Text: check(parse_boolean(s.text->view(), user_separators(), out)); break;
    }
    return out;
  });
}

String Variant::convert_to_string() const {
  return with_scalar(*this, [](const Scalar& s) -> String {
    char16_t buf[kNumberTextCapacity];
    std::size_t len = 0;
    switch (s.form) {
      case Form::Empty: return String();
      case Form::Text: return *s.text;  // shared, not copied
      case Form::Boolean: return String(s.whole != 0 ? kTrueText : kFalseText);
      case Form::Whole: len = format_long(s.whole, buf); break;
      case Form::Single: len = format_single(static_cast<float>(s.real), user_separators(), buf); break;
      case Form::Double: len = format_double(s.real, user_separators(), buf); break;
    }
    return String(std::u16string_view(buf, len));
  });
}

Variant change_type(const Variant& value, VarKind kind) {
  // To its own kind a value is copied as it is: a Boolean holding 1 stays 1, an infinite Single stays.
  if (!value.is_array() && value.kind() == kind) return value.copy_ind();
  switch (kind) {
    case VarKind::Integer: return Variant(value.to_integer());
    case VarKind::Long: return Variant(value.to_long());
    case VarKind::Single: return Variant(value.to_single());
    case VarKind::Double: return Variant(value.to_double());
    case VarKind::String: return Variant(value.to_string());
    case VarKind::Boolean: return Variant(value.to_boolean());
    case VarKind::Byte: return Variant(value.to_byte());
    case VarKind::Object: return Variant(value.to_object());
    case VarKind::Variant: return value.copy_ind();
    case VarKind::Empty:
    case VarKind::Null:
    case VarKind::Error:
    case VarKind::Record:
      break;
  }
  raise_runtime_error(RuntimeError::TypeMismatch);
}

}  // namespace quorvel
