// Objects known only by their member names serve the callback contracts through small adapters
// that call the member of the contract's name late-bound.
#include <array>

#include "quorvel/frame/array_list_interfaces.h"
#include "quorvel/frame/comparer_interfaces.h"
#include "quorvel/frame/unary_long_test.h"
#include "quorvel/platform/describe.h"
#include "quorvel/platform/late_bound_members.h"
#include "quorvel/platform/late_binding.h"

namespace quorvel {

namespace {

// The member `name` of `object`'s default interface, or -1.
DispId member_id(Unknown& object, std::u16string_view name) noexcept {
  const InterfaceInfo* info = object.identity().interface_of(&object);
  return info ? info->find_id(name) : -1;
}

// An adapter is a class of its own, never the class of the object it wraps: a cast to the
// caller's class must not mistake one for the other.
template <class I>
class LateBoundAdapter : public ObjectImpl<I> {
 public:
  static constexpr const char* type_name = I::type_name;
  static constexpr Guid clsid{};
  LateBoundAdapter(Ref<Unknown> target, DispId id) : target_(std::move(target)), id_(id) {}
  const ClassInfo& class_info() const noexcept override {
    static const ClassInfo info = describe_interface_class<LateBoundAdapter, I>(ClassFlags::None);
    return info;
  }

 protected:
  Variant call(std::span<Variant> args) { return invoke(*target_, id_, MemberKind::Method | MemberKind::Get, args); }
  Unknown& late_target() noexcept { return *target_; }

 private:
  Ref<Unknown> target_;
  DispId id_;
};

class LateBoundComparer final : public LateBoundAdapter<IComparer> {
 public:
  using LateBoundAdapter::LateBoundAdapter;
  std::int16_t Compare(const Variant& A, const Variant& B) override {
    std::array<Variant, 2> args{A, B};
    return call(args).to_integer();
  }
};

class LateBoundFindComparer final : public LateBoundAdapter<IFindComparer> {
 public:
  using LateBoundAdapter::LateBoundAdapter;
  std::int16_t Compare(const Variant& ArrayElement, const Variant& Find) override {
    std::array<Variant, 2> args{ArrayElement, Find};
    return call(args).to_integer();
  }
};

class LateBoundFormatter final : public LateBoundAdapter<IFormatter> {
 public:
  using LateBoundAdapter::LateBoundAdapter;
  Variant Format(const Variant& Value) override {
    std::array<Variant, 1> args{Value};
    return call(args);
  }
};

class LateBoundLongTest final : public LateBoundAdapter<IUnaryLongTest> {
 public:
  using LateBoundAdapter::LateBoundAdapter;
  bool Test(std::int32_t Value) override {
    std::array<Variant, 1> args{Variant(Value)};
    return call(args).to_boolean();
  }
};

// Every member of the list by name, each call a late-bound one.
class LateBoundArrayList final : public LateBoundAdapter<IArrayList> {
 public:
  using LateBoundAdapter::LateBoundAdapter;
  QUORVEL_LATE_BOUND_MEMBERS(QUORVEL_IARRAYLIST_MEMBERS)
};

template <class Adapter, class I>
Ref<I> adapt(Ref<Unknown> object, std::u16string_view member) {
  if (!object) return {};
  const DispId id = member_id(*object, member);
  if (id < 0) return {};
  return Ref<I>(make<Adapter>(std::move(object), id).get());
}

}  // namespace

Ref<IComparer> IComparer::late_bound(Ref<Unknown> object) {
  return adapt<LateBoundComparer, IComparer>(std::move(object), u"Compare");
}

Ref<IFindComparer> IFindComparer::late_bound(Ref<Unknown> object) {
  return adapt<LateBoundFindComparer, IFindComparer>(std::move(object), u"Compare");
}

Ref<IFormatter> IFormatter::late_bound(Ref<Unknown> object) {
  return adapt<LateBoundFormatter, IFormatter>(std::move(object), u"Format");
}

// A list contract has many members: an object serves it only when it has every one of them, so
// that an object that merely has a `Count` or an `Item` is still refused as no list.
Ref<IArrayList> IArrayList::late_bound(Ref<Unknown> object) {
  if (!object) return {};
  for (const MemberInfo& m : IArrayList::interface_info().members()) {
    const String name = String::from_utf8(m.name);
    if (member_id(*object, name.view()) < 0) return {};
  }
  return Ref<IArrayList>(make<LateBoundArrayList>(std::move(object), -1).get());
}

Ref<IUnaryLongTest> IUnaryLongTest::late_bound(Ref<Unknown> object) {
  return adapt<LateBoundLongTest, IUnaryLongTest>(std::move(object), u"Test");
}

}  // namespace quorvel
