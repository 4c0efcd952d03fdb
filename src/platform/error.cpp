// The exception type and the platform's runtime errors, raised out of line so hot code stays small.
#include "quorvel/platform/error.h"
#include "quorvel/platform/registry.h"

#include <new>

namespace quorvel {

Error::Error(std::int32_t number, String source, String description)
    : number_(number), source_(std::move(source)), description_(std::move(description)) {
  try {
    what_ = description_.to_utf8() + " (" + std::to_string(number_) + ")";
  } catch (const std::bad_alloc&) {
    // Without memory for the log text the error still carries its number and description.
  }
}

const char16_t* runtime_error_description(RuntimeError error) noexcept {
  switch (error) {
    case RuntimeError::InvalidProcedureCall: return u"Invalid procedure call or argument";
    case RuntimeError::Overflow: return u"Overflow";
    case RuntimeError::OutOfMemory: return u"Out of memory";
    case RuntimeError::SubscriptOutOfRange: return u"Subscript out of range";
    case RuntimeError::ArrayLocked: return u"This array is fixed or temporarily locked";
    case RuntimeError::TypeMismatch: return u"Type mismatch";
    case RuntimeError::ObjectNotSet: return u"Object variable or With block variable not set";
    case RuntimeError::InvalidUseOfNull: return u"Invalid use of Null";
    case RuntimeError::ObjectRequired: return u"Object required";
    case RuntimeError::NoSuchMember: return u"Object doesn't support this property or method";
    case RuntimeError::NamedArgumentNotFound: return u"Named argument not found";
    case RuntimeError::ArgumentNotOptional: return u"Argument not optional";
    case RuntimeError::WrongArgumentCount: return u"Wrong number of arguments or invalid property assignment";
    case RuntimeError::DuplicateKey: return u"This key is already associated with an element of this collection";
  }
  return u"Application-defined or object-defined error";
}

void raise_runtime_error(RuntimeError error) {
  throw Error(static_cast<std::int32_t>(error), library_name(), String(runtime_error_description(error)));
}

void raise_error(std::int32_t number, String source, String description) {
  throw Error(number, std::move(source), std::move(description));
}

}  // namespace quorvel
