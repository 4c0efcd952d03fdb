// The Long condition contract: its description and its published class (its late-bound adapter
// stands with the others).
#include "quorvel/frame/unary_long_test.h"

#include "quorvel/platform/describe.h"

namespace quorvel {

QUORVEL_DESCRIBE_INTERFACE(IUnaryLongTest, QUORVEL_IUNARYLONGTEST_MEMBERS)
QUORVEL_DESCRIBE_INERT_CLASS(IUnaryLongTestClass, IUnaryLongTest, ClassFlags::None)

}  // namespace quorvel
