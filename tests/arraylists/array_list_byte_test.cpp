#include "quorvel/arraylists/array_list_byte.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "arraylists/list_test_support.h"

namespace quorvel::list_tests {
namespace {

using Bytes = std::vector<std::uint8_t>;

Variant opt_long(std::optional<std::int32_t> v) { return v ? Variant(*v) : Variant::missing(); }

// Every row starts from the list [7] and a buffer with bounds 1 to 4 (or an unallocated one).
TEST(ArrayListByte, AddRangeAppendsARunOfTheBufferOrRaisesBeforeChangingAnything) {
  const struct {
    const char* name;
    bool allocated;
    std::optional<std::int32_t> start, count;
    std::int32_t number;  // 0: appends, giving `after`
    const char* message;
    Bytes after;
  } rows[] = {
      {"whole buffer", true, std::nullopt, std::nullopt, 0, "", {7, 11, 12, 13, 14}},
      {"from index 3", true, 3, std::nullopt, 0, "", {7, 13, 14}},
      {"two from index 2", true, 2, 2, 0, "", {7, 12, 13}},
      {"none from the last index", true, 4, 0, 0, "", {7}},
      {"all four from the lower bound", true, std::nullopt, 4, 0, "", {7, 11, 12, 13, 14}},
      {"empty buffer with a start", false, 1, std::nullopt, 9, "AddRange", {}},
      {"empty buffer with a count", false, std::nullopt, 0, 9, "AddRange", {}},
      {"start below the lower bound", true, 0, std::nullopt, kInvalidArgument, "Invalid StartIx!", {}},
      {"count above the length", true, std::nullopt, 5, kInvalidArgument, "CopyCount exceeds the buffer length", {}},
      {"run past the upper bound", true, 3, 3, 9, "CopyCount exceeds the buffer length", {}},
      {"negative count", true, 2, -1, 9, "", {}},
      {"start beyond the end + 1", true, 6, std::nullopt, 9, "", {}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    auto list = list_of<ArrayList_Byte>({7});
    ArrayOf<std::uint8_t> buffer =
        row.allocated ? array_of<std::uint8_t>(1, {11, 12, 13, 14}) : ArrayOf<std::uint8_t>();
    Variant start = opt_long(row.start), count = opt_long(row.count);
    if (row.number != 0) {
      EXPECT_RAISES(list->AddRange(buffer, start, count), row.number, row.message);
      EXPECT_EQ(items(*list), Bytes{7});
      EXPECT_EQ(list->capacity(), 1000);
    } else {
      list->AddRange(buffer, start, count);
      EXPECT_EQ(items(*list), row.after);
    }
  }
}

TEST(ArrayListByte, AddRangeOfNothing) {
  auto list = make<ArrayList_Byte>();
  ArrayOf<std::uint8_t> unallocated, bounded_empty(0, 0);
  Variant missing = Variant::missing(), also_missing = Variant::missing();
  list->AddRange(unallocated, missing, also_missing);
  list->AddRange(bounded_empty, missing, also_missing);
  EXPECT_EQ(list->get_Count(), 0);
  // A run of no bytes on a list without storage reads the storage's bounds: the runtime's 9.
  ArrayOf<std::uint8_t> buffer = array_of<std::uint8_t>(1, {1, 2});
  Variant start(2), zero(0);
  EXPECT_RAISES(list->AddRange(buffer, start, zero), 9, "Subscript out of range");
  list->AddItem(1);
  list->AddRange(buffer, start, zero);
  EXPECT_EQ(list->get_Count(), 1);
}

TEST(ArrayListByte, AddRangeGrowsOnceByWholeGrowLengths) {
  auto list = make<ArrayList_Byte>();
  list->SetArray(Variant(Array(array_of<std::uint8_t>(0, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}))));
  list->put_GrowLength(4);
  ArrayOf<std::uint8_t> buffer = array_of<std::uint8_t>(0, {20, 21, 22, 23, 24, 25, 26, 27});
  Variant missing = Variant::missing(), also_missing = Variant::missing();
  list->AddRange(buffer, missing, also_missing);
  EXPECT_EQ(list->capacity(), 22);  // 8 short of 10: 8 \ 4 + 1 = 3 steps of 4
  EXPECT_EQ(items(*list), (Bytes{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 20, 21, 22, 23, 24, 25, 26, 27}));
}

}  // namespace
}  // namespace quorvel::list_tests
