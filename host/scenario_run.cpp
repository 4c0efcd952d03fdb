// Running scenario files. Between scenarios the thread context is reset, which drops the
// per-thread global objects and caches; so every scenario starts alike and the live-object count
// must come back exactly to its value before the scenario.
#include "scenario_run.h"

#include <new>

#include "expectation.h"
#include "json_document.h"
#include "quorvel/platform/error.h"
#include "quorvel/platform/object.h"
#include "quorvel/platform/thread_context.h"
#include "step_runner.h"

namespace quorvel::host {

namespace {

struct Verdict {
  bool passed = true;
  bool malformed = false;
  std::string message;
};

void fail(Verdict& v, std::string message, bool malformed) {
  v.passed = false;
  v.malformed = malformed;
  v.message = std::move(message);
}

Verdict run_steps(const Json& steps, const std::string& file, Variables& vars) {
  Verdict v;
  std::size_t number = 0;
  for (const Json& step : steps) {
    ++number;
    const std::string where = "step " + std::to_string(number) + " " + echo(step);
    try {
      run_step(step, vars);
    } catch (const StepFailed& e) {
      fail(v, where + ": " + e.what(), false);
    } catch (const Malformed& e) {
      fail(v, where + ": malformed step in " + file + ": " + e.what(), true);
    } catch (const Error& e) {
      // Building an argument can raise too (an array too large for memory, say).
      fail(v, where + ": " + error_text(e) + " while preparing the step", false);
    } catch (const std::bad_alloc&) {
      fail(v, where + ": out of memory", false);
    } catch (const std::exception& e) {
      fail(v, where + ": a C++ exception escaped the library: " + e.what(), false);
    }
    if (!v.passed) break;
  }
  return v;
}

// The shape of one scenario object; an empty string when it is well formed.
std::string scenario_shape_error(const Json& s) {
  if (!s.is_object()) return "a scenario is {\"name\": ..., \"steps\": [...]}, got " + echo(s, 60);
  for (auto it = s.begin(); it != s.end(); ++it) {
    if (it.key() != "name" && it.key() != "steps") return "a scenario has only \"name\" and \"steps\", not \"" + it.key() + "\"";
  }
  if (!s.contains("name") || !s["name"].is_string()) return "a scenario needs a \"name\" string";
  if (!s.contains("steps") || !s["steps"].is_array()) return "a scenario needs a \"steps\" array";
  return {};
}

}  // namespace

RunStatus run_files(const std::vector<std::string>& paths, std::FILE* out, std::FILE* err) {
  std::size_t passed = 0, failed = 0;
  bool malformed = false;
  for (const std::string& path : paths) {
    std::string error;
    const std::optional<Json> doc = read_json_file(path, error);
    if (doc && !doc->is_array()) error = "a scenario file is a JSON array of scenarios, got " + echo(*doc, 60);
    if (!error.empty()) {
      std::fflush(out);
      std::fprintf(err, "quorvel: %s: %s\n", path.c_str(), one_line(error).c_str());
      malformed = true;
      continue;
    }
    std::size_t index = 0;
    for (const Json& scenario : *doc) {
      ++index;
      const bool named = scenario.is_object() && scenario.contains("name") && scenario["name"].is_string();
      const std::string name = one_line(named ? scenario["name"].get<std::string>() : "scenario " + std::to_string(index));
      Verdict verdict;
      if (std::string shape = scenario_shape_error(scenario); !shape.empty()) {
        fail(verdict, "malformed scenario in " + path + ": " + shape, true);
      } else {
        const std::int64_t before = Object::live_count();
        {
          Variables vars;
          verdict = run_steps(scenario["steps"], path, vars);
        }
        this_thread_context().reset();
        if (const std::int64_t alive = Object::live_count() - before; alive != 0) {
          const std::string leak = "objects alive after the scenario: " + std::to_string(alive);
          if (verdict.passed) fail(verdict, leak, false);
          else verdict.message += "; " + leak;
        }
      }
      malformed = malformed || verdict.malformed;
      if (verdict.passed) {
        ++passed;
        std::fprintf(out, "ok  %s\n", name.c_str());
      } else {
        ++failed;
        std::fprintf(out, "FAIL  %s: %s\n", name.c_str(), one_line(verdict.message).c_str());
      }
    }
  }
  std::fprintf(out, "%zu passed, %zu failed\n", passed, failed);
  std::fflush(out);
  if (malformed) return kMalformed;
  return failed ? kSomeFailed : kAllPassed;
}

}  // namespace quorvel::host
