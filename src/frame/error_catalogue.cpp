// The catalogue of the library's failures and the helpers that raise them out of line.
#include "quorvel/frame/error_catalogue.h"

#include <string>

#include "quorvel/platform/error.h"
#include "quorvel/platform/error_reporter.h"

namespace quorvel {

FailureText failure_text(Failure f) noexcept {
  using namespace error_number;
  switch (f) {
    case Failure::OutOfRange: return {kOutOfRange, u""};
    case Failure::ListBoundAboveSize: return {kOutOfRange, u"clsList bound error >Size!"};
    case Failure::ListBoundBelowOne: return {kOutOfRange, u"clsList bound error <1!"};
    case Failure::ListBound: return {kOutOfRange, u"clsList bound error!"};
    case Failure::AddRangeEmpty: return {kOutOfRange, u"AddRange"};
    case Failure::AddRangeBeyondBuffer: return {kOutOfRange, u"CopyCount exceeds the buffer length"};
    case Failure::InvalidArgument: return {kInvalidArgument, u""};
    case Failure::ShrinkFactor: return {kInvalidArgument, u"Invalid shrink factor value,  must be greater than 1!"};
    case Failure::GrowLength: return {kInvalidArgument, u"GrowLength value must be greater than 0"};
    case Failure::MinimalCount: return {kInvalidArgument, u"Minimal Count value must be greater than 0"};
    case Failure::ObjectSortNeedsComparer: return {kInvalidArgument, u"Object sort requires a Comparer!"};
    case Failure::InvalidStartIx: return {kInvalidArgument, u"Invalid StartIx!"};
    case Failure::CopyCountTooLarge: return {kInvalidArgument, u"CopyCount exceeds the buffer length"};
    case Failure::InvalidDataType: return {kInvalidArgument, u"Invalid data type"};
    case Failure::MalformedData: return {kInvalidArgument, u"Malformed data"};
    case Failure::LboundNotOne: return {kInvalidArgument, u"Lbound<>1"};
    case Failure::CorruptBuffer: return {kInconsistency, u"Memory Corruption! (Buffer)"};
    case Failure::CorruptLengthCurrentIx: return {kInconsistency, u"Memory Corruption! (Length,CurrentIx)"};
    case Failure::CorruptLengthStartIx: return {kInconsistency, u"Memory Corruption! (Length,StartIx)"};
    case Failure::CorruptStorage: return {kInconsistency, u"Memory Corruption! (Storage)"};
    case Failure::AlreadyInitialized: return {kInvalidState, u"Object already initialized!"};
    case Failure::ValueContainerNoSet: return {kInvalidState, u"Value type container does not support Set statement!"};
    case Failure::ObjectContainerNoLet: return {kInvalidState, u"Object type container does not support Let statement!"};
    case Failure::DataPointerQuery: return {kInvalidState, u"Data array pointer query failed!"};
    case Failure::UninitializedUse: return {kInvalidState, u"Uninitialized object usage!"};
    case Failure::InvalidState: return {kInvalidState, u""};
    case Failure::StaleHandle: return {kInvalidState, u"Invalid handle [object may already unlocked]"};
    case Failure::HandleAlreadyLocked: return {kInvalidState, u"Handle already locked!"};
  }
  return {kInvalidArgument, u""};
}

void raise(Failure f, Unknown* sender) {
  const FailureText t = failure_text(f);
  ErrorReporter& reporter = ErrorReporter::this_thread();
  reporter.RaiseError(t.number, Ref<Unknown>(sender), String(t.message));
}

void raise_copy_failure(std::u16string_view prefix, std::int32_t code) {
  std::u16string message(prefix);
  for (char c : std::to_string(code)) message.push_back(static_cast<char16_t>(c));
  ErrorReporter::this_thread().RaiseError(error_number::kVariantCopyFailed, Ref<Unknown>(), String(message));
}

void raise_direct(std::int32_t number, std::u16string_view source, std::u16string_view description) {
  raise_error(number, String(source), String(description));
}

}  // namespace quorvel
