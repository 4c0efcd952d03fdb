#include <gtest/gtest.h>

#include <span>
#include <string>
#include <vector>

#include "quorvel/platform/describe.h"
#include "quorvel/platform/late_binding.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

// A fixed prefix, then everything else: "<prefix>:<kinds of the rest>".
class VarArgsProbe final : public ObjectImpl<> {
 public:
  static constexpr const char* type_name = "VarArgsProbe";
  static constexpr Guid iid{"{2C28708A-1409-4C9A-A72B-F581DB0B79A6}"};
  QUORVEL_CLASS_INFO(describe_class<VarArgsProbe>(ClassFlags::None, {with_varargs(method<&VarArgsProbe::Join>("Join", 1,
                  opt("Prefix", Variant(u"p")), "Values")), with_varargs(method<&VarArgsProbe::Need>("Need", 2,
                  "First", "Values"))}))

  String Join(const String& Prefix, std::span<const Variant> Values) {
    std::u16string out(Prefix.view());
    out += u':';
    for (const Variant& v : Values) out += v.is_missing() ? u"-" : v.to_string().view();
    return String(out);
  }
  std::int32_t Need(std::int32_t First, std::span<const Variant> Values) {
    return First + static_cast<std::int32_t>(Values.size());
  }
};

TEST(LateBindingVarArgs, TrailingArgumentsArriveInOrder) {
  auto probe = make<VarArgsProbe>();
  auto join = [&](std::vector<Variant> args) {
    return invoke(*probe, u"Join", MemberKind::Method, args).to_string().to_utf8();
  };
  EXPECT_EQ(join({u"x", 1, u"b", 2.5}), "x:1b2.5");
  EXPECT_EQ(join({u"x"}), "x:");
  EXPECT_EQ(join({}), "p:") << "an omitted fixed parameter takes its default";
  EXPECT_EQ(join({Variant::missing(), 1, Variant::missing()}), "p:1-") << "a gap in the rest stays a gap";
  std::vector<Variant> two{5, 6};
  EXPECT_EQ(invoke(*probe, u"Need", MemberKind::Method, two).to_long(), 6);
  EXPECT_RAISES(invoke(*probe, u"Need", MemberKind::Method, {}), 449);
  EXPECT_TRUE(VarArgsProbe::describe().own->members()[0].vararg);
}

}  // namespace
}  // namespace quorvel
