// What a step expects of a call or a variable, and the comparison that decides whether it got it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "quorvel/platform/error.h"
#include "value_codec.h"

namespace quorvel::host {

/// An error number as a person looks it up: `0x80040001 (-2147221503)`, `0xD (13)`.
std::string error_number_text(std::int32_t number);

/// A raised error in full: `error 0x80040001 (-2147221503) from ArrayList_Long: ""`.
std::string error_text(const Error& e);

/// What a call did: returned a value, or raised an error.
struct Outcome {
  bool raised = false;
  Variant value;           // when it returned
  std::int32_t number = 0;  // when it raised
  String source;
  String description;

  /// `Long 3`, or `error 0xD (13) from Quorvel: "Type mismatch"`.
  std::string text() const;
};

/// Runs `call`, catching the automation error it raises. A C++ exception of another kind escapes.
template <class F>
Outcome attempt(F&& call) {
  Outcome o;
  try {
    o.value = call();
  } catch (const Error& e) {
    o.raised = true;
    o.number = e.number();
    o.source = e.source();
    o.description = e.description();
  }
  return o;
}

/// Same kind and same value: floats bit for bit except that any NaN matches any NaN of its kind;
/// arrays by element kind, lower bound and every item; objects by identity.
bool same_value(const Variant& a, const Variant& b);

/// One expectation of the file format: a value, `{"Err": [...]}`, `{"ArrBounds": [lb, ub]}`,
/// `{"Class": name}`, or none (the call must not raise).
class Expectation {
 public:
  /// The call must not raise.
  static Expectation no_error() { return Expectation(); }
  /// Parses an expectation; `{"Err": ...}` only where a call is made (`errors_allowed`).
  /// Raises Malformed.
  static Expectation parse(const Json& j, Variables& vars, bool errors_allowed);

  /// Nothing when `got` meets the expectation, else "expected ..., got ...".
  std::optional<std::string> mismatch(const Outcome& got) const;
  /// The expectation in words: `Long 3`, `error 0xD (13): "Type mismatch"`, `an object of class X`.
  std::string text() const;

 private:
  enum class Form : std::uint8_t { NoError, Value, Error, Bounds, Class };
  bool met_by(const Outcome& got) const;

  Form form_ = Form::NoError;
  Variant value_;
  std::optional<std::int32_t> number_;
  std::optional<String> description_;
  std::int32_t lower_ = 0;
  std::int32_t upper_ = 0;
  std::string class_name_;
};

}  // namespace quorvel::host
