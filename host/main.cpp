// The command-line host; its commands arrive with the scenario runner.
#include <cstdio>

int main() {
  std::puts("quorvel: no commands yet");
  return 0;
}
