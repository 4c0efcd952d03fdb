// Coercion between kinds. Placeholder: whole numbers and plain text only, until the full rules land.
#include "quorvel/platform/coerce.h"

#include <cmath>
#include <string>

#include "quorvel/platform/error.h"

namespace quorvel {

namespace {

double number_of(const Variant& in) {
  Variant v = in.default_value();
  if (const auto* p = v.if_integer()) return *p;
  if (const auto* p = v.if_long()) return *p;
  if (const auto* p = v.if_single()) return *p;
  if (const auto* p = v.if_double()) return *p;
  if (const auto* p = v.if_boolean()) return p->bits;
  if (const auto* p = v.if_byte()) return *p;
  if (v.is_empty()) return 0;
  if (v.is_null()) raise_runtime_error(RuntimeError::InvalidUseOfNull);
  if (const auto* s = v.if_string()) {
    std::string t = s->to_utf8();
    std::size_t used = 0;
    try {
      double d = std::stod(t, &used);
      if (used == t.size()) return d;
    } catch (...) {
    }
  }
  raise_runtime_error(RuntimeError::TypeMismatch);
}

double in_range(double d, double lo, double hi) {
  d = std::nearbyint(d);
  if (!(d >= lo && d <= hi)) raise_runtime_error(RuntimeError::Overflow);
  return d;
}

}  // namespace

std::int16_t Variant::to_integer() const { return static_cast<std::int16_t>(in_range(number_of(*this), -32768, 32767)); }
std::int32_t Variant::to_long() const { return static_cast<std::int32_t>(in_range(number_of(*this), -2147483648.0, 2147483647.0)); }
float Variant::to_single() const { return static_cast<float>(number_of(*this)); }
double Variant::to_double() const { return number_of(*this); }
bool Variant::to_boolean() const { return number_of(*this) != 0; }
std::uint8_t Variant::to_byte() const { return static_cast<std::uint8_t>(in_range(number_of(*this), 0, 255)); }
String Variant::to_string() const {
  Variant v = default_value();
  if (const auto* s = v.if_string()) return *s;
  if (v.is_empty()) return String();
  if (const auto* b = v.if_boolean()) return String(*b ? u"True" : u"False");
  const double d = number_of(v);
  const std::string t = std::to_string(static_cast<long long>(d));
  return String::from_utf8(t);
}

Variant change_type(const Variant& value, VarKind kind) {
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
      if (value.kind() == kind && !value.is_array()) return value.copy_ind();
      break;
  }
  raise_runtime_error(RuntimeError::TypeMismatch);
}

}  // namespace quorvel
