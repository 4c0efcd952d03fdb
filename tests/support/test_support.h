// Helpers every test file may use: what a call raised, and the project's recorded test data.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

#include "quorvel/platform/describe.h"
#include "quorvel/platform/error.h"

namespace quorvel::test_support {

/// What a call raised: number 0 and empty texts when it returned normally.
struct Raised {
  std::int32_t number = 0;
  std::string description;
  std::string source;
};

template <class F>
Raised raised(F&& f) {
  try {
    f();
  } catch (const Error& e) {
    return {e.number(), e.description().to_utf8(), e.source().to_utf8()};
  }
  return {};
}

/// The number of the `quorvel::Error` that `f` raised, or 0 when it returned normally.
template <class F>
std::int32_t error_of(F&& f) {
  return raised(f).number;
}

/// Success when `got` has `number` and, where given, exactly `description` and `source`.
inline ::testing::AssertionResult raised_as(const Raised& got, std::int32_t number,
                                            std::optional<std::string_view> description = std::nullopt,
                                            std::optional<std::string_view> source = std::nullopt) {
  if (got.number == number && (!description || got.description == *description) && (!source || got.source == *source))
    return ::testing::AssertionSuccess();
  auto failure = ::testing::AssertionFailure();
  if (got.number == 0) return failure << "nothing raised";
  return failure << "raised " << got.number << " \"" << got.description << "\" from \"" << got.source << "\"";
}

/// A file of tests/data, parsed.
inline nlohmann::json load_test_data(const char* name) {
  std::ifstream in(std::string(QUORVEL_TEST_DATA) + "/" + name);
  return nlohmann::json::parse(in);
}

}  // namespace quorvel::test_support

/// Expects `stmt` to raise a `quorvel::Error` of `number`, and where given with exactly the
/// description and then the source: EXPECT_RAISES(stmt, number[, description[, source]]).
#define EXPECT_RAISES(stmt, ...) \
  EXPECT_TRUE(::quorvel::test_support::raised_as(::quorvel::test_support::raised([&] { stmt; }), __VA_ARGS__))
