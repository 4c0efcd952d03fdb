// The Byte list: its description and the range append.
#include "quorvel/arraylists/array_list_byte.h"

#include "array_list_core_impl.h"

namespace quorvel {

QUORVEL_INSTANTIATE_ARRAY_LIST(ArrayList_Byte, std::uint8_t);

const ClassInfo& ArrayList_Byte::describe() {
  static const ClassInfo info = describe_array_list<ArrayList_Byte>({method<&ArrayList_Byte::AddRange>("AddRange", 18, "Buffer", opt("StartIx"), opt("CopyCount"))});
  return info;
}

void ArrayList_Byte::AddRange(ArrayOf<std::uint8_t>& Buffer, Variant& StartIx, Variant& CopyCount) {
  const bool start_given = !StartIx.is_missing();
  const bool count_given = !CopyCount.is_missing();
  if (GetLengthBytes(Buffer) == 0) {
    if (!start_given && !count_given) return;
    raise(Failure::AddRangeEmpty, sender());
  }
  // Converting the arguments may run caller code that changes the buffer or the list: both are
  // read only afterwards.
  const std::int32_t given_start = start_given ? StartIx.to_long() : 0;
  const std::int32_t given_count = count_given ? CopyCount.to_long() : 0;
  const std::int32_t length = GetLengthBytes(Buffer);
  if (length == 0) raise(Failure::AddRangeEmpty, sender());
  const std::int32_t lower = Buffer.lower_bound();
  const std::int32_t upper = Buffer.upper_bound();

  std::int32_t start = lower;
  if (start_given) {
    start = given_start;
    if (start < lower) raise(Failure::InvalidStartIx, sender());
  }
  std::int64_t copy = 0;
  if (!count_given) {
    copy = static_cast<std::int64_t>(upper) - start + 1;
  } else {
    copy = given_count;
    if (copy > length) raise(Failure::CopyCountTooLarge, sender());
    if (start + copy - 1 > upper) raise(Failure::AddRangeBeyondBuffer, sender());
  }
  // A negative run would read outside the buffer: refused rather than trusted to the caller.
  if (copy < 0) raise(Failure::OutOfRange, sender());

  const std::int32_t first = store_.count();
  const std::int64_t new_count = first + copy;
  if (new_count > INT32_MAX) raise_runtime_error(RuntimeError::Overflow);
  std::int32_t capacity = store_.capacity();
  if (new_count > capacity) capacity = store_.capacity_for_range(capacity, static_cast<std::int32_t>(new_count));

  // The consistency checks, made against the storage as the growth will leave it so that a
  // failing one finds the list unchanged. Without any storage there are no bounds to read.
  if (capacity == 0) raise_runtime_error(RuntimeError::SubscriptOutOfRange);
  if (first < 0) raise(Failure::CorruptStorage, sender());
  if (start < lower) raise(Failure::CorruptBuffer, sender());
  if (first + copy - 1 > capacity - 1) raise(Failure::CorruptLengthCurrentIx, sender());
  if (start + copy - 1 > upper) raise(Failure::CorruptLengthStartIx, sender());

  store_.reserve(capacity);
  store_.expose(static_cast<std::int32_t>(new_count));
  if (copy > 0) {
    std::memcpy(store_.items().data() + first, Buffer.items().data() + (start - lower), static_cast<std::size_t>(copy));
  }
}


}  // namespace quorvel
