// Stand-in for macOS's <mach-o/dyld.h>: the one call the program may use from it.
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// Apple: extern int _NSGetExecutablePath(char* buf, uint32_t* bufsize);
int _NSGetExecutablePath(char* buf, uint32_t* bufsize);

#ifdef __cplusplus
}
#endif
