// Stand-in for macOS's <sys/sysctl.h>, which glibc no longer ships: the kernel-parameter calls
// and the identifiers of the parameters the program reads, for compiling the macOS sources on
// Linux. Nothing here is linked.
#pragma once

#include <stddef.h>
#include <sys/types.h>

#ifdef __cplusplus
extern "C" {
#endif

// Apple: int sysctl(int *, u_int, void *, size_t *, void *, size_t);
int sysctl(int* name, u_int namelen, void* oldp, size_t* oldlenp, void* newp, size_t newlen);
// Apple: int sysctlbyname(const char *, void *, size_t *, void *, size_t);
int sysctlbyname(const char* name, void* oldp, size_t* oldlenp, void* newp, size_t newlen);
// Apple: int sysctlnametomib(const char *, int *, size_t *);
int sysctlnametomib(const char* name, int* mibp, size_t* sizep);

#ifdef __cplusplus
}
#endif

// Apple's values: the deepest MIB, the top levels and the second levels the program names.
#define CTL_MAXNAME 12
#define CTL_KERN 1
#define CTL_HW 6
#define KERN_OSTYPE 1
#define KERN_OSRELEASE 2
#define KERN_OSREV 3
#define KERN_VERSION 4
#define HW_NCPU 3
#define HW_MEMSIZE 24
