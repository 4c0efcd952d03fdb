// Reading scenario files: a bounded JSON reader (size, nesting, number forms) and the compact echo
// of a step that failure messages quote.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include <nlohmann/json.hpp>

namespace quorvel::host {

// Keys keep their written order, so a failing step is echoed as it was written.
using Json = nlohmann::ordered_json;

/// Files above this size are refused before parsing.
inline constexpr std::size_t kMaxFileBytes = std::size_t{16} << 20;
/// Arrays and objects nested deeper than this are refused while parsing.
inline constexpr std::size_t kMaxDepth = 64;
/// Objects with more keys than this are refused (the format's objects have at most four; the
/// limit keeps key look-up, a linear search in written order, cheap).
inline constexpr std::size_t kMaxKeys = 64;

/// Reads and parses `path`. On failure returns nothing and says why in `error` (unreadable, too
/// large, not JSON, nested too deeply, an integer without fraction or exponent that does not fit
/// in 64 bits, a non-finite number, a duplicate key, too many keys).
std::optional<Json> read_json_file(const std::string& path, std::string& error);

/// Parses `text` with the same limits as `read_json_file`.
std::optional<Json> parse_json(const std::string& text, std::string& error);

/// A one-line echo of `j` with ", " and ": " separators, cut to about `limit` bytes.
std::string echo(const Json& j, std::size_t limit = 160);

}  // namespace quorvel::host
