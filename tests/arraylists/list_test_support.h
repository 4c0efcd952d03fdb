// What the array list tests share: objects with a default value, comparers and formatters built
// from functions, and checks of raised errors.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "quorvel/frame/array_list_interfaces.h"
#include "quorvel/frame/comparer_interfaces.h"
#include "quorvel/platform/describe.h"
#include "quorvel/platform/error.h"
#include "quorvel/platform/error_reporter.h"
#include "quorvel/platform/variant_compare.h"

namespace quorvel::list_tests {

/// A counted object whose default member `Value` gives what it was made with, and whose
/// property `Name` gives a text; members by name: `Value`, `Name`.
class Token final : public ObjectImpl<> {
 public:
  static constexpr const char* type_name = "ListTestToken";
  static constexpr Guid iid{"{51575364-91E6-4AC2-ADF4-2225D03409B1}"};
  static const ClassInfo& describe() {
    static const ClassInfo info =
        describe_class<Token>(ClassFlags::None, {get<&Token::get_Value>("Value", 0), get<&Token::get_Name>("Name", 1)});
    return info;
  }
  const ClassInfo& class_info() const noexcept override { return describe(); }

  explicit Token(Variant value = {}, String name = {}) : value_(std::move(value)), name_(std::move(name)) {}
  Variant get_Value() { return value_; }
  String get_Name() { return name_; }

 private:
  Variant value_;
  String name_;
};

/// A counted object without a default member.
class Plain final : public ObjectImpl<> {
 public:
  static constexpr const char* type_name = "ListTestPlain";
  static constexpr Guid iid{"{4E021314-D525-4DD1-8D7E-96B56BA04E78}"};
  static const ClassInfo& describe() {
    static const ClassInfo info = describe_class<Plain>(ClassFlags::None, {});
    return info;
  }
  const ClassInfo& class_info() const noexcept override { return describe(); }
};

inline Ref<Unknown> token(Variant value, String name = {}) { return make<Token>(std::move(value), std::move(name)); }

/// A comparer around a function; counts its calls.
class FnComparer final : public ObjectImpl<IComparer> {
 public:
  static constexpr const char* type_name = "ListTestComparer";
  static constexpr Guid iid{"{E1B7A0C2-3D44-4F1B-9C0D-6A7B8C9D0E01}"};
  static const ClassInfo& describe() {
    static const ClassInfo info = describe_class<FnComparer, IComparer>(ClassFlags::None, {});
    return info;
  }
  const ClassInfo& class_info() const noexcept override { return describe(); }

  explicit FnComparer(std::function<std::int16_t(const Variant&, const Variant&)> fn) : fn_(std::move(fn)) {}
  std::int16_t Compare(const Variant& A, const Variant& B) override {
    ++calls;
    return fn_(A, B);
  }
  int calls = 0;

 private:
  std::function<std::int16_t(const Variant&, const Variant&)> fn_;
};

/// Orders by default values (objects through their default member), binary text order.
inline Ref<IComparer> ascending() {
  return make<FnComparer>([](const Variant& a, const Variant& b) -> std::int16_t {
    return static_cast<std::int16_t>(var_compare(a.default_value(), b.default_value(), false));
  });
}

/// A formatter around a function.
class FnFormatter final : public ObjectImpl<IFormatter> {
 public:
  static constexpr const char* type_name = "ListTestFormatter";
  static constexpr Guid iid{"{E1B7A0C2-3D44-4F1B-9C0D-6A7B8C9D0E02}"};
  static const ClassInfo& describe() {
    static const ClassInfo info = describe_class<FnFormatter, IFormatter>(ClassFlags::None, {});
    return info;
  }
  const ClassInfo& class_info() const noexcept override { return describe(); }

  explicit FnFormatter(std::function<Variant(const Variant&)> fn) : fn_(std::move(fn)) {}
  Variant Format(const Variant& Value) override { return fn_(Value); }

 private:
  std::function<Variant(const Variant&)> fn_;
};

/// The error `f` raises, if any.
template <class F>
std::optional<Error> error_of(F&& f) {
  try {
    std::forward<F>(f)();
  } catch (const Error& e) {
    return e;
  }
  return std::nullopt;
}

/// An error's number and description in one comparable value.
inline std::pair<std::int32_t, std::string> raised(const std::optional<Error>& e) {
  if (!e) return {0, "<nothing raised>"};
  return {e->number(), e->description().to_utf8()};
}

inline constexpr std::int32_t kInvalidArgument = static_cast<std::int32_t>(0x80040001u);
inline constexpr std::int32_t kInconsistency = static_cast<std::int32_t>(0x80040002u);
inline constexpr std::int32_t kInvalidState = static_cast<std::int32_t>(0x80040003u);

/// Expects `stmt` to raise `number` with exactly `message` as description.
#define EXPECT_RAISES(stmt, number, message)                                               \
  EXPECT_EQ(::quorvel::list_tests::raised(::quorvel::list_tests::error_of([&] { stmt; })), \
            (std::pair<std::int32_t, std::string>{(number), (message)}))

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

/// An array of `values` with lower bound `lower`.
template <class E>
ArrayOf<E> array_of(std::int32_t lower, const std::vector<E>& values) {
  ArrayOf<E> a(lower, static_cast<std::int32_t>(values.size()));
  for (std::size_t i = 0; i < values.size(); ++i) a.items()[i] = values[i];
  return a;
}

}  // namespace quorvel::list_tests
