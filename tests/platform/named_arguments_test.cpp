#include "quorvel/platform/named_arguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "quorvel/platform/describe.h"
#include "quorvel/platform/registry.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

// Joins its three arguments, so the test sees which parameter each value landed in.
class Joiner final : public ObjectImpl<> {
 public:
  static constexpr const char* type_name = "TestJoiner";
  static constexpr Guid iid{"{6A0E1D52-7B3C-4F7A-9E21-00C0FFEE0015}"};
  QUORVEL_CLASS_INFO(describe_class<Joiner>(ClassFlags::Creatable, {method<&Joiner::Join>("Join", 1, "First",
                  opt("Second"), opt("Third", Variant(u"t")))}))

  String Join(const Variant& a, const Variant& b, const String& c) {
    std::u16string text(a.to_string().view());
    text += u'|';
    text += b.is_missing() ? std::u16string(u"-") : std::u16string(b.to_string().view());
    text += u'|';
    text += c.view();
    return String(text);
  }
};

QUORVEL_REGISTER_CLASS(Joiner);

struct Row {
  const char* name;
  std::vector<Variant> args;
  std::vector<std::u16string_view> names;
  const char16_t* joined;  // null: raises `number`
  std::int32_t number;
};

TEST(NamedArguments, PlacedByNameInAnyOrderAfterPositionalOnes) {
  Ref<Object> o = create_object(u"Quorvel.TestJoiner");
  const std::vector<Row> rows = {
      {"all by position", {1, 2, 3}, {}, u"1|2|3", 0},
      {"named in reverse order", {3, 2, 1}, {u"Third", u"Second", u"First"}, u"1|2|3", 0},
      {"case ignored", {1, 3}, {u"fIRST", u"THIRD"}, u"1|-|3", 0},
      {"named after a positional one", {1, 3}, {u"third"}, u"1|-|3", 0},
      {"gap keeps its default", {1, 2}, {u"Second"}, u"1|2|t", 0},
      {"unknown name", {1, 2}, {u"Fourth"}, nullptr, 448},
      {"name given twice", {1, 2, 3}, {u"Second", u"second"}, nullptr, 5},
      {"name clashes with a position", {1, 2}, {u"First"}, nullptr, 5},
      {"required one left out", {2}, {u"Second"}, nullptr, 449},
      {"more names than arguments", {1}, {u"First", u"Second"}, nullptr, 450},
      {"too many positional", {1, 2, 3, 4, 5}, {u"First"}, nullptr, 450},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::vector<Variant> args = row.args;
    if (row.joined) {
      const Variant got = invoke_named(*o, u"Join", MemberKind::Method, args, row.names);
      EXPECT_EQ(got.to_string(), String(row.joined));
    } else {
      EXPECT_RAISES(invoke_named(*o, u"Join", MemberKind::Method, args, row.names), row.number);
    }
  }
}

}  // namespace
}  // namespace quorvel
