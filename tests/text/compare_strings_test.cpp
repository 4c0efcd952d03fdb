#include "quorvel/text/compare_strings.h"

#include <gtest/gtest.h>

#include "quorvel/platform/object.h"
#include "quorvel/platform/thread_context.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

TEST(CompareStrings, OrderByMode) {
  struct Row {
    const char* name;
    const char16_t *a, *b;
    std::int32_t mode, expected;
  } rows[] = {
      {"binary: lower case after capitals", u"a", u"B", 0, 1},
      {"text", u"a", u"B", 1, -1},
      {"text ignores case", u"abc", u"ABC", 1, 0},
      {"database mode orders as text", u"abc", u"ABD", 2, -1},
      {"prefix first", u"ab", u"abc", 0, -1},
      {"negative mode", u"a", u"a", -1, static_cast<std::int32_t>(0x80040001u)},
      {"mode 3", u"a", u"a", 3, static_cast<std::int32_t>(0x80040001u)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    String a(row.a), b(row.b);
    if (row.mode >= 0 && row.mode <= 2) {
      EXPECT_EQ(CompareStrings(a, b, row.mode), row.expected);
    } else {
      EXPECT_RAISES(CompareStrings(a, b, row.mode), row.expected, "");
    }
  }
}

// The comparers are per thread and go with the thread's context, so that nothing outlives it.
TEST(CompareStrings, ComparersAreMadeOnceAndDroppedWithTheContext) {
  this_thread_context().reset();
  const std::int64_t before = Object::live_count();
  String a(u"a"), b(u"b");
  for (int round = 0; round < 2; ++round) {
    for (const std::int32_t mode : {0, 1, 2}) CompareStrings(a, b, mode);
    EXPECT_EQ(Object::live_count(), before + 2);
  }
  this_thread_context().reset();
  EXPECT_EQ(Object::live_count(), before);
}

}  // namespace
}  // namespace quorvel
