#include "quorvel/platform/late_binding.h"

#include <gtest/gtest.h>

#include "quorvel/platform/collection.h"
#include "quorvel/platform/describe.h"
#include "quorvel/platform/registry.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

class Counter final : public ObjectImpl<> {
 public:
  static constexpr const char* type_name = "TestCounter";
  static constexpr Guid iid{"{6A0E1D52-7B3C-4F7A-9E21-00C0FFEE0002}"};
  QUORVEL_CLASS_INFO(describe_class<Counter>(ClassFlags::Creatable, {get<&Counter::get_Value>("Value", 0),
                  method<&Counter::Add>("Add", 1, {"Amount", opt("Times", Variant(std::int32_t{1}))}),
                  method<&Counter::Find>("Find", 2, {"Value", "retIndex"}), method<&Counter::Describe>("Describe", 3,
                  {opt("Prefix")}), method<&Counter::Bump>("Bump", 4, "Value", opt("Note")),
                  method<&Counter::Mark>("Mark", 5, "Target", opt("Note"))}))

  std::int32_t get_Value() { return value_; }
  std::int32_t Add(std::int32_t amount, std::int32_t times) { return value_ += amount * times; }
  bool Find(std::int32_t v, std::int32_t& index) {
    if (v != value_) return false;
    index = 42;
    return true;
  }
  String Describe(const Variant& prefix) { return prefix.is_missing() ? String(u"missing") : prefix.to_string(); }
  void Bump(std::int32_t& v, const Variant&) { ++v; }
  void Mark(Variant& target, const Variant&) { target = Variant(String(u"marked")); }

 private:
  std::int32_t value_ = 0;
};

QUORVEL_REGISTER_CLASS(Counter);

// Only a by-reference argument is written back, whether or not another argument is left out.
TEST(LateBinding, WriteBackOnlyThroughByReferenceArguments) {
  Ref<Object> o = create_object(u"Quorvel.TestCounter");
  for (const char16_t* member : {u"Bump", u"Mark"}) {
    for (const bool by_ref : {false, true}) {
      for (const bool note : {false, true}) {
        SCOPED_TRACE(testing::Message() << String(member).to_utf8() << (by_ref ? " by_ref" : " plain")
                                        << (note ? " note" : " omitted"));
        Variant caller(std::int16_t{5});
        std::vector<Variant> args{by_ref ? Variant::by_ref(caller) : caller};
        if (note) args.emplace_back(1);
        invoke(*o, member, MemberKind::Method, args);
        const Variant written = member[0] == u'B' ? Variant(6) : Variant(u"marked");
        const Variant want = by_ref ? written : Variant(std::int16_t{5});
        EXPECT_TRUE(identical(caller, want));
        EXPECT_TRUE(by_ref || identical(args[0], want)) << "a plain argument was written";
      }
    }
  }
}

// Coercion, letter case, the binding's own errors and write-back into a caller's Variant are in
// the scenarios; here a default argument value, a by-reference Long into typed storage or into a
// temporary, and an omitted optional Variant.
TEST(LateBinding, CallsByNameWithDefaultsAndWriteBack) {
  Ref<Object> o = create_object(u"Quorvel.TestCounter");
  Unknown& u = *o;
  std::vector<Variant> add{Variant(3)};
  EXPECT_EQ(*invoke(u, u"Add", MemberKind::Method, add).if_long(), 3);
  std::int32_t index = -1;
  std::vector<Variant> find{Variant(3), Variant::by_ref(index)};
  EXPECT_TRUE(invoke(u, u"Find", MemberKind::Method, find).to_boolean());
  EXPECT_EQ(index, 42);
  std::vector<Variant> plain_index{Variant(3), Variant(5)};
  EXPECT_TRUE(invoke(u, u"Find", MemberKind::Method, plain_index).to_boolean());
  EXPECT_EQ(*invoke(u, u"Describe", MemberKind::Method, {}).if_string(), String(u"missing"));
  EXPECT_EQ(Variant(o).var_type(), 3);  // the default member's kind
}

}  // namespace
}  // namespace quorvel
