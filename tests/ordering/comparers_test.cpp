#include "quorvel/ordering/comparers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "quorvel/ordering/comparer_interface_classes.h"
#include "quorvel/platform/describe.h"
#include "quorvel/platform/error.h"
#include "quorvel/platform/late_binding.h"
#include "quorvel/platform/registry.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

using test_support::error_of;

// An object whose default member returns a fixed value and counts its reads.
class Valued final : public ObjectImpl<> {
 public:
  static constexpr const char* type_name = "TestValued";
  static constexpr Guid iid{"{0E3D51A2-6C7B-4F10-9B53-5A1C00DE0101}"};
  static const ClassInfo& describe() {
    static const ClassInfo info = describe_class<Valued>(ClassFlags::None, {get<&Valued::get_Value>("Value", 0)});
    return info;
  }
  const ClassInfo& class_info() const noexcept override { return describe(); }
  explicit Valued(std::int32_t v) : value_(v) {}
  std::int32_t get_Value() {
    ++reads;
    return value_;
  }
  int reads = 0;

 private:
  std::int32_t value_;
};

const Variant kEmpty;

TEST(Comparers, VariantOrderInEveryComparer) {
  std::vector<Ref<IComparer>> comparers{Ref<IComparer>(make<DefaultComparer>()),
                                        Ref<IComparer>(make<BinaryModeComparer>()),
                                        Ref<IComparer>(make<TextModeComparer>())};
  struct Row {
    const char* name;
    Variant a, b;
    std::int16_t expected;
  } rows[] = {
      {"1 < 2", Variant(1), Variant(2), -1},
      {"2 > 1", Variant(2), Variant(1), 1},
      {"Long 2 = Double 2.0", Variant(2), Variant(2.0), 0},
      {"number before string", Variant(5), Variant(u"abc"), -1},
      {"string after number", Variant(u"abc"), Variant(5), 1},
      {"number before numeric text", Variant(5), Variant(u"1"), -1},
      {"Empty = 0", kEmpty, Variant(0), 0},
      {"Empty = empty string", kEmpty, Variant(u""), 0},
      {"Empty > -1", kEmpty, Variant(-1), 1},
      {"Null = anything (left)", Variant::null(), Variant(1), 0},
      {"Null = anything (right)", Variant(1), Variant::null(), 0},
      {"True < False", Variant(true), Variant(false), -1},
      {"prefix first", Variant(u"ab"), Variant(u"abc"), -1},
      {"null string = empty string", Variant(String()), Variant(u""), 0},
      {"Byte 200 > Integer -3", Variant(std::uint8_t{200}), Variant(std::int16_t{-3}), 1},
      {"NaN relates to nothing", Variant(std::nan("")), Variant(1.0), 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    for (const Ref<IComparer>& c : comparers) EXPECT_EQ(c->Compare(row.a, row.b), row.expected);
  }
}

TEST(Comparers, StringOrderByMode) {
  constexpr std::int16_t kUnchecked = 2;
  auto binary = make<BinaryModeComparer>();
  auto text = make<TextModeComparer>();
  auto def = make<DefaultComparer>();
  struct Row {
    const char* name;
    const char16_t* a;
    const char16_t* b;
    std::int16_t binary, text;
  } rows[] = {
      {"lower after upper in binary only", u"a", u"B", 1, -1},
      {"case ignored in text", u"abc", u"ABC", 1, 0},
      {"prefix first", u"ab", u"abc", -1, -1},
      {"equal", u"x", u"x", 0, 0},
      {"unsigned code units (text order left to the collation)", u"\uFF21", u"\xD800", 1, kUnchecked},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    String a(row.a), b(row.b);
    EXPECT_EQ(binary->Compare(Variant(a), Variant(b)), row.binary);
    EXPECT_EQ(def->Compare(Variant(a), Variant(b)), row.binary);
    if (row.text != kUnchecked) {
      EXPECT_EQ(text->Compare(Variant(a), Variant(b)), row.text);
    }
    // The same orders for strings passed by reference, which are left untouched.
    EXPECT_EQ(binary->as_string_comparer()->Compare(a, b), row.binary);
    if (row.text != kUnchecked) {
      EXPECT_EQ(text->as_string_comparer()->Compare(a, b), row.text);
    }
    EXPECT_EQ(a, String(row.a));
    EXPECT_EQ(b, String(row.b));
  }
  String null_string;
  String empty(u"");
  EXPECT_EQ(binary->as_string_comparer()->Compare(null_string, empty), 0);
  EXPECT_EQ(text->as_string_comparer()->Compare(null_string, empty), 0);
}

TEST(Comparers, ObjectsCompareThroughTheirDefaultValue) {
  auto def = make<DefaultComparer>();
  auto three = make<Valued>(3);
  EXPECT_EQ(def->Compare(Variant(three), Variant(3)), 0);
  EXPECT_EQ(three->reads, 1);  // the first test holds
  EXPECT_EQ(def->Compare(Variant(three), Variant(9)), -1);
  EXPECT_EQ(three->reads, 4);  // each of the three tests reads it again

  struct Row {
    const char* name;
    Variant a, b;
    std::int32_t error;
  } rows[] = {
      {"object without a default member", Variant(make<DefaultComparer>()), Variant(1), 438},
      {"Nothing", Variant::nothing(), Variant(1), 91},
      {"array", Variant(Array(VarKind::Long, 0, 1)), Variant(1), 13},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(error_of([&] { def->Compare(row.a, row.b); }), row.error);
  }
}

TEST(Comparers, ObjectPropertyAndStringViewAreTheSameInstance) {
  auto binary = make<BinaryModeComparer>();
  EXPECT_EQ(binary->get_Object().get(), binary.get());
  EXPECT_TRUE(binary->as_string_comparer().same(binary));
  auto text = make<TextModeComparer>();
  EXPECT_EQ(text->get_Object().get(), text.get());
  EXPECT_TRUE(text->as_string_comparer().same(text));

  // Late-bound: a holder of the IComparer view reads Object and gets the class back.
  Ref<IComparer> as_comparer = Ref<Object>(binary).query<IComparer>();
  Variant obj = invoke(Variant(binary), u"Object", MemberKind::Get, {});
  EXPECT_TRUE(obj.to_object().same(as_comparer));
}

TEST(Comparers, CreatableByNameExceptTheStringContract) {
  const std::int64_t lives = Object::live_count();
  {
    for (const char16_t* progid : {u"Quorvel.DefaultComparer", u"Quorvel.BinaryModeComparer",
                                   u"Quorvel.TextModeComparer", u"Quorvel.IComparer", u"Quorvel.IFindComparer"}) {
      SCOPED_TRACE(String(progid).to_utf8());
      EXPECT_TRUE(create_object(progid));
    }
    EXPECT_EQ(error_of([] { create_object(u"Quorvel.IrefStringComparer"); }), 429);
  }
  EXPECT_EQ(Object::live_count(), lives);
}

TEST(Comparers, InterfaceClassesReturnZero) {
  Ref<Object> bare = create_object(u"Quorvel.IComparer");
  std::vector<Variant> args{Variant(1), Variant(u"z")};
  EXPECT_EQ(invoke(*bare, u"Compare", MemberKind::Method, args).to_long(), 0);
  EXPECT_EQ(bare.query<IComparer>()->Compare(Variant(1), Variant(2)), 0);
  Ref<Object> find = create_object(u"Quorvel.IFindComparer");
  EXPECT_EQ(find.query<IFindComparer>()->Compare(Variant(1), Variant(2)), 0);
  auto by_ref = make<IrefStringComparerClass>();
  String a(u"a"), b(u"b");
  EXPECT_EQ(by_ref->Compare(a, b), 0);
}

}  // namespace
}  // namespace quorvel
