// The data records cross the late-bound surface as values: into and out of the binary file
// contract's members and by reference (nesting is in the record tests).
#include "quorvel/locks/binary_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quorvel/platform/late_binding.h"
#include "quorvel/platform/registry.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

using test_support::error_of;

TEST(DataRecords, CrossTheLateBoundSurfaceByReferenceAndAsResults) {
  const Ref<IBinaryFileClass> file = make<IBinaryFileClass>();
  Unknown& target = *as_unknown(file.get());

  ByteDataArray bytes;
  bytes.Data = ArrayOf<std::uint8_t>(1, 3);
  bytes.Data.at(2) = 7;
  Variant held(to_record(bytes));
  std::vector<Variant> args{Variant::by_ref(held)};
  const Variant read = invoke(target, u"ReadBytes", MemberKind::Method, args);
  EXPECT_FALSE(from_record<ByteDataArray>(read).Data.allocated());  // the inert member's empty record
  const ByteDataArray back = from_record<ByteDataArray>(held);
  EXPECT_EQ(back.Data.lower_bound(), 1);
  EXPECT_EQ(back.Data.at(2), 7);

  // A record of another type, or no record, is refused.
  std::vector<Variant> wrong{Variant(to_record(bytes))};
  EXPECT_EQ(error_of([&] { invoke(target, u"WriteStrings", MemberKind::Method, wrong); }), 13);
  std::vector<Variant> number{Variant(3)};
  EXPECT_EQ(error_of([&] { invoke(target, u"WriteBytes", MemberKind::Method, number); }), 13);
}

}  // namespace
}  // namespace quorvel
