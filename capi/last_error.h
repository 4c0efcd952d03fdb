// The thread's last error of the C interface, shared by its files.
#pragma once

#include <cstdint>

#include "quorvel/quorvel.h"

namespace quorvel::capi {

/// Records a failure found by the C interface itself (the library's own errors are recorded as
/// they are raised) and returns its number as the status.
qv_status record_failure(std::int32_t number, const char16_t* why) noexcept;

}  // namespace quorvel::capi
