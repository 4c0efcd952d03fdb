#include "quorvel/text/keyed_store.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fault_injection.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

std::u16string utf16(const std::string& utf8) {
  return std::u16string(String::from_utf8(utf8).view());
}

std::vector<std::u16string> keys_of(const KeyedStore& store) {
  std::vector<std::u16string> keys;
  for (const KeyedStore::Entry& e : store.entries()) keys.emplace_back(e.key.view());
  return keys;
}

// Replays the platform's recorded adds and lookups: which keys collide in each mode.
TEST(KeyedStore, AnswersAsTheRecordedStore) {
  const auto data = test_support::load_test_data("keyed_store.json");
  for (const auto& scenario : data["scenarios"]) {
    SCOPED_TRACE(scenario["scenario"].get<std::string>());
    KeyedStore store(scenario["mode"].get<std::int32_t>());
    for (const auto& step : scenario["steps"]) {
      SCOPED_TRACE(step.dump());
      if (step.contains("add")) {
        const std::int32_t number = test_support::error_of([&] { store.add(utf16(step["add"].get<std::string>()), u"v"); });
        EXPECT_EQ(number, step["accepted"].get<bool>() ? 0 : 457);
        EXPECT_EQ(store.count(), step["count_after"].get<std::int32_t>());
      } else if (step.contains("has")) {
        EXPECT_EQ(store.exists(utf16(step["has"].get<std::string>())), step["found"].get<bool>());
      } else {
        std::vector<std::u16string> expected;
        for (const auto& k : step["keys"]) expected.push_back(utf16(k.get<std::string>()));
        EXPECT_EQ(keys_of(store), expected);
      }
    }
  }
}

TEST(KeyedStore, ModesBeyondOneIgnoreCaseAndNegativeOnesDoNot) {
  for (const std::int32_t mode : {-1, 0, 1, 2, 99}) {
    SCOPED_TRACE(mode);
    KeyedStore store(mode);
    store.add(u"Key", u"1");
    EXPECT_EQ(store.exists(u"kEY"), mode >= 1);
    EXPECT_EQ(store.compare_mode(), mode);
  }
}

// Growing from 16 entries rebuilds the index: each allocation that fails must leave it whole.
TEST(KeyedStore, AddWithoutMemoryChangesNothing) {
  const auto make = [] {
    KeyedStore store;
    for (int i = 0; i < 16; ++i) store.add(String(utf16("k" + std::to_string(i))), u"v");
    return store;
  };
  const auto state = [](const KeyedStore& store) {
    std::string text;
    for (const auto& key : keys_of(store)) text += String(key).to_utf8() + " ";
    return text + (store.exists(u"new") ? "new found" : "");
  };
  fault::expect_fault_tolerant(make, [](KeyedStore& store) { store.add(u"new", u"v"); }, state);
}

}  // namespace
}  // namespace quorvel
