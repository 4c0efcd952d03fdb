#include "quorvel/platform/late_binding.h"

#include <gtest/gtest.h>

#include "quorvel/platform/collection.h"
#include "quorvel/platform/describe.h"
#include "quorvel/platform/registry.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

using test_support::error_of;

class IGreeter : public Unknown {
 public:
  static constexpr const char* type_name = "IGreeter";
  static constexpr Guid iid{"{6A0E1D52-7B3C-4F7A-9E21-00C0FFEE0001}"};
  virtual String Greet(const String& who) = 0;
  static const InterfaceInfo& interface_info() {
    static const InterfaceInfo info(type_name, iid, {method<&IGreeter::Greet>("Greet", 1, {"Who"})});
    return info;
  }
};

class Counter final : public ObjectImpl<IGreeter> {
 public:
  static constexpr const char* type_name = "TestCounter";
  static constexpr Guid iid{"{6A0E1D52-7B3C-4F7A-9E21-00C0FFEE0002}"};
  static const ClassInfo& describe() {
    static const ClassInfo info = describe_class<Counter, IGreeter>(
        ClassFlags::Creatable,
        {get<&Counter::get_Value>("Value", 0),
         let<&Counter::put_Value>("Value", 0, {"Value"}),
         method<&Counter::Add>("Add", 1, {"Amount", opt("Times", Variant(std::int32_t{1}))}),
         method<&Counter::Find>("Find", 2, {"Value", "retIndex"}),
         method<&Counter::Describe>("Describe", 3, {opt("Prefix")}),
         method<&Counter::Bump>("Bump", 4, "Value", opt("Note")),
         method<&Counter::Mark>("Mark", 5, "Target", opt("Note"))});
    return info;
  }
  const ClassInfo& class_info() const noexcept override { return describe(); }

  std::int32_t get_Value() { return value_; }
  void put_Value(std::int32_t v) { value_ = v; }
  std::int32_t Add(std::int32_t amount, std::int32_t times) { return value_ += amount * times; }
  bool Find(std::int32_t v, std::int32_t& index) {
    if (v != value_) return false;
    index = 42;
    return true;
  }
  String Describe(const Variant& prefix) { return prefix.is_missing() ? String(u"missing") : prefix.to_string(); }
  void Bump(std::int32_t& v, const Variant&) { ++v; }
  void Mark(Variant& target, const Variant&) { target = Variant(String(u"marked")); }
  String Greet(const String& who) override { return String(u"hi ") == who ? who : who; }

 private:
  std::int32_t value_ = 0;
};

QUORVEL_REGISTER_CLASS(Counter);

// Only a by-reference argument is written back, whether or not another argument is left out.
TEST(LateBinding, WriteBackOnlyThroughByReferenceArguments) {
  Ref<Object> o = create_object(u"Quorvel.TestCounter");
  for (const char16_t* member : {u"Bump", u"Mark"}) {
    for (bool by_ref : {false, true}) {
      for (bool note : {false, true}) {
        SCOPED_TRACE(testing::Message() << (member[0] == u'B' ? "Long" : "Variant") << (by_ref ? " by_ref" : " plain")
                                        << (note ? " note" : " omitted"));
        Variant caller(std::int16_t{5});
        std::vector<Variant> args{by_ref ? Variant::by_ref(caller) : caller};
        if (note) args.emplace_back(1);
        invoke(*o, member, MemberKind::Method, args);
        const Variant& seen = by_ref ? caller : args[0];
        if (!by_ref) {
          EXPECT_TRUE(identical(seen, Variant(std::int16_t{5})));
          EXPECT_TRUE(identical(caller, Variant(std::int16_t{5})));
        } else if (member[0] == u'B') {
          EXPECT_EQ(caller.to_long(), 6);
        } else {
          EXPECT_EQ(caller.to_string(), String(u"marked"));
        }
      }
    }
  }
}

TEST(LateBinding, RuntimeErrorsOfTheCallItself) {
  Ref<Object> o = create_object(u"Quorvel.TestCounter");
  Unknown& u = *o;
  std::vector<Variant> three{Variant(1), Variant(2), Variant(3)};
  std::vector<Variant> none;
  std::vector<Variant> missing_first{Variant::missing(), Variant(2)};
  struct Row {
    const char* name;
    const char16_t* member;
    MemberKind kind;
    std::vector<Variant>* args;
    std::int32_t error;
  } rows[] = {
      {"no such member", u"Nope", MemberKind::Method, &none, 438},
      {"let of a method", u"Add", MemberKind::Let, &none, 438},
      {"too many arguments", u"Add", MemberKind::Method, &three, 450},
      {"required argument left out", u"Add", MemberKind::Method, &none, 449},
      {"required argument missing", u"Add", MemberKind::Method, &missing_first, 449},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(error_of([&] { invoke(u, row.member, row.kind, *row.args); }), row.error);
  }
  EXPECT_EQ(error_of([] { invoke(Variant(3), u"Add", MemberKind::Method, {}); }), 424);
  EXPECT_EQ(error_of([] { invoke(Variant::nothing(), u"Add", MemberKind::Method, {}); }), 91);
}

