// What the array list tests share: objects with and without a default value, comparers and
// formatters built from functions, a list's elements, and checks of raised errors.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "quorvel/arraylists/interface_classes.h"
#include "quorvel/frame/array_list_interfaces.h"
#include "quorvel/frame/comparer_interfaces.h"
#include "quorvel/platform/describe.h"
#include "quorvel/platform/error.h"
#include "quorvel/platform/error_reporter.h"
#include "quorvel/platform/variant_compare.h"
#include "support/test_support.h"

namespace quorvel::list_tests {

using test_support::error_of;

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

inline Ref<Unknown> token(Variant value, String name = {}) { return make<Token>(std::move(value), std::move(name)); }

/// A counted object without a default member: a published interface's own class.
inline Ref<Unknown> plain() {
  auto object = make<IFormatterClass>();
  return Ref<Unknown>(as_unknown(object.get()));
}

/// A comparer or a formatter around a function.
class Fn final : public ObjectImpl<IComparer, IFormatter> {
 public:
  static constexpr const char* type_name = "ListTestFn";
  static constexpr Guid iid{"{E1B7A0C2-3D44-4F1B-9C0D-6A7B8C9D0E01}"};
  static const ClassInfo& describe() {
    static const ClassInfo info = describe_class<Fn, IComparer, IFormatter>(ClassFlags::None, {});
    return info;
  }
  const ClassInfo& class_info() const noexcept override { return describe(); }

  std::int16_t Compare(const Variant& A, const Variant& B) override { return compare(A, B); }
  Variant Format(const Variant& Value) override { return format(Value); }
  std::function<std::int16_t(const Variant&, const Variant&)> compare;
  std::function<Variant(const Variant&)> format;
};

inline Ref<IComparer> comparer(std::function<std::int16_t(const Variant&, const Variant&)> f) {
  auto fn = make<Fn>();
  fn->compare = std::move(f);
  return fn;
}
inline Ref<IFormatter> formatter(std::function<Variant(const Variant&)> f) {
  auto fn = make<Fn>();
  fn->format = std::move(f);
  return fn;
}

/// Orders by default values (objects through their default member), binary text order.
inline Ref<IComparer> ascending() {
  return comparer([](const Variant& a, const Variant& b) {
    return static_cast<std::int16_t>(var_compare(a.default_value(), b.default_value(), false));
  });
}

/// What a call raised: number and description (number 0 when it returned normally), and source.
struct Raised {
  std::pair<std::int32_t, std::string> what{0, "<nothing raised>"};
  std::string source;
};
template <class F>
Raised raised(F&& f) {
  try {
    f();
  } catch (const Error& e) {
    return {{e.number(), e.description().to_utf8()}, e.source().to_utf8()};
  }
  return {};
}

inline constexpr std::int32_t kInvalidArgument = static_cast<std::int32_t>(0x80040001u);
inline constexpr std::int32_t kInvalidState = static_cast<std::int32_t>(0x80040003u);

/// Expects `stmt` to raise `number` with exactly `message` as description.
#define EXPECT_RAISES(stmt, number, message)                   \
  EXPECT_EQ(::quorvel::list_tests::raised([&] { stmt; }).what, \
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

/// The elements of a list, as its own `get_Item` gives them.
template <class L>
std::vector<typename L::Result> items(L& list) {
  std::vector<typename L::Result> out;
  for (std::int32_t i = 0; i < list.get_Count(); ++i) out.push_back(list.get_Item(i));
  return out;
}

/// Where `list.Find(value)` reports a match: its index, or -1 when it finds none and so leaves the
/// index untouched (-2: a miss that wrote the index anyway).
template <class L, class V>
std::int32_t found_at(L& list, const V& value) {
  std::int32_t index = -3;
  if (list.Find(value, index)) return index;
  return index == -3 ? -1 : -2;
}

/// A list of class `L` holding `values`, appended in order.
template <class L, class V>
Ref<L> list_of(std::initializer_list<V> values) {
  Ref<L> list = make<L>();
  for (const V& v : values) list->AddItem(v);
  return list;
}

}  // namespace quorvel::list_tests
