// The data records' descriptions.
#include "quorvel/locks/data_arrays.h"

#include "quorvel/platform/describe.h"

namespace quorvel {

QUORVEL_DESCRIBE_RECORD(ByteDataArray, record_field<&ByteDataArray::Data>("Data"))
QUORVEL_DESCRIBE_RECORD(StringDataArray, record_field<&StringDataArray::Fields>("Fields"))
QUORVEL_DESCRIBE_RECORD(StringDataArrays, record_field<&StringDataArrays::Arrays>("Arrays"))

}  // namespace quorvel
