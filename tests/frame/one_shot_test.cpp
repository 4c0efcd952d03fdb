#include "quorvel/frame/one_shot.h"

#include <gtest/gtest.h>

#include "quorvel/frame/error_catalogue.h"
#include "support/test_objects.h"
#include "support/test_support.h"

namespace quorvel {
namespace {

// An object checks first and marks last: a filling that fails its own checks leaves it unmarked.
TEST(OneShot, RefusesASecondFillingInTheObjectsName) {
  OneShot once;
  const Ref<test_support::Token> object = make<test_support::Token>();
  once.check_not_initialized(object.get());
  EXPECT_FALSE(once.initialized());
  once.mark_initialized();
  EXPECT_TRUE(once.initialized());
  EXPECT_RAISES(once.check_not_initialized(object.get()), error_number::kInvalidState, "Object already initialized!",
                "TestToken");
}

}  // namespace
}  // namespace quorvel
