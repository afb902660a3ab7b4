#include <malloc.h>

#include "system/process/HeapSetting.h"

namespace tarq::SystemValuesUtility {

// glibc gives each thread an arena of its own; the memory map changes also flush the other
// threads' processors' address caches.
void shareOneHeapAcrossThreads() {
  ::mallopt(M_ARENA_MAX, 1);
}

}  // namespace tarq::SystemValuesUtility
