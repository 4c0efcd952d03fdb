// Caller objects the tests hand to the library: a valued object, a comparer or formatter around a
// function, and a fixture that checks no object leaked or was released twice.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <utility>

#include "quorvel/frame/array_list_interfaces.h"
#include "quorvel/frame/comparer_interfaces.h"
#include "quorvel/platform/describe.h"
#include "quorvel/platform/error_reporter.h"
#include "support/test_support.h"

namespace quorvel::test_support {

/// A counted object whose default member `Value` gives what it was made with (counting the reads)
/// and whose property `Name` gives a text.
class Token final : public ObjectImpl<> {
 public:
  static constexpr const char* type_name = "TestToken";
  static constexpr Guid iid{"{51575364-91E6-4AC2-ADF4-2225D03409B1}"};
  QUORVEL_CLASS_INFO(describe_class<Token>(ClassFlags::None, {get<&Token::get_Value>("Value", 0),
                  get<&Token::get_Name>("Name", 1)}))

  explicit Token(Variant value = {}, String name = {}) : value_(std::move(value)), name_(std::move(name)) {}
  Variant get_Value() {
    ++reads;
    return value_;
  }
  String get_Name() { return name_; }
  int reads = 0;

 private:
  Variant value_;
  String name_;
};

inline Ref<Unknown> token(Variant value, String name = {}) { return make<Token>(std::move(value), std::move(name)); }

/// A comparer or a formatter around a function, counting the comparisons.
class Fn final : public ObjectImpl<IComparer, IFormatter> {
 public:
  static constexpr const char* type_name = "TestFn";
  static constexpr Guid iid{"{E1B7A0C2-3D44-4F1B-9C0D-6A7B8C9D0E01}"};
  QUORVEL_CLASS_INFO(describe_class<Fn, IComparer, IFormatter>(ClassFlags::None, {}))

  explicit Fn(std::function<std::int16_t(const Variant&, const Variant&)> f = nullptr) : compare(std::move(f)) {}
  std::int16_t Compare(const Variant& A, const Variant& B) override {
    ++calls;
    return compare(A, B);
  }
  Variant Format(const Variant& Value) override { return format(Value); }
  std::function<std::int16_t(const Variant&, const Variant&)> compare;
  std::function<Variant(const Variant&)> format;
  long calls = 0;
};

inline Ref<Fn> comparer(std::function<std::int16_t(const Variant&, const Variant&)> f) {
  return make<Fn>(std::move(f));
}
inline Ref<Fn> formatter(std::function<Variant(const Variant&)> f) {
  auto fn = make<Fn>();
  fn->format = std::move(f);
  return fn;
}

/// Checks that a test leaves as many live objects as it found (no leak, no double release).
class LiveCountCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    ErrorReporter::this_thread();  // made once per thread by the first raise; not the test's
    live_ = Object::live_count();
  }
  void TearDown() override { EXPECT_EQ(Object::live_count(), live_) << "objects leaked or released twice"; }

 private:
  std::int64_t live_ = 0;
};

}  // namespace quorvel::test_support
