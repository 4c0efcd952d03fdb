#include "quorvel/frame/one_shot.h"

#include <gtest/gtest.h>

#include "quorvel/platform/describe.h"
#include "quorvel/platform/error.h"

namespace quorvel {
namespace {

// A filled-once object written the way the rule asks: check, validate, fill, mark.
class Filled final : public ObjectImpl<> {
 public:
  static constexpr const char* type_name = "TestFilled";
  static constexpr Guid iid{"{470455A9-7B19-48D0-AFC3-E52F324071C7}"};
  static const ClassInfo& describe() {
    static const ClassInfo info = describe_class<Filled>(ClassFlags::None, {});
    return info;
  }
  const ClassInfo& class_info() const noexcept override { return describe(); }

  void Fill(std::int32_t value) {
    once_.check_not_initialized(this);
    if (value < 0) raise_runtime_error(RuntimeError::InvalidProcedureCall);
    value_ = value;
    once_.mark_initialized();
  }
  std::int32_t value() const { return value_; }
  bool initialized() const { return once_.initialized(); }

 private:
  OneShot once_;
  std::int32_t value_ = 0;
};

TEST(OneShot, ASecondFillingIsRefusedAndTheFirstStays) {
  Ref<Filled> f = make<Filled>();
  EXPECT_FALSE(f->initialized());
  // A filling that fails its own checks does not count.
  EXPECT_THROW(f->Fill(-1), Error);
  EXPECT_FALSE(f->initialized());
  f->Fill(5);
  EXPECT_TRUE(f->initialized());
  try {
    f->Fill(6);
    FAIL() << "a second filling was accepted";
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), static_cast<std::int32_t>(0x80040003u));
    EXPECT_EQ(e.description(), String(u"Object already initialized!"));
    EXPECT_EQ(e.source(), String(u"TestFilled"));  // the sender is the object
  }
  EXPECT_EQ(f->value(), 5);
  EXPECT_TRUE(f->initialized());
}

}  // namespace
}  // namespace quorvel
