// The Long condition contract: its description, its published class and its late-bound adapter.
#include "quorvel/frame/unary_long_test.h"

#include <array>

#include "quorvel/platform/describe.h"
#include "quorvel/platform/late_binding.h"

namespace quorvel {

QUORVEL_DESCRIBE_INTERFACE(IUnaryLongTest, QUORVEL_IUNARYLONGTEST_MEMBERS)
QUORVEL_DESCRIBE_INERT_CLASS(IUnaryLongTestClass, IUnaryLongTest, ClassFlags::None)

namespace {

// Calls the wrapped object's `Test` by dispatch id; a class of its own, never the caller's.
class LateBoundLongTest final : public ObjectImpl<IUnaryLongTest> {
 public:
  static constexpr const char* type_name = "IUnaryLongTest";
  static constexpr Guid clsid{};
  LateBoundLongTest(Ref<Unknown> target, DispId id) : target_(std::move(target)), id_(id) {}
  const ClassInfo& class_info() const noexcept override {
    static const ClassInfo info = describe_interface_class<LateBoundLongTest, IUnaryLongTest>(ClassFlags::None);
    return info;
  }
  bool Test(std::int32_t Value) override {
    std::array<Variant, 1> args{Variant(Value)};
    return invoke(*target_, id_, MemberKind::Method | MemberKind::Get, args).to_boolean();
  }

 private:
  Ref<Unknown> target_;
  DispId id_;
};

}  // namespace

Ref<IUnaryLongTest> IUnaryLongTest::late_bound(Ref<Unknown> object) {
  if (!object) return {};
  const InterfaceInfo* info = object->identity().interface_of(object.get());
  const DispId id = info ? info->find_id(u"Test") : -1;
  if (id < 0) return {};
  return Ref<IUnaryLongTest>(make<LateBoundLongTest>(std::move(object), id).get());
}

}  // namespace quorvel
