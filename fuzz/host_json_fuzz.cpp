// Fuzz target for the host's scenario reader: any bytes go through the JSON reader the host uses
// for scenario files, and every value in a document that parses goes through the value decoder,
// the expectation parser and the message texts. Malformed input must come back as an error (a
// message or Malformed), never as a crash, a hang, a leak or an object left alive.
#include <cstdint>
#include <cstdlib>
#include <new>
#include <string>

#include "expectation.h"
#include "json_document.h"
#include "quorvel/platform/error.h"
#include "quorvel/platform/object.h"
#include "quorvel/platform/registry.h"
#include "quorvel/platform/thread_context.h"
#include "step_runner.h"
#include "value_codec.h"

namespace {

using namespace quorvel;
using namespace quorvel::host;

// Verbs that only decode values and compare: the fuzzer exercises the reader, not the library's
// members (which have their own tests and can be asked for gigabytes on purpose).
bool decoding_verb(const Json& step) {
  if (!step.is_array() || step.empty() || !step[0].is_string()) return true;  // rejected as malformed
  const std::string& verb = step[0].get_ref<const std::string&>();
  return verb == "var" || verb == "check" || verb == "same" || verb == "release" || verb == "as";
}

void decode(const Json& j, Variables& vars) {
  try {
    const Variant v = value_from_json(j, vars, ValueUse::Argument);
    (void)value_text(v);
    Outcome got;
    got.value = v;
    const Expectation e = Expectation::parse(j, vars, true);
    (void)e.mismatch(got);
    (void)e.text();
  } catch (const Malformed&) {
  } catch (const Error&) {  // an array too large for memory, say
  }
}

void walk(const Json& j, Variables& vars) {
  (void)echo(j, 60);
  decode(j, vars);
  if (j.is_array() && decoding_verb(j)) {
    try {
      run_step(j, vars);
    } catch (const Malformed&) {
    } catch (const StepFailed&) {
    } catch (const Error&) {
    }
  }
  if (j.is_structured()) {
    for (const Json& child : j) walk(child, vars);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::int64_t before = Object::live_count();
  {
    std::string error;
    const std::optional<Json> doc = parse_json(std::string(reinterpret_cast<const char*>(data), size), error);
    if (!doc) {
      if (error.empty()) std::abort();  // a refusal always says why
      (void)one_line(error);
    } else {
      Variables vars;
      vars["n"] = Variant(7);
      vars["s"] = Variant(u"text");
      vars["o"] = Variant(create_object(u"Quorvel.ArrayList_Long"));
      walk(*doc, vars);
    }
  }
  this_thread_context().reset();
  if (Object::live_count() != before) std::abort();  // the host's own rule: no object outlives a run
  return 0;
}
