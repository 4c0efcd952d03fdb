#include "quorvel/arraylists/interface_classes.h"

#include <gtest/gtest.h>

#include "arraylists/list_test_support.h"
#include "quorvel/platform/registry.h"

namespace quorvel::list_tests {
namespace {

// The creatable ones (IArrayList, IFormatter) are run by the late-bound scenarios.
TEST(ListInterfaceClasses, ReaderAndTextClassesExistButCannotBeCreated) {
  for (const char16_t* name : {u"IArrayReader", u"IArrayList2"}) {
    SCOPED_TRACE(String(name).to_utf8());
    EXPECT_NE(find_class(name), nullptr);
    EXPECT_EQ(error_of([&] { create_object(u"Quorvel." + std::u16string(name)); }), 429);
  }
}

}  // namespace
}  // namespace quorvel::list_tests
