// An object known only by its member names serves a contract through an adapter; the adapter
// must never pass for the caller's object.
#include <gtest/gtest.h>

#include "quorvel/frame/array_list_interfaces.h"
#include "quorvel/platform/describe.h"
#include "quorvel/platform/late_binding.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

// Has a `Format` member but does not implement IFormatter.
class NamedFormatter final : public ObjectImpl<> {
 public:
  static constexpr const char* type_name = "AdapterTestFormatter";
  static constexpr Guid iid{"{6A0E1D52-7B3C-4F7A-9E21-00C0FFEE0101}"};
  QUORVEL_CLASS_INFO(describe_class<NamedFormatter>(ClassFlags::None, {method<&NamedFormatter::Format>("Format", 1,
                  "Value"), get<&NamedFormatter::get_Calls>("Calls", 2)}))
  Variant Format(const Variant& v) {
    ++calls_;
    return v;
  }
  std::int32_t get_Calls() { return calls_; }

 private:
  std::int32_t calls_ = 0;
};

// Takes a formatter by reference, as the lists' ToString does.
class FormatterUser final : public ObjectImpl<> {
 public:
  static constexpr const char* type_name = "AdapterTestUser";
  static constexpr Guid iid{"{6A0E1D52-7B3C-4F7A-9E21-00C0FFEE0102}"};
  QUORVEL_CLASS_INFO(describe_class<FormatterUser>(ClassFlags::None, {method<&FormatterUser::Show>("Show", 1,
                  opt("Formatter"))}))
  String Show(Ref<IFormatter>& f) { return f ? f->Format(Variant(7)).to_string() : String(); }
};

TEST(LateBoundAdapters, TheCallerKeepsItsOwnObject) {
  Ref<NamedFormatter> formatter = make<NamedFormatter>();
  Ref<FormatterUser> user = make<FormatterUser>();
  Variant held(formatter);
  std::vector<Variant> args{Variant::by_ref(held)};
  EXPECT_EQ(invoke(*as_unknown(user.get()), u"Show", MemberKind::Method, args).to_string(), String(u"7"));

  // The variable still holds the caller's object, and a cast to its class finds that object.
  EXPECT_EQ(held.if_object(), as_unknown(formatter.get()));
  Ref<NamedFormatter> back = interface_cast<NamedFormatter>(held);
  EXPECT_EQ(back.get(), formatter.get());
  EXPECT_EQ(back->get_Calls(), 1);

  // The adapter itself is no NamedFormatter.
  Ref<IFormatter> adapter = IFormatter::late_bound(Ref<Unknown>(as_unknown(formatter.get())));
  ASSERT_TRUE(adapter);
  EXPECT_EQ(class_cast<NamedFormatter>(adapter.get()), nullptr);
  EXPECT_EQ(test_support::error_of([&] { interface_cast<NamedFormatter>(Variant(adapter)); }), 13);
}

}  // namespace
}  // namespace quorvel
