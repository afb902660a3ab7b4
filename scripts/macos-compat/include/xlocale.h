// Stand-in for macOS's <xlocale.h>, which glibc no longer ships. glibc declares the same
// per-locale calls (newlocale, uselocale, freelocale, the LC_*_MASK values and strtod_l with
// Apple's signature) in <locale.h> and <stdlib.h>; redeclaring them here would clash with
// glibc's exception specifications.
#pragma once

#include <locale.h>
#include <stdlib.h>
