#include "quorvel/platform/record_type.h"

#include <gtest/gtest.h>

#include <functional>

#include "quorvel/platform/coerce.h"
#include "quorvel/platform/describe.h"
#include "quorvel/platform/late_binding.h"
#include "quorvel/platform/registry.h"
#include "quorvel/platform/variant_compare.h"
#include "support/fault_injection.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

struct TestLine {
  static constexpr const char* type_name = "TestLine";
  static constexpr Guid guid{"{6A0E1D52-7B3C-4F7A-9E21-00C0FFEE0101}"};
  static const RecordInfo& record_info();
  String Text;
  std::int32_t Number = 0;
  ArrayOf<String> Words;
};
QUORVEL_DESCRIBE_RECORD(TestLine, record_field<&TestLine::Text>("Text"), record_field<&TestLine::Number>("Number"),
                        record_field<&TestLine::Words>("Words"))

struct TestPage {
  static constexpr const char* type_name = "TestPage";
  static constexpr Guid guid{"{6A0E1D52-7B3C-4F7A-9E21-00C0FFEE0102}"};
  static const RecordInfo& record_info();
  RecordArray<TestLine> Lines;
};
QUORVEL_DESCRIBE_RECORD(TestPage, record_field<&TestPage::Lines>("Lines"))

[[maybe_unused]] const bool registered = register_record(&TestLine::record_info) && register_record(&TestPage::record_info);

TestLine line(const char16_t* text, std::int32_t number) {
  TestLine l;
  l.Text = String(text);
  l.Number = number;
  l.Words = ArrayOf<String>(1, 2);
  l.Words.at(1) = String(text);
  return l;
}

// Takes, returns and changes records late-bound.
class TestEditor final : public ObjectImpl<> {
 public:
  static constexpr const char* type_name = "TestRecordEditor";
  static constexpr Guid iid{"{6A0E1D52-7B3C-4F7A-9E21-00C0FFEE0103}"};
  QUORVEL_CLASS_INFO(describe_class<TestEditor>(ClassFlags::Creatable, {method<&TestEditor::Bump>("Bump", 2, "Line"),
                  method<&TestEditor::Count>("Count", 3, "Page"), method<&TestEditor::Lines>("Lines", 4, "n")}))

  void Bump(TestLine& l) { ++l.Number; }
  std::int32_t Count(const RecordArray<TestLine>& lines) { return lines.count(); }
  RecordArray<TestLine> Lines(std::int32_t n) {
    std::vector<TestLine> v;
    for (std::int32_t i = 0; i < n; ++i) v.push_back(line(u"x", i));
    return RecordArray<TestLine>::from(v, 1);
  }
};
QUORVEL_REGISTER_CLASS(TestEditor);

bool same(const TestLine& a, const TestLine& b) {
  return a.Text == b.Text && a.Number == b.Number && identical(Variant(a.Words), Variant(b.Words));
}

TEST(Record, RoundTripsThroughVariantsArraysAndNesting) {
  const TestLine a = line(u"alpha", 7);
  const Variant v(to_record(a));
  EXPECT_EQ(v.type_code(), 36);
  EXPECT_TRUE(same(from_record<TestLine>(v), a));

  Variant copy = v;  // a copy owns its fields: changing it leaves the original alone
  Record& r = const_cast<Record&>(*copy.if_record());
  r.set_field(1, Variant(u"12"));
  EXPECT_EQ(*r.fields()[1].if_long(), 12);
  EXPECT_EQ(from_record<TestLine>(v).Number, 7);

  const std::vector<TestLine> lines{a, line(u"beta", -1)};
  TestPage page;
  page.Lines = RecordArray<TestLine>::from(lines, 5);
  const TestPage back = from_record<TestPage>(Variant(to_record(page)));
  ASSERT_EQ(back.Lines.lower_bound(), 5);
  const std::vector<TestLine> got = back.Lines.to_vector();
  ASSERT_EQ(got.size(), 2u);
  EXPECT_TRUE(same(got[0], lines[0]) && same(got[1], lines[1]));

  // An array slot never written reads as a record of the array's type at its defaults.
  Array empty(TestLine::record_info(), 0, 1);
  const TestLine fresh = from_record<TestLine>(empty.get(0));
  EXPECT_TRUE(fresh.Text.empty() && fresh.Number == 0 && !fresh.Words.allocated());
}

