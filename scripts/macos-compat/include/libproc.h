// Stand-in for macOS's <libproc.h>: a process's executable path and name.
#pragma once

#include <stdint.h>
#include <sys/param.h>

// Apple: #define PROC_PIDPATHINFO_MAXSIZE (4*MAXPATHLEN)
#define PROC_PIDPATHINFO_MAXSIZE (4 * MAXPATHLEN)

#ifdef __cplusplus
extern "C" {
#endif

// Apple: int proc_pidpath(int pid, void * buffer, uint32_t buffersize);
int proc_pidpath(int pid, void* buffer, uint32_t buffersize);
// Apple: int proc_name(int pid, void * buffer, uint32_t buffersize);
int proc_name(int pid, void* buffer, uint32_t buffersize);

#ifdef __cplusplus
}
#endif
