// Stand-in for macOS's <sys/mount.h>: Apple's struct statfs (the 64-bit-inode layout every
// 64-bit program gets) and the calls that fill it. Linux's own <sys/mount.h> is about mounting
// and is not needed by the macOS sources.
#pragma once

#include <stdint.h>
#include <sys/param.h>
#include <sys/types.h>

// Apple: #define MFSTYPENAMELEN 16
#define MFSTYPENAMELEN 16

// Apple's layout, field by field. fsid_t is glibc's here; Apple's is also two 32-bit integers.
struct statfs {
  uint32_t f_bsize;   // fundamental file system block size
  int32_t f_iosize;   // optimal transfer block size
  uint64_t f_blocks;  // total data blocks in file system
  uint64_t f_bfree;   // free blocks in fs
  uint64_t f_bavail;  // free blocks avail to non-superuser
  uint64_t f_files;   // total file nodes in file system
  uint64_t f_ffree;   // free file nodes in fs
  fsid_t f_fsid;      // file system id
  uid_t f_owner;      // user that mounted the filesystem
  uint32_t f_type;    // type of filesystem
  uint32_t f_flags;   // copy of mount exported flags
  uint32_t f_fssubtype;
  char f_fstypename[MFSTYPENAMELEN];
  char f_mntonname[MAXPATHLEN];
  char f_mntfromname[MAXPATHLEN];
  uint32_t f_flags_ext;
  uint32_t f_reserved[7];
};

#ifdef __cplusplus
extern "C" {
#endif

// Apple: int statfs(const char *, struct statfs *);
int statfs(const char* path, struct statfs* buf);
// Apple: int fstatfs(int, struct statfs *);
int fstatfs(int fd, struct statfs* buf);

#ifdef __cplusplus
}
#endif
