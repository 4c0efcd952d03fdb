// The verbs of a scenario step, each driving the library through the late-bound surface only:
// program ids, global objects, interface names, member names and Variants.
#pragma once

#include <stdexcept>
#include <string>

#include "value_codec.h"

namespace quorvel::host {

/// A step that ran but did not meet its expectation; the message reads "expected ..., got ...".
class StepFailed : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/// Runs one step (a JSON array whose first element is the verb) against `vars`.
/// Raises StepFailed when an expectation is not met and Malformed when the step itself is wrong
/// (not an array, unknown verb, wrong number of elements, unknown variable, bad value form).
void run_step(const Json& step, Variables& vars);

}  // namespace quorvel::host