TEST(Record, RefusesWhatIsNotItsType) {
  const Variant l(to_record(line(u"a", 1)));
  const Variant p(to_record(TestPage{}));
  struct Row {
    const char* name;
    std::function<void()> run;
    std::int32_t number;
  } rows[] = {
      {"record of another type", [&] { from_record<TestLine>(p); }, 13},
      {"a Long as a record", [&] { from_record<TestLine>(Variant(3)); }, 13},
      {"a record as a Long", [&] { (void)l.to_long(); }, 13},
      {"a record as text", [&] { (void)l.to_string(); }, 13},
      {"a record compared", [&] { (void)var_compare(l, l, false); }, 13},
      {"a field of another kind", [&] { Record(TestLine::record_info()).set_field(2, Variant(3)); }, 13},
      {"a Null field", [&] { Record(TestLine::record_info()).set_field(1, Variant::null()); }, 94},
      {"another record into an array", [&] { Array(TestLine::record_info(), 0, 1).put(0, p); }, 13},
      {"the typeless slot as a Variant", [] { Variant v{Record()}; }, 5},
      {"an array of records by kind alone", [] { Array a(VarKind::Record, 0, 1); (void)a.get(0).to_long(); }, 13},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(test_support::error_of(row.run), row.number);
  }
}

TEST(Record, CrossesTheLateBoundSurface) {
  Ref<Object> o = create_object(u"Quorvel.TestRecordEditor");
  Variant held(to_record(line(u"b", 1)));
  std::vector<Variant> bump{Variant::by_ref(held)};
  invoke(*o, u"Bump", MemberKind::Method, bump);
  EXPECT_EQ(from_record<TestLine>(held).Number, 2);

  // A Variant array of records is taken as an array of records; any other element is refused.
  Array loose(VarKind::Variant, 0, 3);
  for (std::int32_t i = 0; i < 3; ++i) loose.put(i, Variant(to_record(line(u"l", i))));
  std::vector<Variant> count{Variant(loose)};
  EXPECT_EQ(invoke(*o, u"Count", MemberKind::Method, count).to_long(), 3);
  for (const Variant& other : {Variant(1), Variant(to_record(TestPage{}))}) {
    loose.put(1, other);
    count = {Variant(loose)};
    EXPECT_RAISES(invoke(*o, u"Count", MemberKind::Method, count), 13);
  }

  std::vector<Variant> n{Variant(2)};
  const Variant lines = invoke(*o, u"Lines", MemberKind::Method, n);
  EXPECT_EQ(lines.type_code(), 36 | kArrayFlag);
  EXPECT_EQ(lines.if_array()->record_info(), &TestLine::record_info());
  EXPECT_EQ(from_record<TestLine>(lines.if_array()->get(2)).Number, 1);

  const InterfaceInfo& own = *o->class_info().own;
  const MemberInfo* m = own.find(own.find_id(u"Bump"), MemberKind::Method);
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->params[0].type.code & kKindMask, 36);
  EXPECT_STREQ(m->params[0].type.type_name, "TestLine");
}

// A record copied out of memory raises 7 and leaves the destination as it was.
TEST(Record, CopyOutOfMemoryRaisesSevenAndLeaksNothing) {
  const Variant v(to_record(line(u"oom", 1)));
  const auto copy = [&](Variant& target) { target = v; };
  const auto state = [](Variant& target) { return std::to_string(target.type_code()); };
  EXPECT_GT(fault::expect_fault_tolerant([] { return Variant(5); }, copy, state), 0);
}

}  // namespace
}  // namespace quorvel
