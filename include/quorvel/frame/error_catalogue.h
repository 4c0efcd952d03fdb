// The library's own failures: one table of numbers and messages, and the raise helpers that every
// class calls. No message text is written at a raise site.
#pragma once

#include <cstdint>
#include <string_view>

#include "quorvel/platform/object.h"

namespace quorvel {

/// Error numbers of the library.
namespace error_number {
inline constexpr std::int32_t kOutOfRange = 9;                                             // index or range outside
inline constexpr std::int32_t kInvalidArgument = static_cast<std::int32_t>(0x80040001u);   // -2147221503
inline constexpr std::int32_t kInconsistency = static_cast<std::int32_t>(0x80040002u);     // -2147221502
inline constexpr std::int32_t kInvalidState = static_cast<std::int32_t>(0x80040003u);      // -2147221501
inline constexpr std::int32_t kVariantCopyFailed = static_cast<std::int32_t>(0x80040007u); // -2147221497
inline constexpr std::int32_t kListDirect = 1001;                                          // clsList, clsHashIdIx
inline constexpr std::int32_t kStackSize = static_cast<std::int32_t>(0x800403E8u);         // clsStack lSize
inline constexpr std::int32_t kStackEmpty = static_cast<std::int32_t>(0x800403E9u);        // clsStack vPop
}  // namespace error_number

/// Every failure the library raises through the error reporter: number and exact message.
enum class Failure : std::uint8_t {
  OutOfRange,             // 9, no message
  ListBoundAboveSize,     // 9 "clsList bound error >Size!"
  ListBoundBelowOne,      // 9 "clsList bound error <1!"
  ListBound,              // 9 "clsList bound error!"
  AddRangeEmpty,          // 9 "AddRange"
  AddRangeBeyondBuffer,   // 9 "CopyCount exceeds the buffer length"
  InvalidArgument,        // 0x80040001, no message
  ShrinkFactor,           // 0x80040001 "Invalid shrink factor value,  must be greater than 1!"
  GrowLength,             // 0x80040001 "GrowLength value must be greater than 0"
  MinimalCount,           // 0x80040001 "Minimal Count value must be greater than 0"
  ObjectSortNeedsComparer,// 0x80040001 "Object sort requires a Comparer!"
  InvalidStartIx,         // 0x80040001 "Invalid StartIx!"
  CopyCountTooLarge,      // 0x80040001 "CopyCount exceeds the buffer length"
  InvalidDataType,        // 0x80040001 "Invalid data type"
  MalformedData,          // 0x80040001 "Malformed data"
  LboundNotOne,           // 0x80040001 "Lbound<>1"
  CorruptBuffer,          // 0x80040002 "Memory Corruption! (Buffer)"
  CorruptLengthCurrentIx, // 0x80040002 "Memory Corruption! (Length,CurrentIx)"
  CorruptLengthStartIx,   // 0x80040002 "Memory Corruption! (Length,StartIx)"
  CorruptStorage,         // 0x80040002 "Memory Corruption! (Storage)"
  AlreadyInitialized,     // 0x80040003 "Object already initialized!"
  ValueContainerNoSet,    // 0x80040003 "Value type container does not support Set statement!"
  ObjectContainerNoLet,   // 0x80040003 "Object type container does not support Let statement!"
  DataPointerQuery,       // 0x80040003 "Data array pointer query failed!"
  UninitializedUse,       // 0x80040003 "Uninitialized object usage!"
  InvalidState,           // 0x80040003, no message
  StaleHandle,            // 0x80040003 "Invalid handle [object may already unlocked]"
  HandleAlreadyLocked,    // 0x80040003 "Handle already locked!"
};

/// The number and message of a failure.
struct FailureText {
  std::int32_t number;
  std::u16string_view message;
};
FailureText failure_text(Failure f) noexcept;

/// Raises `f` through the thread's error reporter with `sender` (null for module procedures).
[[noreturn]] void raise(Failure f, Unknown* sender);

/// Raises 0x80040007 for a failed deep copy of a Variant: `prefix` followed by the failure code
/// in signed decimal ("CopyVariant.OLEVariantCopyInd Failed : " or "OLEVariantCopyInd Failed : ").
[[noreturn]] void raise_copy_failure(std::u16string_view prefix, std::int32_t code);

/// Raises an error directly with a class name as source (the three classes that do so).
[[noreturn]] void raise_direct(std::int32_t number, std::u16string_view source, std::u16string_view description);

}  // namespace quorvel
