// The data records cross the late-bound surface as values: into and out of the binary file
// contract's members, by reference, and nested in one another.
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

StringDataArray strings(std::initializer_list<const char16_t*> texts) {
  StringDataArray r;
  r.Fields = ArrayOf<String>(0, static_cast<std::int32_t>(texts.size()));
  std::int32_t i = 0;
  for (const char16_t* t : texts) r.Fields.at(i++) = String(t);
  return r;
}

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

  // Nested: an array of string arrays, each a record of its own.
  StringDataArrays nested;
  const std::vector<StringDataArray> rows{strings({u"a", u"b"}), strings({u"c"})};
  nested.Arrays = RecordArray<StringDataArray>::from(rows);
  Variant all(to_record(nested));
  std::vector<Variant> nested_args{Variant::by_ref(all)};
  invoke(target, u"WriteStringArrays", MemberKind::Method, nested_args);
  const std::vector<StringDataArray> got = from_record<StringDataArrays>(all).Arrays.to_vector();
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].Fields.at(1), String(u"b"));
  EXPECT_EQ(got[1].Fields.at(0), String(u"c"));
  EXPECT_EQ(from_record<StringDataArrays>(invoke(target, u"ReadStringArrays", MemberKind::Method, {})).Arrays.count(), 0);

  // A record of another type, or no record, is refused.
  std::vector<Variant> wrong{Variant(to_record(bytes))};
  EXPECT_EQ(error_of([&] { invoke(target, u"WriteStrings", MemberKind::Method, wrong); }), 13);
  std::vector<Variant> number{Variant(3)};
  EXPECT_EQ(error_of([&] { invoke(target, u"WriteBytes", MemberKind::Method, number); }), 13);
}

TEST(DataRecords, AreInTheTypeLibrary) {
  std::string names;
  for (const RecordInfo* r : type_library().records) {
    const std::string name = r->name;
    if (name.find("DataArray") == std::string::npos) continue;
    names += name + "(" + r->fields.at(0).name + ") ";
  }
  EXPECT_EQ(names, "ByteDataArray(Data) StringDataArray(Fields) StringDataArrays(Arrays) ");
}

}  // namespace
}  // namespace quorvel
