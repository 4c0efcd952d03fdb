// `quorvel run`: scenario files in, one line per scenario and a summary out.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace quorvel::host {

/// Exit statuses of `run`.
enum RunStatus : int { kAllPassed = 0, kSomeFailed = 1, kMalformed = 2 };

/// Runs every scenario of every file in order, printing `ok  NAME` or `FAIL  NAME: ...` per
/// scenario to `out` and, last, `N passed, N failed`. Files that cannot be read or parsed are
/// reported on `err`. Each scenario starts with no variables and a fresh thread context, and
/// fails when library objects outlive it.
RunStatus run_files(const std::vector<std::string>& paths, std::FILE* out, std::FILE* err);

}  // namespace quorvel::host
