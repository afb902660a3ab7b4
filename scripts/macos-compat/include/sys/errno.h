// Stand-in for macOS's <sys/errno.h>: glibc's error numbers plus ELAST, the largest of them,
// which glibc lacks.
#pragma once

#include <errno.h>

// Apple: #define ELAST 106 /* Must be equal largest errno */
#ifndef ELAST
#define ELAST 106
#endif
