// Helpers every test file may use: what a call raised, and the project's recorded test data.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>

#include <nlohmann/json.hpp>

#include "quorvel/platform/error.h"

namespace quorvel::test_support {

/// The number of the `quorvel::Error` that `f` raised, or 0 when it returned normally.
template <class F>
std::int32_t error_of(F&& f) {
  try {
    f();
  } catch (const Error& e) {
    return e.number();
  }
  return 0;
}

/// A file of tests/data, parsed.
inline nlohmann::json load_test_data(const char* name) {
  std::ifstream in(std::string(QUORVEL_TEST_DATA) + "/" + name);
  return nlohmann::json::parse(in);
}

}  // namespace quorvel::test_support
