#include "quorvel/platform/late_binding.h"

#include <gtest/gtest.h>

#include "quorvel/platform/describe.h"
#include "quorvel/platform/registry.h"

namespace quorvel {
namespace {

class IGreeter : public Unknown {
 public:
  static constexpr const char* type_name = "IGreeter";
  static constexpr Guid iid{"{6A0E1D52-7B3C-4F7A-9E21-00C0FFEE0001}"};
  virtual String Greet(const String& who) = 0;
  static const InterfaceInfo& interface_info() {
    static const InterfaceInfo info("IGreeter", iid, {method<&IGreeter::Greet>("Greet", 1, {"Who"})});
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
         method<&Counter::Describe>("Describe", 3, {opt("Prefix")})});
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
  String Greet(const String& who) override { return String(u"hi ") == who ? who : who; }

 private:
  std::int32_t value_ = 0;
};

QUORVEL_REGISTER_CLASS(Counter);

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

}  // namespace
}  // namespace quorvel
