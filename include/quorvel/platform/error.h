// The one exception type of the library: every failure, the platform's and the library's, carries a
// number, a source and a description.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

#include "quorvel/platform/string.h"

namespace quorvel {

/// A failure with an automation error number (signed 32-bit), a source and a description.
class Error : public std::exception {
 public:
  Error(std::int32_t number, String source, String description);

  std::int32_t number() const noexcept { return number_; }
  const String& source() const noexcept { return source_; }
  const String& description() const noexcept { return description_; }
  /// "description (number)" in UTF-8, for logs.
  const char* what() const noexcept override { return what_.c_str(); }

 private:
  std::int32_t number_;
  String source_;
  String description_;
  std::string what_;
};

/// The platform's own failures, with their standard numbers.
enum class RuntimeError : std::int32_t {
  InvalidProcedureCall = 5,
  Overflow = 6,
  OutOfMemory = 7,
  SubscriptOutOfRange = 9,
  ArrayLocked = 10,
  TypeMismatch = 13,
  ObjectNotSet = 91,
  InvalidUseOfNull = 94,
  ObjectRequired = 424,
  NoSuchMember = 438,
  NamedArgumentNotFound = 448,
  ArgumentNotOptional = 449,
  WrongArgumentCount = 450,
  DuplicateKey = 457,
};

/// The standard short description of a runtime error ("Type mismatch", ...).
const char16_t* runtime_error_description(RuntimeError error) noexcept;

/// Raises a runtime error with its standard description and the source "Quorvel".
[[noreturn]] void raise_runtime_error(RuntimeError error);

/// Raises an error with exactly these fields.
[[noreturn]] void raise_error(std::int32_t number, String source, String description);

}  // namespace quorvel
