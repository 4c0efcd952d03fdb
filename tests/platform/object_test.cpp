#include "quorvel/platform/object.h"

#include <gtest/gtest.h>

#include "quorvel/platform/describe.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

class IFirst : public Unknown {
 public:
  static constexpr const char* type_name = "IFirst";
  static constexpr Guid iid{"{11111111-0000-4000-8000-000000000001}"};
  static const InterfaceInfo& interface_info() {
    static const InterfaceInfo info(type_name, iid, {method<&IFirst::One>("One", 1)});
    return info;
  }
  virtual std::int32_t One() = 0;
};

class ISecond : public Unknown {
 public:
  static constexpr const char* type_name = "ISecond";
  static constexpr Guid iid{"{11111111-0000-4000-8000-000000000002}"};
  static const InterfaceInfo& interface_info() {
    static const InterfaceInfo info(type_name, iid, {method<&ISecond::Two>("Two", 1)});
    return info;
  }
  virtual std::int32_t Two() = 0;
};

class IThird : public Unknown {
 public:
  static constexpr Guid iid{"{11111111-0000-4000-8000-000000000003}"};
  virtual std::int32_t Three() = 0;
};

class Both final : public ObjectImpl<IFirst, ISecond> {
 public:
  static constexpr const char* type_name = "Both";
  static constexpr Guid iid{"{11111111-0000-4000-8000-000000000010}"};
  QUORVEL_CLASS_INFO(describe_class<Both, IFirst, ISecond>(ClassFlags::None, {}))
  explicit Both(bool* destroyed = nullptr) : destroyed_(destroyed) {}
  ~Both() override {
    if (destroyed_) *destroyed_ = true;
  }
  std::int32_t One() override { return 1; }
  std::int32_t Two() override { return 2; }

 private:
  bool* destroyed_;
};

TEST(Object, LastReferenceDestroysWhateverInterfaceHoldsIt) {
  bool destroyed = false;
  const auto live = Object::live_count();
  Ref<ISecond> second;
  {
    Ref<Both> both = make<Both>(&destroyed);
    EXPECT_EQ(Object::live_count(), live + 1);
    second = both.query<ISecond>();
  }
  EXPECT_FALSE(destroyed);
  EXPECT_EQ(second->Two(), 2);
  second = nullptr;
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(Object::live_count(), live);
}

TEST(Object, QueryAndIdentity) {
  Ref<Both> both = make<Both>();
  Ref<IFirst> first = both.query<IFirst>();
  Ref<ISecond> second = first.query<ISecond>();
  ASSERT_TRUE(first);
  ASSERT_TRUE(second);
  EXPECT_FALSE(first.query<IThird>());  // a test without an exception
  EXPECT_TRUE(first.same(second));
  EXPECT_TRUE(second.same(both));
  EXPECT_FALSE(first.same(Ref<Both>(make<Both>())));
  EXPECT_TRUE(Ref<IFirst>().same(Ref<ISecond>()));
}

TEST(Guid, TextFormsRoundTrip) {
  constexpr Guid g{"{6A0E1D52-7B3C-4F7A-9E21-00C0FFEE0001}"};
  EXPECT_EQ(g.to_string(), "{6A0E1D52-7B3C-4F7A-9E21-00C0FFEE0001}");
  Guid parsed;
  ASSERT_TRUE(Guid::parse("{6a0e1d52-7b3c-4f7a-9e21-00c0ffee0001}", parsed));
  EXPECT_EQ(parsed, g);
  for (const char* bad : {"", "{6A0E1D52-7B3C-4F7A-9E21-00C0FFEE000}", "6A0E1D52-7B3C-4F7A-9E21-00C0FFEE0001xx",
                          "{6A0E1D52+7B3C-4F7A-9E21-00C0FFEE0001}", "{6A0E1D52-7B3C-4F7A-9E21-00C0FFEE00G1}"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(Guid::parse(bad, parsed));
  }
}

}  // namespace
}  // namespace quorvel
