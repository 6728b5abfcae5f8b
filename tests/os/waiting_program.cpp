// Stands in for a store program in the process tests: once running it says
// so on descriptor 3, then waits to be killed.
#include <unistd.h>

int main() {
  const char ready = 1;
  if (write(3, &ready, 1) != 1) return 1;
  close(3);
  for (;;) pause();
}
