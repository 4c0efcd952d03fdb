// The command-line host: runs scenario files and prints the type library, all through the
// late-bound surface that any other host would use.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "quorvel/platform/registry.h"
#include "scenario_run.h"
#include "type_library_printer.h"

namespace {

constexpr const char* kUsage =
    "Usage: quorvel COMMAND [ARGUMENTS]\n"
    "\n"
    "Drives the Quorvel library late-bound: program ids, member names and values only.\n"
    "\n"
    "Commands:\n"
    "  run FILE.json...   run scenario files (format: docs/scenario-format.md); prints one line\n"
    "                     per scenario and a summary; exit 0 when all passed, 1 when one\n"
    "                     failed, 2 when a file is unreadable or malformed\n"
    "  classes            list every class: name, program id, class id, how it is reached\n"
    "  describe NAME      print a class, interface, enumeration or record as IDL-like text\n"
    "  describe --all     print the whole type library\n"
    "  --help             print this text\n"
    "  --version          print the version\n";

int usage_error(const char* message) {
  std::fprintf(stderr, "quorvel: %s\n\n%s", message, kUsage);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace quorvel;
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return usage_error("no command given");
  const std::string& command = args[0];

  if (command == "--help" || command == "-h" || command == "help") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (command == "--version") {
    const TypeLibrary& lib = type_library();
    std::printf("quorvel %d.%d\n", lib.major, lib.minor);
    return 0;
  }
  if (command == "run") {
    if (args.size() < 2) return usage_error("run needs at least one scenario file");
    return host::run_files(std::vector<std::string>(args.begin() + 1, args.end()), stdout, stderr);
  }
  if (command == "classes") {
    if (args.size() != 1) return usage_error("classes takes no arguments");
    host::print_classes(stdout);
    return 0;
  }
  if (command == "describe") {
    if (args.size() != 2) return usage_error("describe takes one NAME, or --all");
    if (args[1] == "--all") {
      host::print_type_library(stdout);
      return 0;
    }
    if (host::print_description(args[1], stdout)) return 0;
    std::fprintf(stderr, "quorvel: no class, interface, enumeration or record is named \"%s\"\n", args[1].c_str());
    return 1;
  }
  return usage_error(("unknown command \"" + command + "\"").c_str());
}
