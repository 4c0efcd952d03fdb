// Comparers and helpers for the ordering tests.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "quorvel/frame/comparer_interfaces.h"
#include "quorvel/ordering/compare_variants.h"
#include "quorvel/platform/describe.h"
#include "quorvel/platform/error.h"

namespace quorvel::testing_support {

/// A comparer around a function, counting its calls.
class FnComparer final : public ObjectImpl<IComparer> {
 public:
  using Fn = std::function<std::int16_t(const Variant&, const Variant&)>;
  static constexpr const char* type_name = "TestFnComparer";
  static constexpr Guid iid{"{0E3D51A2-6C7B-4F10-9B53-5A1C00DE0001}"};
  static const ClassInfo& describe() {
    static const ClassInfo info = describe_class<FnComparer, IComparer>(ClassFlags::None, {});
    return info;
  }
  const ClassInfo& class_info() const noexcept override { return describe(); }

  explicit FnComparer(Fn fn) : fn_(std::move(fn)) {}
  std::int16_t Compare(const Variant& A, const Variant& B) override {
    ++calls;
    return fn_(A, B);
  }
  long calls = 0;

 private:
  Fn fn_;
};

/// An object whose default member returns a fixed Long and counts its reads.
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

inline std::int16_t sign_of(double d) { return static_cast<std::int16_t>((d > 0) - (d < 0)); }

/// The natural order of Longs, as a comparer.
inline Ref<FnComparer> long_order() {
  return make<FnComparer>([](const Variant& a, const Variant& b) { return sign_of(static_cast<double>(*a.if_long()) - *b.if_long()); });
}

/// The default order, except that the `nth` call raises error 5.
inline Ref<FnComparer> raising_at(long nth) {
  return make<FnComparer>([nth, calls = 0L](const Variant& a, const Variant& b) mutable -> std::int16_t {
    if (++calls == nth) raise_runtime_error(RuntimeError::InvalidProcedureCall);
    return CompareVariants(a, b, CompareMode::Binary);
  });
}

/// The whole error `f` raised; number 0 when it returned normally.
template <class F>
Error caught(F&& f) {
  try {
    f();
  } catch (const Error& e) {
    return e;
  }
  return Error(0, String(), String());
}

/// The elements' text forms in sorted order: equal for two ranges holding the same elements.
template <class Range>
std::vector<std::u16string> sorted_texts(const Range& elements) {
  std::vector<std::u16string> out;
  for (const auto& e : elements) out.emplace_back(Variant(e).to_string().view());
  std::sort(out.begin(), out.end());
  return out;
}

}  // namespace quorvel::testing_support
