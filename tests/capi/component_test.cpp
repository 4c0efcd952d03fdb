#include "quorvel/component.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "quorvel/platform/object.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kLongListId = "{C5E7EB59-47A2-42E1-A321-43D8AEE053A0}";

struct RecordDirectory {
  fs::path path = fs::temp_directory_path() / ("quorvel-components-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
  RecordDirectory() { fs::remove_all(path); }
  ~RecordDirectory() { fs::remove_all(path); }
};

TEST(Component, FactoryMakesInstancesAndHoldsOffUnloading) {
  qv_factory factory = nullptr;
  ASSERT_EQ(qv_get_class_object(kLongListId, &factory), QV_OK);
  EXPECT_EQ(qv_can_unload_now(), 0);
  qv_object list = nullptr;
  ASSERT_EQ(qv_factory_create(factory, &list), QV_OK);
  qv_variant count;
  ASSERT_EQ(qv_invoke_by_name(list, "Count", QV_GET, nullptr, 0, &count), QV_OK);
  EXPECT_EQ(count.value.lng, 0);
  EXPECT_EQ(qv_release(list), QV_OK);
  EXPECT_EQ(qv_factory_release(factory), QV_OK);
  EXPECT_EQ(qv_can_unload_now(), quorvel::Object::live_count() == 0 ? 1 : 0);

  qv_factory none = nullptr;
  EXPECT_EQ(qv_get_class_object("{00000000-0000-0000-0000-000000000001}", &none), 429);
  EXPECT_EQ(qv_get_class_object("not a class id", &none), 5);
  EXPECT_EQ(qv_get_class_object(nullptr, &none), 5);
  EXPECT_EQ(none, nullptr);
}

TEST(Component, RegistrationRecordLeadsCreationToTheLibrary) {
  RecordDirectory dir;
  ASSERT_EQ(qv_register_server(dir.path.c_str()), QV_OK);
  std::ifstream in(dir.path / "Quorvel-5.24.component");
  std::stringstream record;
  record << in.rdbuf();
  EXPECT_NE(record.str().find("library /"), std::string::npos);
  EXPECT_NE(record.str().find(std::string("class Quorvel.ArrayList_Long ") + kLongListId + "\n"), std::string::npos);
  EXPECT_EQ(qv_register_server(dir.path.c_str()), QV_OK);  // again: replaced, not doubled

  for (const char* name : {"quorvel.arraylist_long", kLongListId}) {
    SCOPED_TRACE(name);
    qv_object list = nullptr;
    ASSERT_EQ(qv_create_registered(dir.path.c_str(), name, &list), QV_OK);
    EXPECT_EQ(qv_invoke_by_name(list, "Count", QV_GET, nullptr, 0, nullptr), QV_OK);
    EXPECT_EQ(qv_release(list), QV_OK);
  }
  qv_object none = nullptr;
  EXPECT_EQ(qv_create_registered(dir.path.c_str(), "Quorvel.NoSuch", &none), 429);

  ASSERT_EQ(qv_unregister_server(dir.path.c_str()), QV_OK);
  EXPECT_FALSE(fs::exists(dir.path / "Quorvel-5.24.component"));
  EXPECT_EQ(qv_unregister_server(dir.path.c_str()), QV_OK);
  EXPECT_EQ(qv_create_registered(dir.path.c_str(), "Quorvel.ArrayList_Long", &none), 429);
  EXPECT_EQ(none, nullptr);
}

}  // namespace
