// Stand-in for macOS's <spawn.h>: glibc's posix_spawn plus Apple's extensions to it. Kept for
// tool_run_macos.mm: Objective-C++, it is checked against GNUstep and glibc, not Apple's headers.
#pragma once

#include_next <spawn.h>

// Apple: #define POSIX_SPAWN_CLOEXEC_DEFAULT 0x4000
#define POSIX_SPAWN_CLOEXEC_DEFAULT 0x4000

#ifdef __cplusplus
extern "C" {
#endif

// Apple: int posix_spawn_file_actions_addinherit_np(posix_spawn_file_actions_t *, int);
int posix_spawn_file_actions_addinherit_np(posix_spawn_file_actions_t* file_actions, int filedes);

#ifdef __cplusplus
}
#endif

// glibc has these, macOS only from 10.15: a 10.11 build must not call them.
#pragma GCC poison posix_spawn_file_actions_addchdir_np posix_spawn_file_actions_addfchdir_np
