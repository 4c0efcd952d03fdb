// Expectations: parsed from their JSON forms, compared exactly (kinds included), explained in
// "expected ..., got ..." form when not met.
#include "expectation.h"

#include <cmath>
#include <cstdio>

#include "quorvel/platform/class_info.h"

namespace quorvel::host {

std::string error_number_text(std::int32_t number) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%X", static_cast<std::uint32_t>(number));
  return std::string(hex) + " (" + std::to_string(number) + ")";
}

std::string error_text(const Error& e) {
  Outcome o;
  o.raised = true;
  o.number = e.number();
  o.source = e.source();
  o.description = e.description();
  return o.text();
}

std::string Outcome::text() const {
  if (!raised) return value_text(value);
  return "error " + error_number_text(number) + " from " + one_line(source.to_utf8()) + ": " +
         quoted(description.view(), 200);
}

namespace {

// Long arrays are shown cut short; name the first item that differs when the shapes agree.
std::string first_difference(const Array& want, const Array& have) {
  if (want.element_kind() != have.element_kind() || !want.allocated() || !have.allocated() ||
      want.lower_bound() != have.lower_bound() || want.count() != have.count()) {
    return {};
  }
  for (std::int32_t k = 0; k < want.count(); ++k) {  // by offset: an upper bound may be 2^31 - 1
    const std::int32_t i = want.lower_bound() + k;
    const Variant w = want.get(i), h = have.get(i);
    if (!same_value(w, h)) {
      return " (item " + std::to_string(i) + ": expected " + value_text(w) + ", got " + value_text(h) + ")";
    }
  }
  return {};
}

}  // namespace

bool same_value(const Variant& a, const Variant& b) {
  if (a.type_code() != b.type_code()) return false;
  if (a.is_array()) {
    const Array& x = *a.if_array();
    const Array& y = *b.if_array();
    if (x.allocated() != y.allocated()) return false;
    if (!x.allocated()) return true;
    if (x.lower_bound() != y.lower_bound() || x.count() != y.count()) return false;
    for (std::int32_t k = 0; k < x.count(); ++k) {  // by offset: an upper bound may be 2^31 - 1
      if (!same_value(x.get(x.lower_bound() + k), y.get(x.lower_bound() + k))) return false;
    }
    return true;
  }
  // A scenario cannot spell a NaN's sign or payload, so NaN matches NaN of the same kind.
  if (const double* x = a.if_double(); x && std::isnan(*x)) return std::isnan(*b.if_double());
  if (const float* x = a.if_single(); x && std::isnan(*x)) return std::isnan(*b.if_single());
  return identical(a, b);
}

Expectation Expectation::parse(const Json& j, Variables& vars, bool errors_allowed) {
  Expectation e;
  if (j.is_object() && j.size() == 1) {
    const std::string& tag = j.begin().key();
    const Json& arg = j.begin().value();
    if (tag == "Err") {
      if (!errors_allowed) throw Malformed("{\"Err\": ...} expects a call to raise; here nothing is called");
      if (!arg.is_array() || arg.size() > 2) throw Malformed("write {\"Err\": [number, \"description\"]}, got " + echo(j, 60));
      e.form_ = Form::Error;
      if (arg.size() >= 1) e.number_ = int32_field(arg[0], "an error number");
      if (arg.size() == 2) e.description_ = String::from_utf8(text_field(arg[1], "an error description"));
      return e;
    }
    if (tag == "ArrBounds") {
      if (!arg.is_array() || arg.size() != 2) throw Malformed("write {\"ArrBounds\": [lb, ub]}, got " + echo(j, 60));
      e.form_ = Form::Bounds;
      e.lower_ = int32_field(arg[0], "a lower bound");
      e.upper_ = int32_field(arg[1], "an upper bound");
      return e;
    }
    if (tag == "Class") {
      e.form_ = Form::Class;
      e.class_name_ = text_field(arg, "a class name");
      return e;
    }
  }
  e.form_ = Form::Value;
  e.value_ = value_from_json(j, vars, ValueUse::Plain);
  return e;
}

bool Expectation::met_by(const Outcome& got) const {
  if (form_ == Form::Error) {
    return got.raised && (!number_ || *number_ == got.number) && (!description_ || *description_ == got.description);
  }
  if (got.raised) return false;
  switch (form_) {
    case Form::NoError: return true;
    case Form::Value: return same_value(value_, got.value);
    case Form::Bounds: {
      const Array* a = got.value.if_array();
      return a && a->allocated() && a->lower_bound() == lower_ && a->upper_bound() == upper_;
    }
    case Form::Class: {
      Unknown* p = got.value.is_object() ? got.value.if_object() : nullptr;
      return p && class_name_ == p->identity().class_info().name;
    }
    case Form::Error: break;
  }
  return false;
}

std::optional<std::string> Expectation::mismatch(const Outcome& got) const {
  if (met_by(got)) return std::nullopt;
  const std::string expected = text();
  std::string actual = got.text();
  // Objects are compared by identity, which their text cannot show.
  if (form_ == Form::Value && value_.if_object() && !got.raised && got.value.if_object()) {
    actual += " (another object)";
  } else if (form_ == Form::Value && !got.raised && value_.is_array() && got.value.is_array()) {
    actual += first_difference(*value_.if_array(), *got.value.if_array());
  } else if (actual == expected) {
    actual += " (differing beyond the text shown)";
  }
  return "expected " + expected + ", got " + actual;
}

std::string Expectation::text() const {
  switch (form_) {
    case Form::NoError: return "no error";
    case Form::Value: return value_text(value_);
    case Form::Error: {
      if (!number_) return "an error";
      std::string t = "error " + error_number_text(*number_);
      if (description_) t.append(": ").append(quoted(description_->view(), 200));
      return t;
    }
    case Form::Bounds: return "an array with bounds " + std::to_string(lower_) + " to " + std::to_string(upper_);
    case Form::Class: return "an object of class " + class_name_;
  }
  return "?";
}

}  // namespace quorvel::host
