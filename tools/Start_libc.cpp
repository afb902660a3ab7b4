// The stand-in's start on the C library.
#include <unistd.h>

#include "KernelCalls.h"

int main(int argc, char** argv) {
  return tarq::standin::systemProfilerMain(argc, argv, environ);
}