TEST(LateBinding, ByReferenceIntoTypedStorageAndOmittedByRefArgument) {
  Ref<Object> o = create_object(u"Quorvel.TestCounter");
  Unknown& u = *o;
  std::int32_t index = -1;
  std::vector<Variant> find{Variant(0), Variant::by_ref(index)};
  EXPECT_TRUE(invoke(u, u"Find", MemberKind::Method, find).to_boolean());
  EXPECT_EQ(index, 42);
  // A plain value passed to a by-reference parameter is a temporary: the call still works.
  std::vector<Variant> by_value{Variant(0), Variant(5)};
  EXPECT_TRUE(invoke(u, u"Find", MemberKind::Method, by_value).to_boolean());
}

TEST(LateBinding, CallsThroughAnImplementedInterface) {
  Ref<Object> o = create_object(u"Quorvel.TestCounter");
  Unknown* greeter = o->find_interface(IGreeter::iid);
  ASSERT_NE(greeter, nullptr);
  EXPECT_EQ(&interface_info_of(*greeter), &IGreeter::interface_info());
  std::vector<Variant> who{Variant(7)};
  EXPECT_EQ(*invoke(*greeter, u"greet", MemberKind::Method, who).if_string(), String(u"7"));
  // The interface has only its own members.
  EXPECT_EQ(error_of([&] { invoke(*greeter, u"Add", MemberKind::Method, {}); }), 438);
}

TEST(LateBinding, DescriptionDeducesKindsFromTheSignature) {
  const InterfaceInfo& own = *Counter::describe().own;
  const MemberInfo* find = own.find(2, MemberKind::Method);
  ASSERT_NE(find, nullptr);
  EXPECT_EQ(find->result.code, 11);
  ASSERT_EQ(find->params.size(), 2u);
  EXPECT_EQ(find->params[0].type.code, 3);
  EXPECT_FALSE(find->params[0].by_ref);
  EXPECT_TRUE(find->params[1].by_ref);
  const MemberInfo* add = own.find(own.find_id(u"ADD"), MemberKind::Method);
  ASSERT_NE(add, nullptr);
  EXPECT_TRUE(add->params[1].has_default);
  EXPECT_EQ(add->required_count(), 1u);
  EXPECT_EQ(own.find_id(u"Value"), 0);
  EXPECT_NE(own.find(0, MemberKind::Let), nullptr);
  EXPECT_EQ(own.find(0, MemberKind::Set), nullptr);
}

TEST(LateBinding, CallsByNameWithCoercionDefaultsAndWriteBack) {
  Ref<Object> o = create_object(u"Quorvel.TestCounter");
  ASSERT_TRUE(o);
  Unknown& u = *o;
  std::vector<Variant> args{Variant(u"12")};
  invoke(u, u"value", MemberKind::Let, args);
  EXPECT_EQ(invoke(u, u"Value", MemberKind::Get, {}).to_long(), 12);
  std::vector<Variant> add{Variant(3)};
  EXPECT_EQ(*invoke(u, u"ADD", MemberKind::Method, add).if_long(), 15);
  Variant index(std::int32_t{-1});
  std::vector<Variant> find{Variant(15), Variant::by_ref(index)};
  EXPECT_TRUE(invoke(u, u"Find", MemberKind::Method, find).to_boolean());
  EXPECT_EQ(*index.if_long(), 42);
  EXPECT_EQ(*invoke(u, u"Describe", MemberKind::Method, {}).if_string(), String(u"missing"));
  std::vector<Variant> bad{Variant(u"x")};
  try {
    invoke(u, u"Add", MemberKind::Method, bad);
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), 13);
  }
  EXPECT_EQ(Variant(o).var_type(), 3);
}

TEST(LateBinding, DefaultMemberNeedingArgumentsGivesNoDefaultValue) {
  Ref<Collection> items = make<Collection>();
  items->Add(Variant(5));
  Variant v(items);
  EXPECT_EQ(v.var_type(), 9);
  EXPECT_EQ(error_of([&] { (void)v.to_long(); }), 13);
  std::vector<Variant> one{Variant(1)};
  EXPECT_EQ(*invoke(v, u"Item", MemberKind::Method | MemberKind::Get, one).if_long(), 5);
}

}  // namespace
}  // namespace quorvel
