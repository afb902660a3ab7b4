// Stand-in for macOS's <crt_externs.h>: the environment of a shared library's process.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

// Apple: extern char ***_NSGetEnviron(void);
char*** _NSGetEnviron(void);

#ifdef __cplusplus
}
#endif
