// halvix-sim: serves the simulated receiver on a pseudo-terminal or a device path.
#include <cstdio>

int main() {
  std::puts("halvix-sim: not built yet");
  return 1;
}
