#include "quorvel/platform/registry.h"

#include <gtest/gtest.h>

#include <thread>

#include "quorvel/platform/describe.h"
#include "quorvel/platform/error.h"
#include "quorvel/platform/error_reporter.h"
#include "quorvel/platform/late_binding.h"
#include "quorvel/platform/thread_context.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

using test_support::error_of;

class RegistryProbe final : public ObjectImpl<> {
 public:
  static constexpr const char* type_name = "RegistryProbe";
  static constexpr Guid clsid{"{22222222-0000-4000-8000-000000000001}"};
  static constexpr Guid iid{"{22222222-0000-4000-8000-000000000003}"};
  QUORVEL_CLASS_INFO(describe_class<RegistryProbe>(ClassFlags::Creatable, {get<&RegistryProbe::get_Name>("Name", 0)}))
  String get_Name() { return String(u"probe"); }
};
QUORVEL_REGISTER_CLASS(RegistryProbe);

class GlobalProbe final : public ObjectImpl<> {
 public:
  static constexpr const char* type_name = "GlobalProbe";
  static constexpr Guid iid{"{22222222-0000-4000-8000-000000000002}"};
  QUORVEL_CLASS_INFO(describe_class<GlobalProbe>(ClassFlags::Global, {}))
};
QUORVEL_REGISTER_CLASS(GlobalProbe);

TEST(Registry, CreatesByProgramIdAndClassId) {
  Ref<Object> by_name = create_object(u"quorvel.registryprobe");
  Ref<Object> by_id = create_object(RegistryProbe::clsid);
  EXPECT_EQ(error_of([] { create_object(RegistryProbe::iid); }), 429);  // its interface's id is no class id
  ASSERT_TRUE(by_name && by_id);
  EXPECT_FALSE(by_name.same(by_id));
  EXPECT_EQ(&by_id->class_info(), &RegistryProbe::describe());
  for (const char16_t* bad : {u"RegistryProbe", u"Quorvel.", u"Quorvel.Nope", u"Quorvel.GlobalProbe"}) {
    EXPECT_EQ(error_of([&] { create_object(bad); }), 429);
  }
}

TEST(Registry, TypeLibraryListsRegisteredDescriptions) {
  EXPECT_STREQ(type_library().name, "Quorvel");
  EXPECT_EQ(find_class(u"registryprobe"), &RegistryProbe::describe());
  EXPECT_EQ(find_interface_info(u"RegistryProbe"), RegistryProbe::describe().own);
}

TEST(ErrorReporter, OneInstancePerThreadCreatedByTheFirstRaise) {
  std::thread([] {
    EXPECT_EQ(ErrorReporter::instances_on_this_thread(), 0);
    Ref<Object> sender = create_object(u"Quorvel.RegistryProbe");
    ErrorReporter& reporter = ErrorReporter::this_thread();
    EXPECT_RAISES(reporter.RaiseError(-2147221503, Ref<Unknown>(as_unknown(sender.get())), String(u"why")), -2147221503,
                  "why", "RegistryProbe");
    EXPECT_EQ(ErrorReporter::instances_on_this_thread(), 1);
    EXPECT_RAISES(reporter.RaiseError(9, nullptr, String()), 9, std::nullopt, "Quorvel");
  }).join();
}

}  // namespace
}  // namespace quorvel
