// Comparers for the ordering tests: a C++ comparer around a function, counting its calls.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>

#include "quorvel/frame/comparer_interfaces.h"
#include "quorvel/platform/describe.h"

namespace quorvel::testing_support {

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

/// The natural order of Longs without a std::function in between, for the large sorts.
class LongOrder final : public ObjectImpl<IComparer> {
 public:
  static constexpr const char* type_name = "TestLongOrder";
  static constexpr Guid iid{"{0E3D51A2-6C7B-4F10-9B53-5A1C00DE0002}"};
  static const ClassInfo& describe() {
    static const ClassInfo info = describe_class<LongOrder, IComparer>(ClassFlags::None, {});
    return info;
  }
  const ClassInfo& class_info() const noexcept override { return describe(); }
  std::int16_t Compare(const Variant& A, const Variant& B) override {
    const std::int32_t a = *A.if_long(), b = *B.if_long();
    return static_cast<std::int16_t>((a > b) - (a < b));
  }
};

inline std::int16_t sign_of(double d) { return static_cast<std::int16_t>((d > 0) - (d < 0)); }

/// The natural order of Longs, as a comparer.
inline Ref<FnComparer> long_order() {
  return make<FnComparer>([](const Variant& a, const Variant& b) { return sign_of(static_cast<double>(*a.if_long()) - *b.if_long()); });
}

}  // namespace quorvel::testing_support
