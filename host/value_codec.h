// Scenario values: the JSON value forms of the file format turned into Variants, and Variants
// turned into the short texts that failure messages show.
#pragma once

#include <functional>
#include <map>
#include <stdexcept>
#include <string>

#include "json_document.h"
#include "quorvel/platform/variant.h"

namespace quorvel::host {

/// A mistake in the scenario file itself: a wrong shape, an unknown verb, value form or variable,
/// a number out of range for its kind. The file is malformed; the host reports it and goes on.
class Malformed : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

/// The variables of one scenario. A map, so that a by-reference argument can point into it while
/// a call runs.
using Variables = std::map<std::string, Variant, std::less<>>;

/// Where a value is written: only arguments may be `{"ByRef": v}`.
enum class ValueUse : bool { Plain, Argument };

/// The Variant a JSON value form stands for (see docs/scenario-format.md). `{"ByRef": v}` gives a
/// by-reference Variant pointing at variable v. Raises Malformed.
Variant value_from_json(const Json& j, Variables& vars, ValueUse use);

/// The variable named by `name` (which must be a JSON string). Raises Malformed when unknown.
Variant& existing_variable(Variables& vars, const Json& name);

/// `j` as a string; raises Malformed naming `what` otherwise.
const std::string& text_field(const Json& j, const char* what);

/// A signed 32-bit whole number; raises Malformed naming `what` otherwise.
std::int32_t int32_field(const Json& j, const char* what);

/// A short readable text of a value: `Long 3`, `String "ab"`, `Double NaN`, `Nothing`,
/// `object ArrayList_Long`, `Long array (0 to 2) [1, 2, 3]`.
std::string value_text(const Variant& v);

/// UTF-16 text as a double-quoted, escaped UTF-8 string, cut after `limit` code units.
std::string quoted(std::u16string_view text, std::size_t limit = 80);

/// Removes control characters from text meant for one output line.
std::string one_line(const std::string& text);

}  // namespace quorvel::host
