// The Long list: its description and its two members of its own.
#include "quorvel/arraylists/array_list_long.h"

#include "array_list_core_impl.h"

namespace quorvel {

QUORVEL_INSTANTIATE_ARRAY_LIST(ArrayList_Long, std::int32_t);

const ClassInfo& ArrayList_Long::describe() {
  static const ClassInfo info = describe_array_list<ArrayList_Long>({method<&ArrayList_Long::IncrementAbove>("IncrementAbove", 18, "AboveValue", opt("m"), opt("n")),
       method<&ArrayList_Long::Move>("Move", 19, "Start", "Count", "DirectionVector")});
  return info;
}

std::int32_t ArrayList_Long::IncrementAbove(std::int32_t AboveValue, Variant& m, Variant& n) {
  // Both bounds are converted (caller code may run) before the list is looked at again.
  const std::int32_t lo = m.is_missing() ? get_LowerBound() : m.to_long();
  const std::int32_t given_hi = n.is_missing() ? 0 : n.to_long();
  const std::int32_t hi = n.is_missing() ? get_UpperBound() : given_hi;
  if (lo > hi) return 0;
  // The range is not the caller's to get right: outside the list nothing is touched.
  if (lo < get_LowerBound() || hi > get_UpperBound()) raise(Failure::OutOfRange, sender());
  std::int32_t changed = 0;
  for (std::int32_t& element :
       store_.items().subspan(static_cast<std::size_t>(lo), static_cast<std::size_t>(hi - lo) + 1)) {
    if (element > AboveValue) {
      --element;  // cannot wrap: it is above some Long
      ++changed;
    }
  }
  return changed;
}

void ArrayList_Long::Move(std::int32_t Start, std::int32_t Count, std::int32_t DirectionVector) {
  const std::int64_t start = Start;
  const std::int64_t count = Count;
  const std::int64_t target = start + DirectionVector;
  const std::int64_t upper = get_UpperBound();
  auto inside = [upper](std::int64_t index) { return index >= 0 && index <= upper; };
  if (count < 0 || !inside(start) || !inside(start + count - 1) || !inside(target) || !inside(target + count - 1)) {
    raise(Failure::OutOfRange, sender());
  }
  std::int32_t* data = store_.items().data();
  std::memmove(data + target, data + start, static_cast<std::size_t>(count) * sizeof(std::int32_t));
}


}  // namespace quorvel
